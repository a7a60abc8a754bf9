#pragma once

#include <cstddef>
#include <string>

namespace platform {

// Text ranges of the text classes count UTF-16 units, as the platform's strings do;
// the strings themselves are UTF-8. Invalid UTF-8 becomes U+FFFD.
std::u16string utf8ToUtf16(const std::string& text);
std::string utf16ToUtf8(const std::u16string& text);
// The number of UTF-16 units of a UTF-8 text.
std::size_t utf16Length(const std::string& text);

}  // namespace platform
