#pragma once

#include <optional>
#include <string>
#include <vector>

#include "platform/drawing/Font.h"

namespace platform {

// The installed font families and their faces, as fontconfig knows them, and the names
// of the face a font draws with.
namespace fontcollection {

// A font of a face with exactly that family, full or PostScript name, or nothing.
std::optional<NSFont> fontWithName(const std::string& name, double pointSize);
// The family of the face the font draws with, and the face's full name as a font list
// shows it ("DejaVu Sans Bold").
std::string familyName(const NSFont& font);
std::string displayName(const NSFont& font);

// Every family name, sorted ignoring case, without repeats.
std::vector<std::string> familyNames();
// The style names of a family's faces ("Book", "Bold", "Oblique", ...), sorted; none for a
// family that is not installed.
std::vector<std::string> styleNames(const std::string& family);
// The full name of the family's face of that style, or nothing.
std::optional<std::string> faceName(const std::string& family, const std::string& style);
// The full name of the family's face nearest to the weight and slant asked for (bold,
// italic or oblique), or nothing when the family is not installed.
std::optional<std::string> faceName(const std::string& family, bool bold, bool italic);

}  // namespace fontcollection
}  // namespace platform
