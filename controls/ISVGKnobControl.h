#pragma once

// A knob drawn as one SVG image scaled to the control and turned with the value, from the start
// angle at 0 to the end angle at 1 (degrees, clockwise).

#include "controls/IKnobControlBase.h"

namespace iplug {
namespace igraphics {

class ISVGKnobControl : public IKnobControlBase {
 public:
  static constexpr float kDefaultStartAngle = -135.f;
  static constexpr float kDefaultEndAngle = 135.f;

  ISVGKnobControl(const IRECT& bounds, const ISVG& svg, int paramIdx = kNoParameter);
  ~ISVGKnobControl() override = default;

  // An image that did not load draws nothing.
  void Draw(IGraphics& g) override;
  void SetSVG(const ISVG& svg);

  // The image's turn at a value, in degrees.
  float AngleForValue(double value) const;

 private:
  ISVG mSVG;
  float mStartAngle = kDefaultStartAngle;
  float mEndAngle = kDefaultEndAngle;
};

}  // namespace igraphics
}  // namespace iplug
