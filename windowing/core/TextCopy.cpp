#include "windowing/core/TextCopy.h"

#include <cstring>

namespace swell {

std::size_t utf8PrefixLength(const char* text, std::size_t length, std::size_t maxBytes) {
  if (length <= maxBytes) return length;
  std::size_t n = maxBytes;
  // The first byte left out must not continue a sequence that started inside.
  while (n > 0 && (static_cast<unsigned char>(text[n]) & 0xC0) == 0x80)
    --n;
  return n;
}

std::size_t copyUtf8(char* dest, int size, const char* src) {
  if (!dest || size < 1) return 0;
  if (!src) src = "";
  std::size_t n = utf8PrefixLength(src, std::strlen(src), static_cast<std::size_t>(size) - 1);
  std::memcpy(dest, src, n);
  dest[n] = 0;
  return n;
}

}  // namespace swell
