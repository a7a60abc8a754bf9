#include "platform/Font.h"

#include <cairo.h>

#include <cmath>
#include <mutex>

#include "base/Log.h"
#include "base/Utf8.h"

namespace platform {

namespace {

// One scratch context for measuring; cairo contexts are not thread safe, so measuring
// is serialised.
struct Measurer {
  std::mutex mutex;
  cairo_surface_t* surface = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, 1, 1);
  cairo_t* cr = cairo_create(surface);
};

Measurer& measurer() {
  static Measurer* m = new Measurer;
  return *m;
}

void selectFont(cairo_t* cr, const NSFont& font) {
  cairo_select_font_face(cr, font.fontName().c_str(), CAIRO_FONT_SLANT_NORMAL,
                         font.isBold() ? CAIRO_FONT_WEIGHT_BOLD : CAIRO_FONT_WEIGHT_NORMAL);
  cairo_set_font_size(cr, font.pointSize());
}

}  // namespace

NSFont::NSFont(std::string familyName, double pointSize)
    : mName(familyName.empty() ? kSystemFamily : std::move(familyName)),
      mSize(std::isfinite(pointSize) && pointSize > 0 ? pointSize : systemFontSize()) {}

NSFont NSFont::systemFontOfSize(double size) {
  return NSFont(kSystemFamily, size);
}

NSFont NSFont::boldSystemFontOfSize(double size) {
  NSFont font(kSystemFamily, size);
  font.mBold = true;
  return font;
}

NSSize NSFont::sizeOfString(const std::string& text) const {
  // Cairo puts a context into a lasting error state on invalid UTF-8, so the text is
  // made valid first (bad bytes become U+FFFD); a context that failed anyway is
  // replaced, so one bad text never spoils later measurements.
  std::string valid = base::sanitizeUtf8(text);
  Measurer& m = measurer();
  std::lock_guard<std::mutex> lock(m.mutex);
  if (cairo_status(m.cr) != CAIRO_STATUS_SUCCESS) {
    cairo_destroy(m.cr);
    m.cr = cairo_create(m.surface);
  }
  selectFont(m.cr, *this);
  cairo_text_extents_t extents{};
  cairo_font_extents_t font{};
  cairo_text_extents(m.cr, valid.c_str(), &extents);
  cairo_font_extents(m.cr, &font);
  if (cairo_status(m.cr) != CAIRO_STATUS_SUCCESS) {
    base::warn("platform", "NSFont: text of %zu bytes could not be measured", text.size());
    return {0, 0};
  }
  double width = std::isfinite(extents.x_advance) ? extents.x_advance : 0;
  double height = std::isfinite(font.ascent + font.descent) ? font.ascent + font.descent : 0;
  return {std::ceil(width), std::ceil(height)};
}

double NSFont::lineHeight() const {
  return sizeOfString("").height;
}

}  // namespace platform
