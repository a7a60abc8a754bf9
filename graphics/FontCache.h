#pragma once

#include <cairo.h>

namespace iplug {
namespace igraphics {

// The process-wide table of font faces by name. A name is either one registered with a font
// file, or resolved through fontconfig: "Roboto-Regular" asks for family "Roboto", style
// "Regular"; a name without a dash is a family. A name whose family fontconfig does not have
// gets the default face (DEFAULT_FONT, else fontconfig's default), logged once. A face that
// Cairo has put in an error state is made again on the next lookup. Thread-safe.
class FontCache {
 public:
  // Registers the font file under the name, replacing an earlier face of that name. False
  // (logged) when the file is not a font fontconfig and FreeType can read.
  static bool LoadFont(const char* name, const char* path);

  // A new reference to the face for the name (release it with cairo_font_face_destroy), or
  // null (logged) when not even a fallback face can be had.
  static cairo_font_face_t* Get(const char* name);

  // Changes whenever a registration replaces a face, so holders of a face can look again.
  static unsigned Generation();
};

}  // namespace igraphics
}  // namespace iplug
