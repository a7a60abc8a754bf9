// The vector switch, toggle and slide switch, clicked through the graphics context and drawn
// into the recording double.

#include <gtest/gtest.h>

#include "controls/IVSlideSwitchControl.h"
#include "controls/IVSwitchControl.h"
#include "controls/IVToggleControl.h"
#include "graphics/GraphicsLog.h"
#include "support/FakeEditorDelegate.h"
#include "support/RecordingGraphics.h"

using namespace iplug::igraphics;
using testing_support::DrawCall;
using testing_support::RecordingGraphics;
using P = FakeEditorDelegate;

namespace {

class VSwitches : public ::testing::Test {
 protected:
  template <class T>
  T* Attach(T* c) {
    return static_cast<T*>(g.AttachControl(c));
  }
  void Frame() {
    g.ClearLog();
    g.DrawFrame();
  }
  void Click(float x, float y) {
    g.OnMouseDown(x, y, IMouseMod(true));
    g.OnMouseUp(x, y, IMouseMod(true));
  }
  std::vector<DrawCall> Calls(const std::string& op) const { return g.Calls(op); }
  std::vector<std::string> Texts() const {
    std::vector<std::string> out;
    for (const DrawCall& c : g.Calls("DrawText"))
      out.push_back(c.text);
    return out;
  }

