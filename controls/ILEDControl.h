#pragma once

// A round light whose brightness and glow follow its value: dark at 0; at 1 lightness 0.65 with
// a glow 1.65 times its size. TriggerWithDecay lights it fully and lets it fade along a cubic
// curve over the given time, on the process clock.

#include <atomic>

#include "graphics/IControl.h"

namespace iplug {
namespace igraphics {

class ILEDControl : public IControl {
 public:
  // The lightness at value 1.
  static constexpr float kMaxLightness = 0.65f;

  // hue: the light's colour, 0..1 around the colour circle.
  ILEDControl(const IRECT& bounds, float hue);

  void Draw(IGraphics& g) override;
  // Applies a trigger that arrived from another thread, on the thread that draws.
  bool IsDirty() override;

  // Restarts the decay from full brightness. Called from another thread, the trigger is handed
  // to the drawing thread and takes effect at its next frame.
  void TriggerWithDecay(int decayTimeMs);

  float GetHue() const { return mHue; }
  // The animation step of the decay: value (1 - progress)^3, then the end of the animation
  // once progress passes 1 (the value stays where the last step left it).
  static void DecayStep(IControl* caller);

 private:
  void StartDecay(int decayTimeMs);

  // No trigger waiting.
  static constexpr int kNoPendingTrigger = -1;

  float mHue;
  std::atomic<int> mPendingDecayMs{kNoPendingTrigger};
};

}  // namespace igraphics
}  // namespace iplug
