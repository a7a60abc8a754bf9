#include "controls/IBTextControl.h"

#include "base/Log.h"
#include "graphics/IGraphics.h"

namespace iplug {
namespace igraphics {

IBTextControl::IBTextControl(const IRECT& bounds, const IBitmap& bitmap, const IText& text,
                             const char* str, int charWidth, int charHeight, int charOffset,
                             bool multiLine, bool vCentre, EBlend blend)
    : ITextControl(bounds, str, text, COLOR_TRANSPARENT, false),
      IBitmapBase(bitmap),
      mCharWidth(charWidth),
      mCharHeight(charHeight),
      mCharOffset(charOffset),
      mMultiLine(multiLine),
      mVCentre(vCentre) {
  mBlend = IBlend(blend, 1.f);
  AttachIControl(this);
  if (mCharWidth < 1 || mCharHeight < 1) {
    base::warn("controls", "IBTextControl: character size %d x %d; the text is not drawn",
               mCharWidth, mCharHeight);
  }
}

void IBTextControl::Draw(IGraphics& g) {
  // Said once, at construction: a font without a character size draws nothing.
  if (!mBitmap.IsValid() || mCharWidth < 1 || mCharHeight < 1) return;
  g.DrawBitmapedText(mBitmap, mRECT, mText, &mBlend, mStr.Get(), mVCentre, mMultiLine, mCharWidth,
                     mCharHeight, mCharOffset);
}

}  // namespace igraphics
}  // namespace iplug
