#pragma once

// UTF-8 / UTF-16 conversion for the text-entry control, which edits UTF-16 while everything
// around it speaks UTF-8. Both directions tolerate ill-formed input: what cannot be decoded
// becomes U+FFFD, nothing throws, and nothing is read past the given length or terminator.

#include <cstddef>
#include <cstdint>
#include <string>

namespace iplug {
namespace igraphics {

constexpr char32_t kReplacementChar = 0xFFFD;

inline bool IsHighSurrogate(char16_t c) {
  return c >= 0xD800 && c <= 0xDBFF;
}
inline bool IsLowSurrogate(char16_t c) {
  return c >= 0xDC00 && c <= 0xDFFF;
}

// Decodes the sequence at s into cp and returns its length in bytes, or 0 when it is ill-formed
// (overlong, a surrogate, above U+10FFFF, cut short). s[0] must not be NUL.
int DecodeUtf8(const char* s, char32_t& cp);

// The text as UTF-16; each ill-formed byte becomes one U+FFFD. A null text gives "".
std::u16string Utf8ToUtf16(const char* text);

// The units as UTF-8; a surrogate without its partner becomes U+FFFD.
std::string Utf16ToUtf8(const char16_t* units, std::size_t count);
inline std::string Utf16ToUtf8(const std::u16string& s) {
  return Utf16ToUtf8(s.data(), s.size());
}

// Appends the code point as one unit or, above U+FFFF, as a surrogate pair. Values that are no
// code point (surrogates, above U+10FFFF) append U+FFFD.
void AppendUtf16(char32_t cp, std::u16string& out);

}  // namespace igraphics
}  // namespace iplug
