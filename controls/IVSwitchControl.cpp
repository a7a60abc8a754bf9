#include "controls/IVSwitchControl.h"

#include "graphics/IGraphics.h"

namespace iplug {
namespace igraphics {

IVSwitchControl::IVSwitchControl(const IRECT& bounds, int paramIdx, const char* label,
                                 const IVStyle& style, bool valueInButton)
    : ISwitchControlBase(bounds, paramIdx, SplashClickActionFunc, 2),
      IVectorBase(style, false, valueInButton) {
  AttachIControl(this, label);
  CentreValueText(valueInButton);
}

IVSwitchControl::IVSwitchControl(const IRECT& bounds, IActionFunction actionFunc, const char* label,
                                 const IVStyle& style, int numStates, bool valueInButton)
    : ISwitchControlBase(bounds, kNoParameter, std::move(actionFunc), numStates),
      IVectorBase(style, false, valueInButton) {
  AttachIControl(this, label);
  CentreValueText(valueInButton);
}

void IVSwitchControl::CentreValueText(bool valueInButton) {
  if (valueInButton) mStyle.valueText.mVAlign = EVAlign::Middle;
  mText = mStyle.valueText;
}

void IVSwitchControl::Draw(IGraphics& g) {
  DrawBackground(g, mRECT);
  DrawLabel(g);
  DrawWidget(g);
  DrawValue(g, false);
}

void IVSwitchControl::DrawWidget(IGraphics& g) {
  DrawPressableShape(g, mShape, mWidgetBounds, mMouseDown, mMouseIsOver, IsDisabled());
}

void IVSwitchControl::OnMouseOut() {
  IControl::OnMouseOut();
  SetDirty(false);
}

void IVSwitchControl::OnResize() {
  SetTargetRECT(MakeRects(mRECT, true));
  mMouseIsOver = false;
  SetDirty(false);
}

void IVSwitchControl::OnInit() {
  ISwitchControlBase::OnInit();
  const IParam* param = GetParam(0);
  if (!param) return;
  WDL_String str;
  param->GetDisplay(str);
  if (*param->GetLabel()) {
    str.Append(" ");
    str.Append(param->GetLabel());
  }
  mValueStr.Set(str.Get());
  if (mLabelStr.GetLength() == 0) mLabelStr.Set(param->GetName());
}

bool IVSwitchControl::IsHit(float x, float y) const {
  return mWidgetBounds.Contains(x, y);
}

void IVSwitchControl::SetDirty(bool triggerAction, int valIdx) {
  IControl::SetDirty(triggerAction, kNoValIdx);
  if (const IParam* param = GetParam(0)) {
    WDL_String str;
    param->GetDisplay(str);
    mValueStr.Set(str.Get());
  }
}

}  // namespace igraphics
}  // namespace iplug
