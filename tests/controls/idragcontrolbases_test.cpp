// The knob and slider bases driven through the graphics context: gearing and fine adjustment,
// stepped parameters, snapping to the pointer, the wheel, the hidden cursor, and drags that can
// give no finite change.

#include <gtest/gtest.h>

#include <cmath>

#include "controls/Controls.h"
#include "support/ControlTestFixture.h"

using namespace iplug::igraphics;
using testsupport::FakeEditorDelegate;
using P = FakeEditorDelegate;
using Call = FakeEditorDelegate::Call;

namespace {

class TestKnob : public IKnobControlBase {
 public:
  TestKnob(const IRECT& bounds, int paramIdx, double gearing)
      : IKnobControlBase(bounds, paramIdx, EDirection::Vertical, gearing) {}
  TestKnob(const IRECT& bounds, IActionFunction action, EDirection dir, double gearing)
      : IKnobControlBase(bounds, std::move(action), dir, gearing) {}
  void Draw(IGraphics& g) override { g.FillRect(COLOR_GRAY, mRECT); }
  IRECT GetDragBounds() override { return mDragBounds.Empty() ? mTargetRECT : mDragBounds; }
  IRECT mDragBounds;
};

class TestSlider : public ISliderControlBase {
 public:
  using ISliderControlBase::ISliderControlBase;
  void Draw(IGraphics& g) override { g.FillRect(COLOR_GRAY, mRECT); }
};

const IMouseMod kShift(true, false, true);
const IMouseMod kControl(true, false, false, true);

class DragBases : public testsupport::ControlTestFixture<> {
 protected:
  // Presses at (x, y), drags by the deltas one event each, and releases.
  void Drag(float x, float y, std::initializer_list<std::pair<float, float>> deltas,
            const IMouseMod& mod = kLeft) {
    g.OnMouseDown(x, y, mod);
    for (auto [dX, dY] : deltas) {
      x += dX;
      y += dY;
      g.OnMouseDrag(x, y, dX, dY, mod);
    }
    g.OnMouseUp(x, y, mod);
  }
  int SetValueCalls() const {
    int n = 0;
    for (const Call& c : dlg.Calls())
      n += c.kind == Call::kSetValue;
    return n;
  }

