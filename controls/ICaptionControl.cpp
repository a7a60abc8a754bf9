#include "controls/ICaptionControl.h"

#include "graphics/IGraphics.h"

namespace iplug {
namespace igraphics {

ICaptionControl::ICaptionControl(const IRECT& bounds, int paramIdx, const IText& text,
                                 const IColor& bgColor, bool showParamLabel)
    : ITextControl(bounds, "", text, bgColor, false), mShowParamLabel(showParamLabel) {
  SetParamIdx(paramIdx, 0);
  mDisablePrompt = false;
  mDblAsSingleClick = true;
  mIgnoreMouse = false;
}

void ICaptionControl::OnMouseDown(float x, float y, const IMouseMod& mod) {
  if (mod.L || mod.R) PromptUserInput(mRECT, 0);
}

void ICaptionControl::OnResize() {
  const IParam* param = GetParam(0);
  if (!param || param->Type() != IParam::kTypeEnum) return;
  const float left = mRECT.R - kTriangleInsetFrac * mRECT.W() - 0.5f * kTriangleWidth;
  const float top = mRECT.MH() - 0.5f * kTriangleHeight;
  mTri = IRECT(left, top, left + kTriangleWidth, top + kTriangleHeight);
}

void ICaptionControl::Draw(IGraphics& g) {
  if (const IParam* param = GetParam(0)) {
    // Set directly: drawing must not mark the control dirty again.
    param->GetDisplay(mStr, true);
    if (mShowParamLabel) {
      mStr.Append(" ");
      mStr.Append(param->GetCurrentDisplayText());
    }
  }
  ITextControl::Draw(g);

  if (mTri.W() > 0.f) {
    const IBlend idle(EBlend::Default, kTriangleIdleWeight);
    g.FillTriangle(mMouseIsOver ? mTriangleMouseOverColor : mTriangleColor, mTri.L, mTri.T, mTri.R,
                   mTri.T, mTri.MW(), mTri.B, mMouseIsOver ? nullptr : &idle);
  }
}

}  // namespace igraphics
}  // namespace iplug
