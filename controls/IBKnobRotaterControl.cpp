#include "controls/IBKnobRotaterControl.h"

#include <algorithm>
#include <cmath>

#include "graphics/IGraphics.h"

namespace iplug {
namespace igraphics {

double IBKnobRotaterControl::AngleForValue(double value) {
  // Values outside 0..1 stop at the ends of the sweep; one that is not a number at the start.
  const double v = std::isfinite(value) ? std::clamp(value, 0., 1.) : 0.;
  return v * 2. * kMaxAngle - kMaxAngle;
}

void IBKnobRotaterControl::Draw(IGraphics& g) {
  if (!mBitmap.IsValid()) return;
  g.DrawRotatedBitmap(mBitmap, mRECT.MW(), mRECT.MH(), AngleForValue(GetValue(0)), &mBlend);
}

}  // namespace igraphics
}  // namespace iplug
