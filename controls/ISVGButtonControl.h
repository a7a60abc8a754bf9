#pragma once

// A momentary button drawn with SVG images: the on image while pressed, else the off image.

#include "controls/IButtonControlBase.h"

namespace iplug {
namespace igraphics {

class ISVGButtonControl : public IButtonControlBase {
 public:
  ISVGButtonControl(const IRECT& bounds, IActionFunction action, const ISVG& offImage,
                    const ISVG& onImage);
  ~ISVGButtonControl() override = default;

  // An image that did not load draws nothing.
  void Draw(IGraphics& g) override;

 private:
  ISVG mOffSVG;
  ISVG mOnSVG;
};

}  // namespace igraphics
}  // namespace iplug
