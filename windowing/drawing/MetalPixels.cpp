#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <initializer_list>
#include <vector>

#include <unistd.h>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

#include "base/Log.h"
#include "platform/core/View.h"
#include "windowing/drawing/MetalSurface.h"
#include "windowing/drawing/detail/DrawingRecords.h"
#include "windowing/drawing/detail/MetalSupport.h"

using platform::MTLTexture;

namespace {

constexpr int kOpaque = 255;

// A block of pixels cut to the texture: the first source pixel and the place it goes.
struct ClippedBlock {
  const std::uint32_t* pixels = nullptr;
  int x = 0, y = 0, w = 0, h = 0;
  bool empty() const { return w < 1 || h < 1; }
};

// Cuts a block at (x, y) to (0, 0, limitW, limitH): columns and rows left of or above
// the origin are dropped from the source, those past the far edges too.
ClippedBlock clipBlock(const std::uint32_t* pixels, std::int64_t x, std::int64_t y, std::int64_t w,
                       std::int64_t h, std::int64_t rowSpan, std::int64_t limitW,
                       std::int64_t limitH) {
  if (x < 0) {
    if (pixels) pixels += -x;
    w += x;
    x = 0;
  }
  if (y < 0) {
    if (pixels) pixels += -y * rowSpan;
    h += y;
    y = 0;
  }
  w = std::min(w, limitW - x);
  h = std::min(h, limitH - y);
  if (w < 1 || h < 1) return {};
  return {pixels, static_cast<int>(x), static_cast<int>(y), static_cast<int>(w),
          static_cast<int>(h)};
}

void writeBlock(MTLTexture* texture, const std::uint32_t* pixels, std::int64_t x, std::int64_t y,
                std::int64_t w, std::int64_t h, std::int64_t rowSpan) {
  if (!texture) return;
  ClippedBlock b = clipBlock(pixels, x, y, w, h, rowSpan, texture->width(), texture->height());
  if (b.empty()) return;
  texture->replaceRegion({b.x, b.y, b.w, b.h}, 0, b.pixels,
                         static_cast<std::size_t>(rowSpan) * sizeof(std::uint32_t));
}

// Each colour byte of s over d by s's fourth byte: 255 replaces, 0 keeps.
std::uint32_t blendPixel(std::uint32_t s, std::uint32_t d) {
  const std::uint32_t a = s >> 24;
  if (a == kOpaque) return s;
  if (a == 0) return d;
  std::uint32_t out = d & 0xFF000000u;
  for (int shift = 0; shift < 24; shift += 8) {
    const std::uint32_t sc = (s >> shift) & 0xFF, dc = (d >> shift) & 0xFF;
    out |= (((sc * a + dc * (256 - a)) >> 8) & 0xFF) << shift;
  }
  return out;
}

// Copies or blends a block of pixels into rows of a buffer, cut to its size.
void putBlock(std::uint32_t* dst, int dstW, int dstH, int dstRowSpan, const std::uint32_t* src,
              std::int64_t x, std::int64_t y, std::int64_t w, std::int64_t h, std::int64_t rowSpan,
              bool blend) {
  ClippedBlock b = clipBlock(src, x, y, w, h, rowSpan, dstW, dstH);
  for (int j = 0; j < b.h; ++j) {
    const std::uint32_t* s = b.pixels + static_cast<std::int64_t>(j) * rowSpan;
    std::uint32_t* d = dst + static_cast<std::int64_t>(b.y + j) * dstRowSpan + b.x;
    if (blend)
      for (int i = 0; i < b.w; ++i)
        d[i] = blendPixel(s[i], d[i]);
    else
      std::memcpy(d, s, static_cast<std::size_t>(b.w) * sizeof(std::uint32_t));
  }
}

// Reads the texture back, doubled into a retina-sized buffer (kept under the cap), puts
// the retina block into it and makes that the frame's retina surface.
void promoteToRetina(SwellMetalSurface* s, const std::uint32_t* src, int x, int y, int w, int h,
                     int rowSpan, bool blend) {
  MTLTexture* old = s->m_metal_texture.get();
  const int half = SwellMetalSurface::kMaxSurfaceSide / 2;
  const int cw = std::min(old->width(), half), ch = std::min(old->height(), half);
  std::vector<std::uint32_t>& plain = swell::metalScratch(0);
  std::vector<std::uint32_t>& doubled = swell::metalScratch(1);
  plain.resize(static_cast<std::size_t>(cw) * ch);
  doubled.resize(static_cast<std::size_t>(cw) * ch * 4);
  old->getBytes(plain.data(), static_cast<std::size_t>(cw) * 4, {0, 0, cw, ch}, 0);
  SWELL_Metal_DoublePixels(doubled.data(), plain.data(), cw, ch, cw, 2 * cw);
  putBlock(doubled.data(), 2 * cw, 2 * ch, 2 * cw, src, x, y, w, h, rowSpan, blend);
  s->m_metal_dc_dirty = 0;
  writeBlock(s->metalBeginWrite(true), doubled.data(), 0, 0, 2 * cw, 2 * ch, 2 * cw);
}

#if defined(__SSE2__)
// Each source pixel becomes a 2 x 2 block of the doubled frame.
constexpr int kDoubledPixelsPerSource = 4;
// The core's own cache, where the machine does not say.
constexpr long kAssumedCoreCacheBytes = long{1} << 20;

// A doubled frame larger than the core's own cache is written with streaming stores, which
// send whole lines to memory without reading them first. An ordinary store reads the line it
// writes: within the core's own cache that costs little (streaming stores take twice as long
// there) and leaves the frame in cache for the upload that follows, but a larger frame goes
// through the last-level cache, which every program on the machine shares. With other programs
// at work on the other cores, ordinary stores took 1.2 to 1.3 times the fastest fill at 12 MiB
// and 1.7 to 2.7 times at 48 MiB, streaming ones 1.1 to 1.3 times at both.
std::int64_t streamingDoubleBytes() {
  static const std::int64_t bytes = [] {
    const long cache = sysconf(_SC_LEVEL2_CACHE_SIZE);
    return std::int64_t{cache > 0 ? cache : kAssumedCoreCacheBytes};
  }();
  return bytes;
}

template <bool Stream>
void storeVector(__m128i* at, __m128i pixels) {
  if constexpr (Stream)
    _mm_stream_si128(at, pixels);
  else
    _mm_store_si128(at, pixels);
}

__m128i loadFour(const std::uint32_t* s) {
  return _mm_loadu_si128(reinterpret_cast<const __m128i*>(s));
}

// Writes each pixel of a source row twice into one destination row, a cache line of pixels
// at a time in four aligned 16-byte stores (streaming ones when Stream), so the row costs
// about what a fill of it costs. The pixels before the first 16-byte boundary and those past
// the last whole line are written plainly. From a boundary that falls on a pixel pair, each
// loaded source vector spreads into two stores; from one between the two pixels of a pair,
// each store holds source pixels k, k+1, k+1, k+2, shuffled out of a load of its own.
template <bool Stream>
void doubleRowInLines(std::uint32_t* d, const std::uint32_t* s, int w) {
  constexpr int kPixelsPerLine = 16, kPixelsPerVector = 4;
  // The last source pixel a step between pairs loads lies this far past its first.
  constexpr int kBetweenPairsReach = kPixelsPerLine / 2 + 1;
  const int n = 2 * w;
  int p = 0;
  for (; p < n && reinterpret_cast<std::uintptr_t>(d + p) % sizeof(__m128i) != 0; ++p)
    d[p] = s[p / 2];
  if (p % 2 == 0) {
    for (; p + kPixelsPerLine <= n; p += kPixelsPerLine) {
      const std::uint32_t* q = s + p / 2;
      const __m128i low = loadFour(q), high = loadFour(q + kPixelsPerVector);
      auto* out = reinterpret_cast<__m128i*>(d + p);
      storeVector<Stream>(out, _mm_unpacklo_epi32(low, low));
      storeVector<Stream>(out + 1, _mm_unpackhi_epi32(low, low));
      storeVector<Stream>(out + 2, _mm_unpacklo_epi32(high, high));
      storeVector<Stream>(out + 3, _mm_unpackhi_epi32(high, high));
    }
  } else {
    for (; p + kPixelsPerLine <= n && p / 2 + kBetweenPairsReach < w; p += kPixelsPerLine) {
      const std::uint32_t* q = s + p / 2;
      auto* out = reinterpret_cast<__m128i*>(d + p);
      for (int v = 0; v < kPixelsPerLine / kPixelsPerVector; ++v)
        storeVector<Stream>(out + v,
                            _mm_shuffle_epi32(loadFour(q + 2 * v), _MM_SHUFFLE(2, 1, 1, 0)));
    }
  }
  for (; p < n; ++p)
    d[p] = s[p / 2];
}
#else
// Writes each pixel of a source row twice into one destination row.
void doubleRow(std::uint32_t* d, const std::uint32_t* s, int w) {
  for (int i = 0; i < w; ++i)
    d[2 * i] = d[2 * i + 1] = s[i];
}
#endif

}  // namespace

