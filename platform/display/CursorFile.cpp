#include "platform/display/CursorFile.h"

#include <algorithm>
#include <cstdint>
#include <cstring>

#include "platform/drawing/ImageDecoder.h"

namespace platform {

namespace {

constexpr std::size_t kFileHeaderSize = 6;
constexpr std::size_t kDirectoryEntrySize = 16;
constexpr std::size_t kBitmapHeaderSize = 40;
constexpr std::uint16_t kTypeIcon = 1;
constexpr std::uint16_t kTypeCursor = 2;
constexpr std::uint32_t kUncompressedRgb = 0;

std::uint16_t u16(const std::uint8_t* p) {
  return static_cast<std::uint16_t>(p[0] | (p[1] << 8));
}
std::uint32_t u32(const std::uint8_t* p) {
  return static_cast<std::uint32_t>(p[0]) | (static_cast<std::uint32_t>(p[1]) << 8) |
         (static_cast<std::uint32_t>(p[2]) << 16) | (static_cast<std::uint32_t>(p[3]) << 24);
}

std::uint32_t premultiplied(std::uint32_t r, std::uint32_t g, std::uint32_t b, std::uint32_t a) {
  auto scale = [a](std::uint32_t c) { return (c * a + 127) / 255; };
  return (a << 24) | (scale(r) << 16) | (scale(g) << 8) | scale(b);
}

// A cursor file of this size would hold pictures far over the size cap.
constexpr std::size_t kMaxFileBytes = 1 << 20;

bool sideAllowed(long long side) {
  return side > 0 && side <= kMaxCursorImageSide;
}

std::optional<NSCursorImage> decodePng(const std::uint8_t* data, std::size_t size) {
  cairo_surface_t* surface = decodeImageData(data, size, kMaxCursorImageSide);
  if (!surface) return std::nullopt;
  NSCursorImage image;
  image.width = cairo_image_surface_get_width(surface);
  image.height = cairo_image_surface_get_height(surface);
  image.pixels.resize(static_cast<std::size_t>(image.width) * image.height);
  const unsigned char* rows = cairo_image_surface_get_data(surface);
  const int stride = cairo_image_surface_get_stride(surface);
  for (int y = 0; y < image.height; ++y)
    std::memcpy(image.pixels.data() + static_cast<std::size_t>(y) * image.width,
                rows + static_cast<std::size_t>(y) * stride,
                static_cast<std::size_t>(image.width) * 4);
  cairo_surface_destroy(surface);
  return image;
}

// A device-independent bitmap: header, palette, colour rows and the AND mask rows,
// both bottom-up, the stored height covering both.
std::optional<NSCursorImage> decodeBitmap(const std::uint8_t* data, std::size_t size) {
  if (size < kBitmapHeaderSize) return std::nullopt;
  std::uint32_t headerSize = u32(data);
  long long width = static_cast<std::int32_t>(u32(data + 4));
  long long storedHeight = static_cast<std::int32_t>(u32(data + 8));
  std::uint16_t bits = u16(data + 14);
  std::uint32_t compression = u32(data + 16);
  std::uint32_t paletteUsed = u32(data + 32);
  if (headerSize < kBitmapHeaderSize || headerSize > size) return std::nullopt;
  if (compression != kUncompressedRgb || storedHeight <= 0 || storedHeight % 2) return std::nullopt;
  long long height = storedHeight / 2;
  if (!sideAllowed(width) || !sideAllowed(height)) return std::nullopt;
  if (bits != 1 && bits != 4 && bits != 8 && bits != 24 && bits != 32) return std::nullopt;

  std::size_t paletteSize = 0;
  if (bits <= 8) {
    std::size_t full = std::size_t{1} << bits;
    paletteSize = paletteUsed == 0 || paletteUsed > full ? full : paletteUsed;
  }
  std::size_t offset = headerSize;
  if (paletteSize * 4 > size - offset) return std::nullopt;
  const std::uint8_t* palette = data + offset;
  offset += paletteSize * 4;

  std::size_t colorStride = ((static_cast<std::size_t>(width) * bits + 31) / 32) * 4;
  std::size_t maskStride = ((static_cast<std::size_t>(width) + 31) / 32) * 4;
  std::size_t colorBytes = colorStride * static_cast<std::size_t>(height);
  std::size_t maskBytes = maskStride * static_cast<std::size_t>(height);
  if (colorBytes > size - offset) return std::nullopt;
  const std::uint8_t* colors = data + offset;
  offset += colorBytes;
  // A 32-bit picture carries its own alpha and may come without a mask.
  const std::uint8_t* mask = maskBytes <= size - offset ? data + offset : nullptr;
  if (!mask && bits != 32) return std::nullopt;

  NSCursorImage image;
  image.width = static_cast<int>(width);
  image.height = static_cast<int>(height);
  image.pixels.resize(static_cast<std::size_t>(width) * height);
  bool anyAlpha = false;
  for (int y = 0; y < image.height; ++y) {
    const std::uint8_t* row = colors + colorStride * static_cast<std::size_t>(image.height - 1 - y);
    for (int x = 0; x < image.width; ++x) {
      std::uint32_t r, g, b, a = 255;
      if (bits >= 24) {
        const std::uint8_t* p = row + static_cast<std::size_t>(x) * (bits / 8);
        b = p[0];
        g = p[1];
        r = p[2];
        if (bits == 32) {
          a = p[3];
          anyAlpha = anyAlpha || a != 0;
        }
      } else {
        std::size_t bit = static_cast<std::size_t>(x) * bits;
        unsigned index = (row[bit / 8] >> (8 - bits - bit % 8)) & ((1u << bits) - 1);
        if (index >= paletteSize) index = 0;
        const std::uint8_t* c = palette + index * 4;
        b = c[0];
        g = c[1];
        r = c[2];
      }
      image.pixels[static_cast<std::size_t>(y) * image.width + x] = premultiplied(r, g, b, a);
    }
  }
  // The mask makes a pixel transparent, except where a 32-bit picture has its own alpha.
  if (mask && !(bits == 32 && anyAlpha)) {
    for (int y = 0; y < image.height; ++y) {
      const std::uint8_t* row = mask + maskStride * static_cast<std::size_t>(image.height - 1 - y);
      for (int x = 0; x < image.width; ++x) {
        bool transparent = (row[x / 8] >> (7 - x % 8)) & 1;
        std::uint32_t& pixel = image.pixels[static_cast<std::size_t>(y) * image.width + x];
        pixel = transparent ? 0 : (pixel | 0xFF000000u);
      }
    }
  }
  return image;
}

}  // namespace

std::optional<NSCursorImage> decodeCursorFile(const std::uint8_t* data, std::size_t size) {
  if (!data || size < kFileHeaderSize || size > kMaxFileBytes) return std::nullopt;
  std::uint16_t reserved = u16(data), type = u16(data + 2), count = u16(data + 4);
  if (reserved != 0 || (type != kTypeIcon && type != kTypeCursor) || count == 0)
    return std::nullopt;
  // A cursor file holds one picture; an icon file may hold several sizes.
  if (type == kTypeCursor && count != 1) return std::nullopt;
  if (count > (size - kFileHeaderSize) / kDirectoryEntrySize) return std::nullopt;

  std::optional<NSCursorImage> best;
  for (std::size_t i = 0; i < count; ++i) {
    const std::uint8_t* entry = data + kFileHeaderSize + i * kDirectoryEntrySize;
    if (entry[3] != 0) continue;  // the reserved byte
    std::uint32_t length = u32(entry + 8);
    std::uint32_t offset = u32(entry + 12);
    if (offset > size || length > size - offset || length == 0) continue;
    const std::uint8_t* picture = data + offset;
    bool png = length >= sizeof kPngSignature &&
               std::memcmp(picture, kPngSignature, sizeof kPngSignature) == 0;
    std::optional<NSCursorImage> image =
        png ? decodePng(picture, length) : decodeBitmap(picture, length);
    if (!image) continue;
    if (type == kTypeCursor) {
      // The hot spot sits where an icon keeps its planes and bit count; it is kept
      // inside the picture.
      image->hotSpotX = std::min<int>(u16(entry + 4), image->width - 1);
      image->hotSpotY = std::min<int>(u16(entry + 6), image->height - 1);
    }
    if (!best || static_cast<long long>(image->width) * image->height >
                     static_cast<long long>(best->width) * best->height)
      best = std::move(image);
  }
  return best;
}

std::optional<NSCursorImage> decodeCursorPicture(const std::uint8_t* data, std::size_t size) {
  if (!data || size > kMaxFileBytes) return std::nullopt;
  if (size >= sizeof kPngSignature && std::memcmp(data, kPngSignature, sizeof kPngSignature) == 0)
    return decodePng(data, size);
  return decodeCursorFile(data, size);
}

}  // namespace platform
