#pragma once

#include <algorithm>
#include <cmath>

namespace platform {

// Points, sizes and rectangles in doubles. A rectangle's origin is its corner nearest
// the origin of the coordinate system it is in: the bottom left in y-up systems (the
// screen, windows, unflipped views), the top left in flipped views.
struct NSPoint {
  double x = 0;
  double y = 0;
  bool operator==(const NSPoint&) const = default;
};

struct NSSize {
  double width = 0;
  double height = 0;
  bool operator==(const NSSize&) const = default;
};

struct NSRect {
  NSPoint origin;
  NSSize size;
  bool operator==(const NSRect&) const = default;

  double minX() const { return origin.x; }
  double minY() const { return origin.y; }
  double maxX() const { return origin.x + size.width; }
  double maxY() const { return origin.y + size.height; }
  double midX() const { return origin.x + size.width / 2; }
  double midY() const { return origin.y + size.height / 2; }
  // Also true when an edge is no number, so such a rectangle adds nothing to a union and
  // meets nothing, whichever side of the operation it is on.
  bool isEmpty() const {
    return !(size.width > 0) || !(size.height > 0) || std::isnan(maxX()) || std::isnan(maxY());
  }
};

inline NSPoint NSMakePoint(double x, double y) {
  return {x, y};
}
inline NSSize NSMakeSize(double w, double h) {
  return {w, h};
}
inline NSRect NSMakeRect(double x, double y, double w, double h) {
  return {{x, y}, {w, h}};
}

inline bool NSPointInRect(NSPoint p, const NSRect& r) {
  return p.x >= r.minX() && p.x < r.maxX() && p.y >= r.minY() && p.y < r.maxY();
}

inline NSRect NSIntersectionRect(const NSRect& a, const NSRect& b) {
  if (a.isEmpty() || b.isEmpty()) return {};
  double x0 = std::max(a.minX(), b.minX()), y0 = std::max(a.minY(), b.minY());
  double x1 = std::min(a.maxX(), b.maxX()), y1 = std::min(a.maxY(), b.maxY());
  if (x1 <= x0 || y1 <= y0) return {};
  return NSMakeRect(x0, y0, x1 - x0, y1 - y0);
}

inline NSRect NSUnionRect(const NSRect& a, const NSRect& b) {
  if (a.isEmpty()) return b;
  if (b.isEmpty()) return a;
  double x0 = std::min(a.minX(), b.minX()), y0 = std::min(a.minY(), b.minY());
  double x1 = std::max(a.maxX(), b.maxX()), y1 = std::max(a.maxY(), b.maxY());
  return NSMakeRect(x0, y0, x1 - x0, y1 - y0);
}

inline bool NSIntersectsRect(const NSRect& a, const NSRect& b) {
  return !NSIntersectionRect(a, b).isEmpty();
}

inline NSRect NSOffsetRect(const NSRect& r, double dx, double dy) {
  return NSMakeRect(r.origin.x + dx, r.origin.y + dy, r.size.width, r.size.height);
}

// The rectangle spanned by two corners, in either order.
inline NSRect NSRectFromCorners(NSPoint a, NSPoint b) {
  return NSMakeRect(std::min(a.x, b.x), std::min(a.y, b.y), std::fabs(b.x - a.x),
                    std::fabs(b.y - a.y));
}

// Where a view or window goes relative to another.
enum NSWindowOrderingMode { NSWindowBelow = -1, NSWindowOut = 0, NSWindowAbove = 1 };

}  // namespace platform
