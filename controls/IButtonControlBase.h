#pragma once

// A momentary button: a press sets the value to 1 and runs the action; the value returns to 0
// when the animation that the action started ends (100 ms with the stock click actions). A
// button whose action starts no animation stays at 1. Derived controls draw it.

#include "graphics/IControl.h"

namespace iplug {
namespace igraphics {

class IButtonControlBase : public IControl {
 public:
  // One slot bound to no parameter; a double click counts as a second press.
  IButtonControlBase(const IRECT& bounds, IActionFunction action);

  void OnMouseDown(float x, float y, const IMouseMod& mod) override;
  void OnEndAnimation() override;
};

}  // namespace igraphics
}  // namespace iplug
