// The gallery renders every control it holds: no cell is left blank, and the states differ
// where a control shows them.

#include <gtest/gtest.h>

#include <algorithm>

#include "GalleryTestFixture.h"

using namespace iplug::igraphics;
using gallery::Gallery;

namespace {

class GalleryRender : public testsupport::GalleryTestFixture {
 protected:
  // Pixels of the cell that differ from the page colour at its top-left corner.
  int InkedPixels(const IRECT& cell) const {
    const IColor page = g.GetPixel(static_cast<int>(cell.L), static_cast<int>(cell.T));
    int inked = 0;
    for (int y = static_cast<int>(cell.T); y < static_cast<int>(cell.B); ++y) {
      for (int x = static_cast<int>(cell.L); x < static_cast<int>(cell.R); ++x)
        inked += g.GetPixel(x, y) != page;
    }
    return inked;
  }
};

TEST_F(GalleryRender, EveryRowHasAControlInEachStateAndNoCellIsBlank) {
  ASSERT_GE(gallery.Rows().size(), 13u);
  const auto& rows = gallery.Rows();
  for (const char* row : {"Link", "Link, visited", "Text toggle, off", "Text toggle, on",
                          "Placeholder", "Group", "Swatches, grid", "Swatches, row", "SVG button",
                          "SVG knob", "SVG switch", "SVG slider", "Preset browser"})
    EXPECT_NE(std::find(rows.begin(), rows.end(), row), rows.end()) << row;
  EXPECT_EQ(gallery.Cells().size(), gallery.Rows().size() * Gallery::kNumStates);
  for (const auto& cell : gallery.Cells()) {
    ASSERT_NE(cell.control, nullptr) << cell.row;
    ASSERT_TRUE(g.GetBounds().Contains(cell.bounds)) << cell.row << " lies off the picture";
    EXPECT_EQ(cell.control->IsDisabled(), cell.state == Gallery::kDisabled) << cell.row;
    EXPECT_GT(InkedPixels(cell.bounds), 50) << cell.row << " in state " << cell.state;
  }
}

TEST_F(GalleryRender, DisabledControlsAreDimmedAndTheEnumTriangleLightsUnderThePointer) {
  for (const std::string& row : gallery.Rows()) {
    EXPECT_TRUE(
        Differ(CellOf(row, Gallery::kNormal).bounds, CellOf(row, Gallery::kDisabled).bounds))
        << row;
  }
  EXPECT_TRUE(Differ(CellOf("Caption: enum", Gallery::kNormal).bounds,
                     CellOf("Caption: enum", Gallery::kMouseOver).bounds));
  EXPECT_FALSE(Differ(CellOf("Caption: int", Gallery::kNormal).bounds,
                      CellOf("Caption: int", Gallery::kMouseOver).bounds));
}

}  // namespace
