#include "controls/IURLControl.h"

#include "graphics/IGraphics.h"

namespace iplug {
namespace igraphics {

IURLControl::IURLControl(const IRECT& bounds, const char* str, const char* url, const IText& text,
                         const IColor& bgColor, const IColor& mouseOverColor,
                         const IColor& clickedColor)
    : ITextControl(bounds, str, text, bgColor),
      mURLStr(url ? url : ""),
      mOriginalColor(text.mFGColor),
      mMouseOverColor(mouseOverColor),
      mClickedColor(clickedColor) {
  mIgnoreMouse = false;
}

void IURLControl::OnMouseDown(float x, float y, const IMouseMod& mod) {
  IGraphics* g = GetUI();
  if (!g || mURLStr.GetLength() == 0) return;
  const bool opened = g->OpenURL(mURLStr.Get());
  g->ReleaseMouseCapture();
  if (opened && !mClicked) {
    mClicked = true;
    SetDirty(false);
  }
}

void IURLControl::OnMouseOver(float x, float y, const IMouseMod& mod) {
  if (IGraphics* g = GetUI()) g->SetMouseCursor(kLinkCursor);
  IControl::OnMouseOver(x, y, mod);
}

void IURLControl::OnMouseOut() {
  if (IGraphics* g = GetUI()) g->SetMouseCursor(static_cast<int>(ECursor::ARROW));
  IControl::OnMouseOut();
}

void IURLControl::SetText(const IText& text) {
  mText = text;
  mOriginalColor = text.mFGColor;
}

void IURLControl::Draw(IGraphics& g) {
  g.FillRect(mBGColor, mRECT, &mBlend);
  mText.mFGColor = mMouseIsOver ? mMouseOverColor : mClicked ? mClickedColor : mOriginalColor;
  if (mStr.GetLength() == 0) return;

  // Measured from an empty rectangle, the text box lies around the origin as aligned.
  IRECT r;
  g.MeasureText(mText, mStr.Get(), r);
  const float w = r.R - r.L, h = r.B - r.T;
  float y = mRECT.B;
  if (mText.mVAlign == EVAlign::Top)
    y = mRECT.T + h;
  else if (mText.mVAlign == EVAlign::Middle)
    y = mRECT.MH() + r.B;
  float x1 = mRECT.R - w, x2 = mRECT.R;
  if (mText.mAlign == EAlign::Near) {
    x1 = mRECT.L;
    x2 = mRECT.L + w;
  } else if (mText.mAlign == EAlign::Center) {
    x1 = mRECT.MW() + r.L;
    x2 = mRECT.MW() + r.R;
  }
  g.DrawLine(mText.mFGColor, x1, y, x2, y, &mBlend, 1.f);
  g.DrawText(mText, mStr.Get(), mRECT, &mBlend);
}

}  // namespace igraphics
}  // namespace iplug
