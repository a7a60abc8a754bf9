#pragma once

// A picture: one frame of a bitmap chosen by the value (the whole bitmap when it has one frame).
// Bound to a two-state parameter, a two-frame bitmap shows its first frame at 0 and its second
// at 1.

#include "controls/IBitmapBase.h"
#include "graphics/IControl.h"

namespace iplug {
namespace igraphics {

class IBitmapControl : public IControl, public IBitmapBase {
 public:
  // The control is one frame in size with its top-left corner at (x, y); its blend is the given
  // method at full weight.
  IBitmapControl(float x, float y, const IBitmap& bitmap, int paramIdx = kNoParameter,
                 EBlend blend = EBlend::Default);

  void Draw(IGraphics& g) override { DrawBitmap(g); }
  void OnRescale() override { ReloadScaled(mBitmap); }
};

}  // namespace igraphics
}  // namespace iplug
