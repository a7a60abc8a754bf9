#include "graphics/IControl.h"

#include <cmath>
#include <limits>
#include <stdexcept>

#include "graphics/IGraphics.h"
#include "graphics/IPopupMenu.h"
#include "platform/Clock.h"

namespace iplug {
namespace igraphics {

namespace {
// Snapped values are quantised to this step so a pointer position gives a stable value.
constexpr double kSnapQuantum = 0.001;
// Parameter highlight dot: radius and inset from the top-right corner of the drawing rectangle.
constexpr float kPTHighlightRadius = 2.f;
constexpr float kPTHighlightInset = 5.f;

double Clamp01(double v) {
  return std::isnan(v) ? 0. : std::clamp(v, 0., 1.);
}
}  // namespace

IControl::IControl(const IRECT& bounds, int paramIdx, IActionFunction action)
    : mRECT(bounds), mTargetRECT(bounds), mActionFunc(std::move(action)) {
  mVals.push_back({paramIdx, 0.});
}

IControl::IControl(const IRECT& bounds, std::initializer_list<int> params, IActionFunction action)
    : mRECT(bounds), mTargetRECT(bounds), mActionFunc(std::move(action)) {
  for (int paramIdx : params)
    mVals.push_back({paramIdx, 0.});
}

IControl::IControl(const IRECT& bounds, IActionFunction action)
    : IControl(bounds, kNoParameter, std::move(action)) {}

void IControl::OnMouseDown(float x, float y, const IMouseMod& mod) {
  if (mod.R) PromptUserInput(GetValIdxForPos(x, y));
}

void IControl::OnMouseDblClick(float x, float y, const IMouseMod& mod) {
  SetValueToDefault(GetValIdxForPos(x, y));
}

void IControl::OnMouseOver(float x, float y, const IMouseMod& mod) {
  const bool wasOver = mMouseIsOver;
  mMouseIsOver = true;
  if (!wasOver) SetDirty(false);
}

void IControl::OnMouseOut() {
  const bool wasOver = mMouseIsOver;
  mMouseIsOver = false;
  if (wasOver) SetDirty(false);
}

bool IControl::OnGesture(const IGestureInfo& info) {
  auto it = mGestureFuncs.find(info.type);
  if (it == mGestureFuncs.end()) return false;
  mLastGesture = info.type;
  IGestureFunc func = it->second;  // the handler may replace its own entry
  func(this, info);
  return true;
}

void IControl::OnPopupMenuSelection(IPopupMenu* menu, int valIdx) {
  if (!menu || valIdx < 0 || mDisablePrompt) return;
  const IParam* param = GetParam(valIdx);
  if (!param) return;
  const int chosen = menu->GetChosenItemIdx();
  // Menu items are the parameter's display texts in value order: the chosen index names a
  // display text, whose value is the answer (the index itself is a value only when the range
  // starts at 0).
  double value = static_cast<double>(chosen);
  if (param->NDisplayTexts() > 0) {
    if (!param->GetDisplayTextAtIdx(chosen, &value)) return;
  }
  SetValueFromUserInput(param->ToNormalized(value), valIdx);
}

void IControl::DrawPTHighlight(IGraphics& g) {
  if (!mPTisHighlighted) return;
  g.FillCircle(mPTHighlightColor, mRECT.R - kPTHighlightInset, mRECT.T + kPTHighlightInset,
               kPTHighlightRadius);
}

void IControl::SetParamIdx(int paramIdx, int valIdx) {
  if (!ValidValIdx(valIdx)) throw std::out_of_range("IControl::SetParamIdx: no such value slot");
  mVals[static_cast<size_t>(valIdx)].paramIdx = paramIdx;
  SetDirty(false);
}

void IControl::SetValueFromDelegate(double value, int valIdx) {
  if (mGraphics && mGraphics->ControlIsCaptured(this)) return;  // the user holds it
  if (!ValidValIdx(valIdx)) return;
  if (GetValue(valIdx) != value) {  // NaN always differs
    SetValue(value, valIdx);
    SetDirty(false);
  }
}

void IControl::SetValueFromUserInput(double value, int valIdx) {
  if (!ValidValIdx(valIdx)) return;
  if (GetValue(valIdx) != value) {
    SetValue(value, valIdx);
    SetDirty(true, valIdx);
  }
}

void IControl::SetValueToDefault(int valIdx) {
  valIdx = ApplyValIdxRule(valIdx);
  auto reset = [this](int i) {
    if (const IParam* param = GetParam(i)) SetValue(param->ToNormalized(param->GetDefault()), i);
  };
  if (valIdx >= 0) {
    reset(valIdx);
  } else {
    for (int i = 0; i < NVals(); ++i)
      reset(i);
  }
  SetDirty(true, valIdx);
}

void IControl::SetValue(double value, int valIdx) {
  if (ValidValIdx(valIdx)) mVals[static_cast<size_t>(valIdx)].value = value;
}

void IControl::SetPosition(float x, float y) {
  if (!(x >= 0.f)) x = 0.f;  // also turns NaN into 0
  if (!(y >= 0.f)) y = 0.f;
  const float dX = x - mRECT.L;
  const float dY = y - mRECT.T;
  mRECT = mRECT.GetTranslated(dX, dY);
  // The target moves before OnResize so a control that lays out its target there keeps it.
  mTargetRECT = mTargetRECT.GetTranslated(dX, dY);
  mMouseIsOver = false;
  OnResize();
  NoteMoved();
}

void IControl::SetSize(float w, float h) {
  if (!(w >= 0.f)) w = 0.f;
  if (!(h >= 0.f)) h = 0.f;
  mRECT = mTargetRECT = IRECT(mRECT.L, mRECT.T, mRECT.L + w, mRECT.T + h);
  mMouseIsOver = false;
  OnResize();
  NoteMoved();
}

void IControl::Hide(bool hide) {
  mHide = hide;
  SetDirty(false);
}

void IControl::SetDisabled(bool disable) {
  mBlend.mWeight = disable ? kDisabledBlendWeight : 1.f;
  mDisabled = disable;
  SetDirty(false);
}

void IControl::SetDirty(bool triggerAction, int valIdx) {
  valIdx = ApplyValIdxRule(valIdx);
  // An index naming no slot touches no value; the control is still redrawn and its action run.
  const bool oneSlot = valIdx >= 0;
  const int first = oneSlot ? valIdx : 0;
  const int last = oneSlot ? valIdx + 1 : NVals();
  for (int i = first; i < last && ValidValIdx(i); ++i)
    SetValue(Clamp01(GetValue(i)), i);

  mDirty = true;
  NoteDirty();
  if (!triggerAction) return;

  for (int i = first; i < last && ValidValIdx(i); ++i) {
    const int paramIdx = GetParamIdx(i);
    if (paramIdx <= kNoParameter) continue;
    if (mDelegate) mDelegate->SetParameterValueFromUI(paramIdx, GetValue(i));
    if (mGraphics) mGraphics->UpdatePeers(this, i);
  }
  if (mActionFunc) {
    IActionFunction action = mActionFunc;  // the action may replace itself
    action(this);
  }
}

void IControl::SnapToMouse(float x, float y, EDirection direction, const IRECT& bounds, int valIdx,
                           double minClip, double maxClip) {
  double v = 0.;
  if (direction == EDirection::Horizontal) {
    const float w = bounds.W();
    if (w > 0.f && std::isfinite(x)) v = (std::clamp(x, bounds.L, bounds.R) - bounds.L) / w;
  } else {
    const float h = bounds.H();
    if (h > 0.f && std::isfinite(y)) v = 1. - (std::clamp(y, bounds.T, bounds.B) - bounds.T) / h;
  }
  v = std::round(v / kSnapQuantum) * kSnapQuantum;
  if (minClip <= maxClip) v = std::clamp(v, minClip, maxClip);

  if (valIdx >= 0) {
    SetValue(v, valIdx);
  } else {
    for (int i = 0; i < NVals(); ++i)
      SetValue(v, i);
  }
  SetDirty(true, valIdx);
}

void IControl::OnEndAnimation() {
  mAnimationFunc = nullptr;
  SetDirty(false);
  if (mAnimationEndActionFunc) {
    IActionFunction endAction = mAnimationEndActionFunc;  // it may start a new animation
    endAction(this);
  }
}

int IControl::GetParamIdx(int valIdx) const {
  return ValidValIdx(valIdx) ? mVals[static_cast<size_t>(valIdx)].paramIdx : kNoParameter;
}

int IControl::GetValIdxForParam(int paramIdx) const {
  for (int i = 0; i < NVals(); ++i) {
    if (mVals[static_cast<size_t>(i)].paramIdx == paramIdx) return i;
  }
  return kNoValIdx;
}

double IControl::GetValue(int valIdx) const {
  return ValidValIdx(valIdx) ? mVals[static_cast<size_t>(valIdx)].value : 0.;
}

const IParam* IControl::GetParam(int valIdx) const {
  const int paramIdx = GetParamIdx(valIdx);
  if (paramIdx < 0 || !mDelegate) return nullptr;
  return mDelegate->GetParam(paramIdx);
}

void IControl::PromptUserInput(int valIdx) {
  const float cx = mRECT.MW(), cy = mRECT.MH();
  const IRECT small(cx - kPromptHalfWidth, cy - kPromptHalfHeight, cx + kPromptHalfWidth,
                    cy + kPromptHalfHeight);
  const IParam* param = valIdx >= 0 ? GetParam(valIdx) : nullptr;
  // A menu of display texts covers the control; a number is typed into a small field.
  PromptUserInput(param && param->NDisplayTexts() > 0 ? mRECT : small, valIdx);
}

void IControl::PromptUserInput(const IRECT& bounds, int valIdx) {
  if (valIdx < 0 || mDisablePrompt || !GetParam(valIdx)) return;
  if (mGraphics) mGraphics->PromptUserInput(*this, bounds, valIdx);
  SetDirty(false);
}

void IControl::SetPTParameterHighlight(bool highlighted, int colourIdx) {
  switch (colourIdx) {
    case 0:
      mPTHighlightColor = COLOR_RED;
      break;
    case 1:
      mPTHighlightColor = COLOR_BLUE;
      break;
    case 2:
      mPTHighlightColor = COLOR_GREEN;
      break;
    case 3:
      mPTHighlightColor = COLOR_YELLOW;
      break;
    default:
      break;
  }
  mPTisHighlighted = highlighted;
  SetDirty(false);
}

void IControl::AttachGestureRecognizer(int gestureType, IGestureFunc func) {
  mGestureFuncs.emplace(gestureType, std::move(func));  // an existing entry stays
  if (mGraphics) mGraphics->AttachGestureRecognizer(gestureType);
}

void IControl::SetAnimation(IAnimationFunction func) {
  mAnimationFunc = std::move(func);
  if (mAnimationFunc && mFrame.owner) mFrame.owner->NoteAnimating(*this);
}

void IControl::SetDirtyTestedEachFrame(bool tested) {
  mFrame.testedEachFrame = tested;
  NoteDirty();
}

void IControl::NoteDirty() {
  if (mFrame.owner) mFrame.owner->NoteDirty(*this);
}

void IControl::NoteMoved() {
  if (mFrame.owner) mFrame.owner->NoteMoved(*this);
}

void IControl::StartAnimation(int durationMs) {
  mAnimationStartTime = platform::nowMs();
  mAnimationDuration = durationMs;
}

double IControl::GetAnimationProgress() const {
  if (!mAnimationFunc) return 0.;
  const double elapsed = platform::nowMs() - mAnimationStartTime;
  if (mAnimationDuration <= 0.) {
    // A zero-length animation is over as soon as any time has passed; 0/0 must not give NaN.
    return elapsed > 0. ? std::numeric_limits<double>::infinity() : 0.;
  }
  return elapsed / mAnimationDuration;
}

void IControl::Animate() {
  if (mAnimationFunc) {
    IAnimationFunction func = mAnimationFunc;  // kept alive while it removes itself
    func(this);
  }
}

}  // namespace igraphics
}  // namespace iplug
