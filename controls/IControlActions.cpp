#include "controls/IControlActions.h"

#include "controls/IVectorBase.h"
#include "graphics/IGraphics.h"

namespace iplug {
namespace igraphics {

namespace {

// The bubble text: the parameter's display text of its current value, then one blank and the
// display label when there is one. False when the control has no parameter on slot 0 or no
// graphics context to show it in.
bool BubbleText(IControl* caller, WDL_String& text) {
  if (!caller || !caller->GetUI()) return false;
  const IParam* param = caller->GetParam(0);
  if (!param) return false;
  param->GetDisplay(text, true);
  const char* label = param->GetCurrentDisplayText();
  if (label && *label) {
    text.Append(" ");
    text.Append(label);
  }
  return true;
}

}  // namespace

void DefaultAnimationFunc(IControl* caller) {
  if (!caller || !caller->GetAnimationFunction()) return;
  if (caller->GetAnimationProgress() > 1.) caller->OnEndAnimation();
}

void SplashAnimationFunc(IControl* caller) {
  if (!caller) return;
  auto* vb = dynamic_cast<IVectorBase*>(caller);
  if (!vb) {
    DefaultAnimationFunc(caller);
    return;
  }
  const double progress = caller->GetAnimationProgress();
  if (progress > 1.) {
    caller->OnEndAnimation();
    return;
  }
  vb->SetSplashRadius(static_cast<float>(progress) * vb->GetMaxSplashRadius());
  caller->SetDirty(false);
}

void EmptyClickActionFunc(IControl* caller) {}

void DefaultClickActionFunc(IControl* caller) {
  if (!caller) return;
  caller->SetAnimation(DefaultAnimationFunc, kClickAnimationMs);
}

void SplashClickActionFunc(IControl* caller) {
  if (!caller) return;
  auto* vb = dynamic_cast<IVectorBase*>(caller);
  if (!vb) {
    DefaultClickActionFunc(caller);
    return;
  }
  const IGraphics* g = caller->GetUI();
  if (!g) return;  // no press to splash from
  float x = 0.f, y = 0.f;
  g->GetMouseDownPoint(x, y);
  vb->SetSplashPoint(x, y);
  caller->SetAnimation(SplashAnimationFunc, kClickAnimationMs);
}

void ShowBubbleHorizontalActionFunc(IControl* caller) {
  WDL_String text;
  if (!BubbleText(caller, text)) return;
  const IRECT& r = caller->GetRECT();
  caller->GetUI()->ShowBubbleControl(caller, r.R, r.MH(), text.Get(), EDirection::Horizontal,
                                     kBubbleMinimumContentBounds);
}

void ShowBubbleVerticalActionFunc(IControl* caller) {
  WDL_String text;
  if (!BubbleText(caller, text)) return;
  const IRECT& r = caller->GetRECT();
  caller->GetUI()->ShowBubbleControl(caller, r.MW(), r.T, text.Get(), EDirection::Vertical,
                                     kBubbleMinimumContentBounds);
}

}  // namespace igraphics
}  // namespace iplug
