// The box shadow of CairoPainter: the shape drawn into an alpha mask, blurred, then laid
// down in the shadow colour.

#include <algorithm>
#include <cmath>
#include <cstring>

#include "base/Finite.h"
#include "base/Log.h"
#include "graphics/BoxBlur.h"
#include "graphics/CairoPainter.h"
#include "graphics/CairoPainterDetail.h"

namespace iplug {
namespace igraphics {

using namespace cairo_detail;

void CairoPainter::DrawBoxShadow(const IRECT& inner, const IRECT& outer, const IBlend* blend,
                                 float xOffset, float yOffset, float cornerRadius, float blurRadius,
                                 const IColor& color) {
  if (!mCr) return;
  const float values[] = {inner.L, inner.T, inner.R, inner.B, outer.L,      outer.T,
                          outer.R, outer.B, xOffset, yOffset, cornerRadius, blurRadius};
  for (float v : values) {
    if (!std::isfinite(v)) {
      base::warn("graphics", "box shadow with non-finite geometry not drawn");
      return;
    }
  }
  float weight = 1.f;
  if (inner.W() <= 0.f || inner.H() <= 0.f || !SetBlend(blend, &weight)) return;
  blurRadius = std::max(blurRadius, 0.f);
  const IRECT shadow = inner.GetTranslated(xOffset, yOffset);
  const IRECT area = shadow.GetPadded(blurRadius).Intersect(outer);
  if (area.Empty()) return;

  // The device pixels the shadow can touch, within the current target.
  cairo_matrix_t ctm;
  cairo_get_matrix(mCr, &ctm);
  double x0 = HUGE_VAL, y0 = HUGE_VAL, x1 = -HUGE_VAL, y1 = -HUGE_VAL;
  const double corners[4][2] = {
      {area.L, area.T}, {area.R, area.T}, {area.R, area.B}, {area.L, area.B}};
  for (const auto& c : corners) {
    double x = c[0], y = c[1];
    cairo_matrix_transform_point(&ctm, &x, &y);
    x0 = std::min(x0, x);
    y0 = std::min(y0, y);
    x1 = std::max(x1, x);
    y1 = std::max(y1, y);
  }
  cairo_surface_t* target = mTargets.empty() ? mSurface : mTargets.back()->surface;
  const int tw = cairo_image_surface_get_width(target);
  const int th = cairo_image_surface_get_height(target);
  if (!base::isFinite(x0, y0, x1, y1)) {
    base::warn("graphics", "box shadow beyond the drawable range not drawn");
    return;
  }
  // Clamped as doubles first: far-off geometry must not overflow the conversion to int.
  const int dx = static_cast<int>(std::clamp(std::floor(x0), 0.0, static_cast<double>(tw)));
  const int dy = static_cast<int>(std::clamp(std::floor(y0), 0.0, static_cast<double>(th)));
  const int dw = static_cast<int>(std::clamp(std::ceil(x1), 0.0, static_cast<double>(tw))) - dx;
  const int dh = static_cast<int>(std::clamp(std::ceil(y1), 0.0, static_cast<double>(th))) - dy;
  if (dw <= 0 || dh <= 0) return;

  // The mask is kept between calls and only grows.
  if (!mShadowMask || cairo_image_surface_get_width(mShadowMask) < dw ||
      cairo_image_surface_get_height(mShadowMask) < dh) {
    const int mw = mShadowMask ? std::max(dw, cairo_image_surface_get_width(mShadowMask)) : dw;
    const int mh = mShadowMask ? std::max(dh, cairo_image_surface_get_height(mShadowMask)) : dh;
    if (mShadowMask) cairo_surface_destroy(mShadowMask);
    mShadowMask = cairo_image_surface_create(CAIRO_FORMAT_A8, mw, mh);
    if (cairo_surface_status(mShadowMask) != CAIRO_STATUS_SUCCESS) {
      base::warn("graphics", "no memory for a %d x %d shadow", mw, mh);
      cairo_surface_destroy(mShadowMask);
      mShadowMask = nullptr;
      return;
    }
  }
  cairo_surface_flush(mShadowMask);
  unsigned char* data = cairo_image_surface_get_data(mShadowMask);
  const int stride = cairo_image_surface_get_stride(mShadowMask);
  for (int row = 0; row < dh; ++row)
    std::memset(data + static_cast<size_t>(row) * stride, 0, dw);
  cairo_surface_mark_dirty(mShadowMask);

  cairo_t* mask = cairo_create(mShadowMask);
  cairo_matrix_t shifted = ctm;
  shifted.x0 -= dx;
  shifted.y0 -= dy;
  cairo_set_matrix(mask, &shifted);
  AddRoundRect(mask, shadow, cornerRadius, cornerRadius, cornerRadius, cornerRadius);
  cairo_fill(mask);
  cairo_destroy(mask);
  cairo_surface_flush(mShadowMask);

  // Three box passes spread coverage over about three times their radius.
  const double deviceScale = std::sqrt(std::fabs(ctm.xx * ctm.yy - ctm.xy * ctm.yx));
  // A radius beyond the mask's size blurs no further.
  const double passRadius = std::min(blurRadius * deviceScale / 3.0, double(std::max(dw, dh)));
  const int radius = static_cast<int>(std::lround(passRadius));
  BoxBlurA8(data, dw, dh, stride, radius, mBlurScratch);
  cairo_surface_mark_dirty(mShadowMask);

  cairo_new_path(mCr);
  mPathBad = false;
  cairo_save(mCr);
  cairo_rectangle(mCr, outer.L, outer.T, outer.W(), outer.H());
  cairo_clip(mCr);
  cairo_identity_matrix(mCr);
  cairo_rectangle(mCr, dx, dy, dw, dh);
  cairo_clip(mCr);
  SetSolidSource(color, weight);
  cairo_mask_surface(mCr, mShadowMask, dx, dy);
  cairo_restore(mCr);
}

}  // namespace igraphics
}  // namespace iplug
