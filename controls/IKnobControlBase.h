#pragma once

// A control that follows the pointer while it is dragged: the value moves by the drag distance
// over the drag bounds divided by the gearing, finer with Shift or Control held. The drag is
// accumulated unquantised, so a stepped parameter moves a whole step once the pointer has
// travelled half of one. Derived knobs draw it and may drag over another area.

#include "graphics/IControl.h"

namespace iplug {
namespace igraphics {

class IKnobControlBase : public IControl {
 public:
  // Lengths of the drag bounds the pointer travels for the whole range.
  static constexpr double kDefaultGearing = 4.0;

  IKnobControlBase(const IRECT& bounds, int paramIdx = kNoParameter,
                   EDirection direction = EDirection::Vertical, double gearing = kDefaultGearing);
  IKnobControlBase(const IRECT& bounds, IActionFunction action,
                   EDirection direction = EDirection::Vertical, double gearing = kDefaultGearing);

  void OnMouseDown(float x, float y, const IMouseMod& mod) override;
  void OnMouseUp(float x, float y, const IMouseMod& mod) override;
  void OnMouseDrag(float x, float y, float dX, float dY, const IMouseMod& mod) override;
  void OnMouseWheel(float x, float y, const IMouseMod& mod, float d) override;

  // The area whose size scales a drag: the target rectangle unless a derived knob says otherwise.
  virtual IRECT GetDragBounds() { return mTargetRECT; }

  static bool IsFineControl(const IMouseMod& mod);

  double GetGearing() const { return mGearing; }
  void SetGearing(double gearing) { mGearing = gearing; }
  EDirection GetDirection() const { return mDirection; }
  bool GetHideCursorOnDrag() const { return mHideCursorOnDrag; }
  void SetHideCursorOnDrag(bool hide) { mHideCursorOnDrag = hide; }
  bool GetMouseDown() const { return mMouseDown; }

 protected:
  bool mHideCursorOnDrag = true;
  EDirection mDirection;
  double mGearing;
  bool mMouseDown = false;
  double mMouseDragValue = 0.;
};

}  // namespace igraphics
}  // namespace iplug
