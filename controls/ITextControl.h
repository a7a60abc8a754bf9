#pragma once

// A fixed or program-set text on a filled background. It is never hit by the mouse. With size to
// text, its rectangles follow the measured text, centred where they were.

#include "framework/WDLString.h"
#include "graphics/IControl.h"

namespace iplug {
namespace igraphics {

class ITextControl : public IControl {
 public:
  // A null str leaves the text empty.
  ITextControl(const IRECT& bounds, const char* str = "", const IText& text = DEFAULT_TEXT,
               const IColor& bgColor = DEFAULT_BGCOLOR, bool setBoundsBasedOnStr = false);
  ~ITextControl() override = default;

  void OnInit() override;
  void Draw(IGraphics& g) override;

  // Replaces the text (null counts as ""). The same text changes nothing, not even the dirty
  // flag; a new one is fitted to when sizing to text, then the control is redrawn.
  virtual void SetStr(const char* str);
  // printf-style text of at most maxlen bytes, never cut inside a UTF-8 sequence; maxlen <= 0
  // gives "". Always redraws; no comparison and no fitting. A bad format keeps the text.
  virtual void SetStrFmt(int maxlen, const char* fmt, ...) __attribute__((format(printf, 3, 4)));
  virtual void ClearStr() { SetStr(""); }

  // Fits both rectangles to the measured text around the current centre, then OnResize. Needs
  // the graphics context to measure: an unattached control is left as it is (OnInit fits it).
  void FitBoundsToText();

  const char* GetStr() const { return mStr.Get(); }
  const IColor& GetBGColor() const { return mBGColor; }
  void SetBGColor(const IColor& color) {
    mBGColor = color;
    SetDirty(false);
  }
  bool GetSetBoundsBasedOnStr() const { return mSetBoundsBasedOnStr; }

 protected:
  WDL_String mStr;
  IColor mBGColor;
  bool mSetBoundsBasedOnStr = false;
};

}  // namespace igraphics
}  // namespace iplug
