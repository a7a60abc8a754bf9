#pragma once

// A text control bound to a parameter: it shows the parameter's display text (optionally with
// its display label) and, when clicked, asks the graphics context for a new value: a menu of the
// display texts, or a text entry. Enumerated parameters get a small triangle that marks the
// menu.

#include "controls/ITextControl.h"

namespace iplug {
namespace igraphics {

class ICaptionControl : public ITextControl {
 public:
  // Size of the menu triangle.
  static constexpr float kTriangleWidth = 8.f;
  static constexpr float kTriangleHeight = 5.f;
  // The triangle is centred this fraction of the width in from the right edge.
  static constexpr float kTriangleInsetFrac = 0.1f;
  // Blend weight of the triangle while the pointer is not over the control.
  static constexpr float kTriangleIdleWeight = 0.5f;

  ICaptionControl(const IRECT& bounds, int paramIdx, const IText& text = DEFAULT_TEXT,
                  const IColor& bgColor = DEFAULT_BGCOLOR, bool showParamLabel = true);
  ~ICaptionControl() override = default;

  void OnMouseDown(float x, float y, const IMouseMod& mod) override;
  void OnResize() override;
  void Draw(IGraphics& g) override;

  const IRECT& GetTriangleRECT() const { return mTri; }
  void SetTriangleColors(const IColor& color, const IColor& mouseOverColor) {
    mTriangleColor = color;
    mTriangleMouseOverColor = mouseOverColor;
    SetDirty(false);
  }

 protected:
  bool mShowParamLabel = true;
  IColor mTriangleColor = COLOR_BLACK;
  IColor mTriangleMouseOverColor = COLOR_WHITE;
  IRECT mTri;
};

}  // namespace igraphics
}  // namespace iplug
