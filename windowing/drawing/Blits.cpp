#include <algorithm>
#include <cstdint>
#include <cstring>
#include <vector>

#include "windowing/drawing/Bitmaps.h"
#include "windowing/drawing/detail/DrawingRecords.h"

namespace {
// The mode that reads the source's fourth byte as straight alpha.
constexpr unsigned kAlphaBlitMode = 0xDEADBEEF;
}  // namespace

void StretchBlt(HDC dst, int x, int y, int w, int h, HDC src, int sx, int sy, int sw, int sh,
                int mode) {
  if (!swell::isLiveDC(src) || !src->ctx || !src->ownedpixels || sw < 1 || sh < 1) return;
  if (!swell::isLiveDC(dst)) return;
  cairo_surface_t* bitmap = src->ctx->bitmapSurface();
  const int W = cairo_image_surface_get_width(bitmap), H = cairo_image_surface_get_height(bitmap);
  const std::size_t stride = static_cast<std::size_t>(cairo_image_surface_get_stride(bitmap));
  long long swc = sw, shc = sh;
  long long xx = x, yy = y;
  // Clipping to the source; the steps in 64 bits.
  if (sx < 0) {
    xx -= (static_cast<long long>(sx) * w) / sw;
    swc += sx;
    sx = 0;
  }
  if (sy < 0) {
    yy -= (static_cast<long long>(sy) * h) / sh;
    shc += sy;
    sy = 0;
  }
  swc = std::min<long long>(swc, W - static_cast<long long>(sx));
  shc = std::min<long long>(shc, H - static_cast<long long>(sy));
  if (swc < 1 || shc < 1) return;
  long long dw = static_cast<long long>(w) * swc / sw, dh = static_cast<long long>(h) * shc / sh;
  if (dw < 1 || dh < 1) return;
  if (!dst->ctx) return;
  cairo_surface_flush(bitmap);
  const std::uint8_t* first = cairo_image_surface_get_data(bitmap) +
                              static_cast<std::size_t>(sy) * stride +
                              static_cast<std::size_t>(sx) * 4;
  // A context drawn onto itself reads a copy of the source, not the rows being written.
  std::vector<std::uint8_t> copy;
  if (dst == src) {
    copy.assign(first, first + static_cast<std::size_t>(shc - 1) * stride +
                           static_cast<std::size_t>(swc) * 4);
    first = copy.data();
  }
  platform::Ref<platform::CGImage> image =
      platform::Ref<platform::CGImage>::adopt(platform::CGImage::createWithPixels(
          first, int(swc), int(shc), static_cast<int>(stride),
          static_cast<unsigned>(mode) == kAlphaBlitMode ? platform::CGImageAlpha::first
                                                        : platform::CGImageAlpha::noneSkipFirst));
  if (!image) return;
  platform::CGContext* cg = dst->ctx;
  cg->saveGState();
  cg->scale(1, -1);
  cg->setInterpolationQuality(platform::CGInterpolationQuality::none);
  cg->drawImage(platform::NSMakeRect(double(xx), -double(yy + dh), double(dw), double(dh)),
                image.get());
  cg->restoreGState();
}

void BitBlt(HDC dst, int x, int y, int w, int h, HDC src, int sx, int sy, int mode) {
  StretchBlt(dst, x, y, w, h, src, sx, sy, w, h, mode);
}
