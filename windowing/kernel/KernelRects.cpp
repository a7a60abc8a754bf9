#include <algorithm>
#include <climits>
#include <cstdint>

#include "windowing/kernel/Kernel.h"

namespace {

bool isEmpty(const RECT& r) {
  return r.right <= r.left || r.bottom <= r.top;
}

// Offsets that would leave the int range stop at its edge instead of wrapping.
LONG offsetClamped(LONG value, int delta) {
  std::int64_t moved = static_cast<std::int64_t>(value) + delta;
  return static_cast<LONG>(std::clamp<std::int64_t>(moved, INT_MIN, INT_MAX));
}

}  // namespace

BOOL SWELL_PtInRect(const RECT* r, POINT p) {
  if (!r) return FALSE;
  // Either vertical order counts: callers pass rectangles in y-up coordinates too.
  LONG low = std::min(r->top, r->bottom);
  LONG high = std::max(r->top, r->bottom);
  return p.x >= r->left && p.x < r->right && p.y >= low && p.y < high ? TRUE : FALSE;
}

BOOL WinOffsetRect(RECT* r, int dx, int dy) {
  if (!r) return FALSE;
  r->left = offsetClamped(r->left, dx);
  r->right = offsetClamped(r->right, dx);
  r->top = offsetClamped(r->top, dy);
  r->bottom = offsetClamped(r->bottom, dy);
  return TRUE;
}

BOOL WinSetRect(RECT* r, int left, int top, int right, int bottom) {
  if (!r) return FALSE;
  *r = RECT{left, top, right, bottom};
  return TRUE;
}

BOOL WinIntersectRect(RECT* out, const RECT* a, const RECT* b) {
  if (!out) return FALSE;
  if (!a || !b || isEmpty(*a) || isEmpty(*b)) {
    *out = RECT{};
    return FALSE;
  }
  RECT overlap{std::max(a->left, b->left), std::max(a->top, b->top), std::min(a->right, b->right),
               std::min(a->bottom, b->bottom)};
  if (isEmpty(overlap)) {
    *out = RECT{};
    return FALSE;
  }
  *out = overlap;
  return TRUE;
}

BOOL WinUnionRect(RECT* out, const RECT* a, const RECT* b) {
  if (!out || !a || !b) return FALSE;
  auto isPoint = [](const RECT& r) { return r.left == r.right && r.top == r.bottom; };
  RECT result;
  if (isPoint(*a)) {
    result = *b;
  } else if (isPoint(*b)) {
    result = *a;
  } else {
    result = RECT{std::min(a->left, b->left), std::min(a->top, b->top),
                  std::max(a->right, b->right), std::max(a->bottom, b->bottom)};
  }
  *out = result;
  return isEmpty(result) ? FALSE : TRUE;
}
