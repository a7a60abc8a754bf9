// Reads arbitrary bytes as the file list another program drops on a window (a
// text/uri-list). Every path taken is absolute and holds no NUL, whatever the list.

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "platform/x11/detail/X11Backend.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  std::string list(reinterpret_cast<const char*>(data), size);
  for (const std::string& path : platform::x11::pathsOfUriList(list))
    if (path.empty() || path[0] != '/' || path.find('\0') != std::string::npos) std::abort();
  return 0;
}
