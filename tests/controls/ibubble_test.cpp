// The value bubble: where it goes at the editor's edges, how long it stays on the manual clock,
// who it shows for, and that it is drawn above the controls without ever taking the mouse.

#include <gtest/gtest.h>

#include <cmath>

#include "base/detail/TestHooks.h"
#include "controls/Controls.h"
#include "support/ControlTestFixture.h"

using namespace iplug::igraphics;
using P = testsupport::FakeEditorDelegate;

namespace {

class Bubble : public testsupport::ControlTestFixture<> {
 protected:
  IBubbleControl* TheBubble() { return static_cast<IBubbleControl*>(g.GetBubbleControl()); }
  bool Showing() { return TheBubble() && TheBubble()->IsShowing(); }
  IRECT Body() { return TheBubble()->GetBodyBounds(); }
  void Wait(double ms) {
    g.Clock().advance(ms);
    Frame();
  }
  IVKnobControl* BubbleKnob(const IRECT& r) {
    auto* knob =
        Attach(new IVKnobControl(r, P::kParamGain, "", DEFAULT_STYLE.WithShowValue(false)));
    knob->SetActionFunction(ShowBubbleHorizontalActionFunc);
    return knob;
  }
  const IRECT kMin{0, 0, 50, 30};
};

TEST_F(Bubble, ItSitsBesideOrAboveThePointAndOnTheOtherSideWhereTheEditorEnds) {
  // The editor is 400 x 300; the pointer is 8 long; "-1.5 dB" measures 49 x 14 at size 14.
  struct Case {
    float x, y;
    EDirection dir;
    IRECT body;
  } cases[] = {
      {100, 150, EDirection::Horizontal, IRECT(108, 135, 167, 165)},
      {395, 150, EDirection::Horizontal, IRECT(328, 135, 387, 165)},  // no room on the right
      {100, 295, EDirection::Horizontal, IRECT(108, 270, 167, 300)},  // kept inside
      {100, 150, EDirection::Vertical, IRECT(70.5f, 112, 129.5f, 142)},
      {100, 5, EDirection::Vertical, IRECT(70.5f, 13, 129.5f, 43)},  // no room above
      {2, 100, EDirection::Vertical, IRECT(0, 62, 59, 92)},
  };
  for (const Case& c : cases) {
    g.ShowBubbleControl(nullptr, c.x, c.y, "-1.5 dB", c.dir, kMin);
    ASSERT_TRUE(Showing());
    EXPECT_EQ(Body(), c.body) << c.x << ", " << c.y;
    float ax[3], ay[3];
    TheBubble()->GetArrow(ax, ay);
    EXPECT_EQ(ax[0], c.x);
    EXPECT_EQ(ay[0], c.y);
  }
  g.ShowBubbleControl(nullptr, 100, 150, "x", EDirection::Horizontal, kMin);
  EXPECT_EQ(Body().W(), 50.f) << "at least the minimum content size";
  EXPECT_EQ(Body().H(), 30.f);
}

TEST_F(Bubble, ItStaysWhileItsKnobIsHeldAndGoesTheDelayAfterTheLastChange) {
  auto* knob = BubbleKnob(IRECT(0, 0, 100, 100));
  g.OnMouseDown(50, 50, kLeft);
  g.OnMouseDrag(50, 40, 0, -10, kLeft);
  ASSERT_TRUE(Showing());
  EXPECT_EQ(TheBubble()->GetCaller(), knob);
  const std::string first = TheBubble()->GetStr();
  EXPECT_EQ(Body().L, 108.f) << "right of the knob";
  g.OnMouseDrag(50, 20, 0, -20, kLeft);
  EXPECT_NE(TheBubble()->GetStr(), first) << "the text follows the drag";
  Wait(5 * IBubbleControl::kHideDelayMs);
  EXPECT_TRUE(Showing()) << "held";
  g.OnMouseUp(50, 20, kLeft);
  Wait(IBubbleControl::kHideDelayMs - 1);
  EXPECT_TRUE(Showing());
  Wait(2);
  EXPECT_FALSE(Showing());

  // Wheel steps keep it up: each restarts the delay.
  for (int i = 0; i < 3; ++i) {
    g.OnMouseWheel(50, 50, IMouseMod(), 1.f);
    Wait(IBubbleControl::kHideDelayMs - 100);
    EXPECT_TRUE(Showing());
  }
  Wait(101);
  EXPECT_FALSE(Showing());
}

TEST_F(Bubble, ItIsDrawnAboveTheControlsAndLetsThePointerThrough) {
  auto* knob = BubbleKnob(IRECT(0, 0, 100, 100));
  auto* under = BubbleKnob(IRECT(100, 0, 200, 100));
  g.OnMouseWheel(50, 50, IMouseMod(), 1.f);
  under->SetDirty(false);
  Frame();
  const auto texts = g.Calls("DrawText");
  ASSERT_FALSE(texts.empty());
  EXPECT_EQ(texts.back().text, TheBubble()->GetStr()) << "drawn last";
  const IRECT body = Body();
  EXPECT_TRUE(under->GetRECT().Contains(body.MW(), body.MH()));
  EXPECT_EQ(g.GetMouseControl(body.MW(), body.MH()), under);
  EXPECT_EQ(g.GetMouseControl(body.MW(), body.MH(), true), under);
  EXPECT_EQ(TheBubble()->GetCaller(), knob);
}

TEST_F(Bubble, AnotherCallerMovesItAndTheAreaItLeftIsRedrawn) {
  BubbleKnob(IRECT(0, 0, 100, 100));
  auto* second = BubbleKnob(IRECT(0, 150, 100, 250));
  g.OnMouseWheel(50, 50, IMouseMod(), 1.f);
  Frame();
  const IRECT first = Body();
  g.OnMouseWheel(50, 200, IMouseMod(), 1.f);
  EXPECT_EQ(TheBubble()->GetCaller(), second);
  Frame();
  const IRECT wiped = g.Calls("BeginFrame").at(0).rect;
  EXPECT_TRUE(wiped.Contains(first)) << "the old place is redrawn";
  EXPECT_TRUE(wiped.Contains(Body()));
  Frame();
  EXPECT_TRUE(g.Log().empty()) << "nothing more to draw while it waits";
}

TEST_F(Bubble, ARemovedCallerABadTextOrABadPointShowsNothing) {
  auto* knob = BubbleKnob(IRECT(0, 0, 100, 100));
  g.OnMouseWheel(50, 50, IMouseMod(), 1.f);
  ASSERT_TRUE(Showing());
  g.RemoveControl(knob);
  EXPECT_FALSE(Showing());
  Frame();

  base::LogCapture logged;
  const float nan = std::nanf("");
  g.ShowBubbleControl(nullptr, 10, 10, nullptr);
  g.ShowBubbleControl(nullptr, nan, 10, "x");
  g.ShowBubbleControl(nullptr, 10, INFINITY, "x");
  IVKnobControl stray(IRECT(0, 0, 10, 10), kNoParameter);
  g.ShowBubbleControl(&stray, 10, 10, "x");
  EXPECT_FALSE(Showing());
  EXPECT_EQ(logged.count(), 4u);
}

}  // namespace
