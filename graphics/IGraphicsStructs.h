#pragma once

// The plain value records of the graphics core: rectangles, colours, blends,
// patterns, text styles, mouse modifiers, vector styles and resource handles.

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <functional>
#include <initializer_list>
#include <memory>
#include <vector>

#include "base/Finite.h"
#include "framework/WDLString.h"

namespace iplug {
namespace igraphics {

class APIBitmap;  // a decoded image held by the graphics core's bitmap cache
struct SVGHolder; // a parsed SVG image held by the graphics core's SVG cache

enum class EDirection { Vertical = 0, Horizontal = 1 };

enum class EAlign { Near = 0, Center = 1, Far = 2 };
enum class EVAlign { Top = 0, Middle = 1, Bottom = 2 };

enum class EBlend : int32_t { Default = 0, Clobber, SourceOver, SourceIn, SourceOut,
                              SourceAtop, DestOver, DestIn, DestOut, DestAtop, Add, XOR };

// A rectangle in editor points; empty when all four edges are 0.
struct IRECT {
  float L = 0.f, T = 0.f, R = 0.f, B = 0.f;

  IRECT() = default;
  IRECT(float l, float t, float r, float b) : L(l), T(t), R(r), B(b) {}

  static IRECT MakeXYWH(float l, float t, float w, float h) { return IRECT(l, t, l + w, t + h); }

  bool Empty() const { return L == 0.f && T == 0.f && R == 0.f && B == 0.f; }
  float W() const { return R - L; }
  float H() const { return B - T; }
  float MW() const { return 0.5f * (L + R); }
  float MH() const { return 0.5f * (T + B); }
  float Area() const { return W() * H(); }

  bool operator==(const IRECT& o) const { return L == o.L && T == o.T && R == o.R && B == o.B; }
  bool operator!=(const IRECT& o) const { return !(*this == o); }

  bool Contains(const IRECT& o) const {
    return !Empty() && !o.Empty() && o.L >= L && o.R <= R && o.T >= T && o.B <= B;
  }
  bool Contains(float x, float y) const { return !Empty() && x >= L && x < R && y >= T && y < B; }
  bool ContainsEdge(float x, float y) const { return !Empty() && x >= L && x <= R && y >= T && y <= B; }
  bool Intersects(const IRECT& o) const {
    return !Empty() && !o.Empty() && o.L < R && L < o.R && o.T < B && T < o.B;
  }

  IRECT Union(const IRECT& o) const {
    if (Empty()) return o;
    if (o.Empty()) return *this;
    return IRECT(std::min(L, o.L), std::min(T, o.T), std::max(R, o.R), std::max(B, o.B));
  }
  IRECT Intersect(const IRECT& o) const {
    if (!Intersects(o)) return IRECT();
    return IRECT(std::max(L, o.L), std::max(T, o.T), std::min(R, o.R), std::min(B, o.B));
  }

  // Grows (positive) or shrinks (negative) every edge.
  IRECT GetPadded(float p) const { return IRECT(L - p, T - p, R + p, B + p); }
  IRECT GetPadded(float l, float t, float r, float b) const { return IRECT(L + l, T + t, R + r, B + b); }
  IRECT GetHPadded(float p) const { return IRECT(L - p, T, R + p, B); }
  IRECT GetVPadded(float p) const { return IRECT(L, T - p, R, B + p); }
  IRECT GetMidHPadded(float p) const { return IRECT(MW() - p, T, MW() + p, B); }
  IRECT GetMidVPadded(float p) const { return IRECT(L, MH() - p, R, MH() + p); }
  IRECT GetTranslated(float x, float y) const { return IRECT(L + x, T + y, R + x, B + y); }
  IRECT GetHShifted(float x) const { return GetTranslated(x, 0.f); }
  IRECT GetVShifted(float y) const { return GetTranslated(0.f, y); }

  IRECT GetFromTop(float h) const { return IRECT(L, T, R, T + h); }
  IRECT GetFromBottom(float h) const { return IRECT(L, B - h, R, B); }
  IRECT GetFromLeft(float w) const { return IRECT(L, T, L + w, B); }
  IRECT GetFromRight(float w) const { return IRECT(R - w, T, R, B); }
  IRECT GetReducedFromTop(float h) const { return IRECT(L, T + h, R, B); }
  IRECT GetReducedFromBottom(float h) const { return IRECT(L, T, R, B - h); }
  IRECT GetReducedFromLeft(float w) const { return IRECT(L + w, T, R, B); }
  IRECT GetReducedFromRight(float w) const { return IRECT(L, T, R - w, B); }

