#pragma once

#include <cstdint>
#include <vector>

namespace iplug {
namespace igraphics {

// Blurs an 8-bit alpha image in place with three box-blur passes per direction, which together
// approach a Gaussian. Each pass averages 2 x radius + 1 pixels, so coverage spreads about
// 3 x radius pixels; pixels beyond the image count as 0. scratch is reused between calls.
void BoxBlurA8(uint8_t* data, int width, int height, int stride, int radius,
               std::vector<uint8_t>& scratch);

}  // namespace igraphics
}  // namespace iplug
