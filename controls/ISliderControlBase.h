#pragma once

// A linear control: a press jumps the value to the pointer's place on the track (unless the
// parameter is stepped), and a drag either follows the pointer or, while the cursor is hidden or
// the parameter is stepped, moves the value relatively with the knob's gearing. Derived sliders
// draw it and lay out the track.

#include "graphics/IControl.h"

namespace iplug {
namespace igraphics {

class ISliderControlBase : public IControl {
 public:
  static constexpr double kDefaultGearing = 4.0;
  static constexpr float kDefaultHandleSize = 8.f;

  ISliderControlBase(const IRECT& bounds, int paramIdx = kNoParameter,
                     EDirection direction = EDirection::Vertical, double gearing = kDefaultGearing,
                     float handleSize = kDefaultHandleSize);
  ISliderControlBase(const IRECT& bounds, IActionFunction action,
                     EDirection direction = EDirection::Vertical, double gearing = kDefaultGearing,
                     float handleSize = kDefaultHandleSize);

  void OnMouseDown(float x, float y, const IMouseMod& mod) override;
  void OnMouseUp(float x, float y, const IMouseMod& mod) override;
  void OnMouseDrag(float x, float y, float dX, float dY, const IMouseMod& mod) override;
  void OnMouseWheel(float x, float y, const IMouseMod& mod, float d) override;
  // The track and the target become the drawing rectangle.
  void OnResize() override;

  static bool IsFineControl(const IMouseMod& mod);

  const IRECT& GetTrack() const { return mTrack; }
  void SetTrack(const IRECT& track) { mTrack = track; }
  float GetHandleSize() const { return mHandleSize; }
  double GetGearing() const { return mGearing; }
  void SetGearing(double gearing) { mGearing = gearing; }
  EDirection GetDirection() const { return mDirection; }
  bool GetHideCursorOnDrag() const { return mHideCursorOnDrag; }
  void SetHideCursorOnDrag(bool hide) { mHideCursorOnDrag = hide; }
  bool GetMouseDown() const { return mMouseDown; }

 protected:
  // True when the track has length along the direction; a pointer cannot be placed on a track
  // without one.
  bool TrackHasExtent() const;
  // Sets the value from the pointer's place on the track and runs the action.
  void SnapToTrack(float x, float y);

  bool mHideCursorOnDrag = true;
  EDirection mDirection;
  IRECT mTrack;
  float mHandleSize;
  double mGearing;
  bool mMouseDown = false;
  double mMouseDragValue = 0.;
};

}  // namespace igraphics
}  // namespace iplug
