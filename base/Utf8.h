#pragma once

// The one UTF-8 codec of the project. Every reader of outside text decodes it here, so bad
// input gets one answer everywhere: each byte that starts no well-formed sequence (a stray
// continuation byte, a sequence cut short, an overlong form, an encoded surrogate, a value above
// U+10FFFF) stands for one U+FFFD, and the byte after it is read afresh.

#include <cstddef>
#include <string>
#include <string_view>

namespace base {

inline constexpr char32_t kReplacementCharacter = 0xFFFD;
inline constexpr char32_t kMaxCodePoint = 0x10FFFF;
inline constexpr std::size_t kMaxUtf8SequenceLength = 4;

constexpr bool isHighSurrogate(char32_t unit) {
  return unit >= 0xD800 && unit <= 0xDBFF;
}
constexpr bool isLowSurrogate(char32_t unit) {
  return unit >= 0xDC00 && unit <= 0xDFFF;
}
// A value UTF-8 and UTF-16 can carry: at most U+10FFFF and no surrogate.
constexpr bool isScalarValue(char32_t codePoint) {
  return codePoint <= kMaxCodePoint && !isHighSurrogate(codePoint) && !isLowSurrogate(codePoint);
}

// One character read from UTF-8 text.
struct Utf8Char {
  char32_t codePoint = 0;  // U+FFFD when the bytes are no well-formed sequence
  std::size_t length = 0;  // bytes taken: 1 for a byte that starts no well-formed sequence
  bool wellFormed = false;
};

// Decodes the character at position; reads nothing past the end of text. At or past the end it
// answers a length of 0.
Utf8Char decodeUtf8(std::string_view text, std::size_t position);

// Appends the encoding of the code point; a value that is no scalar value appends U+FFFD.
void appendUtf8(char32_t codePoint, std::string& out);
// Appends the code point as one unit or, above U+FFFF, as a surrogate pair; a value that is no
// scalar value appends U+FFFD.
void appendUtf16(char32_t codePoint, std::u16string& out);

bool isValidUtf8(std::string_view text);
// The text with each byte that starts no well-formed sequence replaced by U+FFFD.
std::string sanitizeUtf8(std::string_view text);

// The length of the longest prefix of at most maxBytes bytes that ends on a whole character, so
// a copy cut there never holds half of one.
std::size_t utf8PrefixLength(std::string_view text, std::size_t maxBytes);
// The same for NUL-terminated text (none for a null pointer), reading no further than its NUL
// nor than maxBytes: a character that the bytes up to the cut could begin is left out whole.
std::size_t utf8PrefixLength(const char* text, std::size_t maxBytes);
// Copies that prefix of text into a caller's buffer of size bytes (at most size - 1 bytes and a
// terminating NUL) and returns the bytes copied; writes nothing when size is 0.
std::size_t copyUtf8(std::string_view text, char* buffer, std::size_t size);
// The same for NUL-terminated text, read no further than the cut needs; a null text copies as "".
std::size_t copyUtf8(const char* text, char* buffer, std::size_t size);

std::u16string utf8ToUtf16(std::string_view text);
// A surrogate without its partner becomes U+FFFD.
std::string utf16ToUtf8(std::u16string_view text);
// The number of UTF-16 units utf8ToUtf16 makes of the text.
std::size_t utf16Length(std::string_view text);

}  // namespace base
