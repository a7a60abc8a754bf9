#include "controls/IBitmapControl.h"

namespace iplug {
namespace igraphics {

IBitmapControl::IBitmapControl(float x, float y, const IBitmap& bitmap, int paramIdx, EBlend blend)
    : IControl(IRECT(x, y, x + FrameWidth(bitmap), y + FrameHeight(bitmap)), paramIdx),
      IBitmapBase(bitmap) {
  mBlend = IBlend(blend, 1.f);
  AttachIControl(this);
}

}  // namespace igraphics
}  // namespace iplug
