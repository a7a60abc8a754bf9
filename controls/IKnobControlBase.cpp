#include "controls/IKnobControlBase.h"

#include <utility>

namespace iplug {
namespace igraphics {

IKnobControlBase::IKnobControlBase(const IRECT& bounds, int paramIdx, EDirection direction,
                                   double gearing)
    : IDragControlBase(bounds, paramIdx, direction, gearing) {}

IKnobControlBase::IKnobControlBase(const IRECT& bounds, IActionFunction action,
                                   EDirection direction, double gearing)
    : IDragControlBase(bounds, std::move(action), direction, gearing) {}

void IKnobControlBase::OnMouseDrag(float x, float y, float dX, float dY, const IMouseMod& mod) {
  DragValueBy(dX, dY, GetDragBounds(), mod);
}

}  // namespace igraphics
}  // namespace iplug
