#pragma once

#include <cairo.h>

#include "platform/Geometry.h"
#include "platform/Object.h"

namespace platform {

// A drawing context in the manner of CoreGraphics over a Cairo context. It counts its
// own saves so that a restore without a matching save never reaches Cairo (which
// would put the Cairo context into an error state for good), and on destruction it
// unwinds the saves its user left open.
class CGContext {
 public:
  // Draws through an existing Cairo context (not owned; referenced while alive).
  explicit CGContext(cairo_t* cr);
  // A bitmap context of its own: an ARGB image of the size in pixels, cleared, with
  // y pointing up (origin at the bottom left) as CoreGraphics bitmaps have it.
  static CGContext* createBitmap(int width, int height);
  ~CGContext();
  CGContext(const CGContext&) = delete;
  CGContext& operator=(const CGContext&) = delete;

  cairo_t* cairo() const { return mCairo; }
  // The image of a bitmap context, else null.
  cairo_surface_t* bitmapSurface() const { return mOwnedSurface; }

  void saveGState();
  // Returns false (and logs) when there is no save of this context's to restore.
  bool restoreGState();
  int saveDepth() const { return mDepth; }

  void translate(double x, double y) { cairo_translate(mCairo, x, y); }
  void scale(double sx, double sy) { cairo_scale(mCairo, sx, sy); }
  void clipToRect(const NSRect& r);
  void setFillColor(double r, double g, double b, double a);
  void fillRect(const NSRect& r);
  void setStrokeColor(double r, double g, double b, double a);
  void setLineWidth(double width) { mLineWidth = width; }
  void strokeRect(const NSRect& r);

 private:
  cairo_t* mCairo;
  cairo_surface_t* mOwnedSurface = nullptr;
  int mDepth = 0;
  double mFill[4] = {0, 0, 0, 1};
  double mStroke[4] = {0, 0, 0, 1};
  double mLineWidth = 1;
};

// The context that drawing code reaches during a display pass.
class NSGraphicsContext {
 public:
  static CGContext* currentContext();

  // Makes a context current for a scope; scopes nest.
  class Scope {
   public:
    explicit Scope(CGContext* context);
    ~Scope();
    Scope(const Scope&) = delete;
    Scope& operator=(const Scope&) = delete;

   private:
    CGContext* mPrevious;
  };
};

}  // namespace platform
