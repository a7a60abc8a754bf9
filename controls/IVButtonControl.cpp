#include "controls/IVButtonControl.h"

#include "graphics/IGraphics.h"

namespace iplug {
namespace igraphics {

IVButtonControl::IVButtonControl(const IRECT& bounds, IActionFunction action, const char* label,
                                 const IVStyle& style, bool labelInButton, bool valueInButton,
                                 int shape)
    : IButtonControlBase(bounds, std::move(action)),
      IVectorBase(style, labelInButton, valueInButton) {
  AttachIControl(this, label);
  mText = style.valueText;
  mShape = shape;
}

void IVButtonControl::Draw(IGraphics& g) {
  DrawBackground(g, mRECT);
  DrawWidget(g);
  DrawLabel(g);
  DrawValue(g, false);
}

void IVButtonControl::DrawWidget(IGraphics& g) {
  const bool pressed = GetValue(0) != 0.;
  DrawPressableShape(g, mShape, mWidgetBounds, pressed, mMouseIsOver, IsDisabled());
}

void IVButtonControl::OnResize() {
  SetTargetRECT(MakeRects(mRECT, true));
  mMouseIsOver = false;
  SetDirty(false);
}

bool IVButtonControl::IsHit(float x, float y) const {
  return mWidgetBounds.Contains(x, y);
}

}  // namespace igraphics
}  // namespace iplug
