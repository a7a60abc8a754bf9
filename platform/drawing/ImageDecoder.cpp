#include "platform/drawing/ImageDecoder.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <vector>

#include <stb_image.h>

namespace platform {

namespace {

// A compressed file of a few kilobytes can claim an area that takes gigabytes once decoded;
// no image of the program comes near this many pixels (256 MB of RGBA).
constexpr long long kMaxImagePixels = 1LL << 26;
// No image file of such an image needs more bytes than twice its pixels' (PNG stores them
// uncompressed at worst).
constexpr long long kMaxImageFileBytes = 2 * 4 * kMaxImagePixels;

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

constexpr std::uint8_t kMarkerStart = 0xFF;
constexpr std::uint8_t kStartOfImage = 0xD8;
constexpr std::uint8_t kEndOfImage = 0xD9;
constexpr std::uint8_t kDefineHuffmanTables = 0xC4;
constexpr std::uint8_t kStartOfScan = 0xDA;
constexpr std::uint8_t kStartOfProgressiveFrame = 0xC2;
constexpr std::uint8_t kFirstRestart = 0xD0, kLastRestart = 0xD7;
constexpr std::uint8_t kTemporary = 0x01;
constexpr std::size_t kHuffmanCodeLengths = 16;
constexpr unsigned kHuffmanSymbols = 256;
constexpr unsigned kHuffmanTableSlots = 4;

// Two faults of the decoder are kept from it by checking a JPEG's markers first, walked
// as the decoder walks them (reading past the data yields zeros, as it does): it builds a
// Huffman table from the counts of codes of each length before it checks that they sum to
// at most the 256 symbols a table holds, so a crafted table writes past it; and it decodes
// a scan with tables the file never defined, reading far outside them.
bool jpegHuffmanTablesSound(const std::uint8_t* data, std::size_t size) {
  auto byte = [&](std::size_t at) -> unsigned { return at < size ? data[at] : 0; };
  // A JPEG opens with its start marker, after any number of fill bytes.
  std::size_t at = 0;
  while (byte(at) == kMarkerStart)
    ++at;
  if (at == 0 || byte(at) != kStartOfImage) return true;
  ++at;
  bool dcDefined[kHuffmanTableSlots] = {}, acDefined[kHuffmanTableSlots] = {};
  bool progressive = false;
  for (;;) {
    // The next marker: anything else (the coded data of a scan) is passed over.
    while (at < size && data[at] != kMarkerStart)
      ++at;
    while (at < size && data[at] == kMarkerStart)
      ++at;
    if (at >= size) return true;
    const std::uint8_t marker = data[at++];
    if (marker == kEndOfImage) return true;
    if (marker == 0 || marker == kStartOfImage || marker == kTemporary ||
        (marker >= kFirstRestart && marker <= kLastRestart))
      continue;
    const std::size_t length = (byte(at) << 8) | byte(at + 1);
    if (marker == kStartOfProgressiveFrame) progressive = true;
    if (marker == kDefineHuffmanTables) {
      long left = static_cast<long>(length) - 2;
      std::size_t table = at + 2;
      while (left > 0) {
        const unsigned kind = byte(table) >> 4, slot = byte(table) & 0xF;
        unsigned symbols = 0;
        for (std::size_t i = 1; i <= kHuffmanCodeLengths; ++i)
          symbols += byte(table + i);
        if (symbols > kHuffmanSymbols) return false;
        if (slot < kHuffmanTableSlots) (kind == 0 ? dcDefined : acDefined)[slot] = kind <= 1;
        table += 1 + kHuffmanCodeLengths + symbols;
        left -= static_cast<long>(1 + kHuffmanCodeLengths + symbols);
      }
    } else if (marker == kStartOfScan) {
      // Each component names its DC and AC tables; a progressive scan from coefficient 0
      // decodes DC values, one reaching past it AC values; any other scan decodes both,
      // whatever spectral range it states.
      const unsigned components = byte(at + 2);
      const std::size_t spectrum = at + 3 + 2 * components;
      const bool decodesDc = !progressive || byte(spectrum) == 0;
      const bool decodesAc = !progressive || byte(spectrum + 1) > 0;
      for (unsigned i = 0; i < components; ++i) {
        const unsigned tables = byte(at + 4 + 2 * i);
        const unsigned dc = tables >> 4, ac = tables & 0xF;
        if (decodesDc && dc < kHuffmanTableSlots && !dcDefined[dc]) return false;
        if (decodesAc && ac < kHuffmanTableSlots && !acDefined[ac]) return false;
      }
    }
    at += length;
  }
}

constexpr std::size_t kPngChunkOverhead = 12;  // length, type and checksum
constexpr char kPngImageData[] = "IDAT";
constexpr char kPngEnd[] = "IEND";
constexpr std::size_t kPngTypeLength = 4;

std::uint32_t bigEndian32(const std::uint8_t* p) {
  return (static_cast<std::uint32_t>(p[0]) << 24) | (static_cast<std::uint32_t>(p[1]) << 16) |
         (static_cast<std::uint32_t>(p[2]) << 8) | p[3];
}

bool isPng(const std::uint8_t* data, std::size_t size) {
  return size >= sizeof kPngSignature &&
         std::memcmp(data, kPngSignature, sizeof kPngSignature) == 0;
}

// Two faults of the decoder are kept from it by walking a PNG's chunks first: it grows its
// buffer to a chunk's stated length before it checks that the data holds that much, so
// every chunk up to the end chunk must lie within the data; and it copies an empty image
// data chunk from a buffer it has not made yet, so such chunks (which hold nothing) are
// left out of a copy put in `cleaned`.
bool pngChunksSound(const std::uint8_t* data, std::size_t size,
                    std::vector<std::uint8_t>& cleaned) {
  std::size_t at = sizeof kPngSignature;
  std::vector<std::size_t> emptyImageData;
  for (;;) {
    if (at > size || size - at < kPngChunkOverhead) return false;
    const std::uint32_t length = bigEndian32(data + at);
    if (length > size - at - kPngChunkOverhead) return false;
    const std::uint8_t* type = data + at + 4;
    if (std::memcmp(type, kPngEnd, kPngTypeLength) == 0) break;
    if (length == 0 && std::memcmp(type, kPngImageData, kPngTypeLength) == 0)
      emptyImageData.push_back(at);
    at += kPngChunkOverhead + length;
  }
  if (emptyImageData.empty()) return true;
  std::size_t from = 0;
  for (std::size_t chunk : emptyImageData) {
    cleaned.insert(cleaned.end(), data + from, data + chunk);
    from = chunk + kPngChunkOverhead;
  }
  cleaned.insert(cleaned.end(), data + from, data + size);
  return true;
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
  // Opened without waiting (a FIFO would wait for a writer) and read whole only when it is
  // a regular file of a size an image can have: a device or a pipe could go on forever.
  const int fd = open(path, O_RDONLY | O_CLOEXEC | O_NONBLOCK);
  if (fd < 0) {
    fail(failure, std::string("cannot open the file: ") + std::strerror(errno));
    return nullptr;
  }
  struct stat info {};
  std::vector<std::uint8_t> bytes;
  std::string why;
  if (fstat(fd, &info) != 0) {
    why = std::string("cannot read the file: ") + std::strerror(errno);
  } else if (!S_ISREG(info.st_mode)) {
    why = "not a regular file";
  } else if (info.st_size > kMaxImageFileBytes) {
    why = "the file is too large";
  } else {
    // Read to the end, whatever the size said: the file may have changed meanwhile.
    std::uint8_t buffer[1 << 16];
    for (;;) {
      const ssize_t got = read(fd, buffer, sizeof buffer);
      if (got < 0 && errno == EINTR) continue;
      if (got < 0) why = std::string("cannot read the file: ") + std::strerror(errno);
      if (got <= 0) break;
      bytes.insert(bytes.end(), buffer, buffer + got);
      if (bytes.size() > static_cast<std::size_t>(kMaxImageFileBytes)) {
        why = "the file is too large";
        break;
      }
    }
  }
  close(fd);
  if (!why.empty()) {
    fail(failure, why);
    return nullptr;
  }
  return decodeImageData(bytes.data(), bytes.size(), kMaxImageSide, failure);
}

cairo_surface_t* decodeImageData(const std::uint8_t* data, std::size_t size, int maxSide,
                                 std::string* failure) {
  if (!data || size == 0 || size > static_cast<std::size_t>(INT_MAX)) {
    fail(failure, "no data");
    return nullptr;
  }
  std::vector<std::uint8_t> cleaned;
  if (isPng(data, size)) {
    if (!pngChunksSound(data, size, cleaned)) {
      fail(failure, "a PNG chunk reaches past the data");
      return nullptr;
    }
    if (!cleaned.empty()) {
      data = cleaned.data();
      size = cleaned.size();
    }
  }
  if (!jpegHuffmanTablesSound(data, size)) {
    fail(failure, "a JPEG Huffman table is too large or missing");
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
