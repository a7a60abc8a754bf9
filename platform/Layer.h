#pragma once

#include <cairo.h>

#include "platform/Geometry.h"
#include "platform/Object.h"

namespace platform {

// Where a layer's contents sit in its view when their size differs from the view's.
enum class CALayerContentsGravity { topLeft, topRight, bottomLeft, bottomRight };

// A view's backing layer: an image (its contents) that the display pass composites over
// what the view drew, opaque (the fourth byte of each pixel ignored), at the view's
// place, its size in points being its pixel size divided by the contents scale, and
// placed by the gravity.
class CALayer : public NSObject {
 public:
  CALayer() = default;
  // A 32-bit image surface (ARGB32 or RGB24); the layer holds a reference. Null clears.
  void setContents(cairo_surface_t* contents);
  cairo_surface_t* contents() const { return mContents; }
  double contentsScale() const { return mContentsScale; }
  void setContentsScale(double scale) { mContentsScale = scale > 0 ? scale : 1; }
  CALayerContentsGravity contentsGravity() const { return mGravity; }
  void setContentsGravity(CALayerContentsGravity gravity) { mGravity = gravity; }
  bool drawsAsynchronously() const { return mAsync; }
  void setDrawsAsynchronously(bool async) { mAsync = async; }

  // Composites the contents into a rectangle of window coordinates (y up) through a
  // Cairo context set up in window coordinates.
  void composite(cairo_t* cr, const NSRect& inWindow) const;

 protected:
  void dealloc() override;

 private:
  cairo_surface_t* mContents = nullptr;
  double mContentsScale = 1;
  CALayerContentsGravity mGravity = CALayerContentsGravity::topLeft;
  bool mAsync = false;
};

}  // namespace platform
