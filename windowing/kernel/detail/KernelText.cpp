#include "windowing/kernel/detail/KernelText.h"

#include <cstring>

namespace swell {

namespace {
bool isContinuationByte(char c) {
  return (static_cast<unsigned char>(c) & 0xC0) == 0x80;
}
}  // namespace

std::size_t utf8BoundedPrefixLength(const char* text, std::size_t length, std::size_t limit) {
  if (length <= limit) return length;
  std::size_t cut = limit;
  // A cut in front of a continuation byte would split a character: back up to
  // its lead byte (at most three bytes back in valid UTF-8).
  std::size_t backedUp = 0;
  while (cut > 0 && backedUp < 3 && isContinuationByte(text[cut])) {
    --cut;
    ++backedUp;
  }
  if (isContinuationByte(text[cut])) return limit;  // not UTF-8: a plain byte cut
  return cut;
}

std::size_t copyTextToBuffer(const char* text, std::size_t length, char* buffer, std::size_t size) {
  if (!buffer || size == 0) return 0;
  std::size_t n = utf8BoundedPrefixLength(text, length, size - 1);
  std::memmove(buffer, text, n);
  buffer[n] = '\0';
  return n;
}

}  // namespace swell
