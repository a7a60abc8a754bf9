#pragma once

// Checks that coordinates are numbers before they reach a drawing, a layout or a parameter: a
// NaN or an infinity from a caller is refused where it enters, not drawn or stored.

#include <cmath>
#include <concepts>

namespace base {

// True when every value is finite (neither NaN nor infinite).
template <std::floating_point... Values>
bool isFinite(Values... values) {
  return (std::isfinite(values) && ...);
}

// True when the four edges (left, top, right, bottom) are finite.
template <std::floating_point Value>
bool isFiniteRect(Value left, Value top, Value right, Value bottom) {
  return isFinite(left, top, right, bottom);
}

// The same for a rectangle type with the edges L, T, R and B.
template <typename Rect>
requires requires(const Rect& r) {
  isFinite(r.L, r.T, r.R, r.B);
}
bool isFiniteRect(const Rect& r) {
  return isFinite(r.L, r.T, r.R, r.B);
}

}  // namespace base
