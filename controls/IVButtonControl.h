#pragma once

// A momentary push button drawn as a pressable shape, with an optional label and value text.
// It shows pressed while its value is not 0, which with the splash click action is the 100 ms of
// the splash. Only the shape is hit: clicks on the label strip or the margin pass by.

#include "controls/IButtonControlBase.h"
#include "controls/IControlActions.h"
#include "controls/IVectorBase.h"

namespace iplug {
namespace igraphics {

class IVButtonControl : public IButtonControlBase, public IVectorBase {
 public:
  // A null label counts as empty.
  IVButtonControl(const IRECT& bounds, IActionFunction action = SplashClickActionFunc,
                  const char* label = "", const IVStyle& style = DEFAULT_STYLE,
                  bool labelInButton = true, bool valueInButton = false,
                  int shape = kVShapeRectangle);

  void Draw(IGraphics& g) override;
  void DrawWidget(IGraphics& g) override;
  void OnResize() override;
  bool IsHit(float x, float y) const override;
};

}  // namespace igraphics
}  // namespace iplug