  int actions = 0;
  IActionFunction countAction = [this](IControl*) { ++actions; };
};

TEST_F(DragBases, KnobGearingSetsTheTravelForTheWholeRangeAndShiftOrControlMakeItFiner) {
  auto* knob = Attach(new TestKnob(IRECT(0, 0, 100, 100), countAction, EDirection::Vertical, 2.));
  Drag(50, 50, {{0, -50}});
  EXPECT_DOUBLE_EQ(knob->GetValue(), 0.25);
  Drag(50, 50, {{0, -50}}, kShift);
  EXPECT_DOUBLE_EQ(knob->GetValue(), 0.275);
  Drag(50, 50, {{0, -50}}, kControl);
  EXPECT_DOUBLE_EQ(knob->GetValue(), 0.3);
  Drag(50, 50, {{0, 30}, {0, 30}});  // downwards lowers it
  EXPECT_NEAR(knob->GetValue(), 0., 1e-12);
  EXPECT_EQ(actions, 5);

  auto* across = Attach(new TestKnob(IRECT(200, 0, 300, 100), nullptr, EDirection::Horizontal, 1.));
  Drag(250, 50, {{40, -80}});
  EXPECT_DOUBLE_EQ(across->GetValue(), 0.4);
  Drag(250, 50, {{400, 0}});
  EXPECT_EQ(across->GetValue(), 1.);
}

TEST_F(DragBases, AKnobOnAFourValueParameterMovesAWholeStepOncePastHalfOfOne) {
  auto* knob = Attach(new TestKnob(IRECT(0, 0, 100, 100), P::kParamEnum, 1.));
  g.OnMouseDown(50, 50, kLeft);
  g.OnMouseDrag(50, 40, 0, -10, kLeft);  // a tenth: under half of a third
  EXPECT_EQ(knob->GetValue(), 0.);
  g.OnMouseDrag(50, 30, 0, -10, kLeft);
  EXPECT_DOUBLE_EQ(knob->GetValue(), 1. / 3.);
  EXPECT_EQ(dlg.GetParam(P::kParamEnum)->Value(), 1.);
  g.OnMouseUp(50, 30, kLeft);
  // The next press starts from the shown value, not from the unquantised drag.
  Drag(50, 50, {{0, -10}});
  EXPECT_DOUBLE_EQ(knob->GetValue(), 1. / 3.);
  Drag(50, 50, {{0, -20}});
  EXPECT_DOUBLE_EQ(knob->GetValue(), 2. / 3.);
}

TEST_F(DragBases, DragsOverNothingOrWithGearingZeroChangeNothing) {
  auto* knob = Attach(new TestKnob(IRECT(0, 0, 100, 100), P::kParamGain, 0.));
  knob->SetValueFromDelegate(0.5);
  dlg.ClearCalls();
  Drag(50, 50, {{0, -20}}, kLeft);
  Drag(50, 50, {{0, -20}}, kShift);
  knob->SetGearing(1.);
  knob->mDragBounds = IRECT(10, 40, 90, 40);  // no height
  Drag(50, 50, {{0, -20}});
  knob->mDragBounds = IRECT(0, 0, 100, 100);
  g.OnMouseDown(50, 50, kLeft);
  g.OnMouseDrag(50, 50, 0, NAN, kLeft);
  g.OnMouseUp(50, 50, kLeft);
  EXPECT_EQ(knob->GetValue(), 0.5);
  EXPECT_EQ(SetValueCalls(), 0);

  auto* slider = Attach(new TestSlider(IRECT(200, 0, 220, 100), countAction));
  slider->SetTrack(IRECT(200, 50, 220, 50));
  slider->SetValue(0.5);
  Drag(210, 20, {{0, -10}});
  slider->SetHideCursorOnDrag(false);
  Drag(210, 20, {{0, -10}});
  EXPECT_EQ(slider->GetValue(), 0.5);
  EXPECT_EQ(actions, 0);
}

TEST_F(DragBases, TheCursorIsHiddenWhileHeldAndARightClickPromptsForTheValue) {
  auto* knob = Attach(new TestKnob(IRECT(0, 0, 100, 100), P::kParamGain, 4.));
  g.OnMouseDown(50, 50, kLeft);
  EXPECT_TRUE(g.IsCursorHidden());
  g.OnMouseUp(50, 50, kLeft);
  EXPECT_FALSE(g.IsCursorHidden());
  EXPECT_FALSE(g.GetPlatformTextEntry().open) << "the prompt is disabled by default";
  knob->DisablePrompt(false);
  g.OnMouseDown(50, 50, kRight);
  g.OnMouseUp(50, 50, kRight);
  EXPECT_TRUE(g.GetPlatformTextEntry().open);
  EXPECT_EQ(g.GetControlInTextEntry(), knob);
}

TEST_F(DragBases, TheWheelStepsByAHundredthOrAThousandthOrByOneParameterStep) {
  auto* knob = Attach(new TestKnob(IRECT(0, 0, 100, 100), countAction, EDirection::Vertical, 4.));
  knob->SetValue(0.995);
  g.OnMouseWheel(50, 50, IMouseMod(), 1.f);
  EXPECT_EQ(knob->GetValue(), 1.);
  g.OnMouseWheel(50, 50, kShift, -2.f);
  EXPECT_DOUBLE_EQ(knob->GetValue(), 0.998);
  g.OnMouseWheel(50, 50, IMouseMod(), 0.f);
  EXPECT_DOUBLE_EQ(knob->GetValue(), 0.998);
  EXPECT_EQ(actions, 2) << "a zero delta runs no action";

  auto* stepped = Attach(new TestSlider(IRECT(200, 0, 220, 100), P::kParamPercentStepped));
  stepped->SetValueFromDelegate(0.5);
  dlg.ClearCalls();
  g.OnMouseWheel(210, 50, IMouseMod(), 0.2f);
  EXPECT_DOUBLE_EQ(stepped->GetValue(), 0.55);
  g.OnMouseWheel(210, 50, kShift, -3.f);  // one step, whatever the delta and modifiers
  EXPECT_DOUBLE_EQ(stepped->GetValue(), 0.5);
  g.OnMouseWheel(210, 50, IMouseMod(), 0.f);
  EXPECT_EQ(SetValueCalls(), 2);
  stepped->SetValueFromDelegate(1.);
  g.OnMouseWheel(210, 50, IMouseMod(), 1.f);
  EXPECT_EQ(stepped->GetValue(), 1.);
}

TEST_F(DragBases, ASliderJumpsToThePressAndThenDragsRelativelyWhileTheCursorIsHidden) {
  auto* slider = Attach(new TestSlider(IRECT(0, 0, 20, 100), countAction));
  EXPECT_EQ(slider->GetTrack(), IRECT(0, 0, 20, 100));
  g.OnMouseDown(10, 25, kLeft);
  EXPECT_DOUBLE_EQ(slider->GetValue(), 0.75);
  EXPECT_EQ(actions, 1);
  g.OnMouseDrag(10, 15, 0, -10, kLeft);  // gearing 4 over 100 points
  EXPECT_DOUBLE_EQ(slider->GetValue(), 0.775);
  g.OnMouseUp(10, 15, kLeft);

  // With the cursor shown, or for a touch, the value follows the pointer.
  slider->SetHideCursorOnDrag(false);
  Drag(10, 25, {{0, 35}});
  EXPECT_DOUBLE_EQ(slider->GetValue(), 0.4);
  slider->SetHideCursorOnDrag(true);
  const IMouseMod touch(true, false, false, false, false, 7);
  Drag(10, 25, {{0, 55}}, touch);
  EXPECT_DOUBLE_EQ(slider->GetValue(), 0.2);
}

TEST_F(DragBases, ASteppedSliderDoesNotJumpAndDragsInWholeSteps) {
  auto* slider = Attach(
      new TestSlider(IRECT(0, 0, 20, 100), P::kParamPercentStepped, EDirection::Vertical, 1.));
  slider->SetValueFromDelegate(0.5);
  slider->SetHideCursorOnDrag(false);  // stepped drags are relative all the same
  g.OnMouseDown(10, 5, kLeft);
  EXPECT_EQ(slider->GetValue(), 0.5);
  g.OnMouseDrag(10, 3, 0, -2, kLeft);
  EXPECT_EQ(slider->GetValue(), 0.5);
  g.OnMouseDrag(10, 0, 0, -3, kLeft);
  EXPECT_DOUBLE_EQ(slider->GetValue(), 0.55);
  g.OnMouseUp(10, 0, kLeft);
  EXPECT_EQ(dlg.GetParam(P::kParamPercentStepped)->Value(), 55.);
}

}  // namespace
