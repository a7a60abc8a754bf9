#pragma once

#include <cairo.h>

#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/objects/Color.h"
#include "platform/objects/Object.h"

struct hb_font_t;

namespace platform {

class CGContext;
struct FontFile;

// A font face at a size. Names resolve through fontconfig to an installed face by its
// exact family, full or PostScript name: a face fontconfig would only substitute counts
// as not found. Metrics are the face's unhinted design metrics scaled to the size (one
// point is one pixel at scale 1); glyphs are shaped by HarfBuzz and drawn by Cairo.
class CTFont : public NSObject {
 public:
  // The family of the system's label and control fonts.
  static constexpr const char* kSystemFamily = "DejaVu Sans";
  static constexpr const char* kSystemBoldName = "DejaVu Sans Bold";

  // A new font (one reference, the caller's), or null when no face has that name or
  // the size is not a positive finite number.
  static CTFont* createWithName(const std::string& name, double size);
  // The system label font; null only when the system family is not installed.
  static CTFont* createUIFont(double size, bool bold = false);

  double size() const { return mSize; }
  double ascent() const;
  // Positive: the distance below the baseline.
  double descent() const;
  double leading() const;
  std::string familyName() const;
  // The face's full name, as a user would see it in a font list.
  std::string displayName() const;
  std::string postScriptName() const;

  // The glyph of each UTF-16 unit (a surrogate pair maps to the pair's glyph and 0).
  // Returns false when any character has no glyph in the face; mapped entries are
  // written either way, unmapped ones are 0.
  bool glyphsForCharacters(const char16_t* characters, std::uint16_t* glyphs,
                           std::size_t count) const;

  cairo_font_face_t* cairoFace() const;
  hb_font_t* harfBuzzFont() const;

  // Makes a font file's faces known to this process (fontconfig application fonts).
  static bool registerFontFile(const std::string& path);

 private:
  CTFont(std::shared_ptr<const FontFile> file, double size);
  std::shared_ptr<const FontFile> mFile;
  double mSize;
};

// One line of text shaped in one font. Its origin is the left end of the baseline;
// glyph positions grow along the text matrix's x axis.
class CTLine : public NSObject {
 public:
  struct Glyph {
    std::uint32_t index;
    double x, y;  // offset from the line origin, y up
  };

  // A line of UTF-8 text (invalid bytes become U+FFFD) in a font, drawn in the given
  // colour or, without one, in the context's fill colour. Null for a null font.
  static CTLine* create(std::string_view text, CTFont* font,
                        std::optional<NSColor> colour = std::nullopt);

  // The typographic width: the sum of the advances.
  double width() const { return mWidth; }
  double ascent() const { return mFont->ascent(); }
  double descent() const { return mFont->descent(); }
  double leading() const { return mFont->leading(); }
  const std::vector<Glyph>& glyphs() const { return mGlyphs; }

  // Draws at the context's text position through its text matrix and transform.
  void draw(CGContext* context) const;

 protected:
  void dealloc() override;

 private:
  CTLine() = default;
  Ref<CTFont> mFont;
  std::optional<NSColor> mColour;
  std::vector<Glyph> mGlyphs;
  double mWidth = 0;
};

}  // namespace platform
