#include "controls/IDragControlBase.h"

#include <algorithm>
#include <cmath>

#include "controls/ControlDrag.h"
#include "graphics/IGraphics.h"

namespace iplug {
namespace igraphics {

IDragControlBase::IDragControlBase(const IRECT& bounds, int paramIdx, EDirection direction,
                                   double gearing)
    : IControl(bounds, paramIdx), mDirection(direction), mGearing(gearing) {}

IDragControlBase::IDragControlBase(const IRECT& bounds, IActionFunction action,
                                   EDirection direction, double gearing)
    : IControl(bounds, std::move(action)), mDirection(direction), mGearing(gearing) {}

bool IDragControlBase::IsFineControl(const IMouseMod& mod) {
  return IsFineAdjust(mod);
}

void IDragControlBase::OnMouseDown(float x, float y, const IMouseMod& mod) {
  mMouseDown = true;
  mMouseDragValue = GetValue(0);
  if (mHideCursorOnDrag && GetUI()) GetUI()->HideMouseCursor(true, true);
  if (mod.R) PromptUserInput(GetValIdxForPos(x, y));
}

void IDragControlBase::OnMouseUp(float x, float y, const IMouseMod& mod) {
  if (mHideCursorOnDrag && GetUI()) GetUI()->HideMouseCursor(false, true);
  mMouseDown = false;
  SetDirty(false);
}

void IDragControlBase::OnMouseWheel(float x, float y, const IMouseMod& mod, float d) {
  if (d == 0.f || !std::isfinite(d)) return;  // no turn, no change and no action
  SetValue(WheelValue(GetParam(0), GetValue(0), d, IsFineControl(mod)), 0);
  SetDirty(true);
}

void IDragControlBase::DragValueBy(float dX, float dY, const IRECT& bounds, const IMouseMod& mod) {
  double increment = 0.;
  if (!DragIncrement(dX, dY, mDirection, bounds, mGearing, IsFineControl(mod), increment)) return;
  mMouseDragValue = std::clamp(mMouseDragValue + increment, 0., 1.);
  SetValue(QuantiseToParam(GetParam(0), mMouseDragValue), 0);
  SetDirty(true);
}

}  // namespace igraphics
}  // namespace iplug