  FakeEditorDelegate dlg;
  RecordingGraphics g{dlg};
  // No frame or shadow, so the widget fills the clickable area exactly.
  const IVStyle style = DEFAULT_STYLE.WithDrawFrame(false).WithDrawShadows(false);
};

TEST_F(VSwitches, ASwitchOnAThreeValueParameterCyclesAndShowsItsDisplayText) {
  dlg.GetParam(P::kParamTime)->InitEnum("Mode", 0, {"Low", "Mid", "High"});
  auto* sw = Attach(new IVSwitchControl(IRECT(0, 0, 100, 60), P::kParamTime, nullptr, style));
  EXPECT_EQ(sw->GetNumStates(), 3);
  EXPECT_STREQ(sw->GetLabelStr(), "Mode") << "an empty label takes the parameter's name";
  EXPECT_EQ(sw->GetText().mVAlign, EVAlign::Middle);
  // The 19-point label strip is not part of the switch.
  EXPECT_EQ(sw->GetWidgetBounds(), IRECT(0, 19, 100, 60));
  EXPECT_EQ(g.GetMouseControl(50, 10), nullptr);

  const double expected[] = {0.5, 1., 0.};
  const char* shown[] = {"Mid", "High", "Low"};
  for (int i = 0; i < 3; ++i) {
    Click(50, 40);
    EXPECT_DOUBLE_EQ(sw->GetValue(), expected[i]);
    EXPECT_EQ(dlg.GetParam(P::kParamTime)->Value(), expected[i] * 2.);
    Frame();
    EXPECT_EQ(Texts(), (std::vector<std::string>{"Mode", shown[i]}));
  }
  // Once the splash is over and the pointer gone: background, label, shape, value.
  g.OnMouseOut();
  g.Clock().advance(101);
  Frame();
  EXPECT_EQ(g.Ops(), (std::vector<std::string>{"BeginFrame", "FillRect", "DrawText",
                                               "FillRoundRect", "DrawText", "EndFrame"}));
  // A value from the parameter side is shown too.
  dlg.GetParam(P::kParamTime)->Set(2.);
  g.SendParameterValueFromDelegate(P::kParamTime, 2., false);
  EXPECT_STREQ(sw->GetValueStr(), "High");
}

TEST_F(VSwitches, ASwitchLooksPressedOnlyWhileTheButtonIsHeld) {
  auto* sw = Attach(new IVSwitchControl(IRECT(0, 0, 100, 40), nullptr, "", style, 3));
  g.OnMouseDown(50, 20, IMouseMod(true));
  Frame();
  EXPECT_EQ(Calls("FillRoundRect")[0].color, style.GetColor(kPR));
  g.OnMouseUp(50, 20, IMouseMod(true));
  Frame();
  EXPECT_EQ(Calls("FillRoundRect")[0].color, style.GetColor(kFG));
  EXPECT_DOUBLE_EQ(sw->GetValue(), 0.5);

  // Leaving redraws without the mouse-over look.
  EXPECT_TRUE(sw->GetMouseIsOver());
  g.OnMouseOut();
  EXPECT_FALSE(sw->GetMouseIsOver());
  EXPECT_TRUE(sw->IsDirty());
}

TEST_F(VSwitches, AToggleBuiltOnStaysPressedShowsItsOnTextAndTurnsOffOnAClick) {
  int actions = 0;
  auto* toggle = Attach(new IVToggleControl(
      IRECT(0, 0, 100, 40), [&](IControl*) { ++actions; }, "", style, "Quiet", "Audition", true));
  EXPECT_EQ(toggle->GetValue(), 1.);
  Frame();
  EXPECT_EQ(Calls("FillRoundRect")[0].color, style.GetColor(kPR));
  EXPECT_EQ(Texts(), std::vector<std::string>{"Audition"});
  EXPECT_EQ(Calls("DrawText")[0].rect, toggle->GetWidgetBounds()) << "the text is in the shape";

  Click(50, 20);
  EXPECT_EQ(toggle->GetValue(), 0.);
  EXPECT_EQ(actions, 1);
  Frame();
  EXPECT_EQ(Calls("FillRoundRect")[0].color, style.GetColor(kFG));
  EXPECT_EQ(Texts(), std::vector<std::string>{"Quiet"});

  // Bound to a boolean, it follows the parameter; null texts count as empty.
  auto* bound =
      Attach(new IVToggleControl(IRECT(0, 50, 100, 90), P::kParamBool, "", style, nullptr, "on"));
  EXPECT_EQ(bound->GetNumStates(), 2);
  EXPECT_STREQ(bound->GetOffText(), "");
  g.SendParameterValueFromDelegate(P::kParamBool, 1., true);
  Frame();
  EXPECT_EQ(Texts().back(), "on");
}

class VSlideSwitch : public VSwitches {
 protected:
  // A horizontal switch 300 wide: its three slots are 100 wide each.
  IVSlideSwitchControl* ThreeStates(int* endActions = nullptr, int initialState = 0) {
    return Attach(new IVSlideSwitchControl(
        IRECT(0, 0, 300, 40),
        [endActions](IControl*) {
          if (endActions) ++*endActions;
        },
        "", style, true, EDirection::Horizontal, 3, initialState));
  }
  const IRECT kLeft{0, 0, 100, 40}, kMiddle{100, 0, 200, 40}, kRight{200, 0, 300, 40};
};

TEST_F(VSlideSwitch, TheHandleSlidesFromTheLastSlotToTheFirstOverAHundredMilliseconds) {
  int endActions = 0;
  auto* sw = ThreeStates(&endActions, 1);
  EXPECT_EQ(sw->GetHandleBounds(), kRight) << "initial state 1 is the last state";
  EXPECT_EQ(sw->GetEndRect(), kLeft) << "the slot a click goes to";
  sw->SetValueStr("on air");

  Click(250, 20);
  g.OnMouseOut();
  EXPECT_EQ(sw->GetValue(), 0.);
  EXPECT_EQ(endActions, 0) << "the caller's action waits for the end of the slide";
  g.Clock().advance(50);
  Frame();
  EXPECT_EQ(sw->GetHandleBounds(), IRECT(100, 0, 200, 40));
  EXPECT_EQ(sw->GetValueBounds(), sw->GetHandleBounds()) << "the value rides in the handle";
  EXPECT_EQ(g.Count("DrawText"), 0) << "no value text while sliding";
  // The track, then the handle, whose corner radius the track shares.
  const auto fills = Calls("FillRoundRect");
  ASSERT_EQ(fills.size(), 2u);
  EXPECT_EQ(fills[0].rect, sw->GetWidgetBounds());
  EXPECT_EQ(fills[0].color, style.GetColor(kSH));
  EXPECT_EQ(fills[1].rect, IRECT(100, 0, 200, 40));

  g.Clock().advance(51);
  Frame();
  EXPECT_EQ(sw->GetHandleBounds(), kLeft);
  EXPECT_EQ(sw->GetEndRect(), kMiddle);
  EXPECT_EQ(endActions, 1);
  EXPECT_FALSE(sw->GetAnimationFunction());
  EXPECT_EQ(Calls("DrawText")[0].rect, kLeft) << "the value text is back, in the handle";
  Frame();
  EXPECT_EQ(endActions, 1) << "once per slide";
}

TEST_F(VSlideSwitch, AVerticalSwitchPutsStateZeroAtTheTop) {
  auto* sw = Attach(new IVSlideSwitchControl(IRECT(0, 0, 40, 90), nullptr, "", style, true,
                                             EDirection::Vertical, 3, 0));
  EXPECT_EQ(sw->GetHandleBounds(), IRECT(0, 0, 40, 30));
  Click(20, 10);
  g.Clock().advance(101);
  g.DrawFrame();
  EXPECT_EQ(sw->GetHandleBounds(), IRECT(0, 30, 40, 60));
}

TEST_F(VSlideSwitch, AResizeDuringASlideKeepsTheSlideInTheNewLayout) {
  auto* sw = ThreeStates();
  Click(50, 20);  // state 0 -> 1
  g.Clock().advance(50);
  g.DrawFrame();
  sw->SetSize(600, 40);
  EXPECT_TRUE(sw->GetAnimationFunction()) << "the slide goes on";
  EXPECT_EQ(sw->GetStartRect(), IRECT(0, 0, 200, 40));
  EXPECT_EQ(sw->GetEndRect(), IRECT(200, 0, 400, 40));
  EXPECT_EQ(sw->GetHandleBounds(), IRECT(100, 0, 300, 40));
  g.Clock().advance(51);
  g.DrawFrame();
  EXPECT_EQ(sw->GetHandleBounds(), IRECT(200, 0, 400, 40));
}

TEST_F(VSlideSwitch, AClickDuringASlideSlidesOnFromTheStateItWasHeadingTo) {
  auto* sw = ThreeStates();
  Click(50, 20);
  g.Clock().advance(50);
  g.DrawFrame();
  Click(150, 20);  // 1 -> 2 while the handle is between the first two slots
  EXPECT_EQ(sw->GetValue(), 1.);
  EXPECT_EQ(sw->GetStartRect(), kMiddle);
  EXPECT_EQ(sw->GetEndRect(), kRight);
  g.Clock().advance(50);
  g.DrawFrame();
  EXPECT_EQ(sw->GetHandleBounds(), IRECT(150, 0, 250, 40)) << "a fresh 100 ms";
  g.Clock().advance(51);
  g.DrawFrame();
  EXPECT_EQ(sw->GetHandleBounds(), kRight);
}

TEST_F(VSlideSwitch, AValueSetByTheUserElsewhereSlidesStraightToItsSlot) {
  dlg.GetParam(P::kParamTime)->InitEnum("Mode", 0, {"Low", "Mid", "High"});
  auto* sw = Attach(new IVSlideSwitchControl(IRECT(0, 0, 300, 40), P::kParamTime, "",
                                             style.WithShowLabel(false)));
  EXPECT_EQ(sw->GetNumStates(), 3);
  sw->SetValueFromUserInput(1.);
  EXPECT_EQ(dlg.GetParam(P::kParamTime)->Value(), 2.);
  EXPECT_EQ(sw->GetStartRect(), kLeft);
  EXPECT_EQ(sw->GetEndRect(), kRight);
  g.Clock().advance(101);
  g.DrawFrame();
  EXPECT_EQ(sw->GetHandleBounds(), kRight);
  Click(50, 20);  // a click from the last state wraps
  g.Clock().advance(101);
  g.DrawFrame();
  EXPECT_EQ(sw->GetHandleBounds(), kLeft);
  EXPECT_STREQ(sw->GetValueStr(), "Low");
}

TEST_F(VSlideSwitch, NoStatesMeansOneAndAnInitialStateAboveOneIsTheLast) {
  const int logged = GraphicsLogCount();
  auto* none = Attach(new IVSlideSwitchControl(IRECT(0, 0, 300, 40), nullptr, "", style, true,
                                               EDirection::Horizontal, 0, 0));
  EXPECT_EQ(none->GetNumStates(), 1);
  EXPECT_EQ(none->GetHandleBounds(), IRECT(0, 0, 300, 40));
  Click(150, 20);
  g.Clock().advance(101);
  g.DrawFrame();
  EXPECT_EQ(none->GetValue(), 0.);
  EXPECT_EQ(none->GetHandleBounds(), IRECT(0, 0, 300, 40));

  auto* high = ThreeStates(nullptr, 2);
  EXPECT_EQ(high->GetValue(), 1.);
  EXPECT_EQ(high->GetHandleBounds(), kRight);
  EXPECT_EQ(GraphicsLogCount(), logged + 2);
}

}  // namespace
