#include <cstdlib>
#include <cstring>

#include "base/Utf8.h"
#include "windowing/kernel/Kernel.h"

char* lstrcpyn(char* dest, const char* src, int n) {
  if (!dest || n < 1) return dest;
  base::copyUtf8(src, dest, static_cast<std::size_t>(n));
  return dest;
}

DWORD GetTempPath(DWORD size, char* buffer) {
  if (!buffer || size == 0) return 0;
  buffer[0] = '\0';
  if (size == 1) return 0;
  const char* folder = std::getenv("TMPDIR");
  if (!folder || !*folder) folder = "/tmp/";
  std::size_t length = base::copyUtf8(folder, buffer, size);
  if (length > 0 && buffer[length - 1] != '/') {
    // The slash goes at most at size - 2, over the end of a cut text if need be,
    // and never inside a character.
    std::size_t at = base::utf8PrefixLength(std::string_view(buffer, length), size - 2);
    buffer[at] = '/';
    buffer[at + 1] = '\0';
    length = at + 1;
  }
  return static_cast<DWORD>(length);
}
