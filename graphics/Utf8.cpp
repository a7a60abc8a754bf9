#include "graphics/Utf8.h"

#include <cstdint>

namespace iplug {
namespace igraphics {

namespace {

// The length of the well-formed sequence at s, or 0 when it is ill-formed. Reads no further
// than the first byte that breaks the sequence, so a terminating NUL is never passed.
int SequenceLength(const unsigned char* s) {
  const unsigned char c = s[0];
  if (c < 0x80) return 1;
  int n;
  uint32_t cp;
  if (c >= 0xC2 && c <= 0xDF) {
    n = 2;
    cp = c & 0x1F;
  } else if (c >= 0xE0 && c <= 0xEF) {
    n = 3;
    cp = c & 0x0F;
  } else if (c >= 0xF0 && c <= 0xF4) {
    n = 4;
    cp = c & 0x07;
  } else {
    return 0;
  }
  for (int i = 1; i < n; ++i) {
    if ((s[i] & 0xC0) != 0x80) return 0;
    cp = (cp << 6) | (s[i] & 0x3F);
  }
  if (n == 3 && (cp < 0x800 || (cp >= 0xD800 && cp <= 0xDFFF))) return 0;
  if (n == 4 && (cp < 0x10000 || cp > 0x10FFFF)) return 0;
  return n;
}

}  // namespace

bool IsValidUtf8(const char* text) {
  if (!text) return true;
  const auto* s = reinterpret_cast<const unsigned char*>(text);
  while (*s) {
    const int n = SequenceLength(s);
    if (n == 0) return false;
    s += n;
  }
  return true;
}

void SanitizeUtf8(const char* text, std::string& out) {
  out.clear();
  if (!text) return;
  const auto* s = reinterpret_cast<const unsigned char*>(text);
  while (*s) {
    const int n = SequenceLength(s);
    if (n == 0) {
      out.append("\xEF\xBF\xBD");
      ++s;  // one replacement per bad byte; the next byte may start a good sequence
    } else {
      out.append(reinterpret_cast<const char*>(s), n);
      s += n;
    }
  }
}

}  // namespace igraphics
}  // namespace iplug
