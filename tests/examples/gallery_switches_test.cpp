// The gallery's switch rows as drawn: the slide switch is caught mid-slide and the tab switch's
// disabled tab is dimmed.

#include <gtest/gtest.h>

#include "Gallery.h"
#include "controls/IVSlideSwitchControl.h"
#include "controls/IVTabSwitchControl.h"
#include "graphics/IGraphicsNanoVG.h"
#include "support/FakeEditorDelegate.h"

using namespace iplug::igraphics;
using gallery::Gallery;

namespace {

class GallerySwitches : public ::testing::Test {
 protected:
  void SetUp() override { gallery.Render(); }

  template <class T>
  T* ControlOf(const std::string& row, Gallery::EState state) const {
    for (const auto& cell : gallery.Cells()) {
      if (cell.row == row && cell.state == state) return dynamic_cast<T*>(cell.control);
    }
    return nullptr;
  }

  FakeEditorDelegate dlg;
  IGraphicsNanoVG g{dlg, Gallery::kWidth, Gallery::kHeight};
  Gallery gallery{g};
};

TEST_F(GallerySwitches, EverySlideSwitchIsHalfWayFromItsFirstSlotToItsSecond) {
  for (int state = 0; state < Gallery::kNumStates; ++state) {
    auto* sw = ControlOf<IVSlideSwitchControl>("Slide switch", static_cast<Gallery::EState>(state));
    ASSERT_NE(sw, nullptr);
    EXPECT_EQ(sw->GetNumStates(), 3);
    EXPECT_TRUE(sw->GetAnimationFunction()) << state;
    const IRECT& h = sw->GetHandleBounds();
    EXPECT_FLOAT_EQ(h.L, 0.5f * (sw->GetStartRect().L + sw->GetEndRect().L)) << state;
    EXPECT_LT(sw->GetStartRect().L, sw->GetEndRect().L);
  }
}

TEST_F(GallerySwitches, TheDisabledTabIsPaintedPalerThanItsEnabledNeighbour) {
  auto* tabs = ControlOf<IVTabSwitchControl>("Tab switch", Gallery::kNormal);
  ASSERT_NE(tabs, nullptr);
  ASSERT_TRUE(tabs->GetStateDisabled(1));
  // Near the bottom-left corner of each tab, away from its text.
  auto sample = [&](int k) {
    const IRECT r = tabs->GetButtonRect(k);
    return g.GetPixel(static_cast<int>(r.L + 4.f), static_cast<int>(r.B - 4.f));
  };
  const IColor enabled = sample(0), disabled = sample(1);
  EXPECT_GT(disabled.R, enabled.R + 10);
}

}  // namespace
