#pragma once

// A text that toggles between an off text and an on text on each click. The text shown follows
// the value however it changed, from a click or from the bound parameter.

#include "controls/ITextControl.h"

namespace iplug {
namespace igraphics {

class ITextToggleControl : public ITextControl {
 public:
  // Null texts count as empty.
  ITextToggleControl(const IRECT& bounds, int paramIdx = kNoParameter, const char* offText = "OFF",
                     const char* onText = "ON", const IText& text = DEFAULT_TEXT,
                     const IColor& bgColor = DEFAULT_BGCOLOR);
  ITextToggleControl(const IRECT& bounds, IActionFunction action, const char* offText = "OFF",
                     const char* onText = "ON", const IText& text = DEFAULT_TEXT,
                     const IColor& bgColor = DEFAULT_BGCOLOR);
  ~ITextToggleControl() override = default;

  void OnMouseDown(float x, float y, const IMouseMod& mod) override;
  // Shows the on text above 0.5, else the off text, then redraws with every slot.
  void SetDirty(bool triggerAction = true, int valIdx = kNoValIdx) override;

 private:
  WDL_String mOffText;
  WDL_String mOnText;
};

}  // namespace igraphics
}  // namespace iplug
