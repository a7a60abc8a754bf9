#pragma once

// Cairo's own name of its opaque surface, so that users of the graphics core need not see
// Cairo's headers.
typedef struct _cairo_surface cairo_surface_t;

namespace iplug {
namespace igraphics {

// A decoded image: a premultiplied ARGB32 Cairo surface and the scale it was made for (pixels
// per point). Owned by the bitmap cache, or by a layer.
class APIBitmap {
 public:
  // Cairo's image surfaces are limited to this many pixels per side.
  static constexpr int kMaxSide = 32767;

  // Takes over the surface reference.
  APIBitmap(cairo_surface_t* surface, float scale);
  ~APIBitmap();
  APIBitmap(const APIBitmap&) = delete;
  APIBitmap& operator=(const APIBitmap&) = delete;

  cairo_surface_t* GetSurface() const { return mSurface; }
  float GetScale() const { return mScale; }
  int GetWidth() const { return mWidth; }    // pixels
  int GetHeight() const { return mHeight; }  // pixels

 private:
  cairo_surface_t* mSurface;
  float mScale;
  int mWidth = 0, mHeight = 0;
};

}  // namespace igraphics
}  // namespace iplug
