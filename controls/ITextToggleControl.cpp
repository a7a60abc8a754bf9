#include "controls/ITextToggleControl.h"

namespace iplug {
namespace igraphics {

ITextToggleControl::ITextToggleControl(const IRECT& bounds, int paramIdx, const char* offText,
                                       const char* onText, const IText& text, const IColor& bgColor)
    : ITextControl(bounds, offText, text, bgColor),
      mOffText(offText ? offText : ""),
      mOnText(onText ? onText : "") {
  SetParamIdx(paramIdx, 0);
  mIgnoreMouse = false;
  mDblAsSingleClick = true;
}

ITextToggleControl::ITextToggleControl(const IRECT& bounds, IActionFunction action,
                                       const char* offText, const char* onText, const IText& text,
                                       const IColor& bgColor)
    : ITextControl(bounds, offText, text, bgColor),
      mOffText(offText ? offText : ""),
      mOnText(onText ? onText : "") {
  SetActionFunction(std::move(action));
  mIgnoreMouse = false;
  mDblAsSingleClick = true;
}

void ITextToggleControl::OnMouseDown(float x, float y, const IMouseMod& mod) {
  SetValue(GetValue() < 0.5 ? 1.0 : 0.0, 0);
  SetDirty(true, 0);
}

void ITextToggleControl::SetDirty(bool triggerAction, int valIdx) {
  SetStr(GetValue() > 0.5 ? mOnText.Get() : mOffText.Get());
  ITextControl::SetDirty(triggerAction, kNoValIdx);
}

}  // namespace igraphics
}  // namespace iplug
