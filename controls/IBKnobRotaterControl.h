#pragma once

// A knob drawn as one bitmap turned by the value: -130 degrees at 0, upright at 0.5, +130 at 1,
// centred on the control.

#include "controls/IBKnobControl.h"

namespace iplug {
namespace igraphics {

class IBKnobRotaterControl : public IBKnobControl {
 public:
  // The sweep of the knob either side of upright, in degrees.
  static constexpr double kMaxAngle = 130.;

  using IBKnobControl::IBKnobControl;

  void Draw(IGraphics& g) override;

  // The angle, in degrees clockwise from upright, that shows value.
  static double AngleForValue(double value);
};

}  // namespace igraphics
}  // namespace iplug
