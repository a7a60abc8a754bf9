#include "controls/IVRadioButtonControl.h"

#include <algorithm>
#include <cmath>

#include "base/Log.h"
#include "graphics/IGraphics.h"

namespace iplug {
namespace igraphics {

IVRadioButtonControl::IVRadioButtonControl(const IRECT& bounds, int paramIdx,
                                           std::initializer_list<const char*> options,
                                           const char* label, const IVStyle& style, int shape,
                                           EDirection direction, float buttonSize)
    : IVTabSwitchControl(bounds, paramIdx, options, label, style, shape, direction) {
  SetButtonSize(buttonSize);
}

IVRadioButtonControl::IVRadioButtonControl(const IRECT& bounds, IActionFunction actionFunc,
                                           std::initializer_list<const char*> options,
                                           const char* label, const IVStyle& style, int shape,
                                           EDirection direction, float buttonSize)
    : IVTabSwitchControl(bounds, std::move(actionFunc), options, label, style, shape, direction) {
  SetButtonSize(buttonSize);
}

void IVRadioButtonControl::SetButtonSize(float size) {
  // The button area is three sizes wide: a size whose area is not finite would carry infinite
  // coordinates into the layout and the drawing.
  if (!std::isfinite(kButtonAreaWidthFactor * size) || size < 0.f) {
    base::warn("controls", "IVRadioButtonControl: button size %g; %g is used",
               static_cast<double>(size), static_cast<double>(kDefaultButtonSize));
    size = kDefaultButtonSize;
  }
  mButtonSize = size;
  mButtonAreaWidth = kButtonAreaWidthFactor * size;
  AlignValueText(EAlign::Near, EVAlign::Middle);
}

IRECT IVRadioButtonControl::GetRadioButtonRect(int k) const {
  const IRECT r = GetButtonRect(k);
  if (r.Empty()) return IRECT();
  const float s = std::max(1.f, mButtonSize);
  const float cx = r.L + 0.5f * mButtonAreaWidth, cy = r.MH();
  return IRECT(cx - 0.5f * s, cy - 0.5f * s, cx + 0.5f * s, cy + 0.5f * s);
}

void IVRadioButtonControl::DrawWidget(IGraphics& g) {
  const int selected = GetSelectedIdx();
  for (int k = 0; k < NDrawnTabs(); ++k) {
    const IRECT& r = mButtons[static_cast<size_t>(k)];
    WithTabBlend(k, [&] {
      DrawButton(g, GetRadioButtonRect(k), k == selected, k == mMouseOverButton, ETabSegment::Mid,
                 TabDisabled(k));
      if (const char* text = GetTabLabel(k)) {
        const IText rowText = mStyle.valueText.WithFGColor(GetColor(k == selected ? kPR : kX1));
        g.DrawText(rowText, text, IRECT(r.L + mButtonAreaWidth, r.T, r.R, r.B), &mBlend);
      }
    });
  }
}

int IVRadioButtonControl::GetButtonForPoint(float x, float y) const {
  if (!mOnlyButtonsRespondToMouse) return IVTabSwitchControl::GetButtonForPoint(x, y);
  for (int k = 0; k < NButtons(); ++k) {
    const IRECT& r = mButtons[static_cast<size_t>(k)];
    if (IRECT(r.L, r.T, r.L + mButtonAreaWidth, r.B).Contains(x, y)) return k;
  }
  return -1;
}

}  // namespace igraphics
}  // namespace iplug
