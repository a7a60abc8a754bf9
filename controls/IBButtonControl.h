#pragma once

// A momentary button drawn from a bitmap: the value is 1 while pressed and returns to 0 when the
// click animation ends, so a two-frame bitmap shows its second frame while pressed.

#include "controls/IBitmapBase.h"
#include "controls/IButtonControlBase.h"
#include "controls/IControlActions.h"

namespace iplug {
namespace igraphics {

class IBButtonControl : public IButtonControlBase, public IBitmapBase {
 public:
  // One frame in size, its top-left corner at (x, y).
  IBButtonControl(float x, float y, const IBitmap& bitmap,
                  IActionFunction action = DefaultClickActionFunc);
  // One frame in size, centred in bounds.
  IBButtonControl(const IRECT& bounds, const IBitmap& bitmap,
                  IActionFunction action = DefaultClickActionFunc);

  void Draw(IGraphics& g) override { DrawBitmap(g); }
  void OnRescale() override { ReloadScaled(mBitmap); }
};

}  // namespace igraphics
}  // namespace iplug
