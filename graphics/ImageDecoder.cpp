#include "graphics/ImageDecoder.h"

#include <cstdint>
#include <cstring>

#include "base/Log.h"
#include "graphics/APIBitmap.h"

#define STB_IMAGE_IMPLEMENTATION
#define STBI_ONLY_PNG
#define STBI_ONLY_JPEG
#define STBI_FAILURE_USERMSG
#include <stb_image.h>

namespace iplug {
namespace igraphics {

namespace {

// A compressed file of a few kilobytes can claim an area that takes gigabytes once decoded;
// no bitmap of the editor comes near this many pixels (256 MB of RGBA).
constexpr long long kMaxImagePixels = 1LL << 26;

bool Decodable(int w, int h) {
  return w > 0 && h > 0 && w <= APIBitmap::kMaxSide && h <= APIBitmap::kMaxSide &&
         static_cast<long long>(w) * h <= kMaxImagePixels;
}

}  // namespace

cairo_surface_t* DecodeImageFile(const char* path) {
  int w = 0, h = 0, channels = 0;
  // The header tells the size; an image Cairo cannot hold is refused before decoding it.
  if (stbi_info(path, &w, &h, &channels) && !Decodable(w, h)) {
    base::warn("graphics", "image \"%s\" is %d x %d pixels, too large", path, w, h);
    return nullptr;
  }
  stbi_uc* rgba = stbi_load(path, &w, &h, &channels, 4);
  if (!rgba) {
    base::warn("graphics", "cannot decode image \"%s\": %s", path, stbi_failure_reason());
    return nullptr;
  }
  if (!Decodable(w, h)) {
    base::warn("graphics", "image \"%s\" is %d x %d pixels, too large", path, w, h);
    stbi_image_free(rgba);
    return nullptr;
  }
  cairo_surface_t* surface = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, w, h);
  if (cairo_surface_status(surface) != CAIRO_STATUS_SUCCESS) {
    base::warn("graphics", "no memory for image \"%s\" (%d x %d)", path, w, h);
    cairo_surface_destroy(surface);
    stbi_image_free(rgba);
    return nullptr;
  }
  cairo_surface_flush(surface);
  unsigned char* data = cairo_image_surface_get_data(surface);
  const int stride = cairo_image_surface_get_stride(surface);
  // Cairo keeps native-endian 32-bit words with premultiplied colour.
  for (int y = 0; y < h; ++y) {
    const stbi_uc* src = rgba + static_cast<size_t>(y) * w * 4;
    auto* dst = reinterpret_cast<uint32_t*>(data + static_cast<size_t>(y) * stride);
    for (int x = 0; x < w; ++x, src += 4) {
      const uint32_t a = src[3];
      const uint32_t r = (src[0] * a + 127) / 255;
      const uint32_t g = (src[1] * a + 127) / 255;
      const uint32_t b = (src[2] * a + 127) / 255;
      dst[x] = (a << 24) | (r << 16) | (g << 8) | b;
    }
  }
  cairo_surface_mark_dirty(surface);
  stbi_image_free(rgba);
  return surface;
}

}  // namespace igraphics
}  // namespace iplug
