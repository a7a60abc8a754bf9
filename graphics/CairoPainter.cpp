#include "graphics/CairoPainter.h"

#include <algorithm>
#include <cmath>
#include <cstring>

#include "base/Finite.h"
#include "base/Log.h"
#include "graphics/CairoPainterDetail.h"

namespace iplug {
namespace igraphics {

using namespace cairo_detail;

namespace {

constexpr float kMaxScale = 16.f;

cairo_operator_t CairoOperator(EBlend method) {
  switch (method) {
    case EBlend::Default:
    case EBlend::SourceOver:
      return CAIRO_OPERATOR_OVER;
    case EBlend::Clobber:
      return CAIRO_OPERATOR_SOURCE;
    case EBlend::SourceIn:
      return CAIRO_OPERATOR_IN;
    case EBlend::SourceOut:
      return CAIRO_OPERATOR_OUT;
    case EBlend::SourceAtop:
      return CAIRO_OPERATOR_ATOP;
    case EBlend::DestOver:
      return CAIRO_OPERATOR_DEST_OVER;
    case EBlend::DestIn:
      return CAIRO_OPERATOR_DEST_IN;
    case EBlend::DestOut:
      return CAIRO_OPERATOR_DEST_OUT;
    case EBlend::DestAtop:
      return CAIRO_OPERATOR_DEST_ATOP;
    case EBlend::Add:
      return CAIRO_OPERATOR_ADD;
    case EBlend::XOR:
      return CAIRO_OPERATOR_XOR;
  }
  base::warn("graphics", "unknown blend method %d; drawing source over", static_cast<int>(method));
  return CAIRO_OPERATOR_OVER;
}

cairo_extend_t CairoExtend(EPatternExtend extend) {
  switch (extend) {
    case EPatternExtend::None:
      return CAIRO_EXTEND_NONE;
    case EPatternExtend::Pad:
      return CAIRO_EXTEND_PAD;
    case EPatternExtend::Reflect:
      return CAIRO_EXTEND_REFLECT;
    case EPatternExtend::Repeat:
      return CAIRO_EXTEND_REPEAT;
  }
  return CAIRO_EXTEND_PAD;
}

}  // namespace

// --- Surface -------------------------------------------------------------------------------

CairoPainter::CairoPainter(int width, int height, float scale) {
  cairo_matrix_init_identity(&mBaseMatrix);
  mFontOptions = cairo_font_options_create();
  // Unhinted metrics keep text layout the same at every scale.
  cairo_font_options_set_hint_metrics(mFontOptions, CAIRO_HINT_METRICS_OFF);
  cairo_font_options_set_hint_style(mFontOptions, CAIRO_HINT_STYLE_NONE);
  cairo_font_options_set_antialias(mFontOptions, CAIRO_ANTIALIAS_GRAY);
  Resize(width, height, scale);
}

CairoPainter::~CairoPainter() {
  DestroyTargets();
  if (mSurfaceCr) cairo_destroy(mSurfaceCr);
  if (mSurface) cairo_surface_destroy(mSurface);
  if (mShadowMask) cairo_surface_destroy(mShadowMask);
  if (mFontFace) cairo_font_face_destroy(mFontFace);
  cairo_font_options_destroy(mFontOptions);
}

bool CairoPainter::Resize(int width, int height, float scale) {
  if (width < 0 || height < 0 || !std::isfinite(scale) || scale <= 0.f || scale > kMaxScale) {
    base::warn("graphics", "refusing surface of %d x %d points at scale %g", width, height,
               static_cast<double>(scale));
    return false;
  }
  const double pw = std::ceil(static_cast<double>(width) * scale);
  const double ph = std::ceil(static_cast<double>(height) * scale);
  cairo_surface_t* surface = nullptr;
  cairo_t* cr = nullptr;
  if (!CreateImageTarget(pw, ph, surface, cr)) return false;
  DestroyTargets();
  if (mSurfaceCr) cairo_destroy(mSurfaceCr);
  if (mSurface) cairo_surface_destroy(mSurface);
  mSurface = surface;
  mSurfaceCr = mCr = cr;
  mWidth = width;
  mHeight = height;
  mScale = scale;
  mPixelWidth = static_cast<int>(pw);
  mPixelHeight = static_cast<int>(ph);
  cairo_matrix_init_scale(&mBaseMatrix, scale, scale);
  mSaveDepth = 0;
  mPathBad = false;
  ResetContextState(mCr, mBaseMatrix);
  return true;
}

void CairoPainter::ResetContextState(cairo_t* cr, const cairo_matrix_t& base) {
  cairo_new_path(cr);
  cairo_reset_clip(cr);
  cairo_set_matrix(cr, &base);
  cairo_set_font_options(cr, mFontOptions);
  cairo_set_operator(cr, CAIRO_OPERATOR_OVER);
}

// A context that Cairo has put in an error state ignores every later call; replace it so one
// bad frame does not blank all the following ones.
bool CairoPainter::CheckContext() {
  if (!mCr) return false;
  const cairo_status_t status = cairo_status(mCr);
  if (status == CAIRO_STATUS_SUCCESS) return true;
  base::warn("graphics", "drawing context failed (%s); starting a fresh one",
             cairo_status_to_string(status));
  // A failed context no longer reports its target; the painter knows it.
  cairo_surface_t* target = mTargets.empty() ? mSurface : mTargets.back()->surface;
  cairo_t* fresh = cairo_create(target);
  if (cairo_status(fresh) != CAIRO_STATUS_SUCCESS) {
    cairo_destroy(fresh);
    return false;
  }
  if (mTargets.empty()) {
    mSurfaceCr = fresh;
  } else {
    mTargets.back()->cr = fresh;
  }
  cairo_destroy(mCr);
  mCr = fresh;
  mSaveDepth = 0;
  mPathBad = false;
  ResetContextState(mCr, mBaseMatrix);
  return true;
}

void CairoPainter::BeginFrame() {
  if (!mCr) return;
  if (!mTargets.empty()) base::warn("graphics", "a layer was left open; dropping it");
  DestroyTargets();
  CheckContext();
  while (mSaveDepth > 0) {
    cairo_restore(mCr);
    --mSaveDepth;
  }
  mPathBad = false;
  ResetContextState(mCr, mBaseMatrix);
}

void CairoPainter::EndFrame() {
  if (!mCr) return;
  if (!mTargets.empty())
    base::warn("graphics", "a layer was left open at the end of the frame; dropping it");
  DestroyTargets();
  while (mSaveDepth > 0) {
    cairo_restore(mCr);
    --mSaveDepth;
  }
  CheckContext();
  cairo_surface_flush(mSurface);
}

void CairoPainter::Clear(const IColor& color) {
  if (!mCr) return;
  cairo_save(mCr);
  cairo_identity_matrix(mCr);
  cairo_reset_clip(mCr);
  cairo_set_operator(mCr, CAIRO_OPERATOR_SOURCE);
  SetSolidSource(color, 1.f);
  cairo_paint(mCr);
  cairo_restore(mCr);
}

void CairoPainter::ClearRect(const IRECT& r) {
  if (!mSurface) return;
  if (!base::isFiniteRect(r)) return;
  const int w = cairo_image_surface_get_width(mSurface);
  const int h = cairo_image_surface_get_height(mSurface);
  // Clamped while still floating point, so the conversions to int are always defined.
  auto toPixel = [this](float v, int limit, bool up) {
    const double p = up ? std::ceil(double(v) * mScale) : std::floor(double(v) * mScale);
    return static_cast<int>(std::clamp(p, 0.0, double(limit)));
  };
  const int x0 = toPixel(r.L, w, false), x1 = toPixel(r.R, w, true);
  const int y0 = toPixel(r.T, h, false), y1 = toPixel(r.B, h, true);
  if (x0 >= x1 || y0 >= y1) return;
  cairo_surface_flush(mSurface);
  unsigned char* data = cairo_image_surface_get_data(mSurface);
  const int stride = cairo_image_surface_get_stride(mSurface);
  if (!data) return;
  for (int y = y0; y < y1; ++y)
    std::memset(data + static_cast<std::size_t>(y) * stride + static_cast<std::size_t>(x0) * 4, 0,
                static_cast<std::size_t>(x1 - x0) * 4);
  cairo_surface_mark_dirty_rectangle(mSurface, x0, y0, x1 - x0, y1 - y0);
}

// --- Path building ---------------------------------------------------------------------------

bool CairoPainter::PathOk(float a, float b) {
  if (base::isFinite(a, b)) return true;
  if (!mPathBad) base::warn("graphics", "non-finite path coordinate; the path will not be drawn");
  mPathBad = true;
  return false;
}

void CairoPainter::PathClear() {
  if (!mCr) return;
  cairo_new_path(mCr);
  mPathBad = false;
}

void CairoPainter::PathMoveTo(float x, float y) {
  if (mCr && PathOk(x, y)) cairo_move_to(mCr, x, y);
}

void CairoPainter::PathLineTo(float x, float y) {
  if (!mCr || !PathOk(x, y)) return;
  // A line with no start begins where it is, as a move would.
  if (cairo_has_current_point(mCr)) {
    cairo_line_to(mCr, x, y);
  } else {
    cairo_move_to(mCr, x, y);
  }
}

void CairoPainter::PathArc(float cx, float cy, float r, float a1, float a2, EWinding winding) {
  if (!mCr || !PathOk(cx, cy) || !PathOk(r, a1) || !PathOk(a2, 0.f)) return;
  if (r < 0.f) {
    base::warn("graphics", "negative arc radius %g ignored", static_cast<double>(r));
    return;
  }
  // More than a full turn traces the same circle again; Cairo would trace it thousands of
  // times for a large span.
  if (winding == EWinding::CW) {
    if (a2 > a1 + 360.f) a2 = a1 + 360.f;
    cairo_arc(mCr, cx, cy, r, ArcRadians(a1), ArcRadians(a2));
  } else {
    if (a2 < a1 - 360.f) a2 = a1 - 360.f;
    cairo_arc_negative(mCr, cx, cy, r, ArcRadians(a1), ArcRadians(a2));
  }
}

void CairoPainter::PathClose() {
  if (mCr) cairo_close_path(mCr);
}

void CairoPainter::PathRect(const IRECT& r) {
  if (!mCr || !PathOk(r.L, r.T) || !PathOk(r.R, r.B)) return;
  cairo_rectangle(mCr, r.L, r.T, r.W(), r.H());
}

void CairoPainter::PathRoundRect(const IRECT& r, float cornerRadius) {
  PathRoundRect(r, cornerRadius, cornerRadius, cornerRadius, cornerRadius);
}

void CairoPainter::PathRoundRect(const IRECT& r, float tl, float tr, float br, float bl) {
  if (!mCr || !PathOk(r.L, r.T) || !PathOk(r.R, r.B) || !PathOk(tl, tr) || !PathOk(br, bl)) return;
  AddRoundRect(mCr, r, tl, tr, br, bl);
}

void CairoPainter::PathCircle(float cx, float cy, float r) {
  if (!mCr || !PathOk(cx, cy) || !PathOk(r, 0.f) || r <= 0.f) return;
  cairo_new_sub_path(mCr);
  cairo_arc(mCr, cx, cy, r, 0.0, 2.0 * M_PI);
  cairo_close_path(mCr);
}

void CairoPainter::PathEllipse(const IRECT& r) {
  if (!mCr || !PathOk(r.L, r.T) || !PathOk(r.R, r.B)) return;
  AddEllipse(mCr, r);
}

void CairoPainter::PathTriangle(float x1, float y1, float x2, float y2, float x3, float y3) {
  if (!mCr || !PathOk(x1, y1) || !PathOk(x2, y2) || !PathOk(x3, y3)) return;
  cairo_move_to(mCr, x1, y1);
  cairo_line_to(mCr, x2, y2);
  cairo_line_to(mCr, x3, y3);
  cairo_close_path(mCr);
}

void CairoPainter::FinishPath(bool preserve) {
  if (!preserve) PathClear();
}

void CairoPainter::PathFill(const IPattern& pattern, const IFillOptions& options,
                            const IBlend* blend) {
  if (!mCr) return;
  float weight = 1.f;
  if (mPathBad || !SetBlend(blend, &weight) || !SetSource(pattern, weight)) {
    FinishPath(options.mPreserve && !mPathBad);
    return;
  }
  cairo_set_fill_rule(mCr, options.mFillRule == EFillRule::EvenOdd ? CAIRO_FILL_RULE_EVEN_ODD
                                                                   : CAIRO_FILL_RULE_WINDING);
  if (options.mPreserve) {
    cairo_fill_preserve(mCr);
  } else {
    cairo_fill(mCr);
    mPathBad = false;
  }
}

void CairoPainter::PathStroke(const IPattern& pattern, float thickness,
                              const IStrokeOptions& options, const IBlend* blend) {
  if (!mCr) return;
  float weight = 1.f;
  bool ok = !mPathBad;
  if (ok && !std::isfinite(thickness)) {
    base::warn("graphics", "non-finite stroke thickness");
    ok = false;
  }
  ok = ok && thickness > 0.f && SetBlend(blend, &weight) && SetSource(pattern, weight);
  if (!ok) {
    FinishPath(options.mPreserve && !mPathBad);
    return;
  }
  ApplyStrokeOptions(options, thickness);
  if (options.mPreserve) {
    cairo_stroke_preserve(mCr);
  } else {
    cairo_stroke(mCr);
    mPathBad = false;
  }
}

void CairoPainter::ApplyStrokeOptions(const IStrokeOptions& options, float thickness) {
  cairo_set_line_width(mCr, thickness);
  switch (options.mCapOption) {
    case ELineCap::Round:
      cairo_set_line_cap(mCr, CAIRO_LINE_CAP_ROUND);
      break;
    case ELineCap::Square:
      cairo_set_line_cap(mCr, CAIRO_LINE_CAP_SQUARE);
      break;
    case ELineCap::Butt:
    default:
      cairo_set_line_cap(mCr, CAIRO_LINE_CAP_BUTT);
      break;
  }
  switch (options.mJoinOption) {
    case ELineJoin::Round:
      cairo_set_line_join(mCr, CAIRO_LINE_JOIN_ROUND);
      break;
    case ELineJoin::Bevel:
      cairo_set_line_join(mCr, CAIRO_LINE_JOIN_BEVEL);
      break;
    case ELineJoin::Miter:
    default:
      cairo_set_line_join(mCr, CAIRO_LINE_JOIN_MITER);
      break;
  }
  const float miter = options.mMiterLimit;
  cairo_set_miter_limit(mCr, std::isfinite(miter) && miter >= 1.f ? miter : 10.0);

  // Cairo fails the whole context on a negative dash or one whose lengths are all 0, so such
  // a dash is drawn solid instead.
  double dashes[IStrokeOptions::kMaxDashes];
  const int count = std::clamp(options.mDashCount, 0, IStrokeOptions::kMaxDashes);
  bool dashOk = count > 0 && std::isfinite(options.mDashOffset);
  double total = 0.0;
  for (int i = 0; i < count && dashOk; ++i) {
    dashes[i] = options.mDashArray[i];
    dashOk = std::isfinite(dashes[i]) && dashes[i] >= 0.0;
    total += dashes[i];
  }
  if (dashOk && total > 0.0) {
    cairo_set_dash(mCr, dashes, count, options.mDashOffset);
  } else {
    if (count > 0) base::warn("graphics", "unusable dash pattern; stroking solid");
    cairo_set_dash(mCr, nullptr, 0, 0.0);
  }
}

// --- Sources and blends ----------------------------------------------------------------------

bool CairoPainter::SetBlend(const IBlend* blend, float* weight) {
  const EBlend method = blend ? blend->mMethod : EBlend::Default;
  float w = blend ? blend->mWeight : 1.f;
  if (!std::isfinite(w)) {
    base::warn("graphics", "non-finite blend weight; nothing drawn");
    return false;
  }
  *weight = std::clamp(w, 0.f, 1.f);
  cairo_set_operator(mCr, CairoOperator(method));
  return true;
}

void CairoPainter::SetSolidSource(const IColor& c, float weight) {
  cairo_set_source_rgba(mCr, Channel(c.R), Channel(c.G), Channel(c.B), Channel(c.A) * weight);
}

bool CairoPainter::SetSource(const IPattern& pattern, float weight) {
  if (pattern.mType == EPatternType::Solid) {
    SetSolidSource(pattern.GetColor(), weight);
    return true;
  }
  if (pattern.mType != EPatternType::Linear && pattern.mType != EPatternType::Radial) {
    static bool logged = false;
    if (!logged)
      base::warn("graphics", "sweep gradients are not drawn; using the first stop's colour");
    logged = true;
    SetSolidSource(pattern.GetColor(), weight);
    return true;
  }
  cairo_matrix_t m;
  if (!ToCairoMatrix(pattern.mTransform, m)) {
    base::warn("graphics", "gradient transform cannot be inverted; nothing drawn");
    return false;
  }
  cairo_pattern_t* p = pattern.mType == EPatternType::Linear
                           ? cairo_pattern_create_linear(0.0, 0.0, 1.0, 0.0)
                           : cairo_pattern_create_radial(0.0, 0.0, 0.0, 0.0, 0.0, 1.0);
  cairo_pattern_set_matrix(p, &m);
  cairo_pattern_set_extend(p, CairoExtend(pattern.mExtend));
  AddGradientStops(p, pattern, weight);
  cairo_set_source(mCr, p);
  cairo_pattern_destroy(p);
  return true;
}

// --- Clip and transform ------------------------------------------------------------------------

void CairoPainter::PathClipRegion(const IRECT& r) {
  if (r.Empty()) {
    ResetClip();
  } else {
    SetClipRect(r);
  }
}

void CairoPainter::ResetClip() {
  if (mCr) cairo_reset_clip(mCr);
}

void CairoPainter::SetClipRect(const IRECT& r) {
  if (!mCr) return;
  if (!base::isFiniteRect(r)) {
    base::warn("graphics", "non-finite clip rectangle ignored");
    return;
  }
  // Clipping consumes the path; keep the one being built.
  cairo_path_t* saved = cairo_has_current_point(mCr) ? cairo_copy_path(mCr) : nullptr;
  cairo_reset_clip(mCr);
  cairo_new_path(mCr);
  // A rectangle with no area clips everything away rather than being taken as its mirror.
  if (r.W() > 0.f && r.H() > 0.f) {
    cairo_rectangle(mCr, r.L, r.T, r.W(), r.H());
  } else {
    cairo_rectangle(mCr, 0.0, 0.0, 0.0, 0.0);
  }
  cairo_clip(mCr);
  if (saved) {
    cairo_append_path(mCr, saved);
    cairo_path_destroy(saved);
  }
}

void CairoPainter::PathTransformSave() {
  if (!mCr) return;
  cairo_save(mCr);
  ++mSaveDepth;
}

void CairoPainter::PathTransformRestore() {
  if (!mCr) return;
  if (mSaveDepth == 0) {
    base::warn("graphics", "transform restore without a save ignored");
    return;
  }
  cairo_restore(mCr);
  --mSaveDepth;
}

void CairoPainter::PathTransformReset(bool clearStates) {
  if (!mCr) return;
  if (clearStates) {
    while (mSaveDepth > 0) {
      cairo_restore(mCr);
      --mSaveDepth;
    }
    cairo_reset_clip(mCr);
  }
  cairo_set_matrix(mCr, &mBaseMatrix);
}

void CairoPainter::PathTransformTranslate(float x, float y) {
  if (!mCr) return;
  cairo_matrix_t m;
  cairo_matrix_init_translate(&m, x, y);
  ApplyTransform(mCr, m);
}

void CairoPainter::PathTransformRotate(float angleDeg) {
  if (!mCr) return;
  cairo_matrix_t m;
  cairo_matrix_init_rotate(&m, DegToRad(angleDeg));
  ApplyTransform(mCr, m);
}

void CairoPainter::PathTransformScale(float sx, float sy) {
  if (!mCr) return;
  cairo_matrix_t m;
  cairo_matrix_init_scale(&m, sx, sy);
  ApplyTransform(mCr, m);
}

void CairoPainter::PathTransformMatrix(const IMatrix& im) {
  if (!mCr) return;
  cairo_matrix_t m;
  cairo_matrix_init(&m, im.mXX, im.mYX, im.mXY, im.mYY, im.mTX, im.mTY);
  ApplyTransform(mCr, m);
}

// --- Output ----------------------------------------------------------------------------------

IColor CairoPainter::GetPixel(int x, int y) const {
  if (!mSurface || x < 0 || y < 0 || x >= mPixelWidth || y >= mPixelHeight)
    return COLOR_TRANSPARENT;
  cairo_surface_flush(mSurface);
  const unsigned char* data = cairo_image_surface_get_data(mSurface);
  const int stride = cairo_image_surface_get_stride(mSurface);
  uint32_t px;
  std::memcpy(&px, data + static_cast<size_t>(y) * stride + static_cast<size_t>(x) * 4, 4);
  return Unpremultiply(px);
}

}  // namespace igraphics
}  // namespace iplug
