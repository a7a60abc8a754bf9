#include "controls/IBSwitchControl.h"

namespace iplug {
namespace igraphics {

namespace {
// Past the last frame by more than rounding can explain: wrap to the first.
constexpr double kWrapThreshold = 1.001;
}  // namespace

IBSwitchControl::IBSwitchControl(float x, float y, const IBitmap& bitmap, int paramIdx)
    : ISwitchControlBase(IRECT(x, y, x + FrameWidth(bitmap), y + FrameHeight(bitmap)), paramIdx,
                         nullptr, 2),
      IBitmapBase(bitmap) {
  AttachIControl(this);
}

IBSwitchControl::IBSwitchControl(const IRECT& bounds, const IBitmap& bitmap, int paramIdx)
    : ISwitchControlBase(FrameRectCentredIn(bitmap, bounds), paramIdx, nullptr, 2),
      IBitmapBase(bitmap) {
  AttachIControl(this);
}

double IBSwitchControl::NextFrameValue(double value, int nFrames) {
  // One frame turns on and off: the step of 1 takes 1 past the threshold back to 0.
  const double step = nFrames >= 2 ? 1. / (nFrames - 1) : 1.;
  const double next = value + step;
  return next > kWrapThreshold ? 0. : next;
}

void IBSwitchControl::OnMouseDown(float x, float y, const IMouseMod& mod) {
  SetValue(NextFrameValue(GetValue(0), mBitmap.N), 0);
  mMouseDown = true;
  SetDirty(true);
}

}  // namespace igraphics
}  // namespace iplug
