#include <cairo.h>

#include <cstdint>
#include <cstring>
#include <string>

#include "platform/drawing/Image.h"
#include "windowing/drawing/Bitmaps.h"
#include "windowing/drawing/detail/DrawingRecords.h"

using platform::NSImage;
using platform::Ref;

namespace {

constexpr int kSupportedBitsPerPixel = 32;
constexpr std::uint32_t kMagenta = 0xFF00FF;
constexpr std::uint32_t kRgbMask = 0xFFFFFF;

// The image of a live bitmap object, when it is one.
NSImage* imageOf(HGDIOBJ object) {
  return dynamic_cast<NSImage*>(swell::bitmapImage(object));
}

// A bitmap object over an image the caller made (its reference passes to the object).
HBITMAP adoptIntoBitmap(NSImage* image) {
  if (!image) return nullptr;
  HBITMAP bitmap = swell::makeBitmapObject(image);
  image->release();
  return bitmap;
}

std::uint8_t premultiply(std::uint8_t component, std::uint8_t alpha) {
  return static_cast<std::uint8_t>((component * alpha + 127) / 255);
}

// A copy of the image with its magenta pixels made transparent; null when none was.
NSImage* withoutMagenta(const NSImage* image) {
  NSImage* copy = image->copy();
  if (!copy) return nullptr;
  cairo_surface_t* surface = copy->surface();
  cairo_surface_flush(surface);
  unsigned char* data = cairo_image_surface_get_data(surface);
  const int width = cairo_image_surface_get_width(surface);
  const int height = cairo_image_surface_get_height(surface);
  const int stride = cairo_image_surface_get_stride(surface);
  bool cleared = false;
  for (int row = 0; data && row < height; ++row) {
    auto* pixels = reinterpret_cast<std::uint32_t*>(data + static_cast<std::size_t>(row) * stride);
    for (int column = 0; column < width; ++column)
      if ((pixels[column] & kRgbMask) == kMagenta) {
        pixels[column] = 0;
        cleared = true;
      }
  }
  cairo_surface_mark_dirty(surface);
  if (!cleared) {
    copy->release();
    return nullptr;
  }
  return copy;
}

}  // namespace

HBITMAP CreateBitmap(int width, int height, int planes, int bitsPerPixel, const void* data) {
  if (bitsPerPixel != kSupportedBitsPerPixel || width < 1 || height < 1) return nullptr;
  cairo_surface_t* surface = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, width, height);
  if (cairo_surface_status(surface) != CAIRO_STATUS_SUCCESS) {
    cairo_surface_destroy(surface);
    return nullptr;
  }
  if (data) {
    cairo_surface_flush(surface);
    unsigned char* rows = cairo_image_surface_get_data(surface);
    const int stride = cairo_image_surface_get_stride(surface);
    const auto* source = static_cast<const std::uint8_t*>(data);
    const std::size_t rowBytes = static_cast<std::size_t>(width) * 4;
    // The surface holds premultiplied pixels; the caller's alpha is straight.
    for (int row = 0; row < height; ++row) {
      const std::uint8_t* in = source + row * rowBytes;
      std::uint8_t* out = rows + static_cast<std::size_t>(row) * stride;
      for (int column = 0; column < width; ++column, in += 4, out += 4) {
        out[0] = premultiply(in[0], in[3]);
        out[1] = premultiply(in[1], in[3]);
        out[2] = premultiply(in[2], in[3]);
        out[3] = in[3];
      }
    }
    cairo_surface_mark_dirty(surface);
  }
  NSImage* image = NSImage::imageWithSurface(surface);
  cairo_surface_destroy(surface);
  return adoptIntoBitmap(image);
}

HICON CreateIconIndirect(const ICONINFO* info) {
  if (!info || !info->fIcon) return nullptr;
  NSImage* image = imageOf(info->hbmColor);
  return image ? swell::makeBitmapObject(image) : nullptr;
}

HBITMAP LoadNamedImage(const char* name, bool icon) {
  if (!name) return nullptr;
  NSImage* image = nullptr;
  if (std::strchr(name, '/')) image = NSImage::imageWithContentsOfFile(name);
  if (!image) image = NSImage::imageNamed(name);
  if (!image) return nullptr;
  image->setFlipped(true);
  if (icon && image->size().width >= 1 && image->size().height >= 1) {
    if (NSImage* cleared = withoutMagenta(image)) {
      cleared->setFlipped(true);
      image->release();
      image = cleared;
    }
  }
  return adoptIntoBitmap(image);
}

int GetObject(HGDIOBJ object, int size, void* buffer) {
  if (!buffer || size <= 0) return 0;
  std::memset(buffer, 0, std::min(static_cast<std::size_t>(size), sizeof(BITMAP)));
  NSImage* image = imageOf(object);
  if (size < static_cast<int>(2 * sizeof(LONG)) || !image) return 0;
  BITMAP out;
  out.bmWidth = static_cast<LONG>(image->size().width + 0.5);
  out.bmHeight = static_cast<LONG>(image->size().height + 0.5);
  if (size >= static_cast<int>(sizeof(BITMAP))) {
    out.bmWidthBytes = out.bmWidth * 4;
    out.bmPlanes = 1;
    out.bmBitsPixel = kSupportedBitsPerPixel;
    std::memcpy(buffer, &out, sizeof out);
  } else {
    std::memcpy(buffer, &out, 2 * sizeof(LONG));
  }
  return 1;
}

platform::NSImage* GetNSImageFromHICON(HICON icon) {
  return imageOf(icon);
}

void DrawImageInRect(HDC hdc, HGDIOBJ bitmap, const RECT* r) {
  NSImage* image = imageOf(bitmap);
  platform::CGContext* surface = SWELL_GetCtxGC(hdc);
  if (!image || !surface || !r) return;
  const bool wasFlipped = image->isFlipped();
  image->setFlipped(true);
  surface->saveGState();
  image->drawInRect(surface,
                    platform::NSMakeRect(r->left, r->top, static_cast<double>(r->right) - r->left,
                                         static_cast<double>(r->bottom) - r->top));
  surface->restoreGState();
  // The image keeps the state its owner gave it.
  image->setFlipped(wasFlipped);
}
