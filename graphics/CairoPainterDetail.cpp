#include "graphics/CairoPainterDetail.h"

#include <algorithm>

#include "base/Finite.h"
#include "base/Log.h"
#include "graphics/APIBitmap.h"

namespace iplug {
namespace igraphics {
namespace cairo_detail {

namespace {

bool Finite(const cairo_matrix_t& m) {
  return base::isFinite(m.xx, m.yx, m.xy, m.yy, m.x0, m.y0);
}

bool Invertible(const cairo_matrix_t& m) {
  cairo_matrix_t inverse = m;
  return Finite(m) && cairo_matrix_invert(&inverse) == CAIRO_STATUS_SUCCESS && Finite(inverse);
}

}  // namespace

bool CreateImageTarget(double pixelWidth, double pixelHeight, cairo_surface_t*& surface,
                       cairo_t*& cr) {
  if (!(pixelWidth >= 0.0 && pixelHeight >= 0.0) || pixelWidth > APIBitmap::kMaxSide ||
      pixelHeight > APIBitmap::kMaxSide) {
    base::warn("graphics", "refusing a surface of %.0f x %.0f pixels", pixelWidth, pixelHeight);
    return false;
  }
  cairo_surface_t* s = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, static_cast<int>(pixelWidth),
                                                  static_cast<int>(pixelHeight));
  cairo_t* c = cairo_create(s);
  if (cairo_surface_status(s) != CAIRO_STATUS_SUCCESS || cairo_status(c) != CAIRO_STATUS_SUCCESS) {
    base::warn("graphics", "cannot create a %.0f x %.0f surface: %s", pixelWidth, pixelHeight,
               cairo_status_to_string(cairo_status(c)));
    cairo_destroy(c);
    cairo_surface_destroy(s);
    return false;
  }
  surface = s;
  cr = c;
  return true;
}

bool ToCairoMatrix(const IMatrix& im, cairo_matrix_t& m) {
  cairo_matrix_init(&m, im.mXX, im.mYX, im.mXY, im.mYY, im.mTX, im.mTY);
  return Invertible(m);
}

bool ApplyTransform(cairo_t* cr, const cairo_matrix_t& m) {
  cairo_matrix_t current, result;
  cairo_get_matrix(cr, &current);
  cairo_matrix_multiply(&result, &m, &current);
  if (!Finite(m) || !Invertible(result)) {
    base::warn("graphics", "transform refused: not finite or cannot be inverted");
    return false;
  }
  cairo_set_matrix(cr, &result);
  return true;
}

bool ApplyRotationAbout(cairo_t* cr, double cx, double cy, double angleDeg) {
  cairo_matrix_t m;
  cairo_matrix_init_translate(&m, cx, cy);
  cairo_matrix_rotate(&m, DegToRad(angleDeg));
  return ApplyTransform(cr, m);
}

void AddRoundRect(cairo_t* cr, const IRECT& r, float tl, float tr, float br, float bl) {
  const double w = r.W(), h = r.H();
  if (!(w > 0.0) || !(h > 0.0)) return;
  const double limit = 0.5 * std::min(w, h);
  auto radius = [limit](float v) { return std::clamp(static_cast<double>(v), 0.0, limit); };
  const double rtl = radius(tl), rtr = radius(tr), rbr = radius(br), rbl = radius(bl);
  const double L = r.L, T = r.T, R = r.R, B = r.B;
  cairo_new_sub_path(cr);
  cairo_move_to(cr, L + rtl, T);
  cairo_arc(cr, R - rtr, T + rtr, rtr, -0.5 * M_PI, 0.0);
  cairo_arc(cr, R - rbr, B - rbr, rbr, 0.0, 0.5 * M_PI);
  cairo_arc(cr, L + rbl, B - rbl, rbl, 0.5 * M_PI, M_PI);
  cairo_arc(cr, L + rtl, T + rtl, rtl, M_PI, 1.5 * M_PI);
  cairo_close_path(cr);
}

void AddEllipse(cairo_t* cr, const IRECT& r) {
  const double w = r.W(), h = r.H();
  if (!(w > 0.0) || !(h > 0.0)) return;
  cairo_matrix_t saved, m;
  cairo_get_matrix(cr, &saved);
  cairo_matrix_init_translate(&m, r.MW(), r.MH());
  cairo_matrix_scale(&m, 0.5 * w, 0.5 * h);
  if (!ApplyTransform(cr, m)) return;
  cairo_new_sub_path(cr);
  cairo_arc(cr, 0.0, 0.0, 1.0, 0.0, 2.0 * M_PI);
  cairo_close_path(cr);
  cairo_set_matrix(cr, &saved);
}

IColor Unpremultiply(uint32_t px) {
  const int a = static_cast<int>(px >> 24);
  if (a == 0) return COLOR_TRANSPARENT;
  auto un = [a](uint32_t v) { return std::min(255, static_cast<int>((v * 255 + a / 2) / a)); };
  return IColor(a, un((px >> 16) & 0xFF), un((px >> 8) & 0xFF), un(px & 0xFF));
}

}  // namespace cairo_detail
}  // namespace igraphics
}  // namespace iplug
