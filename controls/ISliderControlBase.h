#pragma once

// A linear control: a press jumps the value to the pointer's place on the track (unless the
// parameter is stepped), and a drag either follows the pointer or, while the cursor is hidden or
// the parameter is stepped, moves the value relatively with the knob's gearing. Derived sliders
// draw it and lay out the track.

#include "controls/IDragControlBase.h"

namespace iplug {
namespace igraphics {

class ISliderControlBase : public IDragControlBase {
 public:
  static constexpr float kDefaultHandleSize = 8.f;

  ISliderControlBase(const IRECT& bounds, int paramIdx = kNoParameter,
                     EDirection direction = EDirection::Vertical, double gearing = kDefaultGearing,
                     float handleSize = kDefaultHandleSize);
  ISliderControlBase(const IRECT& bounds, IActionFunction action,
                     EDirection direction = EDirection::Vertical, double gearing = kDefaultGearing,
                     float handleSize = kDefaultHandleSize);

  void OnMouseDown(float x, float y, const IMouseMod& mod) override;
  void OnMouseDrag(float x, float y, float dX, float dY, const IMouseMod& mod) override;
  // The track and the target become the drawing rectangle.
  void OnResize() override;

  const IRECT& GetTrack() const { return mTrack; }
  void SetTrack(const IRECT& track) { mTrack = track; }
  float GetHandleSize() const { return mHandleSize; }

 protected:
  // True when the track has length along the direction; a pointer cannot be placed on a track
  // without one.
  bool TrackHasExtent() const;
  // Sets the value from the pointer's place on the track and runs the action.
  void SnapToTrack(float x, float y);

  IRECT mTrack;
  float mHandleSize;
};

}  // namespace igraphics
}  // namespace iplug
