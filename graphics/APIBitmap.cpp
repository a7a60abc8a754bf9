#include "graphics/APIBitmap.h"

#include <cairo.h>

namespace iplug {
namespace igraphics {

APIBitmap::APIBitmap(cairo_surface_t* surface, float scale) : mSurface(surface), mScale(scale) {
  if (mSurface && cairo_surface_get_type(mSurface) == CAIRO_SURFACE_TYPE_IMAGE) {
    mWidth = cairo_image_surface_get_width(mSurface);
    mHeight = cairo_image_surface_get_height(mSurface);
  }
}

APIBitmap::~APIBitmap() {
  if (mSurface) cairo_surface_destroy(mSurface);
}

}  // namespace igraphics
}  // namespace iplug