namespace swell {

platform::NSSize metalSurfaceSize(platform::NSSize bounds, bool retina) {
  const double scale = retina ? 2 : 1;
  const double cap = SwellMetalSurface::kMaxSurfaceSide;
  return {std::min(std::ceil(bounds.width * scale), cap),
          std::min(std::ceil(bounds.height * scale), cap)};
}

std::vector<std::uint32_t>& metalScratch(int which) {
  static std::vector<std::uint32_t> buffers[2];
  return buffers[which != 0];
}

}  // namespace swell

SwellMetalSurface* swellMetalSurfaceOf(HWND hwnd) {
  auto* surface = dynamic_cast<SwellMetalSurface*>(platform::liveObject(hwnd));
  return surface && surface->swellWantsMetal() ? surface : nullptr;
}

HDC SWELL_CreateGfxContextForMetalView(HWND view) {
  HDC hdc = swell::allocContext();
  if (hdc) hdc->metal_view = view;
  return hdc;
}

void SWELL_Metal_UploadTexture(HWND view, const std::uint32_t* pixels, int x, int y, int w, int h,
                               int rowSpan, bool retina) {
  SwellMetalSurface* s = swellMetalSurfaceOf(view);
  if (!s || !pixels || w < 1 || h < 1 || rowSpan < w) return;
  writeBlock(s->metalBeginWrite(retina), pixels, x, y, w, h, rowSpan);
}

