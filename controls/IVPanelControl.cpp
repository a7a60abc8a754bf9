#include "controls/IVPanelControl.h"

#include "controls/IControlActions.h"
#include "graphics/IGraphics.h"

namespace iplug {
namespace igraphics {

IVPanelControl::IVPanelControl(const IRECT& bounds, const char* label, const IVStyle& style)
    : IControl(bounds, kNoParameter, EmptyClickActionFunc), IVectorBase(style, false, false) {
  AttachIControl(this, label);
  mIgnoreMouse = true;
}

void IVPanelControl::Draw(IGraphics& g) {
  DrawBackground(g, mRECT);
  DrawWidget(g);
  DrawLabel(g);
  DrawValue(g, mMouseIsOver);
}

void IVPanelControl::DrawWidget(IGraphics& g) {
  DrawPressableRectangle(g, mWidgetBounds, false, false, false);
}

void IVPanelControl::OnResize() {
  SetTargetRECT(MakeRects(mRECT));
  mMouseIsOver = false;
}

}  // namespace igraphics
}  // namespace iplug
