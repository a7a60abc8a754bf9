#pragma once

// A multi-state switch drawn as a pressable shape that shows its state as text. Each click steps
// to the next state (wrapping after the last); the shape looks pressed only while the mouse
// button is held on it. Bound to a parameter, the text is the parameter's display text of its
// value and an empty label becomes the parameter's name.

#include "controls/IControlActions.h"
#include "controls/ISwitchControlBase.h"
#include "controls/IVectorBase.h"

namespace iplug {
namespace igraphics {

class IVSwitchControl : public ISwitchControlBase, public IVectorBase {
 public:
  // Bound to a parameter, with the splash click action; the state count comes from the
  // parameter's range when attached. A null label counts as empty.
  IVSwitchControl(const IRECT& bounds, int paramIdx = kNoParameter, const char* label = "",
                  const IVStyle& style = DEFAULT_STYLE, bool valueInButton = true);
  // Unbound, with the given action and state count.
  IVSwitchControl(const IRECT& bounds, IActionFunction actionFunc, const char* label = "",
                  const IVStyle& style = DEFAULT_STYLE, int numStates = 2,
                  bool valueInButton = true);

  void Draw(IGraphics& g) override;
  void DrawWidget(IGraphics& g) override;
  void OnMouseOut() override;
  void OnResize() override;
  // Bound: the value text with the parameter's unit, and the parameter's name as an empty label.
  void OnInit() override;
  // Only the shape is hit.
  bool IsHit(float x, float y) const override;
  // Acts on every value slot whatever valIdx is; bound, the value text follows the parameter.
  void SetDirty(bool triggerAction = true, int valIdx = kNoValIdx) override;

 private:
  // The value text sits in the middle of the shape when it is drawn inside it.
  void CentreValueText(bool valueInButton);
};

}  // namespace igraphics
}  // namespace iplug
