#pragma once

// A control that follows the pointer while it is dragged: the value moves by the drag distance
// over the drag bounds divided by the gearing, finer with Shift or Control held. The drag is
// accumulated unquantised, so a stepped parameter moves a whole step once the pointer has
// travelled half of one. Derived knobs draw it and may drag over another area.

#include "controls/IDragControlBase.h"

namespace iplug {
namespace igraphics {

class IKnobControlBase : public IDragControlBase {
 public:
  IKnobControlBase(const IRECT& bounds, int paramIdx = kNoParameter,
                   EDirection direction = EDirection::Vertical, double gearing = kDefaultGearing);
  IKnobControlBase(const IRECT& bounds, IActionFunction action,
                   EDirection direction = EDirection::Vertical, double gearing = kDefaultGearing);

  void OnMouseDrag(float x, float y, float dX, float dY, const IMouseMod& mod) override;

  // The area whose size scales a drag: the target rectangle unless a derived knob says otherwise.
  virtual IRECT GetDragBounds() { return mTargetRECT; }
};

}  // namespace igraphics
}  // namespace iplug
