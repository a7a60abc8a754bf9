#pragma once

// What the knob and slider bases share: a value dragged along a direction with a gearing, finer
// with Shift or Control held; the cursor hidden while the button is down; a right press that
// prompts for the value; and the wheel stepping it.

#include "graphics/IControl.h"

namespace iplug {
namespace igraphics {

class IDragControlBase : public IControl {
 public:
  // Lengths of the drag bounds the pointer travels for the whole range.
  static constexpr double kDefaultGearing = 4.0;

  IDragControlBase(const IRECT& bounds, int paramIdx, EDirection direction, double gearing);
  IDragControlBase(const IRECT& bounds, IActionFunction action, EDirection direction,
                   double gearing);

  // Starts a drag from the current value.
  void OnMouseDown(float x, float y, const IMouseMod& mod) override;
  void OnMouseUp(float x, float y, const IMouseMod& mod) override;
  void OnMouseWheel(float x, float y, const IMouseMod& mod, float d) override;

  static bool IsFineControl(const IMouseMod& mod);

  double GetGearing() const { return mGearing; }
  void SetGearing(double gearing) { mGearing = gearing; }
  EDirection GetDirection() const { return mDirection; }
  bool GetHideCursorOnDrag() const { return mHideCursorOnDrag; }
  void SetHideCursorOnDrag(bool hide) { mHideCursorOnDrag = hide; }
  bool GetMouseDown() const { return mMouseDown; }

 protected:
  // Moves the dragged value by the pointer's motion, scaled by bounds and the gearing, and sets
  // the value quantised to the parameter.
  void DragValueBy(float dX, float dY, const IRECT& bounds, const IMouseMod& mod);

  bool mHideCursorOnDrag = true;
  EDirection mDirection;
  double mGearing;
  bool mMouseDown = false;
  double mMouseDragValue = 0.;
};

}  // namespace igraphics
}  // namespace iplug
