#pragma once

// A vector-styled panel: the style's background, a pressable rectangle that is never pressed,
// and a label above it. It takes no mouse input.

#include "controls/IVectorBase.h"
#include "graphics/IControl.h"

namespace iplug {
namespace igraphics {

class IVPanelControl : public IControl, public IVectorBase {
 public:
  // A null label counts as empty.
  IVPanelControl(const IRECT& bounds, const char* label = "", const IVStyle& style = DEFAULT_STYLE);

  void Draw(IGraphics& g) override;
  void DrawWidget(IGraphics& g) override;
  void OnResize() override;
};

}  // namespace igraphics
}  // namespace iplug
