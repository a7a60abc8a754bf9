// The switch base clicked through the graphics context: state sequences, the state count taken
// from a parameter, and the state disabled flags.

#include <gtest/gtest.h>

#include <climits>

#include "controls/Controls.h"
#include "support/ControlTestFixture.h"

using namespace iplug::igraphics;
using testsupport::FakeEditorDelegate;
using Call = FakeEditorDelegate::Call;

namespace {

class TestSwitch : public ISwitchControlBase {
 public:
  using ISwitchControlBase::ISwitchControlBase;
  void Draw(IGraphics& g) override { g.FillRect(COLOR_GRAY, mRECT); }
};

class SwitchBase : public testsupport::ControlTestFixture<> {
 protected:
  TestSwitch* Attach(TestSwitch* s) { return static_cast<TestSwitch*>(g.AttachControl(s)); }
  TestSwitch* Unbound(int states) {
    return Attach(new TestSwitch(
        kBounds, kNoParameter, [this](IControl*) { ++actions; }, states));
  }
  void Click() {
    g.OnMouseDown(20, 20, IMouseMod(true));
    g.OnMouseUp(20, 20, IMouseMod(true));
  }

  const IRECT kBounds{0, 0, 40, 40};
  int actions = 0;
};

TEST_F(SwitchBase, EveryStateIsReachedExactlyAndTheLastWrapsToTheFirst) {
  // Adding 1 / (n - 1) misses the last state of these counts through rounding.
  for (int n : {3, 10, 12, 19, 21, 22, 26}) {
    SCOPED_TRACE(n);
    g.RemoveAllControls();
    TestSwitch* s = Unbound(n);
    for (int i = 1; i < n; ++i) {
      Click();
      EXPECT_DOUBLE_EQ(s->GetValue(), static_cast<double>(i) / (n - 1));
      EXPECT_EQ(s->GetSelectedIdx(), i);
    }
    Click();
    EXPECT_EQ(s->GetValue(), 0.);
  }
}

TEST_F(SwitchBase, TwoStatesTurnOnOnlyFromExactlyZero) {
  TestSwitch* s = Unbound(2);
  Click();
  EXPECT_EQ(s->GetValue(), 1.);
  Click();
  EXPECT_EQ(s->GetValue(), 0.);
  s->SetValue(0.3);
  g.OnMouseDblClick(20, 20, IMouseMod(true));  // a double click is a click
  EXPECT_EQ(s->GetValue(), 0.);
  EXPECT_EQ(actions, 3);
}

TEST_F(SwitchBase, FewerThanTwoStatesStayAtZero) {
  for (int n : {1, 0, -3}) {
    g.RemoveAllControls();
    TestSwitch* s = Unbound(n);
    s->SetValue(0.7);
    Click();
    EXPECT_EQ(s->GetValue(), 0.) << n;
    EXPECT_FALSE(s->GetStateDisabled(0));
  }
}

TEST_F(SwitchBase, ABoundSwitchTakesItsStatesFromTheRangeAndSetsTheParameter) {
  dlg.GetParam(FakeEditorDelegate::kParamTime)->InitInt("Steps", 0, 0, 7);
  TestSwitch* s = Attach(new TestSwitch(kBounds, FakeEditorDelegate::kParamTime, nullptr, 2));
  EXPECT_EQ(s->GetNumStates(), 8);
  dlg.ClearCalls();
  Click();
  EXPECT_DOUBLE_EQ(s->GetValue(), 1. / 7.);
  EXPECT_EQ(dlg.GetParam(FakeEditorDelegate::kParamTime)->Value(), 1.);
  EXPECT_EQ(dlg.Calls().front(), (Call{Call::kBegin, FakeEditorDelegate::kParamTime, 0.}));
  EXPECT_EQ(dlg.Calls().back(), (Call{Call::kEnd, FakeEditorDelegate::kParamTime, 0.}));
}

TEST_F(SwitchBase, AHugeRangeCapsTheStateCountAndStillSteps) {
  dlg.GetParam(FakeEditorDelegate::kParamTime)
      ->Init(iplug::IParam::kTypeDouble, "Huge", 0., 0., 1e12, 0.);
  TestSwitch* s = Attach(new TestSwitch(kBounds, FakeEditorDelegate::kParamTime, nullptr, 2));
  EXPECT_EQ(s->GetNumStates(), INT_MAX);
  Click();
  EXPECT_DOUBLE_EQ(s->GetValue(), 1. / (INT_MAX - 1.));
  s->SetValue(1.);
  Click();
  EXPECT_EQ(s->GetValue(), 0.);
}

TEST_F(SwitchBase, StateFlagsOutsideTheStatesAreIgnoredButStillRedraw) {
  TestSwitch* s = Unbound(3);
  s->SetStateDisabled(1, true);
  EXPECT_TRUE(s->GetStateDisabled(1));
  g.DrawFrame();
  s->SetStateDisabled(7, true);
  s->SetStateDisabled(-1, true);
  EXPECT_FALSE(s->GetStateDisabled(7));
  EXPECT_FALSE(s->GetStateDisabled(-1));
  EXPECT_TRUE(s->IsDirty());
}

TEST_F(SwitchBase, ABoundSwitchHasAFlagForEveryStateAndKeepsTheFlagsSetBefore) {
  dlg.GetParam(FakeEditorDelegate::kParamTime)->InitInt("Steps", 0, 0, 7);
  auto* more = new TestSwitch(kBounds, FakeEditorDelegate::kParamTime, nullptr, 2);
  more->SetStateDisabled(1, true);
  Attach(more);
  EXPECT_TRUE(more->GetStateDisabled(1));
  EXPECT_FALSE(more->GetStateDisabled(7));
  more->SetStateDisabled(7, true);
  EXPECT_TRUE(more->GetStateDisabled(7));

  // Fewer states than built with: the flags of the states left stay.
  auto* fewer = new TestSwitch(kBounds, FakeEditorDelegate::kParamBool, nullptr, 5);
  fewer->SetAllStatesDisabled(true);
  Attach(fewer);
  EXPECT_EQ(fewer->GetNumStates(), 2);
  EXPECT_TRUE(fewer->GetStateDisabled(1));
  EXPECT_FALSE(fewer->GetStateDisabled(2));
}

}  // namespace
