// The vector switch, toggle and slide switch, clicked through the graphics context and drawn
// into the recording double.

#include <gtest/gtest.h>

#include "base/detail/TestHooks.h"
#include "controls/Controls.h"
#include "support/ControlTestFixture.h"

using namespace iplug::igraphics;
using testsupport::FakeEditorDelegate;
using P = FakeEditorDelegate;

namespace {

class VSwitches : public testsupport::ControlTestFixture<> {
 protected:
  IColor ShapeColor() const { return g.Calls("FillRoundRect").at(0).color; }
  std::string LastText() const { return g.Calls("DrawText").back().text; }

  // No frame or shadow, so the widget fills the clickable area exactly.
  const IVStyle style = DEFAULT_STYLE.WithDrawFrame(false).WithDrawShadows(false);
};

TEST_F(VSwitches, ASwitchCyclesThroughAParameterShowingItsTextAndLooksPressedWhileHeld) {
  dlg.GetParam(P::kParamTime)->InitEnum("Mode", 0, {"Low", "Mid", "High"});
  auto* sw = Attach(new IVSwitchControl(IRECT(0, 0, 100, 60), P::kParamTime, nullptr, style));
  EXPECT_STREQ(sw->GetLabelStr(), "Mode") << "an empty label takes the parameter's name";
  EXPECT_EQ(g.GetMouseControl(50, 10), nullptr) << "the label strip is not the switch";

  const char* shown[] = {"Mid", "High", "Low"};
  for (int i = 0; i < 3; ++i) {
    g.OnMouseDown(50, 40, IMouseMod(true));
    Frame();
    EXPECT_EQ(ShapeColor(), style.GetColor(kPR));
    g.OnMouseUp(50, 40, IMouseMod(true));
    EXPECT_EQ(dlg.GetParam(P::kParamTime)->Value(), (i + 1) % 3);
    Frame();
    EXPECT_EQ(ShapeColor(), style.GetColor(kFG));
    EXPECT_EQ(LastText(), shown[i]);
  }
  g.OnMouseOut();
  g.Clock().advance(101);  // the splash is over
  Frame();
  EXPECT_EQ(g.Ops(), (std::vector<std::string>{"BeginFrame", "FillRect", "DrawText",
                                               "FillRoundRect", "DrawText", "EndFrame"}));
}

TEST_F(VSwitches, AToggleBuiltOnStaysPressedWithItsOnTextUntilClicked) {
  int actions = 0;
  auto* toggle = Attach(new IVToggleControl(
      IRECT(0, 0, 100, 40), [&](IControl*) { ++actions; }, "", style, "Quiet", "Audition", true));
  Frame();
  EXPECT_EQ(ShapeColor(), style.GetColor(kPR));
  EXPECT_EQ(LastText(), "Audition");
  EXPECT_EQ(g.Calls("DrawText")[0].rect, toggle->GetWidgetBounds()) << "the text is in the shape";

  Click(50, 20);
  EXPECT_EQ(toggle->GetValue(), 0.);
  EXPECT_EQ(actions, 1);
  Frame();
  EXPECT_EQ(ShapeColor(), style.GetColor(kFG));
  EXPECT_EQ(LastText(), "Quiet");
}

class VSlideSwitch : public VSwitches {
 protected:
  // A horizontal switch 300 wide: its three slots are 100 wide each.
  IVSlideSwitchControl* ThreeStates(int initialState = 0) {
    return Attach(new IVSlideSwitchControl(
        IRECT(0, 0, 300, 40), [this](IControl*) { ++endActions; }, "", style, true,
        EDirection::Horizontal, 3, initialState));
  }
  void Wait(double ms) {
    g.Clock().advance(ms);
    Frame();
  }
  const IRECT kLeft{0, 0, 100, 40}, kMiddle{100, 0, 200, 40}, kRight{200, 0, 300, 40};
  int endActions = 0;
};

TEST_F(VSlideSwitch, TheHandleSlidesFromTheLastSlotToTheFirstWithoutItsValueText) {
  auto* sw = ThreeStates(1);
  EXPECT_EQ(sw->GetHandleBounds(), kRight) << "initial state 1 is the last state";
  sw->SetValueStr("on air");

  Click(250, 20);
  EXPECT_EQ(sw->GetValue(), 0.);
  Wait(50);
  EXPECT_EQ(sw->GetHandleBounds(), kMiddle);
  EXPECT_EQ(g.Count("DrawText"), 0);
  EXPECT_EQ(endActions, 0) << "the caller's action waits for the end of the slide";
  Wait(51);
  EXPECT_EQ(sw->GetHandleBounds(), kLeft);
  EXPECT_EQ(g.Calls("DrawText").at(0).rect, kLeft) << "the value text is back, in the handle";
  EXPECT_EQ(endActions, 1);
  Wait(10);
  EXPECT_EQ(endActions, 1) << "once per slide";
}

TEST_F(VSlideSwitch, AResizeDuringASlideKeepsTheSlideInTheNewLayout) {
  auto* sw = ThreeStates();
  Click(50, 20);  // state 0 -> 1
  Wait(50);
  sw->SetSize(600, 40);
  EXPECT_EQ(sw->GetStartRect(), IRECT(0, 0, 200, 40));
  EXPECT_EQ(sw->GetEndRect(), IRECT(200, 0, 400, 40));
  EXPECT_EQ(sw->GetHandleBounds(), IRECT(100, 0, 300, 40));
  Wait(51);
  EXPECT_EQ(sw->GetHandleBounds(), IRECT(200, 0, 400, 40));
}

TEST_F(VSlideSwitch, ASecondClickOrAValueFromElsewhereSlidesToTheSlotOfTheNewState) {
  auto* sw = ThreeStates();
  Click(50, 20);
  Wait(50);
  Click(150, 20);  // 1 -> 2 while the handle is half-way to the middle slot
  EXPECT_EQ(sw->GetStartRect(), kMiddle);
  EXPECT_EQ(sw->GetEndRect(), kRight);
  Wait(101);
  EXPECT_EQ(sw->GetHandleBounds(), kRight);

  sw->SetValueFromUserInput(0.5);  // not the state after 2, which is 0
  EXPECT_EQ(sw->GetEndRect(), kMiddle);
}

TEST_F(VSlideSwitch, NoStatesMeansOneAndAnInitialStateAboveOneIsTheLast) {
  base::LogCapture logged;
  auto* none = Attach(new IVSlideSwitchControl(IRECT(0, 0, 300, 40), nullptr, "", style, true,
                                               EDirection::Vertical, 0, 0));
  EXPECT_EQ(none->GetNumStates(), 1);
  Click(150, 20);
  Wait(101);
  EXPECT_EQ(none->GetValue(), 0.);
  EXPECT_EQ(none->GetHandleBounds(), IRECT(0, 0, 300, 40));

  EXPECT_EQ(ThreeStates(2)->GetHandleBounds(), kRight);
  EXPECT_EQ(logged.count(), 2u);
}

}  // namespace
