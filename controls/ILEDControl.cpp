#include "controls/ILEDControl.h"

#include <algorithm>
#include <cmath>

#include "controls/IControlActions.h"
#include "graphics/IGraphics.h"

namespace iplug {
namespace igraphics {

namespace {
// The glow gradient runs from the light's colour at its centre to nothing at its edge.
constexpr float kGlowOuterOffset = 1.f;
}  // namespace

ILEDControl::ILEDControl(const IRECT& bounds, float hue)
    : IControl(bounds, kNoParameter, EmptyClickActionFunc), mHue(hue) {
  // A trigger from another thread waits in IsDirty, which must therefore be asked each frame.
  SetDirtyTestedEachFrame(true);
}

void ILEDControl::Draw(IGraphics& g) {
  const double value = GetValue(0);
  // A value that is not a number shows the light dark rather than spreading NaN into geometry.
  const float b = std::isfinite(value) ? static_cast<float>(value) * kMaxLightness : 0.f;
  const IColor c = IColor::FromHSLA(mHue, 1.f, b, 1.f);

  const float halfWidth = mRECT.W() * 0.5f;
  const float d = std::isfinite(halfWidth) ? std::max(1.f, halfWidth) : 1.f;
  const IRECT light = mRECT.GetCentredInside(d, d);
  g.FillEllipse(c, light, nullptr);
  g.DrawEllipse(COLOR_BLACK, light, nullptr, 1.f);

  // The gradient's radius is half the control's width; without one there is no glow to draw
  // (the gradient would divide by zero).
  if (!(halfWidth > 0.f) || !std::isfinite(halfWidth)) return;
  const IRECT glow = light.GetScaledAboutCentre(1.f + b);
  g.PathClear();
  g.PathEllipse(glow);
  const IPattern pattern = IPattern::CreateRadialGradient(
      mRECT.MW(), mRECT.MH(), halfWidth, {{c, 0.f}, {COLOR_TRANSPARENT, kGlowOuterOffset}});
  const IBlend blend(EBlend::Default, std::clamp(b, 0.f, 1.f));
  g.PathFill(pattern, IFillOptions(), &blend);
}

bool ILEDControl::IsDirty() {
  const int pending = mPendingDecayMs.exchange(kNoPendingTrigger);
  if (pending != kNoPendingTrigger) {
    StartDecay(pending);
    // The frame collecting this control has already animated the others: take the first step
    // now so the light is drawn bright in this frame.
    Animate();
  }
  return IControl::IsDirty();
}

void ILEDControl::TriggerWithDecay(int decayTimeMs) {
  // The animation state belongs to the drawing (main) thread; another thread only leaves the
  // request, which the next frame picks up in IsDirty.
  if (!IGraphics::IsMainThread()) {
    mPendingDecayMs.store(std::max(decayTimeMs, 0));
    return;
  }
  StartDecay(decayTimeMs);
}

void ILEDControl::StartDecay(int decayTimeMs) {
  SetAnimation(DecayStep, decayTimeMs);
}

void ILEDControl::DecayStep(IControl* caller) {
  if (!caller) return;
  const double p = caller->GetAnimationProgress();
  if (p > 1.) {
    caller->OnEndAnimation();
    return;
  }
  // A clock set back before the start must not brighten the light past full.
  const double remaining = 1. - std::max(p, 0.);
  caller->SetValue(remaining * remaining * remaining, 0);
}

}  // namespace igraphics
}  // namespace iplug
