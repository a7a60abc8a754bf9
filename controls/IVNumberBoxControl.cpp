#include "controls/IVNumberBoxControl.h"

#include <cfloat>
#include <cmath>
#include <utility>

#include "base/Log.h"
#include "controls/ControlDrag.h"
#include "controls/IControlActions.h"
#include "controls/detail/FloatFormat.h"
#include "graphics/IGraphics.h"
#include "graphics/TypedNumber.h"

namespace iplug {
namespace igraphics {

namespace {

IVStyle BoxStyle(const IVStyle& style) {
  IVStyle s = style;
  s.drawShadows = false;
  s.valueText.mVAlign = EVAlign::Middle;  // the readout fills the widget's height
  return s;
}

}  // namespace

IVNumberBoxControl::IVNumberBoxControl(const IRECT& bounds, int paramIdx,
                                       IActionFunction actionFunc, const char* label,
                                       const IVStyle& style, const char* fmtStr,
                                       double defaultValue, double minValue, double maxValue)
    : IControl(bounds, paramIdx, std::move(actionFunc)),
      IVectorBase(BoxStyle(style), false, false),
      mMinValue(std::isnan(minValue) ? -DBL_MAX : minValue),
      mMaxValue(std::isnan(maxValue) ? DBL_MAX : maxValue),
      mRealValue(std::isnan(defaultValue) ? mMinValue : defaultValue) {
  AttachIControl(this, label);
  mIncrementFunc = [this](IControl*) {
    mRealValue += mLargeIncrement;
    OnValueChanged(false);
  };
  mDecrementFunc = [this](IControl*) {
    mRealValue -= mLargeIncrement;
    OnValueChanged(false);
  };
  // The readout is formatted with the value as its one argument: anything else would read
  // arguments that were never passed.
  if (IsSingleFloatFormat(fmtStr)) {
    mFmtStr.Set(fmtStr);
  } else {
    base::warn("controls",
               "IVNumberBoxControl: format \"%s\" is not one floating-point conversion; using %s",
               fmtStr ? fmtStr : "(null)", kFallbackFormat);
    mFmtStr.Set(kFallbackFormat);
  }
  if (std::isnan(minValue) || std::isnan(maxValue) || std::isnan(defaultValue))
    base::warn("controls",
               "IVNumberBoxControl: a NaN bound is taken as none and a NaN default as the minimum");
}

IVNumberBoxControl::~IVNumberBoxControl() {
  // A box removed while pressed ends the gesture its press opened.
  EndParamGesture();
  // The buttons' end actions point at this box: they must not outlive it.
  if (IGraphics* g = GetUI()) {
    for (IControl* child : Children())
      if (child) g->RemoveControl(child);
  }
}

double IVNumberBoxControl::ClampToBounds(double v) const {
  return std::min(mMaxValue, std::max(mMinValue, v));
}

double IVNumberBoxControl::StepFor(const IMouseMod& mod) const {
  return IsFineAdjust(mod) ? mSmallIncrement : mLargeIncrement;
}

IVNumberBoxControl::Layout IVNumberBoxControl::LayoutChildren() const {
  const IRECT& w = mWidgetBounds;
  Layout l;
  l.readout = IRECT(w.L, w.T, w.L + kReadoutWidthFraction * (w.R - w.L), w.B);
  const IRECT column(l.readout.R + 1.f, w.T - 1.f, w.R, w.B + 1.f);
  const float h = 0.5f * column.H();
  l.inc = IRECT(column.L, column.T, column.R, column.T + h);
  l.dec = IRECT(column.L, column.B - h, column.R, column.B);
  return l;
}

void IVNumberBoxControl::ShowValue(double v) {
  if (mTextReadout) mTextReadout->SetStrFmt(kReadoutMaxLength, mFmtStr.Get(), v);
}

void IVNumberBoxControl::OnInit() {
  if (const IParam* param = GetParam(0)) {
    mMinValue = param->GetMin();
    mMaxValue = param->GetMax();
    mRealValue = ClampToBounds(param->Value());
    SetValue(param->ToNormalized(mRealValue), 0);
  }
}

void IVNumberBoxControl::OnResize() {
  MakeRects(mRECT, false);
  if (!mTextReadout || !mIncButton || !mDecButton) return;
  const Layout l = LayoutChildren();
  const std::pair<IControl*, IRECT> children[] = {
      {mTextReadout, l.readout}, {mIncButton, l.inc}, {mDecButton, l.dec}};
  for (const auto& [child, r] : children) {
    child->SetTargetAndDrawRECTs(r);
    child->OnMouseOut();
    child->OnResize();
  }
  SetTargetRECT(l.readout);
  mMouseIsOver = false;
}

void IVNumberBoxControl::OnAttached() {
  IGraphics* g = GetUI();
  if (!g || mTextReadout) return;
  const Layout l = LayoutChildren();

  mTextReadout = static_cast<IVLabelControl*>(
      g->AttachControl(new IVLabelControl(l.readout, "0", mStyle.WithDrawFrame(true))));
  ShowValue(mRealValue);

  auto makeButton = [&](const IRECT& r, const char* label, const IActionFunction& step) {
    auto* button =
        new IVButtonControl(r, SplashClickActionFunc, label, mStyle, true, true, kVShapeRectangle);
    button->SetAnimationEndActionFunction(step);
    return static_cast<IVButtonControl*>(g->AttachControl(button));
  };
  mIncButton = makeButton(l.inc, "+", mIncrementFunc);
  mDecButton = makeButton(l.dec, "-", mDecrementFunc);

  // Lays the parts out again so the box's own target becomes the readout.
  OnResize();

  // A box hidden or disabled before it was attached keeps its parts the same.
  if (mHide || mDisabled) {
    for (IControl* child : Children()) {
      if (!child) continue;
      if (mHide) child->Hide(true);
      if (mDisabled) child->SetDisabled(true);
    }
  }
}

void IVNumberBoxControl::OnValueChanged(bool preventAction) {
  mRealValue = ClampToBounds(mRealValue);
  // The value keeps what a drag adds up between steps; the readout shows what the parameter
  // holds (rounded to its step and in its range), which is what the device gets.
  const IParam* param = GetParam(0);
  ShowValue(param ? ClampToBounds(param->Constrain(mRealValue)) : mRealValue);
  // ToNormalized rounds to the step, clamps to the parameter's range and maps to 0..1.
  if (!preventAction && param) SetValue(param->ToNormalized(mRealValue), 0);
  SetDirty(!preventAction);
}

void IVNumberBoxControl::EndParamGesture() {
  const int paramIdx = std::exchange(mGestureParamIdx, kNoParameter);
  if (paramIdx > kNoParameter && GetDelegate())
    GetDelegate()->EndInformHostOfParamChangeFromUI(paramIdx);
}

void IVNumberBoxControl::OnMouseDown(float x, float y, const IMouseMod& mod) {
  if (mHideCursor && GetUI()) GetUI()->HideMouseCursor(true, true);
  // One gesture per press: a second press before a release does not open another.
  if (IsBound() && GetDelegate() && mGestureParamIdx == kNoParameter) {
    mGestureParamIdx = GetParamIdx(0);
    GetDelegate()->BeginInformHostOfParamChangeFromUI(mGestureParamIdx);
  }
}

void IVNumberBoxControl::OnMouseUp(float x, float y, const IMouseMod& mod) {
  if (mHideCursor && GetUI()) GetUI()->HideMouseCursor(false, true);
  EndParamGesture();
}

void IVNumberBoxControl::OnMouseDrag(float x, float y, float dX, float dY, const IMouseMod& mod) {
  if (dY == 0.f || !std::isfinite(dY)) return;  // a sideways move changes nothing
  mRealValue -= static_cast<double>(dY) * StepFor(mod);
  OnValueChanged(false);
}

void IVNumberBoxControl::OnMouseWheel(float x, float y, const IMouseMod& mod, float d) {
  if (d == 0.f || !std::isfinite(d)) return;  // no turn, no change
  mRealValue += d > 0.f ? StepFor(mod) : -StepFor(mod);
  OnValueChanged(false);
}

void IVNumberBoxControl::OnMouseDblClick(float x, float y, const IMouseMod& mod) {
  IGraphics* g = GetUI();
  if (!g || !mTextReadout) return;
  const IRECT& r = mTextReadout->GetRECT();
  if (!r.Contains(x, y)) return;
  // No value index: the typed text comes back to OnTextEntryCompletion, which leaves the value
  // alone when the text is no number, where the parameter's own conversion would read it as 0.
  g->CreateTextEntry(*this, mText, r, mTextReadout->GetStr(), kNoValIdx);
}

void IVNumberBoxControl::OnTextEntryCompletion(const char* str, int valIdx) {
  if (!str) return;
  double typed = 0.;
  if (!ParseTypedNumber(str, typed)) {
    base::warn("controls", "IVNumberBoxControl: \"%s\" is not a finite number; value unchanged",
               str);
    return;
  }
  mRealValue = typed;
  OnValueChanged(false);
}

void IVNumberBoxControl::TakeNormalizedValue(double value) {
  const IParam* param = GetParam(0);
  if (!param) return;
  // Constrain rounds to the step when stepped and clamps to the parameter's range.
  mRealValue = ClampToBounds(param->Constrain(param->FromNormalized(value)));
  ShowValue(mRealValue);
  SetDirty(false);
}

void IVNumberBoxControl::SetValueFromDelegate(double value, int valIdx) {
  // While the user holds the box the parameter side does not overwrite it.
  if (GetUI() && GetUI()->ControlIsCaptured(this)) return;
  TakeNormalizedValue(value);
  IControl::SetValueFromDelegate(value, valIdx);
}

void IVNumberBoxControl::SetValueFromUserInput(double value, int valIdx) {
  TakeNormalizedValue(value);
  IControl::SetValueFromUserInput(value, valIdx);
}

void IVNumberBoxControl::Draw(IGraphics& g) {
  DrawLabel(g);
  if (mMouseIsOver && mTextReadout) g.FillRect(GetColor(kHL), mTextReadout->GetRECT(), &mBlend);
}

void IVNumberBoxControl::Hide(bool hide) {
  for (IControl* child : Children())
    if (child) child->Hide(hide);
  // Redrawn too, so the label it leaves behind is wiped.
  IControl::Hide(hide);
}

void IVNumberBoxControl::SetDisabled(bool disable) {
  for (IControl* child : Children())
    if (child) child->SetDisabled(disable);
  IControl::SetDisabled(disable);
}

void IVNumberBoxControl::SetStyle(const IVStyle& style) {
  IVectorBase::SetStyle(style);
  if (mTextReadout) mTextReadout->SetStyle(style);
  if (mIncButton) mIncButton->SetStyle(style);
  if (mDecButton) mDecButton->SetStyle(style);
}

}  // namespace igraphics
}  // namespace iplug
