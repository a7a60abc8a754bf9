#include "platform/ImageDecoder.h"

#include <climits>
#include <cstdint>
#include <cstdio>

#define STB_IMAGE_IMPLEMENTATION
#define STBI_ONLY_PNG
#define STBI_ONLY_JPEG
#define STBI_FAILURE_USERMSG
#include <stb_image.h>

namespace platform {

namespace {

// A compressed file of a few kilobytes can claim an area that takes gigabytes once decoded;
// no image of the program comes near this many pixels (256 MB of RGBA).
constexpr long long kMaxImagePixels = 1LL << 26;

bool decodable(int w, int h) {
  return w > 0 && h > 0 && w <= kMaxImageSide && h <= kMaxImageSide &&
         static_cast<long long>(w) * h <= kMaxImagePixels;
}

void fail(std::string* failure, const std::string& why) {
  if (failure) *failure = why;
}

std::string tooLarge(int w, int h) {
  char text[64];
  std::snprintf(text, sizeof text, "%d x %d pixels, too large", w, h);
  return text;
}

}  // namespace

namespace {

// Premultiplies decoded RGBA rows into a new Cairo image (native-endian 32-bit words).
cairo_surface_t* toSurface(stbi_uc* rgba, int w, int h, std::string* failure) {
  cairo_surface_t* surface = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, w, h);
  if (cairo_surface_status(surface) != CAIRO_STATUS_SUCCESS) {
    fail(failure, "no memory");
    cairo_surface_destroy(surface);
    stbi_image_free(rgba);
    return nullptr;
  }
  cairo_surface_flush(surface);
  unsigned char* data = cairo_image_surface_get_data(surface);
  const int stride = cairo_image_surface_get_stride(surface);
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

}  // namespace

cairo_surface_t* decodeImageFile(const char* path, std::string* failure) {
  if (!path) {
    fail(failure, "no path");
    return nullptr;
  }
  int w = 0, h = 0, channels = 0;
  // The header tells the size; an image Cairo cannot hold is refused before decoding it.
  if (stbi_info(path, &w, &h, &channels) && !decodable(w, h)) {
    fail(failure, tooLarge(w, h));
    return nullptr;
  }
  stbi_uc* rgba = stbi_load(path, &w, &h, &channels, 4);
  if (!rgba) {
    fail(failure, stbi_failure_reason());
    return nullptr;
  }
  if (!decodable(w, h)) {
    fail(failure, tooLarge(w, h));
    stbi_image_free(rgba);
    return nullptr;
  }
  return toSurface(rgba, w, h, failure);
}

cairo_surface_t* decodeImageData(const std::uint8_t* data, std::size_t size, int maxSide,
                                 std::string* failure) {
  if (!data || size == 0 || size > static_cast<std::size_t>(INT_MAX)) {
    fail(failure, "no data");
    return nullptr;
  }
  int w = 0, h = 0, channels = 0;
  int length = static_cast<int>(size);
  if (!stbi_info_from_memory(data, length, &w, &h, &channels)) {
    fail(failure, stbi_failure_reason());
    return nullptr;
  }
  if (!decodable(w, h) || w > maxSide || h > maxSide) {
    fail(failure, tooLarge(w, h));
    return nullptr;
  }
  stbi_uc* rgba = stbi_load_from_memory(data, length, &w, &h, &channels, 4);
  if (!rgba) {
    fail(failure, stbi_failure_reason());
    return nullptr;
  }
  return toSurface(rgba, w, h, failure);
}

}  // namespace platform
