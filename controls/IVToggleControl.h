#pragma once

// A two-state switch that stays drawn pressed while on and shows an "off" or an "on" text in
// its shape.

#include "controls/IVSwitchControl.h"
#include "framework/WDLString.h"

namespace iplug {
namespace igraphics {

class IVToggleControl : public IVSwitchControl {
 public:
  // Bound to a parameter, with the splash click action. Null texts count as empty.
  IVToggleControl(const IRECT& bounds, int paramIdx = kNoParameter, const char* label = "",
                  const IVStyle& style = DEFAULT_STYLE, const char* offText = "off",
                  const char* onText = "on");
  // Unbound, with the given action; starts on when initialState is set.
  IVToggleControl(const IRECT& bounds, IActionFunction actionFunc, const char* label = "",
                  const IVStyle& style = DEFAULT_STYLE, const char* offText = "off",
                  const char* onText = "on", bool initialState = false);

  void DrawWidget(IGraphics& g) override;
  // The on text above 0.5, else the off text; with mouseOver, the value area is highlighted.
  void DrawValue(IGraphics& g, bool mouseOver) override;

  const char* GetOffText() const { return mOffText.Get(); }
  const char* GetOnText() const { return mOnText.Get(); }

 protected:
  WDL_String mOffText;
  WDL_String mOnText;
};

}  // namespace igraphics
}  // namespace iplug
