#include "base/Utf8.h"

#include <algorithm>
#include <cstdint>
#include <cstring>

namespace base {

namespace {

constexpr char32_t kSupplementaryStart = 0x10000;
constexpr char32_t kSurrogateBits = 10;

bool isContinuationByte(unsigned char byte) {
  return (byte & 0xC0) == 0x80;
}

constexpr Utf8Char kIllFormed{kReplacementCharacter, 1, false};

}  // namespace

Utf8Char decodeUtf8(std::string_view text, std::size_t position) {
  if (position >= text.size()) return {};
  const auto byteAt = [&](std::size_t k) { return static_cast<unsigned char>(text[k]); };
  const unsigned char lead = byteAt(position);
  if (lead < 0x80) return {lead, 1, true};
  std::size_t length;
  char32_t value;
  // Lead bytes C0 and C1 could only start overlong forms; F5 and above only values past U+10FFFF.
  if (lead >= 0xC2 && lead <= 0xDF) {
    length = 2;
    value = lead & 0x1F;
  } else if (lead >= 0xE0 && lead <= 0xEF) {
    length = 3;
    value = lead & 0x0F;
  } else if (lead >= 0xF0 && lead <= 0xF4) {
    length = 4;
    value = lead & 0x07;
  } else {
    return kIllFormed;
  }
  if (text.size() - position < length) return kIllFormed;
  for (std::size_t k = 1; k < length; ++k) {
    const unsigned char byte = byteAt(position + k);
    if (!isContinuationByte(byte)) return kIllFormed;
    value = (value << 6) | (byte & 0x3F);
  }
  if (length == 3 && (value < 0x800 || !isScalarValue(value))) return kIllFormed;
  if (length == 4 && (value < kSupplementaryStart || value > kMaxCodePoint)) return kIllFormed;
  return {value, length, true};
}

void appendUtf8(char32_t codePoint, std::string& out) {
  if (!isScalarValue(codePoint)) codePoint = kReplacementCharacter;
  if (codePoint < 0x80) {
    out.push_back(static_cast<char>(codePoint));
  } else if (codePoint < 0x800) {
    out.push_back(static_cast<char>(0xC0 | (codePoint >> 6)));
    out.push_back(static_cast<char>(0x80 | (codePoint & 0x3F)));
  } else if (codePoint < kSupplementaryStart) {
    out.push_back(static_cast<char>(0xE0 | (codePoint >> 12)));
    out.push_back(static_cast<char>(0x80 | ((codePoint >> 6) & 0x3F)));
    out.push_back(static_cast<char>(0x80 | (codePoint & 0x3F)));
  } else {
    out.push_back(static_cast<char>(0xF0 | (codePoint >> 18)));
    out.push_back(static_cast<char>(0x80 | ((codePoint >> 12) & 0x3F)));
    out.push_back(static_cast<char>(0x80 | ((codePoint >> 6) & 0x3F)));
    out.push_back(static_cast<char>(0x80 | (codePoint & 0x3F)));
  }
}

void appendUtf16(char32_t codePoint, std::u16string& out) {
  if (!isScalarValue(codePoint)) codePoint = kReplacementCharacter;
  if (codePoint < kSupplementaryStart) {
    out.push_back(static_cast<char16_t>(codePoint));
    return;
  }
  const char32_t offset = codePoint - kSupplementaryStart;
  out.push_back(static_cast<char16_t>(0xD800 + (offset >> kSurrogateBits)));
  out.push_back(static_cast<char16_t>(0xDC00 + (offset & 0x3FF)));
}

bool isValidUtf8(std::string_view text) {
  for (std::size_t i = 0; i < text.size();) {
    const Utf8Char c = decodeUtf8(text, i);
    if (!c.wellFormed) return false;
    i += c.length;
  }
  return true;
}

std::string sanitizeUtf8(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  for (std::size_t i = 0; i < text.size();) {
    const Utf8Char c = decodeUtf8(text, i);
    if (c.wellFormed)
      out.append(text.substr(i, c.length));
    else
      appendUtf8(kReplacementCharacter, out);
    i += c.length;
  }
  return out;
}

std::size_t utf8PrefixLength(std::string_view text, std::size_t maxBytes) {
  if (text.size() <= maxBytes) return text.size();
  // The decoder starts afresh at every byte that is no continuation byte, so the cut splits a
  // character only when one of the few bytes before it starts a well-formed sequence reaching
  // past it. An earlier lead byte cannot: its sequence would hold this one.
  const std::size_t earliest =
      maxBytes >= kMaxUtf8SequenceLength - 1 ? maxBytes - (kMaxUtf8SequenceLength - 1) : 0;
  for (std::size_t start = maxBytes; start > earliest;) {
    --start;
    if (isContinuationByte(static_cast<unsigned char>(text[start]))) continue;
    const Utf8Char c = decodeUtf8(text, start);
    return c.wellFormed && start + c.length > maxBytes ? start : maxBytes;
  }
  return maxBytes;
}

std::size_t utf8PrefixLength(const char* text, std::size_t maxBytes) {
  if (!text) return 0;
  const std::size_t readable = strnlen(text, maxBytes);
  if (readable < maxBytes) return readable;
  // The bytes past maxBytes may not be the caller's to read: the last character is judged as if
  // they continued it, so one that starts well inside the prefix but needs more is left out.
  const std::size_t tail = std::min(maxBytes, kMaxUtf8SequenceLength - 1);
  char model[2 * kMaxUtf8SequenceLength - 1];
  std::memcpy(model, text + maxBytes - tail, tail);
  std::memset(model + tail, 0x80, kMaxUtf8SequenceLength);
  const std::size_t cut =
      utf8PrefixLength(std::string_view(model, tail + kMaxUtf8SequenceLength), tail);
  return maxBytes - tail + cut;
}

std::size_t copyUtf8(std::string_view text, char* buffer, std::size_t size) {
  if (!buffer || size == 0) return 0;
  const std::size_t n = utf8PrefixLength(text, size - 1);
  // The text may be a part of the buffer itself.
  if (n > 0) std::memmove(buffer, text.data(), n);
  buffer[n] = '\0';
  return n;
}

std::size_t copyUtf8(const char* text, char* buffer, std::size_t size) {
  if (!buffer || size == 0) return 0;
  if (!text) text = "";
  return copyUtf8(std::string_view(text, utf8PrefixLength(text, size - 1)), buffer, size);
}

std::u16string utf8ToUtf16(std::string_view text) {
  std::u16string out;
  out.reserve(text.size());
  for (std::size_t i = 0; i < text.size();) {
    const Utf8Char c = decodeUtf8(text, i);
    appendUtf16(c.codePoint, out);
    i += c.length;
  }
  return out;
}

std::string utf16ToUtf8(std::u16string_view text) {
  std::string out;
  out.reserve(text.size());
  for (std::size_t i = 0; i < text.size(); ++i) {
    const char32_t unit = text[i];
    if (isHighSurrogate(unit) && i + 1 < text.size() && isLowSurrogate(text[i + 1])) {
      const char32_t high = unit - 0xD800, low = text[i + 1] - 0xDC00u;
      appendUtf8(kSupplementaryStart + ((high << kSurrogateBits) | low), out);
      ++i;
    } else {
      appendUtf8(unit, out);  // a lone surrogate appends U+FFFD
    }
  }
  return out;
}

std::size_t utf16Length(std::string_view text) {
  std::size_t units = 0;
  for (std::size_t i = 0; i < text.size();) {
    const Utf8Char c = decodeUtf8(text, i);
    units += c.codePoint >= kSupplementaryStart ? 2 : 1;
    i += c.length;
  }
  return units;
}

}  // namespace base
