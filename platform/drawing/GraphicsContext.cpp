#include "platform/drawing/GraphicsContext.h"

#include <cstdint>
#include <cstring>

#include "base/Finite.h"
#include "base/Log.h"

namespace platform {

namespace {

thread_local CGContext* tCurrent = nullptr;

// Cairo addresses rows with a signed int stride and image sides up to 32767.
constexpr int kMaxCairoSide = 32767;

// A context drawn y up over an image of the given height.
CGContext* contextOver(cairo_surface_t* surface, int height) {
  cairo_t* cr = cairo_create(surface);
  cairo_matrix_t flip;
  cairo_matrix_init(&flip, 1, 0, 0, -1, 0, height);
  cairo_set_matrix(cr, &flip);
  auto* context = new CGContext(cr);
  cairo_destroy(cr);
  return context;
}

}  // namespace

CGImage* CGImage::createWithPixels(const void* pixels, int width, int height, int bytesPerRow,
                                   CGImageAlpha alpha) {
  if (!pixels || width < 1 || height < 1 || width > kMaxCairoSide || height > kMaxCairoSide ||
      bytesPerRow < width * 4 || bytesPerRow % 4)
    return nullptr;
  cairo_surface_t* surface = nullptr;
  if (alpha == CGImageAlpha::first) {
    surface = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, width, height);
    if (cairo_surface_status(surface) != CAIRO_STATUS_SUCCESS) {
      cairo_surface_destroy(surface);
      return nullptr;
    }
    auto* out = cairo_image_surface_get_data(surface);
    int stride = cairo_image_surface_get_stride(surface);
    for (int y = 0; y < height; ++y) {
      auto* src =
          static_cast<const std::uint8_t*>(pixels) + static_cast<std::size_t>(y) * bytesPerRow;
      auto* dst = reinterpret_cast<std::uint32_t*>(out + static_cast<std::size_t>(y) * stride);
      for (int x = 0; x < width; ++x, src += 4) {
        std::uint32_t a = src[3];
        dst[x] = (a << 24) | ((src[2] * a + 127) / 255 << 16) | ((src[1] * a + 127) / 255 << 8) |
                 (src[0] * a + 127) / 255;
      }
    }
    cairo_surface_mark_dirty(surface);
  } else {
    surface = cairo_image_surface_create_for_data(
        static_cast<unsigned char*>(const_cast<void*>(pixels)),
        alpha == CGImageAlpha::noneSkipFirst ? CAIRO_FORMAT_RGB24 : CAIRO_FORMAT_ARGB32, width,
        height, bytesPerRow);
    if (cairo_surface_status(surface) != CAIRO_STATUS_SUCCESS) {
      cairo_surface_destroy(surface);
      return nullptr;
    }
  }
  auto* image = new CGImage;
  image->mSurface = surface;
  return image;
}

CGImage* CGImage::createWithSurface(cairo_surface_t* surface) {
  if (!surface || cairo_surface_get_type(surface) != CAIRO_SURFACE_TYPE_IMAGE) return nullptr;
  auto* image = new CGImage;
  image->mSurface = cairo_surface_reference(surface);
  return image;
}

int CGImage::width() const {
  return cairo_image_surface_get_width(mSurface);
}

int CGImage::height() const {
  return cairo_image_surface_get_height(mSurface);
}

void CGImage::dealloc() {
  cairo_surface_destroy(mSurface);
  mSurface = nullptr;
  NSObject::dealloc();
}

CGContext::CGContext(cairo_t* cr) : mCairo(cairo_reference(cr)) {}

CGContext* CGContext::createBitmap(int width, int height) {
  if (width < 0 || height < 0) return nullptr;
  cairo_surface_t* surface = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, width, height);
  if (cairo_surface_status(surface) != CAIRO_STATUS_SUCCESS) {
    cairo_surface_destroy(surface);
    return nullptr;
  }
  CGContext* context = contextOver(surface, height);
  context->mBitmap = surface;
  return context;
}

