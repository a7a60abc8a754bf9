#pragma once

// A multi-state switch drawn from a bitmap of one frame per state. Each click steps the value by
// one frame of the bitmap, 1 / (frames - 1), and wraps to 0 past the last; the frame count sets
// the step even when a bound parameter gives the switch base another state count.

#include "controls/IBitmapBase.h"
#include "controls/ISwitchControlBase.h"

namespace iplug {
namespace igraphics {

class IBSwitchControl : public ISwitchControlBase, public IBitmapBase {
 public:
  // One frame in size, its top-left corner at (x, y).
  IBSwitchControl(float x, float y, const IBitmap& bitmap, int paramIdx = kNoParameter);
  // One frame in size, centred in bounds.
  IBSwitchControl(const IRECT& bounds, const IBitmap& bitmap, int paramIdx = kNoParameter);

  void OnMouseDown(float x, float y, const IMouseMod& mod) override;
  void Draw(IGraphics& g) override { DrawBitmap(g); }
  void OnRescale() override { ReloadScaled(mBitmap); }

  // The value after one click from value on a bitmap of n frames.
  static double NextFrameValue(double value, int nFrames);
};

}  // namespace igraphics
}  // namespace iplug
