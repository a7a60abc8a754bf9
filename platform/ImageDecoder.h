#pragma once

#include <cairo.h>

#include <string>

namespace platform {

// The largest image side Cairo can hold.
inline constexpr int kMaxImageSide = 32767;

// The one image decoder of the program: a PNG or JPEG file into a new premultiplied
// ARGB32 surface. Null when the file cannot be read or decoded, or is larger than Cairo
// can hold or than any image needs; the reason then goes to *failure when given.
cairo_surface_t* decodeImageFile(const char* path, std::string* failure = nullptr);

}  // namespace platform
