#pragma once

// An underlined link text that opens its address when clicked. It shows the mouse-over colour
// under the pointer, the clicked colour once the address has been opened, and otherwise the
// colour of its text style.

#include "controls/ITextControl.h"

namespace iplug {
namespace igraphics {

class IURLControl : public ITextControl {
 public:
  // The pointer shown over the link, a number of the graphics context's cursor set.
  static constexpr int kLinkCursor = 11;

  // A null text or address counts as empty; an empty address opens nothing.
  IURLControl(const IRECT& bounds, const char* str, const char* url,
              const IText& text = DEFAULT_TEXT, const IColor& bgColor = DEFAULT_BGCOLOR,
              const IColor& mouseOverColor = COLOR_WHITE, const IColor& clickedColor = COLOR_BLUE);
  ~IURLControl() override = default;

  // Opens the address; the link counts as visited only when the graphics context opened it.
  void OnMouseDown(float x, float y, const IMouseMod& mod) override;
  void OnMouseOver(float x, float y, const IMouseMod& mod) override;
  void OnMouseOut() override;
  void Draw(IGraphics& g) override;
  // The new style's colour becomes the colour before a visit.
  void SetText(const IText& text) override;

  const char* GetURL() const { return mURLStr.Get(); }
  bool GetClicked() const { return mClicked; }

 private:
  WDL_String mURLStr;
  IColor mOriginalColor;
  IColor mMouseOverColor;
  IColor mClickedColor;
  bool mClicked = false;
};

}  // namespace igraphics
}  // namespace iplug
