// Reads arbitrary bytes as a file drop block, as DragQueryFile and DragQueryPoint do with
// a block from another program. Every read stays within the block, every copy within
// the caller's buffer, terminated and never cut inside a character.

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>
#include <string_view>
#include <vector>

#include "base/Utf8.h"
#include "windowing/core/DropFiles.h"
#include "windowing/kernel/Kernel.h"

namespace {

// Each query reads the whole block, so only a fixed number of the paths is checked per input,
// which keeps the work per input linear in its size: every path of a short list, else the
// first, second, middle and last ones, the one past the end and one the input picks.
constexpr UINT kEveryPathUpTo = 8;

void check(bool condition) {
  if (!condition) std::abort();
}

std::vector<UINT> indicesToCheck(UINT count, const std::uint8_t* data, std::size_t size) {
  std::vector<UINT> indices;
  if (count <= kEveryPathUpTo) {
    for (UINT i = 0; i <= count; ++i)
      indices.push_back(i);
    return indices;
  }
  const UINT picked = size ? static_cast<UINT>(data[size - 1]) % count : 0;
  indices = {0, 1, count / 2, picked, count - 1, count};
  std::sort(indices.begin(), indices.end());
  indices.erase(std::unique(indices.begin(), indices.end()), indices.end());
  return indices;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size > 1 << 16) return 0;
  HANDLE block = GlobalAlloc(0, static_cast<int>(size));
  if (size) std::memcpy(GlobalLock(block), data, size);
  GlobalUnlock(block);

  UINT count = DragQueryFile(block, kDragQueryFileCount, nullptr, 0);
  check(count <= size);
  for (UINT i : indicesToCheck(count, data, size)) {
    UINT length = DragQueryFile(block, i, nullptr, 0);
    std::vector<char> whole(length + 1);
    DragQueryFile(block, i, whole.data(), length + 1);
    check(i < count || length == 0);
    check(length <= size);
    for (UINT cap : {1u, 3u, 8u, length + 1}) {
      std::vector<char> buffer(cap + 1, '\x7f');
      UINT copied = DragQueryFile(block, i, buffer.data(), cap);
      check(copied < cap || (copied == 0 && cap == 0));
      check(buffer[copied] == '\0');
      check(buffer[cap] == '\x7f');
      // A cut copy is a prefix of the path that ends on a whole character (a stray byte
      // that starts no character counts as one of its own).
      check(std::memcmp(buffer.data(), whole.data(), copied) == 0);
      check(base::utf8PrefixLength(std::string_view(whole.data(), length), copied) == copied);
      if (cap == length + 1 && i < count) check(copied == length);
    }
  }
  POINT p;
  DragQueryPoint(block, &p);
  GlobalFree(block);
  return 0;
}