CGContext* CGContext::createBitmapOverMemory(void* data, int width, int height, int bytesPerRow) {
  if (!data || width < 1 || height < 1 || width > kMaxCairoSide || height > kMaxCairoSide ||
      bytesPerRow / 4 < width || bytesPerRow % 4)
    return nullptr;
  // Cairo's RGB24 is a native-endian 32-bit word with the top byte unused: on this
  // little-endian machine the bytes B, G, R, X.
  cairo_surface_t* surface = cairo_image_surface_create_for_data(
      static_cast<unsigned char*>(data), CAIRO_FORMAT_RGB24, width, height, bytesPerRow);
  if (cairo_surface_status(surface) != CAIRO_STATUS_SUCCESS) {
    cairo_surface_destroy(surface);
    return nullptr;
  }
  CGContext* context = contextOver(surface, height);
  context->mBitmap = surface;
  return context;
}

CGContext::~CGContext() {
  while (!mSaved.empty())
    restoreGState();
  cairo_destroy(mCairo);
  if (mBitmap) {
    cairo_surface_flush(mBitmap);
    cairo_surface_destroy(mBitmap);
  }
}

void CGContext::saveGState() {
  cairo_save(mCairo);
  mSaved.push_back(mState);
}

bool CGContext::restoreGState() {
  if (mSaved.empty()) {
    base::warn("platform", "CGContext: restore without a matching save ignored");
    return false;
  }
  cairo_restore(mCairo);
  mState = mSaved.back();
  mSaved.pop_back();
  return true;
}

bool CGContext::concatenate(const cairo_matrix_t& transform) {
  cairo_matrix_t current, next;
  cairo_get_matrix(mCairo, &current);
  cairo_matrix_multiply(&next, &transform, &current);
  cairo_matrix_t inverse = next;
  if (base::isFinite(next.xx, next.yx, next.xy, next.yy, next.x0, next.y0) &&
      cairo_matrix_invert(&inverse) == CAIRO_STATUS_SUCCESS) {
    cairo_set_matrix(mCairo, &next);
    return true;
  }
  cairo_new_path(mCairo);
  cairo_rectangle(mCairo, 0, 0, 0, 0);
  cairo_clip(mCairo);
  return false;
}

void CGContext::translate(double x, double y) {
  cairo_matrix_t transform;
  cairo_matrix_init_translate(&transform, x, y);
  concatenate(transform);
}

void CGContext::scale(double sx, double sy) {
  cairo_matrix_t transform;
  cairo_matrix_init_scale(&transform, sx, sy);
  concatenate(transform);
}

NSSize CGContext::convertSizeToDeviceSpace(NSSize size) const {
  double w = size.width, h = size.height;
  cairo_user_to_device_distance(mCairo, &w, &h);
  return {w < 0 ? -w : w, h < 0 ? -h : h};
}

void CGContext::clipToRect(const NSRect& r) {
  cairo_new_path(mCairo);
  cairo_rectangle(mCairo, r.origin.x, r.origin.y, r.size.width, r.size.height);
  cairo_clip(mCairo);
}

void CGContext::setFillColor(double r, double g, double b, double a) {
  mState.fill[0] = r;
  mState.fill[1] = g;
  mState.fill[2] = b;
  mState.fill[3] = a;
}

void CGContext::setStrokeColor(double r, double g, double b, double a) {
  mState.stroke[0] = r;
  mState.stroke[1] = g;
  mState.stroke[2] = b;
  mState.stroke[3] = a;
}

void CGContext::applyBlend() {
  cairo_set_operator(
      mCairo, mState.blend == CGBlendMode::copy ? CAIRO_OPERATOR_SOURCE : CAIRO_OPERATOR_OVER);
}

void CGContext::useFillColor() {
  cairo_set_source_rgba(mCairo, mState.fill[0], mState.fill[1], mState.fill[2], mState.fill[3]);
  applyBlend();
}

void CGContext::useStroke() {
  cairo_set_source_rgba(mCairo, mState.stroke[0], mState.stroke[1], mState.stroke[2],
                        mState.stroke[3]);
  cairo_set_line_width(mCairo, mState.lineWidth);
  applyBlend();
}

void CGContext::addRect(const NSRect& r) {
  cairo_rectangle(mCairo, r.origin.x, r.origin.y, r.size.width, r.size.height);
}

