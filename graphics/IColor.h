#pragma once

// A colour of four 0..255 components, the named colours, and the colour chooser's answer.

#include <algorithm>
#include <cmath>
#include <functional>

namespace iplug {
namespace igraphics {

// A colour of four 0..255 components; default opaque black.
struct IColor {
  int A = 255, R = 0, G = 0, B = 0;

  constexpr IColor() = default;
  constexpr IColor(int a, int r, int g, int b) : A(a), R(r), G(g), B(b) {}

  bool operator==(const IColor& o) const { return A == o.A && R == o.R && G == o.G && B == o.B; }
  bool operator!=(const IColor& o) const { return !(*this == o); }

  void Clamp() {
    A = std::clamp(A, 0, 255);
    R = std::clamp(R, 0, 255);
    G = std::clamp(G, 0, 255);
    B = std::clamp(B, 0, 255);
  }
  // The same colour with alpha replaced by a 0..1 opacity.
  IColor WithOpacity(float alpha) const {
    IColor c = *this;
    const float a = std::isfinite(alpha) ? std::clamp(alpha, 0.f, 1.f) : 0.f;
    c.A = static_cast<int>(std::lround(a * 255.f));
    return c;
  }
  IColor WithContrast(float c) const;
  // A colour from hue (turns, taken modulo 1), saturation, lightness and alpha, each 0..1.
  // Out-of-range saturation, lightness and alpha are clamped; a NaN component counts as 0.
  static IColor FromHSLA(float h, float s, float l, float a = 1.f);
};

inline IColor IColor::WithContrast(float c) const {
  const float k = std::isfinite(c) ? c : 0.f;
  auto adjust = [k](int v) { return std::clamp(static_cast<int>(std::lround(v + v * k)), 0, 255); };
  return IColor(A, adjust(R), adjust(G), adjust(B));
}

inline IColor IColor::FromHSLA(float h, float s, float l, float a) {
  auto unit = [](double v) { return std::isnan(v) ? 0. : std::clamp(v, 0., 1.); };
  // Components are truncated to 0..255. One that falls a rounding error short of a whole
  // number (a full channel computed as 0.99999...) counts as that number, not one less.
  auto component = [&unit](double v) { return static_cast<int>(unit(v) * 255. + 1e-9); };
  // An infinite hue has no place on the circle and counts as 0, as NaN does.
  double hue = std::isfinite(h) ? std::fmod(static_cast<double>(h), 1.) : 0.;
  if (hue < 0.) hue += 1.;
  const double sat = unit(s), light = unit(l);
  const double q = light <= 0.5 ? light * (1. + sat) : light + sat - light * sat;
  const double p = 2. * light - q;
  auto channel = [p, q, &component](double t) {
    if (t < 0.) t += 1.;
    if (t > 1.) t -= 1.;
    if (t < 1. / 6.) return component(p + (q - p) * 6. * t);
    if (t < 0.5) return component(q);
    if (t < 2. / 3.) return component(p + (q - p) * (2. / 3. - t) * 6.);
    return component(p);
  };
  return IColor(component(a), channel(hue + 1. / 3.), channel(hue), channel(hue - 1. / 3.));
}

inline constexpr IColor COLOR_TRANSPARENT(0, 0, 0, 0);
inline constexpr IColor COLOR_TRANSLUCENT(10, 0, 0, 0);
inline constexpr IColor COLOR_BLACK(255, 0, 0, 0);
inline constexpr IColor COLOR_WHITE(255, 255, 255, 255);
inline constexpr IColor COLOR_RED(255, 255, 0, 0);
inline constexpr IColor COLOR_GREEN(255, 0, 255, 0);
inline constexpr IColor COLOR_BLUE(255, 0, 0, 255);
inline constexpr IColor COLOR_YELLOW(255, 255, 255, 0);
inline constexpr IColor COLOR_ORANGE(255, 255, 127, 0);
inline constexpr IColor COLOR_GRAY(255, 127, 127, 127);
inline constexpr IColor COLOR_LIGHT_GRAY(255, 240, 240, 240);
inline constexpr IColor COLOR_MID_GRAY(255, 200, 200, 200);
inline constexpr IColor COLOR_DARK_GRAY(255, 70, 70, 70);

using IColorPickerHandlerFunc = std::function<void(const IColor&)>;

}  // namespace igraphics
}  // namespace iplug
