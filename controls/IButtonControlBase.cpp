#include "controls/IButtonControlBase.h"

namespace iplug {
namespace igraphics {

IButtonControlBase::IButtonControlBase(const IRECT& bounds, IActionFunction action)
    : IControl(bounds, kNoParameter, std::move(action)) {
  mDblAsSingleClick = true;
}

void IButtonControlBase::OnMouseDown(float x, float y, const IMouseMod& mod) {
  SetValue(1.0, 0);
  SetDirty(true);
}

void IButtonControlBase::OnEndAnimation() {
  SetValue(0.0, 0);
  IControl::OnEndAnimation();
}

}  // namespace igraphics
}  // namespace iplug