void SWELL_Metal_FillRect(HWND view, int x, int y, int w, int h, std::uint32_t colour) {
  SwellMetalSurface* s = swellMetalSurfaceOf(view);
  if (!s || w <= 0 || h <= 0) return;
  const bool retina = s->m_metal_dc_dirty && s->m_metal_retina;
  const std::int64_t scale = retina ? 2 : 1;
  MTLTexture* texture = s->metalBeginWrite(retina);
  if (!texture) return;
  // Cut to the texture before any buffer is made, so a huge rectangle costs nothing.
  ClippedBlock b = clipBlock(nullptr, x * scale, y * scale, w * scale, h * scale, 0,
                             texture->width(), texture->height());
  if (b.empty()) return;
  std::vector<std::uint32_t>& buffer = swell::metalScratch(0);
  buffer.assign(static_cast<std::size_t>(b.w) * b.h, colour);
  texture->replaceRegion({b.x, b.y, b.w, b.h}, 0, buffer.data(),
                         static_cast<std::size_t>(b.w) * sizeof(std::uint32_t));
}

void SWELL_Metal_Blit(HWND view, const std::uint32_t* src, int x, int y, int w, int h,
                      int srcRowSpan, bool retina, bool alphaBlend) {
  SwellMetalSurface* s = swellMetalSurfaceOf(view);
  if (!s || !src || w < 1 || h < 1 || srcRowSpan < w) return;
  bool doubleBlock = false;
  if (s->m_metal_dc_dirty && !s->m_metal_retina && retina) {
    if (s->m_use_metal == 1) {
      base::warn("swell-cocoa",
                 "DRAWING UNSUPPORTED: metal direct-mode non-retina drawing followed by retina "
                 "drawing, will cause incorrect display.");
    } else if (s->m_metal_texture) {
      base::warn("swell-cocoa",
                 "PERFORMANCE WARNING: metal non-retina drawing followed by retina drawing, "
                 "calling code should be fixed.");
      promoteToRetina(s, src, x, y, w, h, srcRowSpan, alphaBlend);
      return;
    } else {
      s->m_metal_dc_dirty = 0;
    }
  } else if (s->m_metal_dc_dirty && s->m_metal_retina && !retina) {
    doubleBlock = true;
  }
  MTLTexture* texture = s->metalBeginWrite(retina || doubleBlock);
  if (!texture) return;
  const std::int64_t scale = doubleBlock ? 2 : 1;
  // The part of the source that lands on the texture, cut before anything is copied.
  ClippedBlock b = clipBlock(src, x, y, w, h, srcRowSpan, (texture->width() + scale - 1) / scale,
                             (texture->height() + scale - 1) / scale);
  if (b.empty()) return;
  const std::uint32_t* pixels = b.pixels;
  std::int64_t rowSpan = srcRowSpan;
  if (doubleBlock) {
    std::vector<std::uint32_t>& doubled = swell::metalScratch(0);
    rowSpan = swell::roundUpToFour(2 * b.w);
    doubled.resize(static_cast<std::size_t>(rowSpan) * 2 * b.h);
    SWELL_Metal_DoublePixels(doubled.data(), b.pixels, b.w, b.h, srcRowSpan,
                             static_cast<int>(rowSpan));
    pixels = doubled.data();
  }
  ClippedBlock target = clipBlock(pixels, b.x * scale, b.y * scale, b.w * scale, b.h * scale,
                                  rowSpan, texture->width(), texture->height());
  if (target.empty()) return;
  if (alphaBlend) {
    std::vector<std::uint32_t>& under = swell::metalScratch(pixels == b.pixels ? 0 : 1);
    const int underSpan = swell::roundUpToFour(target.w);
    under.resize(static_cast<std::size_t>(underSpan) * target.h);
    texture->getBytes(under.data(), static_cast<std::size_t>(underSpan) * 4,
                      {target.x, target.y, target.w, target.h}, 0);
    putBlock(under.data(), target.w, target.h, underSpan, target.pixels, 0, 0, target.w, target.h,
             rowSpan, true);
    texture->replaceRegion({target.x, target.y, target.w, target.h}, 0, under.data(),
                           static_cast<std::size_t>(underSpan) * 4);
    return;
  }
  texture->replaceRegion({target.x, target.y, target.w, target.h}, 0, target.pixels,
                         static_cast<std::size_t>(rowSpan) * 4);
}

