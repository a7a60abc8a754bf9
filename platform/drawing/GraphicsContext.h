#pragma once

#include <cairo.h>

#include <vector>

#include "platform/objects/Geometry.h"
#include "platform/objects/Object.h"

namespace platform {

// An affine map (x' = a x + c y + tx, y' = b x + d y + ty).
struct CGAffineTransform {
  double a = 1, b = 0, c = 0, d = 1, tx = 0, ty = 0;
  bool operator==(const CGAffineTransform&) const = default;
};

enum class CGPathDrawingMode { fill, stroke, fillStroke };
enum class CGInterpolationQuality { none, standard };
enum class CGBlendMode { normal, copy };

// How the fourth byte of 32-bit pixels is read when an image is made over them.
enum class CGImageAlpha {
  noneSkipFirst,       // ignored: the pixels are opaque
  premultipliedFirst,  // premultiplied alpha
  first,               // straight (non-premultiplied) alpha
};

// An image over 32-bit little-endian pixels (bytes B, G, R, fourth). Opaque and
// premultiplied pixels are referenced where they lie (the memory must outlive the
// image); straight alpha is premultiplied into a copy.
class CGImage : public NSObject {
 public:
  static CGImage* createWithPixels(const void* pixels, int width, int height, int bytesPerRow,
                                   CGImageAlpha alpha);
  // An image that holds a reference to a Cairo image surface.
  static CGImage* createWithSurface(cairo_surface_t* surface);
  int width() const;
  int height() const;
  cairo_surface_t* surface() const { return mSurface; }

 protected:
  void dealloc() override;

 private:
  CGImage() = default;
  cairo_surface_t* mSurface = nullptr;
};

// A drawing context in the manner of CoreGraphics over a Cairo context. It keeps
// CoreGraphics' conventions so that code written for them draws the same here: bitmap
// contexts have y pointing up from the bottom-left corner; the fill and stroke colours,
// line width, interpolation and blend mode are graphics state (saved and restored with
// it), the line width starts at 1; the path and the text matrix and position are not
// graphics state; an image is drawn upright in the user space (its first row at the top
// of the rectangle when y points up). It counts its own saves so that a restore without
// a matching save never reaches Cairo, and on destruction it unwinds what was left open.
class CGContext {
 public:
  // Draws through an existing Cairo context (not owned; referenced while alive).
  explicit CGContext(cairo_t* cr);
  // A bitmap context of its own: an ARGB image of the size in pixels, cleared, y up.
  static CGContext* createBitmap(int width, int height);
  // A bitmap context over caller memory of 32-bit little-endian pixels whose fourth
  // byte is skipped (bytes B, G, R, X); the memory's first row is the top row. Null for
  // a size Cairo cannot address or rows shorter than width x 4 bytes.
  static CGContext* createBitmapOverMemory(void* data, int width, int height, int bytesPerRow);
  ~CGContext();
  CGContext(const CGContext&) = delete;
  CGContext& operator=(const CGContext&) = delete;

  cairo_t* cairo() const { return mCairo; }
  // The image of a bitmap context, else null.
  cairo_surface_t* bitmapSurface() const { return mBitmap; }

  void saveGState();
  // Returns false (and logs) when there is no save of this context's to restore.
  bool restoreGState();
  int saveDepth() const { return static_cast<int>(mSaved.size()); }

  // A transform that is no number, or that collapses the plane (a zero scale), draws
  // nothing until the state is restored; the drawing after the restore is unharmed.
  void translate(double x, double y);
  void scale(double sx, double sy);
  // A size in user space measured in device pixels.
  NSSize convertSizeToDeviceSpace(NSSize size) const;
  void clipToRect(const NSRect& r);

  void setFillColor(double r, double g, double b, double a);
  void setStrokeColor(double r, double g, double b, double a);
  void setLineWidth(double width) { mState.lineWidth = width; }
  double lineWidth() const { return mState.lineWidth; }
  void setInterpolationQuality(CGInterpolationQuality q) { mState.interpolation = q; }
  void setBlendMode(CGBlendMode mode) { mState.blend = mode; }
  void setShouldSmoothFonts(bool smooth) { mState.smoothFonts = smooth; }
  bool shouldSmoothFonts() const { return mState.smoothFonts; }

  // The current path; drawing it consumes it.
  void beginPath() { cairo_new_path(mCairo); }
  void moveToPoint(double x, double y) { cairo_move_to(mCairo, x, y); }
  void addLineToPoint(double x, double y) { cairo_line_to(mCairo, x, y); }
  void addCurveToPoint(double x1, double y1, double x2, double y2, double x, double y) {
    cairo_curve_to(mCairo, x1, y1, x2, y2, x, y);
  }
  void addRect(const NSRect& r);
  void addEllipseInRect(const NSRect& r);
  void closePath() { cairo_close_path(mCairo); }
  void drawPath(CGPathDrawingMode mode);

  void fillRect(const NSRect& r);
  void strokeRect(const NSRect& r);
  void fillEllipseInRect(const NSRect& r);
  void strokeEllipseInRect(const NSRect& r);

  // Draws the image scaled into the rectangle, upright.
  void drawImage(const NSRect& r, const CGImage* image);
  void drawSurface(const NSRect& r, cairo_surface_t* image, bool flipped = false, double alpha = 1);

  // Text is placed by the text matrix, then the transform; neither save nor restore
  // touches the matrix or the position.
  void setTextMatrix(const CGAffineTransform& m) { mTextMatrix = m; }
  const CGAffineTransform& textMatrix() const { return mTextMatrix; }
  void setTextPosition(double x, double y) { mTextPosition = {x, y}; }
  NSPoint textPosition() const { return mTextPosition; }
  // Sets the fill colour as Cairo's source (what text and fills paint with).
  void useFillColor();

 private:
  struct State {
    double fill[4] = {0, 0, 0, 1};
    double stroke[4] = {0, 0, 0, 1};
    double lineWidth = 1;
    CGInterpolationQuality interpolation = CGInterpolationQuality::standard;
    CGBlendMode blend = CGBlendMode::normal;
    bool smoothFonts = true;
  };
  void useStroke();
  void applyBlend();
  // Applies the transform after the current one; when the result is no usable transform,
  // clips everything away instead (Cairo would take it as an error that ends all later
  // drawing through the context) and returns false.
  bool concatenate(const cairo_matrix_t& transform);

  cairo_t* mCairo;
  cairo_surface_t* mBitmap = nullptr;
  State mState;
  std::vector<State> mSaved;
  CGAffineTransform mTextMatrix;
  NSPoint mTextPosition;
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
