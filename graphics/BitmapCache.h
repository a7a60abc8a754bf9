#pragma once

#include "graphics/APIBitmap.h"

namespace iplug {
namespace igraphics {

// The process-wide cache of decoded images, keyed by resource name and target scale. Images
// stay until exit, so the pointers it hands out stay valid. Thread-safe.
class BitmapCache {
 public:
  // The image for the name at the target scale (a "@2x" file when the scale is 2 or more and
  // one exists), loaded on a miss; null (logged) when no file is found or it cannot be decoded.
  static APIBitmap* Load(const char* name, int targetScale);
};

}  // namespace igraphics
}  // namespace iplug
