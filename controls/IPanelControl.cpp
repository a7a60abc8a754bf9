#include "controls/IPanelControl.h"

#include "controls/IControlActions.h"
#include "graphics/IGraphics.h"

namespace iplug {
namespace igraphics {

IPanelControl::IPanelControl(const IRECT& bounds, const IColor& color, bool drawFrame)
    : IControl(bounds, kNoParameter, EmptyClickActionFunc), mPattern(color), mDrawFrame(drawFrame) {
  mIgnoreMouse = true;
}

void IPanelControl::Draw(IGraphics& g) {
  // A path of the rectangle rather than FillRect, so that any pattern, gradients included, fills
  // it.
  g.PathClear();
  g.PathMoveTo(mRECT.L, mRECT.T);
  g.PathLineTo(mRECT.R, mRECT.T);
  g.PathLineTo(mRECT.R, mRECT.B);
  g.PathLineTo(mRECT.L, mRECT.B);
  g.PathClose();
  g.PathFill(mPattern, IFillOptions(), nullptr);
  if (mDrawFrame) g.DrawRect(kFrameColor, mRECT, nullptr, 1.f);
}

}  // namespace igraphics
}  // namespace iplug
