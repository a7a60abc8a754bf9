#pragma once

// The style of a vector-drawn control: its nine colours, its text styles and its shape.

#include <algorithm>
#include <initializer_list>

#include "graphics/IColor.h"
#include "graphics/IText.h"

namespace iplug {
namespace igraphics {

// The nine colours of a vector style, by index.
enum EVColor {
  kBG = 0,
  kFG = 1,
  kPR = 2,
  kFR = 3,
  kHL = 4,
  kSH = 5,
  kX1 = 6,
  kX2 = 7,
  kX3 = 8,
  kNumVColors = 9
};

inline constexpr IColor DEFAULT_BGCOLOR = COLOR_TRANSPARENT;
inline constexpr IColor DEFAULT_FGCOLOR = COLOR_MID_GRAY;
inline constexpr IColor DEFAULT_PRCOLOR = COLOR_LIGHT_GRAY;
inline constexpr IColor DEFAULT_FRCOLOR = COLOR_DARK_GRAY;
inline constexpr IColor DEFAULT_HLCOLOR = COLOR_TRANSLUCENT;
inline constexpr IColor DEFAULT_SHCOLOR(60, 0, 0, 0);
inline constexpr IColor DEFAULT_X1COLOR = COLOR_BLACK;
inline constexpr IColor DEFAULT_X2COLOR = COLOR_GREEN;
inline constexpr IColor DEFAULT_X3COLOR = COLOR_BLUE;

struct IVColorSet {
  IColor mColors[kNumVColors] = {DEFAULT_BGCOLOR, DEFAULT_FGCOLOR, DEFAULT_PRCOLOR,
                                 DEFAULT_FRCOLOR, DEFAULT_HLCOLOR, DEFAULT_SHCOLOR,
                                 DEFAULT_X1COLOR, DEFAULT_X2COLOR, DEFAULT_X3COLOR};

  IVColorSet() = default;
  // The listed colours fill the first entries; the rest keep their defaults. Only the
  // first nine of a longer list are taken.
  IVColorSet(std::initializer_list<IColor> colors) {
    int i = 0;
    for (const IColor& c : colors) {
      if (i >= kNumVColors) break;
      mColors[i++] = c;
    }
  }

  const IColor& GetColor(EVColor idx) const { return mColors[ClampIndex(idx)]; }
  const IColor& GetColor(int idx) const { return mColors[ClampIndex(idx)]; }
  void SetColor(int idx, const IColor& c) {
    if (idx >= 0 && idx < kNumVColors) mColors[idx] = c;
  }
  IColor& operator[](int idx) { return mColors[ClampIndex(idx)]; }
  const IColor& operator[](int idx) const { return mColors[ClampIndex(idx)]; }

 private:
  static int ClampIndex(int idx) { return std::clamp(idx, 0, kNumVColors - 1); }
};

inline const IVColorSet DEFAULT_COLOR_SPEC{};

// The style of a vector-drawn control.
struct IVStyle {
  bool showLabel = true;
  bool showValue = true;
  bool drawFrame = true;
  bool drawShadows = true;
  bool emboss = false;
  bool hideCursor = true;
  float roundness = 0.f;
  float frameThickness = 1.f;
  float shadowOffset = 3.f;
  float widgetFrac = 1.f;
  float angle = 0.f;
  IVColorSet colorSpec = DEFAULT_COLOR_SPEC;
  IText labelText = DEFAULT_LABEL_TEXT;
  IText valueText = DEFAULT_VALUE_TEXT;

  IVStyle() = default;
  IVStyle(std::initializer_list<IColor> colors) : colorSpec(colors) {}

  const IColor& GetColor(EVColor idx) const { return colorSpec.GetColor(idx); }

  IVStyle WithShowLabel(bool show = true) const {
    IVStyle s = *this;
    s.showLabel = show;
    return s;
  }
  IVStyle WithShowValue(bool show = true) const {
    IVStyle s = *this;
    s.showValue = show;
    return s;
  }
  IVStyle WithDrawFrame(bool draw = true) const {
    IVStyle s = *this;
    s.drawFrame = draw;
    return s;
  }
  IVStyle WithDrawShadows(bool draw = true) const {
    IVStyle s = *this;
    s.drawShadows = draw;
    return s;
  }
  IVStyle WithRoundness(float v) const {
    IVStyle s = *this;
    s.roundness = std::clamp(v, 0.f, 1.f);
    return s;
  }
  IVStyle WithFrameThickness(float v) const {
    IVStyle s = *this;
    s.frameThickness = v;
    return s;
  }
  IVStyle WithShadowOffset(float v) const {
    IVStyle s = *this;
    s.shadowOffset = v;
    return s;
  }
  IVStyle WithWidgetFrac(float v) const {
    IVStyle s = *this;
    s.widgetFrac = std::clamp(v, 0.f, 1.f);
    return s;
  }
  IVStyle WithAngle(float v) const {
    IVStyle s = *this;
    s.angle = v;
    return s;
  }
  IVStyle WithColors(const IVColorSet& c) const {
    IVStyle s = *this;
    s.colorSpec = c;
    return s;
  }
  IVStyle WithColor(EVColor idx, const IColor& c) const {
    IVStyle s = *this;
    s.colorSpec.SetColor(idx, c);
    return s;
  }
  IVStyle WithLabelText(const IText& t) const {
    IVStyle s = *this;
    s.labelText = t;
    return s;
  }
  IVStyle WithValueText(const IText& t) const {
    IVStyle s = *this;
    s.valueText = t;
    return s;
  }
};

inline const IVStyle DEFAULT_STYLE{};

}  // namespace igraphics
}  // namespace iplug
