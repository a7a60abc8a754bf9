// Composite drawing: bitmap frames and bitmap text, grids, data plots and normalised lines.

#include <gtest/gtest.h>

#include "support/ControlTestFixture.h"

using namespace iplug::igraphics;

namespace {

class CompositeDrawing : public testsupport::ControlTestFixture<> {
 protected:
  // Destination rectangles and source offsets of the bitmap draws, in order.
  std::vector<IRECT> Dests() const {
    std::vector<IRECT> out;
    for (const auto& c : g.Calls("DrawBitmap"))
      out.push_back(c.rect);
    return out;
  }
  std::vector<std::vector<float>> Sources() const {
    std::vector<std::vector<float>> out;
    for (const auto& c : g.Calls("DrawBitmap"))
      out.push_back(c.nums);
    return out;
  }
};

TEST_F(CompositeDrawing, BitmapFramesOffsetTheSourceAlongTheFrameDirection) {
  const IBitmap vertical(nullptr, 30, 120, 4, false, "knob");
  const IBitmap horizontal(nullptr, 120, 30, 4, true, "strip");
  const IRECT dest(0, 0, 30, 30);
  g.DrawBitmapFrame(vertical, dest, 1);
  g.DrawBitmapFrame(vertical, dest, 3);
  g.DrawBitmapFrame(horizontal, dest, 4);
  g.DrawBitmapFrame(horizontal, dest, 9);   // clamped to the last frame
  g.DrawBitmapFrame(horizontal, dest, -2);  // clamped to the first
  EXPECT_EQ(Sources(),
            (std::vector<std::vector<float>>{{0, 0}, {0, 60}, {90, 0}, {90, 0}, {0, 0}}));
}

TEST_F(CompositeDrawing, BitmapTextMapsCharactersToFramesAndPlacesThemByAlignment) {
  const IBitmap font(nullptr, 10, 1200, 100, false, "font");
  const IRECT bounds(0, 0, 100, 20);
  g.DrawBitmapedText(font, bounds, IText(12, EAlign::Near), nullptr, "A !", false, false, 10, 12,
                     2);
  // 'A' (65) is frame 34, ' ' frame 1, '!' frame 2; each frame 12 points down the strip.
  EXPECT_EQ(Sources(), (std::vector<std::vector<float>>{{0, 396}, {0, 0}, {0, 12}}));
  EXPECT_EQ(Dests(),
            (std::vector<IRECT>{IRECT(0, 0, 10, 12), IRECT(12, 0, 22, 12), IRECT(24, 0, 34, 12)}));

  g.ClearLog();
  g.DrawBitmapedText(font, bounds, IText(12, EAlign::Far), nullptr, "AB", true, false, 10, 12, 0);
  EXPECT_EQ(Dests(), (std::vector<IRECT>{IRECT(80, 4, 90, 16), IRECT(90, 4, 100, 16)}));
}

TEST_F(CompositeDrawing, MultiLineBitmapTextDrawsEveryCharacterAndCentresEachLineOnItsOwnWidth) {
  const IBitmap font(nullptr, 10, 1200, 100, false, "font");
  const IRECT bounds(0, 0, 29, 100);  // two characters per line
  g.DrawBitmapedText(font, bounds, IText(12, EAlign::Center), nullptr, "ABCDE", false, true, 10, 12,
                     0);
  EXPECT_EQ(Dests(), (std::vector<IRECT>{IRECT(4.5f, 0, 14.5f, 12), IRECT(14.5f, 0, 24.5f, 12),
                                         IRECT(4.5f, 12, 14.5f, 24), IRECT(14.5f, 12, 24.5f, 24),
                                         IRECT(9.5f, 24, 19.5f, 36)}));
}

TEST_F(CompositeDrawing, BitmapTextWithZeroSizesOrNoTextDrawsNothing) {
  const IBitmap font(nullptr, 10, 1200, 100, false, "font");
  g.DrawBitmapedText(font, IRECT(0, 0, 100, 20), IText(), nullptr, "AB", true, true, 0, 12, 0);
  g.DrawBitmapedText(font, IRECT(5, 0, 5, 20), IText(), nullptr, "AB", true, true, 10, 12, 0);
  g.DrawBitmapedText(font, IRECT(0, 0, 5, 20), IText(), nullptr, "AB", true, true, 10, 12, 0);
  g.DrawBitmapedText(font, IRECT(0, 0, 100, 20), IText(), nullptr, "", true, true, 10, 12, 0);
  g.DrawBitmapedText(font, IRECT(0, 0, 100, 20), IText(), nullptr, nullptr, true, true, 10, 12, 0);
  EXPECT_TRUE(g.Log().empty());
}

TEST_F(CompositeDrawing, GridLinesAreInnerLinesAndABadStepDrawsNone) {
  g.DrawGrid(COLOR_BLACK, IRECT(0, 0, 100, 50), 30, 25);
  const auto lines = g.Calls("DrawLine");
  ASSERT_EQ(lines.size(), 4u);  // x = 30, 60, 90 and y = 25
  EXPECT_EQ(lines[0].nums, (std::vector<float>{30, 0, 30, 50, 1}));
  EXPECT_EQ(lines[3].nums, (std::vector<float>{0, 25, 100, 25, 1}));
  g.ClearLog();
  g.DrawGrid(COLOR_BLACK, IRECT(0, 0, 100, 50), 0, -4);
  g.DrawGrid(COLOR_BLACK, IRECT(0, 0, 100, 50), std::numeric_limits<float>::quiet_NaN(), 1e-9f);
  g.DrawGrid(COLOR_BLACK, IRECT(1e8f, 0, 1e8f + 100, 50), 1.f, 0.f);  // too fine to step in floats
  EXPECT_LE(g.Count("DrawLine"), 110);
}

TEST_F(CompositeDrawing, DataIsAPolylineWithYFromTheBottomAndGapsAtMissingPoints) {
  const float ys[] = {0.f, 1.f, std::numeric_limits<float>::quiet_NaN(), 0.5f, 0.5f};
  g.DrawData(COLOR_BLUE, IRECT(0, 0, 40, 10), ys, 5);
  EXPECT_EQ(g.Ops(), (std::vector<std::string>{"PathClear", "PathMoveTo", "PathLineTo",
                                               "PathMoveTo", "PathLineTo", "PathStroke"}));
  EXPECT_EQ(g.Calls("PathLineTo")[0].nums, (std::vector<float>{10, 0}));
  EXPECT_EQ(g.Calls("PathMoveTo")[1].nums, (std::vector<float>{30, 5}));
  g.ClearLog();
  g.DrawData(COLOR_BLUE, IRECT(0, 0, 40, 10), ys, 1);
  g.DrawData(COLOR_BLUE, IRECT(0, 0, 40, 10), nullptr, 5);
  EXPECT_TRUE(g.Log().empty());
}

TEST_F(CompositeDrawing, NormalisedLinesCountYFromTheBottomAndClampToTheRectangle) {
  g.DrawVerticalLine(COLOR_BLACK, IRECT(10, 0, 110, 50), 0.25f);
  g.DrawHorizontalLine(COLOR_BLACK, IRECT(10, 0, 110, 50), 0.2f);
  g.DrawHorizontalLine(COLOR_BLACK, IRECT(10, 0, 110, 50), 3.f);
  const auto lines = g.Calls("DrawLine");
  EXPECT_EQ(lines[0].nums, (std::vector<float>{35, 0, 35, 50, 1}));
  EXPECT_EQ(lines[1].nums, (std::vector<float>{10, 40, 110, 40, 1}));
  EXPECT_EQ(lines[2].nums, (std::vector<float>{10, 0, 110, 0, 1}));
}

}  // namespace
