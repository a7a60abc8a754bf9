#include <algorithm>
#include <cstdint>
#include <cstring>
#include <vector>

#include "windowing/drawing/Bitmaps.h"
#include "windowing/drawing/DrawingContext.h"
#include "windowing/drawing/MetalSurface.h"
#include "windowing/drawing/detail/DrawingRecords.h"

namespace {
// The mode that reads the source's fourth byte as straight alpha.
constexpr unsigned kAlphaBlitMode = 0xDEADBEEF;
constexpr std::int64_t kFixedOne = 65536;

// Hands source rows to a Metal view: unscaled and exact halvings directly, other scalings
// resampled once by nearest neighbour in 16.16 steps (64-bit) into a reused buffer.
void blitToMetal(HDC dst, const std::uint32_t* first, long long W, long long xx, long long yy,
                 long long swc, long long shc, long long dw, long long dh, bool alpha) {
  HWND view = dst->metal_view;
  if (dw == swc && dh == shc) {
    SWELL_Metal_Blit(view, first, int(xx), int(yy), int(swc), int(shc), int(W), false, alpha);
    return;
  }
  if (swc == 2 * dw && shc == 2 * dh) {
    SWELL_Metal_Blit(view, first, int(2 * xx), int(2 * yy), int(swc), int(shc), int(W), true,
                     alpha);
    return;
  }
  long long tw = dw, th = dh;
  bool retina = false;
  if (swc >= 2 * dw && shc >= 2 * dh && SWELL_IsRetinaDC(dst)) {
    xx *= 2;
    yy *= 2;
    tw *= 2;
    th *= 2;
    retina = true;
  }
  // No target larger than a surface can hold is ever made.
  const long long cap = SwellMetalSurface::kMaxSurfaceSide;
  if (tw > cap || th > cap) return;
  static std::vector<std::uint32_t> scratch;
  const long long span = (tw + 3) & ~3LL;
  scratch.resize(static_cast<std::size_t>(span * th));
  const std::int64_t xStep = swc * kFixedOne / tw, yStep = shc * kFixedOne / th;
  for (long long r = 0; r < th; ++r) {
    const long long sr = r * yStep / kFixedOne;
    if (sr >= shc) {
      th = r;
      break;
    }
    const std::uint32_t* in = first + sr * W;
    std::uint32_t* out = scratch.data() + r * span;
    for (long long c = 0; c < tw; ++c) {
      const long long sc = c * xStep / kFixedOne;
      out[c] = in[sc < swc ? sc : swc - 1];
    }
  }
  if (th < 1) return;
  SWELL_Metal_Blit(view, scratch.data(), int(xx), int(yy), int(tw), int(th), int(span), retina,
                   alpha);
}

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
  if (!dst->ctx && !dst->metal_view) return;
  cairo_surface_flush(bitmap);
  const std::uint8_t* first = cairo_image_surface_get_data(bitmap) +
                              static_cast<std::size_t>(sy) * stride +
                              static_cast<std::size_t>(sx) * 4;
  if (!dst->ctx) {
    blitToMetal(dst, reinterpret_cast<const std::uint32_t*>(first),
                static_cast<long long>(stride / 4), xx, yy, swc, shc, dw, dh,
                static_cast<unsigned>(mode) == kAlphaBlitMode);
    return;
  }
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