void SWELL_Metal_DoublePixels(std::uint32_t* dst, const std::uint32_t* src, int w, int h,
                              int srcRowSpan, int dstRowSpan) {
  if (!dst || !src || w < 1 || h < 1) return;
  // Destination rows closer than a doubled row would overwrite one another.
  if (std::abs(static_cast<std::int64_t>(dstRowSpan)) < 2 * static_cast<std::int64_t>(w)) {
    base::warn("swell-cocoa", "pixel doubling refused: destination rows of %d for %d pixels",
               dstRowSpan, w);
    return;
  }
#if defined(__SSE2__)
  const std::int64_t writtenBytes =
      static_cast<std::int64_t>(w) * h * kDoubledPixelsPerSource * sizeof(std::uint32_t);
  const bool stream = writtenBytes > streamingDoubleBytes();
  for (int j = 0; j < h; ++j) {
    const std::uint32_t* s = src + static_cast<std::int64_t>(j) * srcRowSpan;
    std::uint32_t* top = dst + static_cast<std::int64_t>(2 * j) * dstRowSpan;
    // Row by row: writing both rows of a step in turn took twice as long as a fill.
    for (std::uint32_t* row : {top, top + dstRowSpan}) {
      if (stream)
        doubleRowInLines<true>(row, s, w);
      else
        doubleRowInLines<false>(row, s, w);
    }
  }
  // Streaming stores are weakly ordered: make them visible before the frame is read.
  if (stream) _mm_sfence();
#else
  for (int j = 0; j < h; ++j) {
    const std::uint32_t* s = src + static_cast<std::int64_t>(j) * srcRowSpan;
    std::uint32_t* top = dst + static_cast<std::int64_t>(2 * j) * dstRowSpan;
    doubleRow(top, s, w);
    std::memcpy(top + dstRowSpan, top, static_cast<std::size_t>(w) * 2 * sizeof(std::uint32_t));
  }
#endif
}
