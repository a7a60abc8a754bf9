#pragma once

// A static text in a box drawn with a vector style: the style's background, the text in the
// style's value text (with a drop shadow when the style has shadows), and the style's frame. It
// is never hit by the mouse, so events pass to whatever lies beneath it.

#include "controls/ITextControl.h"
#include "controls/IVectorBase.h"

namespace iplug {
namespace igraphics {

class IVLabelControl : public ITextControl, public IVectorBase {
 public:
  // A null label counts as empty.
  IVLabelControl(const IRECT& bounds, const char* label, const IVStyle& style = DEFAULT_STYLE);

  void Draw(IGraphics& g) override;
};

}  // namespace igraphics
}  // namespace iplug
