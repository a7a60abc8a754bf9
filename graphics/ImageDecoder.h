#pragma once

#include <cairo.h>

namespace iplug {
namespace igraphics {

// Decodes a PNG or JPEG file into a new premultiplied ARGB32 surface; null (logged) when the
// file cannot be read or decoded, or is larger than Cairo can hold or than any bitmap needs.
cairo_surface_t* DecodeImageFile(const char* path);

}  // namespace igraphics
}  // namespace iplug
