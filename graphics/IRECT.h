#pragma once

// A rectangle in editor points, and the direction a control or a split runs in.

#include <algorithm>
#include <cmath>

namespace iplug {
namespace igraphics {

enum class EDirection { Vertical = 0, Horizontal = 1 };

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
  bool ContainsEdge(float x, float y) const {
    return !Empty() && x >= L && x <= R && y >= T && y <= B;
  }
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
  IRECT GetPadded(float l, float t, float r, float b) const {
    return IRECT(L + l, T + t, R + r, B + b);
  }
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
  void PixelAlign() {
    L = std::floor(L);
    T = std::floor(T);
    R = std::ceil(R);
    B = std::ceil(B);
  }
  IRECT GetPixelAligned() const {
    IRECT r = *this;
    r.PixelAlign();
    return r;
  }
  void Scale(float s) {
    L *= s;
    T *= s;
    R *= s;
    B *= s;
  }
  IRECT GetScaled(float s) const {
    IRECT r = *this;
    r.Scale(s);
    return r;
  }
};

inline void IRECT::Clank(const IRECT& rhs) {
  if (L < rhs.L) {
    R += rhs.L - L;
    L = rhs.L;
  }
  if (T < rhs.T) {
    B += rhs.T - T;
    T = rhs.T;
  }
  if (R > rhs.R) {
    L -= R - rhs.R;
    R = rhs.R;
  }
  if (B > rhs.B) {
    T -= B - rhs.B;
    B = rhs.B;
  }
}

}  // namespace igraphics
}  // namespace iplug
