#include "controls/ISVGButtonControl.h"

#include "graphics/IGraphics.h"

namespace iplug {
namespace igraphics {

ISVGButtonControl::ISVGButtonControl(const IRECT& bounds, IActionFunction action,
                                     const ISVG& offImage, const ISVG& onImage)
    : IButtonControlBase(bounds, std::move(action)), mOffSVG(offImage), mOnSVG(onImage) {}

void ISVGButtonControl::Draw(IGraphics& g) {
  const ISVG& image = GetValue(0) > 0.5 ? mOnSVG : mOffSVG;
  if (image.IsValid()) g.DrawSVG(image, mRECT, &mBlend);
}

}  // namespace igraphics
}  // namespace iplug
