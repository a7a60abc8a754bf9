#include "controls/Utf16.h"

namespace iplug {
namespace igraphics {

int DecodeUtf8(const char* text, char32_t& cp) {
  const auto* s = reinterpret_cast<const unsigned char*>(text);
  const unsigned char c = s[0];
  if (c < 0x80) {
    cp = c;
    return 1;
  }
  int n;
  char32_t v;
  if (c >= 0xC2 && c <= 0xDF) {
    n = 2;
    v = c & 0x1F;
  } else if (c >= 0xE0 && c <= 0xEF) {
    n = 3;
    v = c & 0x0F;
  } else if (c >= 0xF0 && c <= 0xF4) {
    n = 4;
    v = c & 0x07;
  } else {
    return 0;
  }
  // Stops at the first byte that is no continuation byte, so a terminating NUL is never passed.
  for (int i = 1; i < n; ++i) {
    if ((s[i] & 0xC0) != 0x80) return 0;
    v = (v << 6) | (s[i] & 0x3F);
  }
  if (n == 3 && (v < 0x800 || (v >= 0xD800 && v <= 0xDFFF))) return 0;
  if (n == 4 && (v < 0x10000 || v > 0x10FFFF)) return 0;
  cp = v;
  return n;
}

void AppendUtf16(char32_t cp, std::u16string& out) {
  if ((cp >= 0xD800 && cp <= 0xDFFF) || cp > 0x10FFFF) cp = kReplacementChar;
  if (cp < 0x10000) {
    out.push_back(static_cast<char16_t>(cp));
    return;
  }
  cp -= 0x10000;
  out.push_back(static_cast<char16_t>(0xD800 + (cp >> 10)));
  out.push_back(static_cast<char16_t>(0xDC00 + (cp & 0x3FF)));
}

std::u16string Utf8ToUtf16(const char* text) {
  std::u16string out;
  if (!text) return out;
  while (*text) {
    char32_t cp = 0;
    const int n = DecodeUtf8(text, cp);
    if (n == 0) {
      // One replacement per bad byte: the next byte may start a good sequence.
      out.push_back(static_cast<char16_t>(kReplacementChar));
      ++text;
    } else {
      AppendUtf16(cp, out);
      text += n;
    }
  }
  return out;
}

namespace {

void AppendUtf8(char32_t cp, std::string& out) {
  if (cp < 0x80) {
    out.push_back(static_cast<char>(cp));
  } else if (cp < 0x800) {
    out.push_back(static_cast<char>(0xC0 | (cp >> 6)));
    out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
  } else if (cp < 0x10000) {
    out.push_back(static_cast<char>(0xE0 | (cp >> 12)));
    out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
    out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
  } else {
    out.push_back(static_cast<char>(0xF0 | (cp >> 18)));
    out.push_back(static_cast<char>(0x80 | ((cp >> 12) & 0x3F)));
    out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
    out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
  }
}

}  // namespace

std::string Utf16ToUtf8(const char16_t* units, std::size_t count) {
  std::string out;
  if (!units) return out;
  out.reserve(count);
  for (std::size_t i = 0; i < count; ++i) {
    const char16_t u = units[i];
    char32_t cp = u;
    if (IsHighSurrogate(u) && i + 1 < count && IsLowSurrogate(units[i + 1])) {
      cp = 0x10000 + ((static_cast<char32_t>(u) - 0xD800) << 10) + (units[i + 1] - 0xDC00);
      ++i;
    } else if (IsHighSurrogate(u) || IsLowSurrogate(u)) {
      cp = kReplacementChar;
    }
    // A NUL unit would end the text early for every C-string reader downstream.
    if (cp == 0) cp = kReplacementChar;
    AppendUtf8(cp, out);
  }
  return out;
}

}  // namespace igraphics
}  // namespace iplug
