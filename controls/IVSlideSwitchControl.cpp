#include "controls/IVSlideSwitchControl.h"

#include <algorithm>

#include "base/Log.h"
#include "graphics/IGraphics.h"

namespace iplug {
namespace igraphics {

namespace {
// A slide switch needs a slot to put its handle in.
int AtLeastOneState(int numStates) {
  if (numStates >= 1) return numStates;
  base::warn("controls", "IVSlideSwitchControl: %d states asked for; the switch has 1", numStates);
  return 1;
}

float Lerp(float from, float to, double p) {
  return static_cast<float>(from + (to - from) * p);
}
}  // namespace

IVSlideSwitchControl::IVSlideSwitchControl(const IRECT& bounds, int paramIdx, const char* label,
                                           const IVStyle& style, bool valueInButton,
                                           EDirection direction)
    : IVSwitchControl(bounds, paramIdx, label, style, valueInButton), mDirection(direction) {
  InstallSlideStarter();
}

IVSlideSwitchControl::IVSlideSwitchControl(const IRECT& bounds, IActionFunction actionFunc,
                                           const char* label, const IVStyle& style,
                                           bool valueInButton, EDirection direction, int numStates,
                                           int initialState)
    : IVSwitchControl(bounds, nullptr, label, style, AtLeastOneState(numStates), valueInButton),
      mDirection(direction) {
  if (initialState < 0 || initialState > 1)
    base::warn("controls",
               "IVSlideSwitchControl: initial state %d is not 0 (first) or 1 (last); clamped",
               initialState);
  SetValue(static_cast<double>(std::clamp(initialState, 0, 1)));
  InstallSlideStarter();
  SetAnimationEndActionFunction(std::move(actionFunc));
}

void IVSlideSwitchControl::InstallSlideStarter() {
  SetActionFunction([this](IControl*) { StartSlide(); });
}

IRECT IVSlideSwitchControl::SlotRect(int k) const {
  const int n = std::max(1, mNumStates);
  return mWidgetBounds.SubRect(mDirection, n, std::clamp(k, 0, n - 1));
}

void IVSlideSwitchControl::UpdateRects() {
  const int n = std::max(1, mNumStates);
  mFromState = GetSelectedIdx();
  mToState = (mFromState + 1) % n;
  mStartRect = SlotRect(mFromState);
  mEndRect = SlotRect(mToState);
  PlaceHandle(0.);
}

void IVSlideSwitchControl::StartSlide() {
  // A click during a slide starts the next one from the state the running one was heading to.
  if (GetAnimationFunction()) mFromState = mToState;
  // The state of the value just set: the next one after a click, whichever one otherwise.
  mToState = GetSelectedIdx();
  mStartRect = SlotRect(mFromState);
  mEndRect = SlotRect(mToState);
  PlaceHandle(0.);
  SetAnimation([this](IControl*) { SlideStep(); }, kSlideMs);
}

void IVSlideSwitchControl::SlideStep() {
  const double p = GetAnimationProgress();
  if (p > 1.) {
    OnEndAnimation();
    return;
  }
  PlaceHandle(p);
}

void IVSlideSwitchControl::PlaceHandle(double p) {
  mHandleBounds = IRECT(Lerp(mStartRect.L, mEndRect.L, p), Lerp(mStartRect.T, mEndRect.T, p),
                        Lerp(mStartRect.R, mEndRect.R, p), Lerp(mStartRect.B, mEndRect.B, p));
  if (mValueInWidget) mValueBounds = mHandleBounds;
}

void IVSlideSwitchControl::OnEndAnimation() {
  UpdateRects();
  IControl::OnEndAnimation();
}

void IVSlideSwitchControl::SetDirty(bool triggerAction, int valIdx) {
  IVSwitchControl::SetDirty(triggerAction, valIdx);
  if (!GetAnimationFunction()) UpdateRects();
}

void IVSlideSwitchControl::OnResize() {
  // Outside a slide, the switch's SetDirty puts the handle in the new slots.
  IVSwitchControl::OnResize();
  if (GetAnimationFunction()) {
    mStartRect = SlotRect(mFromState);
    mEndRect = SlotRect(mToState);
    PlaceHandle(std::clamp(GetAnimationProgress(), 0., 1.));
  }
}

void IVSlideSwitchControl::Draw(IGraphics& g) {
  DrawBackground(g, mRECT);
  DrawWidget(g);
  DrawLabel(g);
  // The value text would lag behind the sliding handle.
  if (!GetAnimationFunction()) DrawValue(g, false);
}

void IVSlideSwitchControl::DrawWidget(IGraphics& g) {
  DrawTrack(g, mWidgetBounds);
  DrawPressableShape(g, mShape, mHandleBounds, mMouseDown, mMouseIsOver, IsDisabled());
}

void IVSlideSwitchControl::DrawTrack(IGraphics& g, const IRECT& bounds) {
  g.FillRoundRect(GetColor(kSH), bounds, GetRoundedCornerRadius(mHandleBounds), OwnerBlend());
}

}  // namespace igraphics
}  // namespace iplug
