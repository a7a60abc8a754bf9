#include "controls/ISliderControlBase.h"

#include "controls/ControlDrag.h"

namespace iplug {
namespace igraphics {

ISliderControlBase::ISliderControlBase(const IRECT& bounds, int paramIdx, EDirection direction,
                                       double gearing, float handleSize)
    : IDragControlBase(bounds, paramIdx, direction, gearing), mHandleSize(handleSize) {}

ISliderControlBase::ISliderControlBase(const IRECT& bounds, IActionFunction action,
                                       EDirection direction, double gearing, float handleSize)
    : IDragControlBase(bounds, std::move(action), direction, gearing), mHandleSize(handleSize) {}

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
  mMouseDown = true;  // the press counts as down while it places the value
  if (!IsSteppedParam(GetParam(0))) SnapToTrack(x, y);
  IDragControlBase::OnMouseDown(x, y, mod);
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
  DragValueBy(dX, dY, mTrack, mod);
}

}  // namespace igraphics
}  // namespace iplug
