#pragma once

#include <string>

#include "platform/Geometry.h"

namespace platform {

// A font by family name and point size. Names resolve through fontconfig and sizes are
// measured by the font engine, so a control sized to its text fits what is drawn.
class NSFont {
 public:
  static constexpr const char* kSystemFamily = "Sans";

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

  bool operator==(const NSFont& other) const = default;

 private:
  std::string mName = kSystemFamily;
  double mSize = systemFontSize();
  bool mBold = false;
};

}  // namespace platform
