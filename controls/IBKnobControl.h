#pragma once

// The base of bitmap knobs: the knob base's dragging with a bitmap. It does not draw; a derived
// knob decides how the bitmap shows the value.

#include "controls/IBitmapBase.h"
#include "controls/IKnobControlBase.h"

namespace iplug {
namespace igraphics {

class IBKnobControl : public IKnobControlBase, public IBitmapBase {
 public:
  IBKnobControl(const IRECT& bounds, const IBitmap& bitmap, int paramIdx = kNoParameter,
                EDirection dir = EDirection::Vertical, double gearing = kDefaultGearing)
      : IKnobControlBase(bounds, paramIdx, dir, gearing), IBitmapBase(bitmap) {
    AttachIControl(this);
  }

  void OnRescale() override { ReloadScaled(mBitmap); }
};

}  // namespace igraphics
}  // namespace iplug
