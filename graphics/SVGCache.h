#pragma once

#include "graphics/IGraphicsStructs.h"

namespace iplug {
namespace igraphics {

// The process-wide cache of parsed SVG images, keyed by resource name. Thread-safe.
class SVGCache {
 public:
  // The image for the name, parsed on a miss; an invalid ISVG (logged) when no file is found,
  // it cannot be parsed or it has no usable size.
  static ISVG Load(const char* name);
};

}  // namespace igraphics
}  // namespace iplug
