#include "controls/ISliderControlBase.h"

#include <algorithm>

#include "controls/ControlDrag.h"
#include "graphics/IGraphics.h"

namespace iplug {
namespace igraphics {

ISliderControlBase::ISliderControlBase(const IRECT& bounds, int paramIdx, EDirection direction,
                                       double gearing, float handleSize)
    : IControl(bounds, paramIdx),
      mDirection(direction),
      mHandleSize(handleSize),
      mGearing(gearing) {}

ISliderControlBase::ISliderControlBase(const IRECT& bounds, IActionFunction action,
                                       EDirection direction, double gearing, float handleSize)
    : IControl(bounds, std::move(action)),
      mDirection(direction),
      mHandleSize(handleSize),
      mGearing(gearing) {}

bool ISliderControlBase::IsFineControl(const IMouseMod& mod) {
  return IsFineAdjust(mod);
}

void ISliderControlBase::OnResize() {
  SetTargetRECT(mRECT);
  mTrack = mRECT;
  mMouseIsOver = false;
  SetDirty(false);
}

bool ISliderControlBase::TrackHasExtent() const {
  return mDirection == EDirection::Horizontal ? mTrack.W() > 0.f : mTrack.H() > 0.f;
}

void ISliderControlBase::SnapToTrack(float x, float y) {
  // IControl::SnapToMouse gives 0 on a track without length: that would be a change from
  // nowhere, so nothing happens instead.
  if (!TrackHasExtent()) return;
  SnapToMouse(x, y, mDirection, mTrack, kNoValIdx, 0., 1.);
}

void ISliderControlBase::OnMouseDown(float x, float y, const IMouseMod& mod) {
  mMouseDown = true;
  if (!IsSteppedParam(GetParam(0))) SnapToTrack(x, y);
  mMouseDragValue = GetValue(0);
  if (mHideCursorOnDrag && GetUI()) GetUI()->HideMouseCursor(true, true);
  if (mod.R) PromptUserInput(GetValIdxForPos(x, y));
}

void ISliderControlBase::OnMouseUp(float x, float y, const IMouseMod& mod) {
  if (mHideCursorOnDrag && GetUI()) GetUI()->HideMouseCursor(false, true);
  mMouseDown = false;
  SetDirty(false);
}

void ISliderControlBase::OnMouseDrag(float x, float y, float dX, float dY, const IMouseMod& mod) {
  const IParam* param = GetParam(0);
  // With the cursor hidden the pointer stays put, so only its movement can be followed; a
  // stepped value must accumulate between steps.
  const bool relative = (mod.touchID == 0 && mHideCursorOnDrag) || IsSteppedParam(param);
  if (!relative) {
    SnapToTrack(x, y);
    return;
  }
  double increment = 0.;
  if (!DragIncrement(dX, dY, mDirection, mTrack, mGearing, IsFineControl(mod), increment)) return;
  mMouseDragValue = std::clamp(mMouseDragValue + increment, 0., 1.);
  SetValue(QuantiseToParam(param, mMouseDragValue), 0);
  SetDirty(true);
}

void ISliderControlBase::OnMouseWheel(float x, float y, const IMouseMod& mod, float d) {
  if (d == 0.f || !std::isfinite(d)) return;
  SetValue(WheelValue(GetParam(0), GetValue(0), d, IsFineControl(mod)), 0);
  SetDirty(true);
}

}  // namespace igraphics
}  // namespace iplug
