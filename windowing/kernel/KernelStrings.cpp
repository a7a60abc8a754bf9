#include <cstdlib>
#include <cstring>

#include "windowing/kernel/Kernel.h"
#include "windowing/kernel/detail/KernelText.h"

using swell::copyTextToBuffer;
using swell::utf8BoundedPrefixLength;

char* lstrcpyn(char* dest, const char* src, int n) {
  if (!dest || n < 1) return dest;
  if (!src) src = "";
  const auto size = static_cast<std::size_t>(n);
  copyTextToBuffer(src, strnlen(src, size), dest, size);
  return dest;
}

DWORD GetTempPath(DWORD size, char* buffer) {
  if (!buffer || size == 0) return 0;
  buffer[0] = '\0';
  if (size == 1) return 0;
  const char* folder = std::getenv("TMPDIR");
  if (!folder || !*folder) folder = "/tmp/";
  std::size_t length = copyTextToBuffer(folder, std::strlen(folder), buffer, size);
  if (length > 0 && buffer[length - 1] != '/') {
    // The slash goes at most at size - 2, over the end of a cut text if need be,
    // and never inside a character.
    std::size_t at = utf8BoundedPrefixLength(buffer, length, size - 2);
    buffer[at] = '/';
    buffer[at + 1] = '\0';
    length = at + 1;
  }
  return static_cast<DWORD>(length);
}
