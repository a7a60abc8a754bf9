#pragma once

#include <cairo.h>

#include "platform/objects/Geometry.h"
#include "platform/objects/Object.h"

namespace platform {

// Where a layer's contents sit in its view when their size differs from the view's.
enum class CALayerContentsGravity { topLeft, topRight, bottomLeft, bottomRight };

// A view's backing layer: an image (its contents) that the display pass composites over
// what the view drew, opaque (the fourth byte of each pixel ignored), at the view's
// place, its size in points being its pixel size divided by the contents scale, and
// placed by the gravity.
class CALayer : public NSObject {
 public:
  // The range of pixels per point a contents scale may have.
  static constexpr double kMinContentsScale = 1.0 / 65536;
  static constexpr double kMaxContentsScale = 65536;

  CALayer() = default;
  // A 32-bit image surface (ARGB32 or RGB24); the layer holds a reference. Null clears.
  void setContents(cairo_surface_t* contents);
  cairo_surface_t* contents() const { return mContents; }
  double contentsScale() const { return mContentsScale; }
  // A scale outside what pixels per point can be (no number included) is taken as 1:
  // the compositing would otherwise scale by nothing or by infinity.
  void setContentsScale(double scale) {
    mContentsScale = scale >= kMinContentsScale && scale <= kMaxContentsScale ? scale : 1;
  }
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
