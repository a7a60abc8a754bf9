// The number box used as a person would: dragging on the readout, the "+" and "-" buttons, the
// wheel, typing after a double click, values from the parameter side, and the format.

#include <gtest/gtest.h>

#include <cstring>

#include "base/detail/TestHooks.h"
#include "controls/Controls.h"
#include "controls/detail/FloatFormat.h"
#include "support/ControlTestFixture.h"
#include "support/TestControls.h"

using namespace iplug::igraphics;
using testsupport::FakeEditorDelegate;
using testsupport::FakeTextEntryControl;
using P = FakeEditorDelegate;
using Call = FakeEditorDelegate::Call;

namespace {

const IMouseMod kShift(true, false, true);

// The box sits at (10, 10, 110, 50): the readout is (10, 10, 85, 50), "+" the upper and "-" the
// lower half of the column right of it.
constexpr float kReadoutX = 40.f, kReadoutY = 30.f;
constexpr float kPlusX = 98.f, kPlusY = 18.f;
constexpr float kMinusX = 98.f, kMinusY = 42.f;

class NumberBox : public testsupport::ControlTestFixture<> {
 protected:
  IVNumberBoxControl* Make(int paramIdx = kNoParameter, const char* fmt = "%0.1f", double def = 50.,
                           double lo = 1., double hi = 100.) {
    return static_cast<IVNumberBoxControl*>(g.AttachControl(new IVNumberBoxControl(
        IRECT(10, 10, 110, 50), paramIdx, [this](IControl*) { ++actions; }, "", DEFAULT_STYLE, fmt,
        def, lo, hi)));
  }
  void Drag(float dY, const IMouseMod& mod = kLeft) {
    g.OnMouseDown(kReadoutX, kReadoutY, mod);
    g.OnMouseDrag(kReadoutX, kReadoutY + dY, 0, dY, mod);
    g.OnMouseUp(kReadoutX, kReadoutY + dY, mod);
  }
  void Click(float x, float y, const IMouseMod& mod = kLeft) {
    g.OnMouseDown(x, y, mod);
    g.OnMouseUp(x, y, mod);
  }
  // Runs the frames of the next ms milliseconds.
  void Wait(double ms) {
    g.Clock().advance(ms);
    g.DrawFrame();
  }
  std::string Readout(IVNumberBoxControl* box) const { return box->GetReadout()->GetStr(); }
  // The last normalised value sent to the parameter, or -1.
  double LastSent() const {
    for (auto it = dlg.Calls().rbegin(); it != dlg.Calls().rend(); ++it)
      if (it->kind == Call::kSetValue) return it->value;
    return -1.;
  }

