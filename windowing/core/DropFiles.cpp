#include "windowing/core/DropFiles.h"

#include <cstring>
#include <limits>

#include "base/Log.h"
#include "base/Utf8.h"
#include "windowing/kernel/Kernel.h"

namespace swell {

HDROP makeDropBlock(const std::vector<std::string>& paths, POINT point) {
  std::size_t total = sizeof(DROPFILES) + 1;
  for (const auto& p : paths)
    total += p.size() + 1;
  if (total > static_cast<std::size_t>(std::numeric_limits<int>::max())) {
    base::warn("swell-cocoa", "drop block of %zu bytes is too large", total);
    return nullptr;
  }
  HDROP block = GlobalAlloc(0, static_cast<int>(total));
  auto* bytes = static_cast<char*>(GlobalLock(block));
  if (!bytes) return nullptr;
  DROPFILES header;
  header.pFiles = sizeof(DROPFILES);
  header.pt = point;
  std::memcpy(bytes, &header, sizeof header);
  std::size_t at = sizeof(DROPFILES);
  for (const auto& p : paths) {
    std::memcpy(bytes + at, p.data(), p.size());
    at += p.size();
    bytes[at++] = 0;
  }
  bytes[at] = 0;
  GlobalUnlock(block);
  return block;
}

bool readDropBlock(HDROP drop, std::vector<std::string>* paths, const char* caller) {
  int size = GlobalSize(drop);
  if (size < static_cast<int>(sizeof(DROPFILES))) {
    base::warn("swell-cocoa", "%s: %p is not a file list", caller, drop);
    return false;
  }
  const auto* bytes = static_cast<const char*>(GlobalLock(drop));
  if (!bytes) return false;
  DROPFILES header;
  std::memcpy(&header, bytes, sizeof header);
  bool ok = header.pFiles < static_cast<DWORD>(size) && header.fWide == 0;
  if (!ok) {
    base::warn("swell-cocoa", "%s: file list of %p has offset %u in %d bytes%s", caller, drop,
               header.pFiles, size, header.fWide ? " and UTF-16 paths" : "");
  } else if (paths) {
    paths->clear();
    std::size_t at = header.pFiles, end = static_cast<std::size_t>(size);
    while (at < end && bytes[at]) {
      // A last path without its NUL ends at the block's end.
      const void* nul = std::memchr(bytes + at, 0, end - at);
      std::size_t len =
          nul ? static_cast<std::size_t>(static_cast<const char*>(nul) - (bytes + at)) : end - at;
      paths->emplace_back(bytes + at, len);
      at += len + 1;
    }
  }
  GlobalUnlock(drop);
  return ok;
}

}  // namespace swell

UINT DragQueryFile(HDROP drop, UINT index, char* buffer, UINT size) {
  // A caller that does not check the result still reads an empty path.
  if (buffer && size > 0) buffer[0] = 0;
  std::vector<std::string> paths;
  if (!swell::readDropBlock(drop, &paths, "DragQueryFile")) return 0;
  if (index == kDragQueryFileCount) return static_cast<UINT>(paths.size());
  if (index >= paths.size()) return 0;
  const std::string& path = paths[index];
  if (buffer && size > 0) {
    return static_cast<UINT>(base::copyUtf8(path, buffer, size));
  }
  return static_cast<UINT>(path.size());
}

BOOL DragQueryPoint(HDROP drop, POINT* point) {
  if (!point || !swell::readDropBlock(drop, nullptr, "DragQueryPoint")) return FALSE;
  DROPFILES header;
  std::memcpy(&header, GlobalLock(drop), sizeof header);
  GlobalUnlock(drop);
  *point = header.pt;
  return header.fNC == 0 ? TRUE : FALSE;
}

void DragFinish(HDROP) {
  // The block belongs to whoever made it; the layer frees its own drop blocks.
}
