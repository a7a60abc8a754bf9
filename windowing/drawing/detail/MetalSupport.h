#pragma once

#include <cstdint>
#include <vector>

#include "platform/drawing/Metal.h"
#include "platform/objects/Geometry.h"
#include "windowing/Win32Types.h"
#include "windowing/WindowHandles.h"

namespace platform {
class NSObject;
}

// What the Metal surface's files share.
namespace swell {

// The device used when the screen names none (made once).
platform::MTLDevice* metalDefaultDevice();

// A frame's pixel size: the view's size, doubled for retina, each side at most the cap.
platform::NSSize metalSurfaceSize(platform::NSSize bounds, bool retina);

inline int roundUpToFour(int n) {
  return static_cast<int>((static_cast<std::int64_t>(n) + 3) & ~std::int64_t{3});
}

RECT intersectRects(const RECT& a, const RECT& b);

// A pixel buffer kept between writes; the second one serves when the pixels being written
// already live in the first.
std::vector<std::uint32_t>& metalScratch(int which);

}  // namespace swell
