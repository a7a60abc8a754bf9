#pragma once

#include <string>

namespace iplug {
namespace igraphics {

// True when the text is well-formed UTF-8: shortest forms only, no surrogates, nothing above
// U+10FFFF. Cairo refuses any other text.
bool IsValidUtf8(const char* text);

// Copies the text into out with every ill-formed sequence replaced by U+FFFD.
void SanitizeUtf8(const char* text, std::string& out);

}  // namespace igraphics
}  // namespace iplug
