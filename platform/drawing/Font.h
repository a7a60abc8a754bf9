#pragma once

#include <string>

#include "platform/drawing/CoreText.h"
#include "platform/objects/Geometry.h"

namespace platform {

// A font by family name and point size, measured and drawn through the one text path
// (CTFont and CTLine), so a control sized to its text fits what is drawn. A family that
// is not installed stands for the system font.
class NSFont {
 public:
  static constexpr const char* kSystemFamily = CTFont::kSystemFamily;

  NSFont() = default;
  // A size that is not a positive finite number becomes the system size.
  NSFont(std::string familyName, double pointSize);

  static NSFont systemFontOfSize(double size);
  static NSFont boldSystemFontOfSize(double size);
  static double systemFontSize() { return 13; }

  const std::string& fontName() const { return mName; }
  double pointSize() const { return mSize; }
  bool isBold() const { return mBold; }

  // The advance width and line height of a single line of UTF-8 text.
  NSSize sizeOfString(const std::string& text) const;
  // Ascent plus descent: the height of one line.
  double lineHeight() const;
  // The face at this size (one reference, the caller's); null only when not even the
  // system font is installed.
  CTFont* createCTFont() const;

  bool operator==(const NSFont& other) const = default;

 private:
  std::string mName = kSystemFamily;
  double mSize = systemFontSize();
  bool mBold = false;
};

}  // namespace platform
