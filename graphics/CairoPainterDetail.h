#pragma once

// Helpers shared by the source files of CairoPainter; not part of its interface.

#include <cairo.h>

#include <cmath>
#include <cstdint>

#include "graphics/CairoPainter.h"

namespace iplug {
namespace igraphics {

// A layer being drawn, with what its parent target needs back when it ends.
struct CairoPainter::Target {
  cairo_t* cr = nullptr;
  cairo_surface_t* surface = nullptr;
  IRECT bounds;
  float scale = 1.f;
  cairo_matrix_t base;
  cairo_t* parentCr = nullptr;
  cairo_matrix_t parentBase;
  int parentSaveDepth = 0;
};

namespace cairo_detail {

inline double DegToRad(double deg) {
  return deg * (M_PI / 180.0);
}
// Arc angles count clockwise from 12 o'clock; Cairo's from 3 o'clock, also clockwise on screen.
inline double ArcRadians(double deg) {
  return DegToRad(deg - 90.0);
}
// A 0..255 colour component as Cairo's 0..1, out-of-range values clamped.
inline double Channel(int v) {
  return (v < 0 ? 0 : v > 255 ? 255 : v) / 255.0;
}

// A new ARGB32 surface of the given pixel size and a context drawing on it; false (logged,
// nothing kept) for a size beyond APIBitmap::kMaxSide or when Cairo cannot make them.
bool CreateImageTarget(double pixelWidth, double pixelHeight, cairo_surface_t*& surface,
                       cairo_t*& cr);

// The pattern transform as a Cairo matrix; false when it is not finite or cannot be inverted
// (Cairo would fail the context on it).
bool ToCairoMatrix(const IMatrix& im, cairo_matrix_t& m);

// Applies m before the current transform; refuses (logged) a result that is not finite or
// cannot be inverted.
bool ApplyTransform(cairo_t* cr, const cairo_matrix_t& m);

// Moves the origin to (cx, cy) and turns by angleDeg clockwise, before the current transform;
// false (logged, nothing changed) when the result is unusable.
bool ApplyRotationAbout(cairo_t* cr, double cx, double cy, double angleDeg);

// Adds a rectangle with rounded corners as a new sub-path, each radius limited to half the
// shorter side. A rectangle without area adds nothing.
void AddRoundRect(cairo_t* cr, const IRECT& r, float tl, float tr, float br, float bl);

// Adds the ellipse inscribed in r as a new sub-path; nothing for a rectangle without area.
void AddEllipse(cairo_t* cr, const IRECT& r);

// Adds the pattern's colour stops to a Cairo gradient, alpha scaled by weight. Cairo blends
// neighbouring stops channel by channel without weighting by alpha, so a fade to transparent
// black would pass through grey; the stops are rewritten so that the colours Cairo blends are
// those of a blend by alpha. Stops whose offset is not a number are skipped.
void AddGradientStops(cairo_pattern_t* p, const IPattern& pattern, float weight);

// A premultiplied native-endian ARGB32 pixel as a straight-alpha colour.
IColor Unpremultiply(uint32_t px);

}  // namespace cairo_detail
}  // namespace igraphics
}  // namespace iplug
