#include "controls/IVLabelControl.h"

#include "graphics/IGraphics.h"

namespace iplug {
namespace igraphics {

IVLabelControl::IVLabelControl(const IRECT& bounds, const char* label, const IVStyle& style)
    : ITextControl(bounds, label ? label : "", style.valueText, DEFAULT_BGCOLOR, false),
      IVectorBase(style, false, false) {
  AttachIControl(this, label);
  mText = style.valueText;
}

void IVLabelControl::Draw(IGraphics& g) {
  DrawBackground(g, mRECT);
  if (mStr.GetLength() > 0) {
    if (mStyle.drawShadows && !IsDisabled()) {
      IText shadowText = mStyle.valueText;
      shadowText.mFGColor = GetColor(kSH);
      const float o = mStyle.shadowOffset;
      g.DrawText(shadowText, mStr.Get(), mRECT.GetTranslated(o, o), &mBlend);
    }
    g.DrawText(mStyle.valueText, mStr.Get(), mRECT, &mBlend);
  }
  if (mStyle.drawFrame) g.DrawRect(GetColor(kFR), mRECT, &mBlend, mStyle.frameThickness);
}

}  // namespace igraphics
}  // namespace iplug
