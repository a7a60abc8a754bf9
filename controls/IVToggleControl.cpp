#include "controls/IVToggleControl.h"

#include "graphics/IGraphics.h"

namespace iplug {
namespace igraphics {

namespace {
// The value above which the toggle is on.
constexpr double kOnThreshold = 0.5;
}  // namespace

IVToggleControl::IVToggleControl(const IRECT& bounds, int paramIdx, const char* label,
                                 const IVStyle& style, const char* offText, const char* onText)
    : IVSwitchControl(bounds, paramIdx, label, style, true),
      mOffText(offText ? offText : ""),
      mOnText(onText ? onText : "") {}

IVToggleControl::IVToggleControl(const IRECT& bounds, IActionFunction actionFunc, const char* label,
                                 const IVStyle& style, const char* offText, const char* onText,
                                 bool initialState)
    : IVSwitchControl(bounds, std::move(actionFunc), label, style, 2, true),
      mOffText(offText ? offText : ""),
      mOnText(onText ? onText : "") {
  SetValue(initialState ? 1. : 0.);
}

void IVToggleControl::DrawWidget(IGraphics& g) {
  DrawPressableShape(g, mShape, mWidgetBounds, GetValue(0) > kOnThreshold, mMouseIsOver,
                     IsDisabled());
}

void IVToggleControl::DrawValue(IGraphics& g, bool mouseOver) {
  if (mouseOver) g.FillRect(GetColor(kHL), mValueBounds, OwnerBlend());
  const WDL_String& str = GetValue(0) > kOnThreshold ? mOnText : mOffText;
  g.DrawText(mStyle.valueText, str.Get(), mValueBounds, OwnerBlend());
}

}  // namespace igraphics
}  // namespace iplug
