#include "controls/PlaceHolder.h"

#include <cstdio>

#include "graphics/IGraphics.h"

namespace iplug {
namespace igraphics {

namespace {

constexpr float kInfoInset = 10.f;
constexpr float kCrossThickness = 2.f;
const IColor kCrossColor(255, 255, 0, 0);
const IBlend kHalfBlend(EBlend::Default, 0.5f);
const IBlend kThreeQuarterBlend(EBlend::Default, 0.75f);

// "%0.1f"-style text cut to the info length: a huge coordinate gives a cut text, never an
// overrun, and a non-finite one prints as printf prints it.
void SetInfo(WDL_String& out, const char* fmt, double a, double b = 0.) {
  char buf[PlaceHolder::kMaxInfoLen];
  std::snprintf(buf, sizeof(buf), fmt, a, b);
  out.Set(buf);
}

}  // namespace

PlaceHolder::PlaceHolder(const IRECT& bounds, const char* str)
    : ITextControl(bounds, str, IText(kCaptionSize, COLOR_BLACK, "Roboto-Regular"), COLOR_WHITE) {
  mDisablePrompt = false;
  mIgnoreMouse = false;
}

void PlaceHolder::OnResize() {
  SetInfo(mTLGCStr, "%0.1f, %0.1f", mRECT.L, mRECT.T);
  SetInfo(mWidthStr, "%0.1f", mRECT.W());
  SetInfo(mHeightStr, "%0.1f", mRECT.H());
}

void PlaceHolder::DrawInfo(IGraphics& g, const IText& style, const char* str, float x, float y,
                           float fillWeight) {
  IRECT r;
  g.MeasureText(style, str, r);
  r = r.GetTranslated(x, y);
  const IBlend fill(EBlend::Default, fillWeight);
  g.FillRect(mBGColor, r, &fill);
  g.DrawText(style, str, r, &mBlend);
}

void PlaceHolder::Draw(IGraphics& g) {
  g.FillRect(mBGColor, mRECT);
  g.DrawLine(kCrossColor, mRECT.L, mRECT.T, mRECT.R, mRECT.B, &kHalfBlend, kCrossThickness);
  g.DrawLine(kCrossColor, mRECT.L, mRECT.B, mRECT.R, mRECT.T, &kHalfBlend, kCrossThickness);

  DrawInfo(g, mHeightText, mHeightStr.Get(), mRECT.L + kInfoInset, mRECT.MH(), 0.5f);
  DrawInfo(g, mWidthText, mWidthStr.Get(), mRECT.MW(), mRECT.T + kInfoInset, 0.75f);
  DrawInfo(g, mTLHCText, mTLGCStr.Get(), mRECT.L + kInfoInset, mRECT.T + kInfoInset, 0.5f);

  if (mStr.GetLength() > 0) {
    IRECT r = mRECT;
    g.MeasureText(mText, mStr.Get(), r);
    g.FillRect(mBGColor, r, &kThreeQuarterBlend);
    // While the caption is edited in place, the entry field shows it instead.
    if (g.GetControlInTextEntry() != this) g.DrawText(mText, mStr.Get(), r, &mBlend);
    mCaptionBounds = r;
  }
}

void PlaceHolder::OnMouseDblClick(float x, float y, const IMouseMod& mod) {
  if (IGraphics* g = GetUI()) g->CreateTextEntry(*this, mText, mRECT, mStr.Get(), 0);
}

void PlaceHolder::OnTextEntryCompletion(const char* str, int valIdx) {
  SetStr(str);
}

}  // namespace igraphics
}  // namespace iplug
