#pragma once

#include <cairo.h>

#include <cstddef>
#include <cstdint>
#include <string>

namespace platform {

// The largest image side Cairo can hold.
inline constexpr int kMaxImageSide = 32767;
// The first bytes of every PNG file.
inline constexpr std::uint8_t kPngSignature[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};

// The one image decoder of the program: a PNG or JPEG file into a new premultiplied
// ARGB32 surface. Null when the file cannot be read or decoded, or is larger than Cairo
// can hold or than any image needs; the reason then goes to *failure when given.
cairo_surface_t* decodeImageFile(const char* path, std::string* failure = nullptr);
// The same for a PNG or JPEG held in memory, refusing a side above maxSide.
cairo_surface_t* decodeImageData(const std::uint8_t* data, std::size_t size, int maxSide,
                                 std::string* failure = nullptr);

}  // namespace platform
