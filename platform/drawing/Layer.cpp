#include "platform/drawing/Layer.h"

namespace platform {

void CALayer::setContents(cairo_surface_t* contents) {
  if (contents == mContents) return;
  if (contents) cairo_surface_reference(contents);
  if (mContents) cairo_surface_destroy(mContents);
  mContents = contents;
}

void CALayer::composite(cairo_t* cr, const NSRect& inWindow) const {
  if (!mContents || cairo_surface_get_type(mContents) != CAIRO_SURFACE_TYPE_IMAGE) return;
  int w = cairo_image_surface_get_width(mContents);
  int h = cairo_image_surface_get_height(mContents);
  if (w < 1 || h < 1) return;
  cairo_surface_flush(mContents);
  // The same pixels read as RGB24: the fourth byte is ignored, the image is opaque.
  cairo_surface_t* opaque = cairo_image_surface_create_for_data(
      cairo_image_surface_get_data(mContents), CAIRO_FORMAT_RGB24, w, h,
      cairo_image_surface_get_stride(mContents));
  double pw = w / mContentsScale, ph = h / mContentsScale;
  bool right = mGravity == CALayerContentsGravity::topRight ||
               mGravity == CALayerContentsGravity::bottomRight;
  bool top =
      mGravity == CALayerContentsGravity::topLeft || mGravity == CALayerContentsGravity::topRight;
  double x = right ? inWindow.origin.x + inWindow.size.width - pw : inWindow.origin.x;
  // Window coordinates point up: the image's top edge.
  double topEdge = top ? inWindow.origin.y + inWindow.size.height : inWindow.origin.y + ph;
  cairo_save(cr);
  cairo_new_path(cr);
  cairo_rectangle(cr, inWindow.origin.x, inWindow.origin.y, inWindow.size.width,
                  inWindow.size.height);
  cairo_clip(cr);
  cairo_translate(cr, x, topEdge);
  cairo_scale(cr, 1 / mContentsScale, -1 / mContentsScale);
  cairo_set_source_surface(cr, opaque, 0, 0);
  cairo_pattern_set_filter(cairo_get_source(cr), CAIRO_FILTER_NEAREST);
  cairo_rectangle(cr, 0, 0, w, h);
  cairo_set_operator(cr, CAIRO_OPERATOR_SOURCE);
  cairo_fill(cr);
  cairo_restore(cr);
  cairo_surface_destroy(opaque);
}

void CALayer::dealloc() {
  setContents(nullptr);
  NSObject::dealloc();
}

}  // namespace platform
