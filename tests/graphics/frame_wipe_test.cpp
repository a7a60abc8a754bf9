#include <gtest/gtest.h>

#include <cmath>

#include "graphics/CairoPainter.h"

namespace {

using namespace iplug::igraphics;

// The frame wipe writes pixels directly; it must cover whole pixels, stay inside the surface
// and ignore regions it cannot place.
TEST(FrameWipe, ClearRectRoundsOutToWholePixelsAndStaysInside) {
  CairoPainter painter(20, 10, 2.f);  // 40 x 20 device pixels
  painter.Clear(COLOR_RED);
  painter.ClearRect(IRECT(2.25f, 1.f, 4.f, 3.f));  // device x 4.5..8 -> pixels 4..7
  EXPECT_EQ(painter.GetPixel(4, 2).A, 0);
  EXPECT_EQ(painter.GetPixel(7, 5).A, 0);
  EXPECT_EQ(painter.GetPixel(8, 2), COLOR_RED);
  EXPECT_EQ(painter.GetPixel(3, 2), COLOR_RED);
  EXPECT_EQ(painter.GetPixel(4, 6), COLOR_RED);

  painter.ClearRect(IRECT(-100.f, -5.f, 1.f, 1000.f));  // clamped to the surface
  EXPECT_EQ(painter.GetPixel(0, 19).A, 0);
  EXPECT_EQ(painter.GetPixel(2, 0), COLOR_RED);

  painter.ClearRect(IRECT(NAN, 0.f, 5.f, 5.f));
  painter.ClearRect(IRECT(10.f, 5.f, 5.f, 2.f));  // inverted: nothing
  EXPECT_EQ(painter.GetPixel(30, 12), COLOR_RED);
}

}  // namespace
