#include "controls/ITextControl.h"

#include <cmath>
#include <cstdarg>
#include <cstring>

#include "base/Finite.h"
#include "base/Log.h"
#include "graphics/IGraphics.h"

namespace iplug {
namespace igraphics {

ITextControl::ITextControl(const IRECT& bounds, const char* str, const IText& text,
                           const IColor& bgColor, bool setBoundsBasedOnStr)
    : IControl(bounds, kNoParameter, nullptr),
      mStr(str ? str : ""),
      mBGColor(bgColor),
      mSetBoundsBasedOnStr(setBoundsBasedOnStr) {
  mText = text;
  mIgnoreMouse = true;
}

void ITextControl::OnInit() {
  if (mSetBoundsBasedOnStr) FitBoundsToText();
}

void ITextControl::Draw(IGraphics& g) {
  g.FillRect(mBGColor, mRECT, &mBlend);
  // While the text is edited in place, the entry field shows it instead.
  if (mStr.GetLength() > 0 && g.GetControlInTextEntry() != this)
    g.DrawText(mText, mStr.Get(), mRECT, &mBlend);
}

void ITextControl::SetStr(const char* str) {
  if (!str) str = "";
  if (std::strcmp(mStr.Get(), str) == 0) return;
  if (!mStr.Set(str)) {
    base::warn("controls", "ITextControl::SetStr: no memory for the text; text unchanged");
    return;
  }
  if (mSetBoundsBasedOnStr) FitBoundsToText();
  SetDirty(false);
}

void ITextControl::SetStrFmt(int maxlen, const char* fmt, ...) {
  if (maxlen > 0 && !fmt) {
    base::warn("controls", "ITextControl::SetStrFmt: no format; text unchanged");
    return;
  }
  va_list args;
  va_start(args, fmt);
  const bool ok = mStr.SetFormattedV(maxlen, fmt, args);
  va_end(args);
  if (!ok) {
    base::warn("controls", "ITextControl::SetStrFmt: cannot format \"%s\"; text unchanged",
               fmt ? fmt : "");
    return;
  }
  SetDirty(false);
}

void ITextControl::FitBoundsToText() {
  IGraphics* g = GetUI();
  if (!g) return;
  IRECT measured = mRECT;
  g->MeasureText(mText, mStr.Get(), measured);
  const float hw = 0.5f * measured.W(), hh = 0.5f * measured.H();
  if (!base::isFinite(hw, hh)) {
    base::warn("controls",
               "ITextControl::FitBoundsToText: the text measures no size; bounds unchanged");
    return;
  }
  const float cx = mRECT.MW(), cy = mRECT.MH();
  SetTargetAndDrawRECTs(IRECT(cx - hw, cy - hh, cx + hw, cy + hh));
  mMouseIsOver = false;
  OnResize();
}

}  // namespace igraphics
}  // namespace iplug
