// Pixel doubling against the plain one-pixel-at-a-time loop, over the shapes that take
// different paths: odd widths, padded rows, destinations not aligned to a vector, and frames
// large enough to be written past the caches.

#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "base/detail/TestHooks.h"
#include "windowing/drawing/MetalSurface.h"

namespace {

constexpr std::uint32_t kUntouched = 0xDEADBEEFu;

struct DoublingShape {
  int w, h, srcRowSpan, dstRowSpan;
  int dstOffset;  // pixels from the start of the buffer to the first destination row
};

std::vector<std::uint32_t> sourceFor(const DoublingShape& c) {
  std::vector<std::uint32_t> src(static_cast<std::size_t>(c.srcRowSpan) * c.h);
  for (std::size_t i = 0; i < src.size(); ++i)
    src[i] = static_cast<std::uint32_t>(i * 2654435761u);
  return src;
}

std::size_t destinationSize(const DoublingShape& c) {
  return static_cast<std::size_t>(c.dstOffset) + static_cast<std::size_t>(c.dstRowSpan) * 2 * c.h;
}

TEST(MetalDoubling, MatchesThePlainLoopForEveryShape) {
  const DoublingShape shapes[] = {
      {1, 1, 1, 2, 0},
      {1, 1, 3, 5, 1},
      {5, 2, 5, 10, 0},
      {7, 3, 9, 17, 1},
      {9, 4, 9, 20, 2},
      // Whole steps of eight with no pixel left over, rows starting at each pixel of a vector.
      {8, 2, 8, 19, 3},
      {16, 3, 17, 33, 1},
      // Frames past the streaming size: odd rows alternate in alignment, rows all a pixel
      // off a pixel pair, rows all a pixel pair off a vector.
      {1537, 1100, 1539, 3077, 0},
      {1537, 1100, 1537, 3076, 1},
      {1538, 1100, 1538, 3078, 2},
  };
  for (const DoublingShape& c : shapes) {
    SCOPED_TRACE(testing::Message() << c.w << " x " << c.h << " rows " << c.srcRowSpan << "/"
                                    << c.dstRowSpan << " offset " << c.dstOffset);
    const std::vector<std::uint32_t> src = sourceFor(c);
    std::vector<std::uint32_t> expected(destinationSize(c), kUntouched);
    for (int y = 0; y < 2 * c.h; ++y)
      for (int x = 0; x < 2 * c.w; ++x)
        expected[c.dstOffset + static_cast<std::size_t>(y) * c.dstRowSpan + x] =
            src[static_cast<std::size_t>(y / 2) * c.srcRowSpan + x / 2];
    std::vector<std::uint32_t> dst(expected.size(), kUntouched);
    SWELL_Metal_DoublePixels(dst.data() + c.dstOffset, src.data(), c.w, c.h, c.srcRowSpan,
                             c.dstRowSpan);
    EXPECT_TRUE(dst == expected);
  }
}

TEST(MetalDoubling, WritesNothingForEmptySizesOrOverlappingRows) {
  const std::vector<std::uint32_t> src(16, 7);
  const DoublingShape refused[] = {
      {0, 2, 4, 8, 0}, {2, 0, 4, 8, 0}, {-1, 2, 4, 8, 0}, {4, 2, 4, 7, 0}};
  for (const DoublingShape& c : refused) {
    std::vector<std::uint32_t> dst(32, kUntouched);
    base::LogCapture log;
    SWELL_Metal_DoublePixels(dst.data(), src.data(), c.w, c.h, c.srcRowSpan, c.dstRowSpan);
    EXPECT_EQ(dst, std::vector<std::uint32_t>(32, kUntouched)) << c.w << " x " << c.h;
    EXPECT_EQ(log.contains("pixel doubling refused"), c.w > 0 && c.h > 0);
  }
}

}  // namespace
