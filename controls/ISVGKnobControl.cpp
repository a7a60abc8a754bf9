#include "controls/ISVGKnobControl.h"

#include "graphics/IGraphics.h"

namespace iplug {
namespace igraphics {

ISVGKnobControl::ISVGKnobControl(const IRECT& bounds, const ISVG& svg, int paramIdx)
    : IKnobControlBase(bounds, paramIdx), mSVG(svg) {}

float ISVGKnobControl::AngleForValue(double value) const {
  return mStartAngle + (mEndAngle - mStartAngle) * static_cast<float>(value);
}

void ISVGKnobControl::Draw(IGraphics& g) {
  if (!mSVG.IsValid()) return;
  g.DrawRotatedSVG(mSVG, mRECT.MW(), mRECT.MH(), mRECT.W(), mRECT.H(), AngleForValue(GetValue()),
                   &mBlend);
}

void ISVGKnobControl::SetSVG(const ISVG& svg) {
  mSVG = svg;
  SetDirty(false);
}

}  // namespace igraphics
}  // namespace iplug
