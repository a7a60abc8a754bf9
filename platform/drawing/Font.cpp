#include "platform/drawing/Font.h"

#include <cmath>

namespace platform {

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

CTFont* NSFont::createCTFont() const {
  CTFont* font = nullptr;
  if (mBold) font = CTFont::createWithName(mName + " Bold", mSize);
  if (!font) font = CTFont::createWithName(mName, mSize);
  return font ? font : CTFont::createUIFont(mSize, mBold);
}

NSSize NSFont::sizeOfString(const std::string& text) const {
  Ref<CTFont> font = Ref<CTFont>::adopt(createCTFont());
  if (!font) return {0, 0};
  Ref<CTLine> line = Ref<CTLine>::adopt(CTLine::create(text, font.get()));
  return {std::ceil(line->width()), std::ceil(font->ascent() + font->descent())};
}

double NSFont::lineHeight() const {
  // The face's metrics alone: no text is shaped for a height no text changes.
  Ref<CTFont> font = Ref<CTFont>::adopt(createCTFont());
  return font ? std::ceil(font->ascent() + font->descent()) : 0;
}

}  // namespace platform
