#pragma once

#include <cairo.h>

// The parsed-image type of the SVG library; its header stays out of ours (it brings glib's
// TRUE and FALSE macros).
struct _RsvgHandle;

namespace iplug {
namespace igraphics {

// A parsed SVG image and its natural size in points. Owned by the SVG cache and shared with
// the ISVG records that use it.
struct SVGHolder {
  // Takes over the handle reference.
  SVGHolder(_RsvgHandle* handle, double width, double height)
      : mHandle(handle), mWidth(width), mHeight(height) {}
  ~SVGHolder();
  SVGHolder(const SVGHolder&) = delete;
  SVGHolder& operator=(const SVGHolder&) = delete;

  // Renders the whole image into the rectangle (0, 0, width, height) of the context's user
  // space; false when the library reports an error.
  bool Render(cairo_t* cr, double width, double height) const;

  _RsvgHandle* mHandle;
  double mWidth, mHeight;
};

}  // namespace igraphics
}  // namespace iplug
