#include "platform/GraphicsContext.h"

#include "base/Log.h"

namespace platform {

namespace {
thread_local CGContext* tCurrent = nullptr;
}

CGContext::CGContext(cairo_t* cr) : mCairo(cairo_reference(cr)) {}

CGContext* CGContext::createBitmap(int width, int height) {
  if (width < 0 || height < 0) return nullptr;
  cairo_surface_t* surface = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, width, height);
  if (cairo_surface_status(surface) != CAIRO_STATUS_SUCCESS) {
    cairo_surface_destroy(surface);
    return nullptr;
  }
  cairo_t* cr = cairo_create(surface);
  // y up: the origin is the bottom-left pixel corner.
  cairo_matrix_t flip;
  cairo_matrix_init(&flip, 1, 0, 0, -1, 0, height);
  cairo_set_matrix(cr, &flip);
  auto* context = new CGContext(cr);
  cairo_destroy(cr);
  context->mOwnedSurface = surface;
  return context;
}

CGContext::~CGContext() {
  while (mDepth > 0)
    restoreGState();
  cairo_destroy(mCairo);
  if (mOwnedSurface) cairo_surface_destroy(mOwnedSurface);
}

void CGContext::saveGState() {
  cairo_save(mCairo);
  ++mDepth;
}

bool CGContext::restoreGState() {
  if (mDepth <= 0) {
    base::warn("platform", "CGContext: restore without a matching save ignored");
    return false;
  }
  cairo_restore(mCairo);
  --mDepth;
  return true;
}

void CGContext::clipToRect(const NSRect& r) {
  cairo_rectangle(mCairo, r.origin.x, r.origin.y, r.size.width, r.size.height);
  cairo_clip(mCairo);
}

void CGContext::setFillColor(double r, double g, double b, double a) {
  mFill[0] = r;
  mFill[1] = g;
  mFill[2] = b;
  mFill[3] = a;
}

void CGContext::fillRect(const NSRect& r) {
  cairo_set_source_rgba(mCairo, mFill[0], mFill[1], mFill[2], mFill[3]);
  cairo_rectangle(mCairo, r.origin.x, r.origin.y, r.size.width, r.size.height);
  cairo_fill(mCairo);
}

void CGContext::setStrokeColor(double r, double g, double b, double a) {
  mStroke[0] = r;
  mStroke[1] = g;
  mStroke[2] = b;
  mStroke[3] = a;
}

void CGContext::strokeRect(const NSRect& r) {
  cairo_set_source_rgba(mCairo, mStroke[0], mStroke[1], mStroke[2], mStroke[3]);
  cairo_set_line_width(mCairo, mLineWidth);
  cairo_rectangle(mCairo, r.origin.x, r.origin.y, r.size.width, r.size.height);
  cairo_stroke(mCairo);
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
