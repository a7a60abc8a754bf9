#include "graphics/BoxBlur.h"

#include <algorithm>

namespace iplug {
namespace igraphics {

namespace {

// One box pass over a line of n samples spaced step bytes apart, through tmp (n bytes). A
// running sum keeps it linear in n whatever the radius.
void BlurLine(uint8_t* line, int n, int step, int radius, uint8_t* tmp) {
  for (int i = 0; i < n; ++i)
    tmp[i] = line[static_cast<size_t>(i) * step];
  const int window = 2 * radius + 1;
  int sum = 0;
  for (int i = 0; i <= std::min(radius, n - 1); ++i)
    sum += tmp[i];
  for (int i = 0; i < n; ++i) {
    line[static_cast<size_t>(i) * step] = static_cast<uint8_t>((sum + window / 2) / window);
    const int enter = i + radius + 1, leave = i - radius;
    if (enter < n) sum += tmp[enter];
    if (leave >= 0) sum -= tmp[leave];
  }
}

}  // namespace

void BoxBlurA8(uint8_t* data, int width, int height, int stride, int radius,
               std::vector<uint8_t>& scratch) {
  if (!data || width <= 0 || height <= 0 || radius <= 0) return;
  scratch.resize(static_cast<size_t>(std::max(width, height)));
  for (int pass = 0; pass < 3; ++pass) {
    for (int y = 0; y < height; ++y)
      BlurLine(data + static_cast<size_t>(y) * stride, width, 1, radius, scratch.data());
    for (int x = 0; x < width; ++x)
      BlurLine(data + x, height, stride, radius, scratch.data());
  }
}

}  // namespace igraphics
}  // namespace iplug