  // Scales about the centre.
  IRECT GetScaledAboutCentre(float s) const {
    const float x = MW(), y = MH(), hw = 0.5f * W() * s, hh = 0.5f * H() * s;
    return IRECT(x - hw, y - hh, x + hw, y + hh);
  }
  // A w x h rectangle centred in this one (the current size for a dimension given as 0).
  IRECT GetCentredInside(float w, float h = 0.f) const {
    if (h <= 0.f) h = w;
    return IRECT(MW() - 0.5f * w, MH() - 0.5f * h, MW() + 0.5f * w, MH() + 0.5f * h);
  }
  IRECT GetCentredInside(const IRECT& sr) const { return GetCentredInside(sr.W(), sr.H()); }

  // Splits into n equal parts along the direction and returns part i.
  IRECT SubRect(EDirection dir, int n, int i) const {
    if (n <= 0) return *this;
    if (dir == EDirection::Vertical) {
      const float h = H() / n;
      return IRECT(L, T + h * i, R, T + h * (i + 1));
    }
    const float w = W() / n;
    return IRECT(L + w * i, T, L + w * (i + 1), B);
  }

  void Clank(const IRECT& rhs);  // moves inside rhs without resizing when it fits
  void PixelAlign() { L = std::floor(L); T = std::floor(T); R = std::ceil(R); B = std::ceil(B); }
  IRECT GetPixelAligned() const { IRECT r = *this; r.PixelAlign(); return r; }
  void Scale(float s) { L *= s; T *= s; R *= s; B *= s; }
  IRECT GetScaled(float s) const { IRECT r = *this; r.Scale(s); return r; }
};

inline void IRECT::Clank(const IRECT& rhs) {
  if (L < rhs.L) { R += rhs.L - L; L = rhs.L; }
  if (T < rhs.T) { B += rhs.T - T; T = rhs.T; }
  if (R > rhs.R) { L -= R - rhs.R; R = rhs.R; }
  if (B > rhs.B) { T -= B - rhs.B; B = rhs.B; }
}

// A colour of four 0..255 components; default opaque black.
struct IColor {
  int A = 255, R = 0, G = 0, B = 0;

  constexpr IColor() = default;
  constexpr IColor(int a, int r, int g, int b) : A(a), R(r), G(g), B(b) {}

  bool operator==(const IColor& o) const { return A == o.A && R == o.R && G == o.G && B == o.B; }
  bool operator!=(const IColor& o) const { return !(*this == o); }

