#include "controls/IBButtonControl.h"

namespace iplug {
namespace igraphics {

IBButtonControl::IBButtonControl(float x, float y, const IBitmap& bitmap, IActionFunction action)
    : IButtonControlBase(IRECT(x, y, x + FrameWidth(bitmap), y + FrameHeight(bitmap)),
                         std::move(action)),
      IBitmapBase(bitmap) {
  AttachIControl(this);
}

IBButtonControl::IBButtonControl(const IRECT& bounds, const IBitmap& bitmap, IActionFunction action)
    : IButtonControlBase(FrameRectCentredIn(bitmap, bounds), std::move(action)),
      IBitmapBase(bitmap) {
  AttachIControl(this);
}

}  // namespace igraphics
}  // namespace iplug