  int actions = 0;
};

TEST_F(NumberBox, AttachingMakesTheReadoutAndButtonsAndShowsTheParametersCurrentValue) {
  dlg.GetParam(P::kParamGain)->Set(3.5);
  IVNumberBoxControl* box = Make(P::kParamGain, "%0.1f", 50., 1., 100.);
  ASSERT_EQ(g.NControls(), 4);
  EXPECT_EQ(g.GetControl(1), box->GetReadout());
  EXPECT_EQ(box->GetMinValue(), -12.);
  EXPECT_EQ(box->GetMaxValue(), 12.);
  EXPECT_EQ(box->GetRealValue(), 3.5);
  EXPECT_EQ(Readout(box), "3.5");

  EXPECT_EQ(box->GetTargetRECT(), IRECT(10, 10, 85, 50));
  EXPECT_EQ(box->GetIncButton()->GetRECT(), IRECT(86, 9, 110, 30));
  EXPECT_EQ(g.GetMouseControl(kReadoutX, kReadoutY), box);
  EXPECT_EQ(g.GetMouseControl(kPlusX, kPlusY), box->GetIncButton());
  EXPECT_EQ(g.GetMouseControl(kMinusX, kMinusY), box->GetDecButton());
}

TEST_F(NumberBox, DraggingUpRaisesTheValueByOneOrWithShiftByATenthPerPoint) {
  IVNumberBoxControl* box = Make(P::kParamTime, "%0.2f");
  EXPECT_EQ(box->GetRealValue(), 10.);
  dlg.ClearCalls();
  Drag(-10);
  EXPECT_EQ(box->GetRealValue(), 20.);
  EXPECT_EQ(Readout(box), "20.00");
  EXPECT_DOUBLE_EQ(LastSent(), dlg.GetParam(P::kParamTime)->ToNormalized(20.));
  EXPECT_EQ(dlg.GetGestureDepth(P::kParamTime), 0) << "every begin has its end";
  EXPECT_EQ(dlg.Calls().front().kind, Call::kBegin);
  Drag(-10, kShift);
  EXPECT_NEAR(box->GetRealValue(), 21., 1e-6);
  Drag(5, IMouseMod(true, false, false, true));  // Control is fine too
  EXPECT_NEAR(box->GetRealValue(), 20.5, 1e-6);
  Drag(-5000);
  EXPECT_EQ(box->GetRealValue(), 1000.);
  Drag(5000);
  EXPECT_EQ(box->GetRealValue(), 1.);
  EXPECT_EQ(actions, 5);
  EXPECT_FALSE(g.IsCursorHidden());
}

TEST_F(NumberBox, TheButtonsStepByOneWhenTheirSplashEnds) {
  IVNumberBoxControl* box = Make();
  Click(kPlusX, kPlusY, kShift);
  EXPECT_EQ(box->GetRealValue(), 50.);
  EXPECT_EQ(box->GetIncButton()->GetValue(), 1.) << "shown pressed";
  Wait(100);
  EXPECT_EQ(box->GetRealValue(), 50.);
  Wait(1);
  EXPECT_EQ(box->GetRealValue(), 51.) << "one whole step, Shift or not";
  EXPECT_EQ(box->GetIncButton()->GetValue(), 0.);
  EXPECT_EQ(Readout(box), "51.0");
  Click(kMinusX, kMinusY);
  Wait(101);
  Click(kMinusX, kMinusY);
  Wait(101);
  EXPECT_EQ(box->GetRealValue(), 49.);
  EXPECT_EQ(actions, 3);
}

TEST_F(NumberBox, TheWheelStepsOnceInTheDirectionOfTheDeltaAndAZeroDeltaDoesNothing) {
  IVNumberBoxControl* box = Make(P::kParamTime);
  dlg.ClearCalls();
  g.OnMouseWheel(kReadoutX, kReadoutY, IMouseMod(), 3.f);
  EXPECT_EQ(box->GetRealValue(), 11.);
  g.OnMouseWheel(kReadoutX, kReadoutY, kShift, -0.5f);
  EXPECT_NEAR(box->GetRealValue(), 10.9, 1e-6);
  const auto calls = dlg.Calls().size();
  g.OnMouseWheel(kReadoutX, kReadoutY, IMouseMod(), 0.f);
  EXPECT_NEAR(box->GetRealValue(), 10.9, 1e-6);
  EXPECT_EQ(dlg.Calls().size(), calls);
  EXPECT_EQ(actions, 2);

  // A minimum above the maximum yields the maximum.
  g.RemoveAllControls();
  box = Make(kNoParameter, "%0.1f", 7., 10., 5.);
  g.OnMouseWheel(kReadoutX, kReadoutY, IMouseMod(), 1.f);
  EXPECT_EQ(box->GetRealValue(), 5.);
}

TEST_F(NumberBox, ADoubleClickOnTheReadoutPromptsAndTheTypedNumberIsTaken) {
  IVNumberBoxControl* box = Make(P::kParamTime);
  g.OnMouseDblClick(kPlusX, kPlusY, kLeft);
  EXPECT_FALSE(g.GetPlatformTextEntry().open) << "a double click on a button is a press";
  Wait(101);
  g.OnMouseDblClick(kReadoutX, kReadoutY, kLeft);
  ASSERT_TRUE(g.GetPlatformTextEntry().open);
  EXPECT_STREQ(g.GetPlatformTextEntry().str.Get(), "11.0");
  EXPECT_EQ(g.GetPlatformTextEntry().bounds, IRECT(10, 10, 85, 50));
  g.SetControlValueAfterTextEdit("250.5");
  EXPECT_EQ(box->GetRealValue(), 250.5);
  EXPECT_EQ(dlg.GetParam(P::kParamTime)->Value(), 250.5);
  g.OnMouseDblClick(kReadoutX, kReadoutY, kLeft);
  g.SetControlValueAfterTextEdit("5000");
  EXPECT_EQ(box->GetRealValue(), 1000.);
}

TEST_F(NumberBox, TypedTextThatIsNoFiniteNumberLeavesTheValueAlone) {
  for (int paramIdx : {kNoParameter, int(P::kParamTime)}) {
    g.RemoveAllControls();
    IVNumberBoxControl* box = Make(paramIdx, "%0.1f", 50.);
    const double before = box->GetRealValue();
    dlg.ClearCalls();
    for (const char* text : {"abc", "", "-", ".", "nan", "inf", "-1e999", "0,5", "1,000"}) {
      base::LogCapture logged;
      g.OnMouseDblClick(kReadoutX, kReadoutY, kLeft);
      g.SetControlValueAfterTextEdit(text);
      EXPECT_EQ(box->GetRealValue(), before) << text;
      EXPECT_GT(logged.count(), 0u) << text;
    }
    EXPECT_EQ(dlg.Calls().size(), 0u);
    EXPECT_EQ(actions, 0);
  }
}

TEST_F(NumberBox, TypingIntoTheTextEntryControlCommitsOnReturn) {
  FakeTextEntryControl* entry = testsupport::AttachFakeTextEntryControl(g);
  IVNumberBoxControl* box = Make();
  g.OnMouseDblClick(kReadoutX, kReadoutY, kLeft);
  ASSERT_TRUE(entry->EditInProgress());
  EXPECT_EQ(entry->mText, "50.0");
  entry->mText.clear();
  g.OnKeyDown(kReadoutX, kReadoutY, iplug::IKeyPress("4", '4'));
  g.OnKeyDown(kReadoutX, kReadoutY, iplug::IKeyPress("2", '2'));
  g.OnKeyDown(kReadoutX, kReadoutY, iplug::IKeyPress("", iplug::kVK_RETURN));
  EXPECT_FALSE(entry->EditInProgress());
  EXPECT_EQ(box->GetRealValue(), 42.);
  EXPECT_EQ(Readout(box), "42.0");
}

TEST_F(NumberBox, ASteppedParameterReceivesTheNearestStep) {
  IVNumberBoxControl* box = Make(P::kParamPercentStepped);
  EXPECT_EQ(box->GetRealValue(), 50.);
  dlg.ClearCalls();
  Drag(-2.3f);
  EXPECT_NEAR(box->GetRealValue(), 52.3, 1e-5);
  EXPECT_DOUBLE_EQ(LastSent(), 0.5);
  EXPECT_EQ(Readout(box), "50.0") << "the readout shows what the parameter holds";
  Drag(-0.5f);
  EXPECT_DOUBLE_EQ(LastSent(), 0.55);
  EXPECT_EQ(dlg.GetParam(P::kParamPercentStepped)->Value(), 55.);
  EXPECT_EQ(Readout(box), "55.0");
}

TEST_F(NumberBox, ValuesFromTheParameterSideAreShownButNotWhileTheUserHoldsTheBox) {
  IVNumberBoxControl* box = Make(P::kParamPercentStepped);
  g.SendParameterValueFromDelegate(P::kParamPercentStepped, 0.731, true);
  EXPECT_EQ(box->GetRealValue(), 75.) << "rounded to the step";
  EXPECT_EQ(Readout(box), "75.0");
  EXPECT_EQ(actions, 0);
  g.OnMouseDown(kReadoutX, kReadoutY, kLeft);
  g.SendParameterValueFromDelegate(P::kParamPercentStepped, 20., false);
  EXPECT_EQ(box->GetRealValue(), 75.);
  g.OnMouseUp(kReadoutX, kReadoutY, kLeft);
  g.SendParameterValueFromDelegate(P::kParamPercentStepped, 20., false);
  EXPECT_EQ(box->GetRealValue(), 20.);
}

TEST_F(NumberBox, OnlyOneFloatingConversionIsAcceptedAsTheFormat) {
  for (const char* good : {"%0.0f", "%g dB", "%.2f%%", "%+08.3e", "%lf"})
    EXPECT_TRUE(IsSingleFloatFormat(good)) << good;
  for (const char* bad : {"", "%d", "%s", "%f %f", "%*f", "%Lf", "%n", "%", "%100f", "100%"})
    EXPECT_FALSE(IsSingleFloatFormat(bad)) << bad;
  EXPECT_FALSE(IsSingleFloatFormat(nullptr));

  base::LogCapture logged;
  IVNumberBoxControl* box = Make(kNoParameter, "%s and %d", 12.5);
  EXPECT_STREQ(box->GetFormat(), "%g");
  EXPECT_EQ(Readout(box), "12.5");
  EXPECT_GT(logged.count(), 0u);
  g.RemoveAllControls();
  box = Make(kNoParameter, nullptr, 3.);
  EXPECT_EQ(Readout(box), "3");
  g.RemoveAllControls();
  box = Make(kNoParameter, "%99.20f", 3., 0., 1e300);
  EXPECT_EQ(std::strlen(box->GetReadout()->GetStr()), 32u);
}

TEST_F(NumberBox, HidingAndDisablingReachTheReadoutAndBothButtons) {
  IVNumberBoxControl* box = Make();
  g.DrawFrame();
  box->Hide(true);
  for (int i = 0; i < 4; ++i)
    EXPECT_TRUE(g.GetControl(i)->IsHidden());
  EXPECT_TRUE(box->IsDirty()) << "its label must be wiped";
  EXPECT_EQ(g.GetMouseControl(kPlusX, kPlusY), nullptr);
  box->Hide(false);
  box->SetDisabled(true);
  for (int i = 0; i < 4; ++i) {
    EXPECT_TRUE(g.GetControl(i)->IsDisabled());
    EXPECT_FLOAT_EQ(g.GetControl(i)->GetBlend().mWeight, 0.25f);
  }
  Click(kPlusX, kPlusY);
  Wait(101);
  EXPECT_EQ(box->GetRealValue(), 50.);

  // Set before attaching, the state reaches the parts made on attach.
  auto* early = new IVNumberBoxControl(IRECT(10, 60, 110, 100));
  early->SetDisabled(true);
  early->Hide(true);
  early->SetStyle(DEFAULT_STYLE);
  early->OnValueChanged();
  early->OnResize();
  g.AttachControl(early);
  EXPECT_TRUE(early->GetIncButton()->IsDisabled());
  EXPECT_TRUE(early->GetReadout()->IsHidden());
}

TEST_F(NumberBox, RemovingTheBoxRemovesItsPartsEvenDuringASplash) {
  g.AttachControl(new IVLabelControl(IRECT(0, 0, 5, 5), "x"));
  IVNumberBoxControl* box = Make();
  Click(kPlusX, kPlusY);
  g.RemoveControl(box);
  EXPECT_EQ(g.NControls(), 1);
  Wait(101);  // the splash that would have stepped the box is gone with it

  box = Make();
  box->SetActionFunction([this](IControl* c) { g.RemoveControl(c); });
  Click(kPlusX, kPlusY);
  Wait(101);  // the step runs the action, which removes the box from inside the frame
  EXPECT_EQ(g.NControls(), 1);
}

}  // namespace
