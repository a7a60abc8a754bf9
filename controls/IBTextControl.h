#pragma once

// A text drawn with a bitmap font: a strip whose frame 1 is the space and frame k the character
// with code k + 31. Characters are laid out left to right from the text style's alignment, each
// line one character height lower than the last.

#include "controls/IBitmapBase.h"
#include "controls/ITextControl.h"

namespace iplug {
namespace igraphics {

class IBTextControl : public ITextControl, public IBitmapBase {
 public:
  // A character width or height below 1 leaves the control drawing nothing.
  IBTextControl(const IRECT& bounds, const IBitmap& bitmap, const IText& text = DEFAULT_TEXT,
                const char* str = "", int charWidth = 6, int charHeight = 12, int charOffset = 0,
                bool multiLine = false, bool vCentre = true, EBlend blend = EBlend::Default);

  void Draw(IGraphics& g) override;
  void OnRescale() override { ReloadScaled(mBitmap); }

  int GetCharWidth() const { return mCharWidth; }
  int GetCharHeight() const { return mCharHeight; }
  int GetCharOffset() const { return mCharOffset; }

 private:
  int mCharWidth;
  int mCharHeight;
  int mCharOffset;
  bool mMultiLine;
  bool mVCentre;
};

}  // namespace igraphics
}  // namespace iplug
