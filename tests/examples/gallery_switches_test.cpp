// The gallery's switch rows as drawn: the slide switch is caught mid-slide and the tab switch's
// disabled tab is dimmed.

#include <gtest/gtest.h>

#include "GalleryTestFixture.h"
#include "controls/Controls.h"

using namespace iplug::igraphics;
using gallery::Gallery;

namespace {

using GallerySwitches = testsupport::GalleryTestFixture;

TEST_F(GallerySwitches, TheSlideSwitchIsMidSlideAndTheDisabledTabIsPaler) {
  IVSlideSwitchControl* slide = nullptr;
  IVTabSwitchControl* tabs = nullptr;
  for (const auto& cell : gallery.Cells()) {
    if (cell.state != Gallery::kNormal) continue;
    if (cell.row == "Slide switch") slide = dynamic_cast<IVSlideSwitchControl*>(cell.control);
    if (cell.row == "Tab switch") tabs = dynamic_cast<IVTabSwitchControl*>(cell.control);
  }
  ASSERT_TRUE(slide && tabs);

  EXPECT_EQ(slide->GetNumStates(), 3);
  EXPECT_LT(slide->GetStartRect().L, slide->GetHandleBounds().L);
  EXPECT_LT(slide->GetHandleBounds().L, slide->GetEndRect().L);

  // Near the bottom-left corner of each tab, away from its text.
  auto sample = [&](int k) {
    const IRECT r = tabs->GetButtonRect(k);
    return g.GetPixel(static_cast<int>(r.L + 4.f), static_cast<int>(r.B - 4.f));
  };
  EXPECT_GT(sample(1).R, sample(0).R + 10) << "tab 1 is disabled";
}

}  // namespace