  void Clamp() {
    A = std::clamp(A, 0, 255); R = std::clamp(R, 0, 255);
    G = std::clamp(G, 0, 255); B = std::clamp(B, 0, 255);
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

// How drawing combines with what is underneath; the weight is the opacity.
struct IBlend {
  EBlend mMethod = EBlend::Default;
  float mWeight = 1.f;

  IBlend() = default;
  IBlend(EBlend method, float weight = 1.f) : mMethod(method), mWeight(weight) {}
};

inline float BlendWeight(const IBlend* blend) { return blend ? blend->mWeight : 1.f; }

enum class EPatternType : int32_t { Solid = 0, Linear = 1, Radial = 2, Sweep = 3 };
enum class EPatternExtend : int32_t { None = 0, Pad = 1, Reflect = 2, Repeat = 3 };
enum class EFillRule { Winding = 0, EvenOdd = 1 };
enum class ELineCap { Butt = 0, Round, Square };
enum class ELineJoin { Miter = 0, Round, Bevel };
// The direction an arc is traced in, as seen on screen.
enum class EWinding { CW = 0, CCW = 1 };

// A 2D affine transform: x' = xx*x + xy*y + tx, y' = yx*x + yy*y + ty.
struct IMatrix {
  double mXX = 1.0, mYX = 0.0, mXY = 0.0, mYY = 1.0, mTX = 0.0, mTY = 0.0;

  IMatrix() = default;
  IMatrix(double xx, double yx, double xy, double yy, double tx, double ty)
      : mXX(xx), mYX(yx), mXY(xy), mYY(yy), mTX(tx), mTY(ty) {}
};

struct IColorStop {
  IColor mColor;
  float mOffset = 0.f;
};

// A solid colour or a gradient of up to 16 stops, in pattern space mapped by mTransform.
struct IPattern {
  static constexpr int kMaxStops = 16;

  EPatternType mType = EPatternType::Solid;
  EPatternExtend mExtend = EPatternExtend::Pad;
  IColorStop mStops[kMaxStops];
  int mNStops = 0;
  IMatrix mTransform;

  IPattern() = default;
  IPattern(const IColor& color) : mType(EPatternType::Solid) { AddStop(color, 0.f); }
  explicit IPattern(EPatternType type) : mType(type) {}

  // Adds a stop; beyond 16 stops the extra ones are ignored.
  void AddStop(const IColor& color, float offset) {
    if (mNStops >= kMaxStops) return;
    mStops[mNStops++] = {color, offset};
  }
  int NStops() const { return mNStops; }

  // mTransform maps drawing space to pattern space. In pattern space a linear gradient runs
  // along x from offset 0 at x = 0 to offset 1 at x = 1, and a radial gradient from offset 0 at
  // the origin to offset 1 on the unit circle. A line of zero length or a radius of 0 gives a
  // transform that cannot be inverted; such a pattern draws nothing.
  static IPattern CreateLinearGradient(float x1, float y1, float x2, float y2,
                                       std::initializer_list<IColorStop> stops = {}) {
    IPattern p(EPatternType::Linear);
    const double dx = static_cast<double>(x2) - x1, dy = static_cast<double>(y2) - y1;
    const double len2 = dx * dx + dy * dy;
    if (len2 > 0.0) {
      // Projection onto the line (x) and onto its normal (y), both in units of its length.
      const double xx = dx / len2, xy = dy / len2;
      p.mTransform = IMatrix(xx, -xy, xy, xx, -(xx * x1 + xy * y1), xy * x1 - xx * y1);
    } else {
      p.mTransform = IMatrix(0.0, 0.0, 0.0, 0.0, 0.0, 0.0);
    }
    for (const IColorStop& s : stops) p.AddStop(s.mColor, s.mOffset);
    return p;
  }
  static IPattern CreateRadialGradient(float cx, float cy, float r,
                                       std::initializer_list<IColorStop> stops = {}) {
    IPattern p(EPatternType::Radial);
    if (r > 0.f) {
      const double k = 1.0 / r;
      p.mTransform = IMatrix(k, 0.0, 0.0, k, -cx * k, -cy * k);
    } else {
      p.mTransform = IMatrix(0.0, 0.0, 0.0, 0.0, 0.0, 0.0);
    }
    for (const IColorStop& s : stops) p.AddStop(s.mColor, s.mOffset);
    return p;
  }
  const IColorStop& GetStop(int i) const { return mStops[std::clamp(i, 0, kMaxStops - 1)]; }
  IColor GetColor() const { return mNStops > 0 ? mStops[0].mColor : IColor(); }
};

struct IFillOptions {
  EFillRule mFillRule = EFillRule::Winding;
  bool mPreserve = false;
};

struct IStrokeOptions {
  float mMiterLimit = 10.f;
  ELineCap mCapOption = ELineCap::Butt;
  ELineJoin mJoinOption = ELineJoin::Miter;
  bool mPreserve = false;
  // Dash lengths; none is a solid line.
  static constexpr int kMaxDashes = 8;
  float mDashArray[kMaxDashes] = {};
  int mDashCount = 0;
  float mDashOffset = 0.f;
};

inline constexpr const char* DEFAULT_FONT = "Roboto-Regular";
inline constexpr float DEFAULT_TEXT_SIZE = 14.f;

// A text style. The font name is kept in a fixed buffer, cut at 63 bytes.
struct IText {
  static constexpr int kMaxFontNameLen = 63;

  char mFont[kMaxFontNameLen + 1] = {};
  float mSize = DEFAULT_TEXT_SIZE;
  IColor mFGColor = COLOR_BLACK;
  IColor mTextEntryBGColor = COLOR_WHITE;
  IColor mTextEntryFGColor = COLOR_BLACK;
  float mAngle = 0.f;
  EAlign mAlign = EAlign::Center;
  EVAlign mVAlign = EVAlign::Middle;

  IText(float size = DEFAULT_TEXT_SIZE, const IColor& color = COLOR_BLACK,
        const char* font = nullptr, EAlign align = EAlign::Center,
        EVAlign valign = EVAlign::Middle, float angle = 0.f,
        const IColor& teBG = COLOR_WHITE, const IColor& teFG = COLOR_BLACK)
      : mSize(size), mFGColor(color), mTextEntryBGColor(teBG), mTextEntryFGColor(teFG),
        mAngle(angle), mAlign(align), mVAlign(valign) {
    SetFont(font ? font : DEFAULT_FONT);
  }
  IText(float size, EVAlign valign, const IColor& color = COLOR_BLACK) : IText(size, color) {
    mVAlign = valign;
  }
  IText(float size, EAlign align, const IColor& color = COLOR_BLACK) : IText(size, color) {
    mAlign = align;
  }

  // Copies the name, cut at 63 bytes so it never runs past the buffer.
  void SetFont(const char* font) {
    if (!font) font = "";
    std::size_t n = std::strlen(font);
    if (n > static_cast<std::size_t>(kMaxFontNameLen)) n = kMaxFontNameLen;
    std::memcpy(mFont, font, n);
    mFont[n] = '\0';
  }

  IText WithFGColor(const IColor& c) const { IText t = *this; t.mFGColor = c; return t; }
  IText WithSize(float s) const { IText t = *this; t.mSize = s; return t; }
  IText WithAlign(EAlign a) const { IText t = *this; t.mAlign = a; return t; }
  IText WithVAlign(EVAlign a) const { IText t = *this; t.mVAlign = a; return t; }
  IText WithAngle(float a) const { IText t = *this; t.mAngle = a; return t; }
};

// Places a w x h text box inside bounds by the style's horizontal and vertical alignment.
inline IRECT AlignTextBox(const IText& text, const IRECT& bounds, float w, float h) {
  float x = bounds.L, y = bounds.T;
  switch (text.mAlign) {
    case EAlign::Near: x = bounds.L; break;
    case EAlign::Center: x = bounds.MW() - 0.5f * w; break;
    case EAlign::Far: x = bounds.R - w; break;
  }
  switch (text.mVAlign) {
    case EVAlign::Top: y = bounds.T; break;
    case EVAlign::Middle: y = bounds.MH() - 0.5f * h; break;
    case EVAlign::Bottom: y = bounds.B - h; break;
  }
  return IRECT(x, y, x + w, y + h);
}

inline const IText DEFAULT_TEXT{};
inline const IText DEFAULT_LABEL_TEXT{DEFAULT_TEXT_SIZE + 5.f, EVAlign::Top};
inline const IText DEFAULT_VALUE_TEXT{DEFAULT_TEXT_SIZE, EVAlign::Bottom};

// The buttons and modifiers of a mouse event. A Command-click sets R together with L.
struct IMouseMod {
  bool L = false, R = false, S = false, C = false, A = false;
  int64_t touchID = 0;
  float touchRadius = 0.f;

  IMouseMod() = default;
  IMouseMod(bool l, bool r = false, bool s = false, bool c = false, bool a = false,
            int64_t touch = 0)
      : L(l), R(r), S(s), C(c), A(a), touchID(touch) {}

  bool IsTouch() const { return touchID > 0; }
};

// The nine colours of a vector style, by index.
enum EVColor {
  kBG = 0, kFG = 1, kPR = 2, kFR = 3, kHL = 4, kSH = 5, kX1 = 6, kX2 = 7, kX3 = 8,
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

  IVStyle WithShowLabel(bool show = true) const { IVStyle s = *this; s.showLabel = show; return s; }
  IVStyle WithShowValue(bool show = true) const { IVStyle s = *this; s.showValue = show; return s; }
  IVStyle WithDrawFrame(bool draw = true) const { IVStyle s = *this; s.drawFrame = draw; return s; }
  IVStyle WithDrawShadows(bool draw = true) const { IVStyle s = *this; s.drawShadows = draw; return s; }
  IVStyle WithRoundness(float v) const { IVStyle s = *this; s.roundness = std::clamp(v, 0.f, 1.f); return s; }
  IVStyle WithFrameThickness(float v) const { IVStyle s = *this; s.frameThickness = v; return s; }
  IVStyle WithShadowOffset(float v) const { IVStyle s = *this; s.shadowOffset = v; return s; }
  IVStyle WithWidgetFrac(float v) const { IVStyle s = *this; s.widgetFrac = std::clamp(v, 0.f, 1.f); return s; }
  IVStyle WithAngle(float v) const { IVStyle s = *this; s.angle = v; return s; }
  IVStyle WithColors(const IVColorSet& c) const { IVStyle s = *this; s.colorSpec = c; return s; }
  IVStyle WithColor(EVColor idx, const IColor& c) const { IVStyle s = *this; s.colorSpec.SetColor(idx, c); return s; }
  IVStyle WithLabelText(const IText& t) const { IVStyle s = *this; s.labelText = t; return s; }
  IVStyle WithValueText(const IText& t) const { IVStyle s = *this; s.valueText = t; return s; }
};

inline const IVStyle DEFAULT_STYLE{};

// A loaded bitmap, held by value. The decoded image belongs to the bitmap cache.
struct IBitmap {
  APIBitmap* mAPIBitmap = nullptr;
  int W = 0;               // width in points (the image's pixel width divided by its scale)
  int H = 0;               // height in points
  int N = 1;               // frame count, at least 1
  bool mFramesAreHorizontal = false;
  WDL_String mResourceName;

  IBitmap() = default;
  IBitmap(APIBitmap* bitmap, int w, int h, int n, bool framesAreHorizontal, const char* name)
      : mAPIBitmap(bitmap), W(w), H(h), N(std::max(1, n)), mFramesAreHorizontal(framesAreHorizontal) {
    mResourceName.Set(name ? name : "");
  }

  bool IsValid() const { return mAPIBitmap != nullptr; }
  APIBitmap* GetAPIBitmap() const { return mAPIBitmap; }
  // The size of one frame along a direction; a frame count below 1 counts as 1 (the fields
  // are public, so the constructor's clamp alone cannot be relied on).
  int FrameSize(EDirection dir) const {
    const int n = std::max(1, N);
    return dir == EDirection::Horizontal ? (mFramesAreHorizontal ? W / n : W)
                                         : (mFramesAreHorizontal ? H : H / n);
  }
  int GetWidth() const { return W; }
  int GetHeight() const { return H; }
  bool GetFramesAreHorizontal() const { return mFramesAreHorizontal; }
  const char* GetResourceName() const { return mResourceName.Get(); }
};

// A parsed SVG image, held by value. The parsed image belongs to the SVG cache.
struct ISVG {
  std::shared_ptr<SVGHolder> mImage;
  float mWidth = 0.f;   // natural width in points
  float mHeight = 0.f;  // natural height in points

  ISVG() = default;
  ISVG(std::shared_ptr<SVGHolder> image, float w, float h) : mImage(std::move(image)), mWidth(w), mHeight(h) {}

  bool IsValid() const { return mImage != nullptr; }
  float W() const { return mWidth; }
  float H() const { return mHeight; }
};

// Index values meaning "none".
inline constexpr int kNoTag = -1;     // a control attached without a tag
inline constexpr int kNoValIdx = -1;  // every value slot, or none
inline constexpr int kNoParameter = -1;

// The dirty regions of one frame.
class IRECTList {
 public:
  void Add(const IRECT& r) { mRects.push_back(r); }
  int Size() const { return static_cast<int>(mRects.size()); }
  const IRECT& Get(int i) const { return mRects[static_cast<std::size_t>(i)]; }
  void Clear() { mRects.clear(); }
  bool Empty() const { return mRects.empty(); }

  // The smallest rectangle holding every region.
  IRECT Bounds() const {
    IRECT u;
    for (const IRECT& r : mRects)
      u = u.Union(r);
    return u;
  }

  // Drops regions without area and merges overlapping ones, so no area is drawn twice in a frame
  // (translucent drawing would otherwise darken where regions overlap).
  void Optimize() {
    std::vector<IRECT> out;
    for (const IRECT& r : mRects) {
      if (!base::isFiniteRect(r) || !(r.W() > 0.f && r.H() > 0.f)) continue;
      out.push_back(r);
    }
    bool merged = true;
    while (merged) {
      merged = false;
      for (std::size_t i = 0; i < out.size() && !merged; ++i) {
        for (std::size_t j = i + 1; j < out.size(); ++j) {
          if (out[i].Intersects(out[j])) {
            out[i] = out[i].Union(out[j]);
            out.erase(out.begin() + static_cast<std::ptrdiff_t>(j));
            merged = true;
            break;
          }
        }
      }
    }
    mRects = std::move(out);
  }

 private:
  std::vector<IRECT> mRects;
};

// A gesture the platform recognised, handed to the control under it.
struct IGestureInfo {
  int type = 0;  // the gesture type a control registered for
  float x = 0.f, y = 0.f;
  float scale = 1.f;  // pinch
  float velocity = 0.f;
  float angle = 0.f;  // rotation, degrees
};

// Answers of a message box.
enum class EMsgBoxResult { kNoResult = 0, kOK = 1, kCancel = 2, kRetry = 4, kYes = 6, kNo = 7 };

// Pointer shapes by number, as SetMouseCursor takes them.
enum class ECursor {
  ARROW = 0,
  IBEAM,
  WAIT,
  CROSS,
  UPARROW,
  SIZE,
  SIZENWSE,
  SIZENESW,
  SIZEWE,
  SIZENS,
  SIZEALL,
  INO,
  HAND,
  APPSTARTING,
  HELP,
  kNumCursors
};

using IColorPickerHandlerFunc = std::function<void(const IColor&)>;

}  // namespace igraphics
}  // namespace iplug