void CGContext::addEllipseInRect(const NSRect& r) {
  if (r.size.width == 0 || r.size.height == 0) return;
  // The unit circle stretched over the rectangle; the path outlives the restore.
  cairo_matrix_t transform;
  cairo_matrix_init(&transform, r.size.width / 2, 0, 0, r.size.height / 2,
                    r.origin.x + r.size.width / 2, r.origin.y + r.size.height / 2);
  cairo_save(mCairo);
  if (concatenate(transform)) {
    cairo_new_sub_path(mCairo);
    cairo_arc(mCairo, 0, 0, 1, 0, 2 * 3.14159265358979323846);
    cairo_close_path(mCairo);
  }
  cairo_restore(mCairo);
}

void CGContext::drawPath(CGPathDrawingMode mode) {
  if (mode != CGPathDrawingMode::stroke) {
    useFillColor();
    if (mode == CGPathDrawingMode::fill) {
      cairo_fill(mCairo);
      return;
    }
    cairo_fill_preserve(mCairo);
  }
  useStroke();
  cairo_stroke(mCairo);
}

void CGContext::fillRect(const NSRect& r) {
  cairo_new_path(mCairo);
  addRect(r);
  drawPath(CGPathDrawingMode::fill);
}

void CGContext::strokeRect(const NSRect& r) {
  cairo_new_path(mCairo);
  addRect(r);
  drawPath(CGPathDrawingMode::stroke);
}

void CGContext::fillEllipseInRect(const NSRect& r) {
  cairo_new_path(mCairo);
  addEllipseInRect(r);
  drawPath(CGPathDrawingMode::fill);
}

void CGContext::strokeEllipseInRect(const NSRect& r) {
  cairo_new_path(mCairo);
  addEllipseInRect(r);
  drawPath(CGPathDrawingMode::stroke);
}

void CGContext::drawImage(const NSRect& r, const CGImage* image) {
  if (image) drawSurface(r, image->surface());
}

void CGContext::drawSurface(const NSRect& r, cairo_surface_t* image, bool flipped, double alpha) {
  if (!image || cairo_surface_get_type(image) != CAIRO_SURFACE_TYPE_IMAGE) return;
  int w = cairo_image_surface_get_width(image);
  int h = cairo_image_surface_get_height(image);
  if (w < 1 || h < 1 || r.size.width == 0 || r.size.height == 0) return;
  cairo_save(mCairo);
  cairo_new_path(mCairo);
  cairo_rectangle(mCairo, r.origin.x, r.origin.y, r.size.width, r.size.height);
  cairo_clip(mCairo);
  // Upright in user space: the first row at the rectangle's larger y, unless flipped.
  cairo_matrix_t placement;
  if (flipped)
    cairo_matrix_init(&placement, r.size.width / w, 0, 0, r.size.height / h, r.origin.x,
                      r.origin.y);
  else
    cairo_matrix_init(&placement, r.size.width / w, 0, 0, -r.size.height / h, r.origin.x,
                      r.origin.y + r.size.height);
  if (!concatenate(placement)) {
    cairo_restore(mCairo);
    return;
  }
  cairo_set_source_surface(mCairo, image, 0, 0);
  cairo_pattern_t* pattern = cairo_get_source(mCairo);
  cairo_pattern_set_extend(pattern, CAIRO_EXTEND_PAD);
  cairo_pattern_set_filter(pattern, mState.interpolation == CGInterpolationQuality::none
                                        ? CAIRO_FILTER_NEAREST
                                        : CAIRO_FILTER_GOOD);
  applyBlend();
  if (alpha >= 1)
    cairo_paint(mCairo);
  else
    cairo_paint_with_alpha(mCairo, alpha);
  cairo_restore(mCairo);
}

CGContext* NSGraphicsContext::currentContext() {
  return tCurrent;
}

NSGraphicsContext::Scope::Scope(CGContext* context) : mPrevious(tCurrent) {
  tCurrent = context;
}

NSGraphicsContext::Scope::~Scope() {
  tCurrent = mPrevious;
}

}  // namespace platform
