#include "windowing/core/Clipboard.h"

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

#include "base/Log.h"
#include "platform/core/Pasteboard.h"
#include "windowing/core/DropFiles.h"
#include "windowing/core/detail/TestHooks.h"
#include "windowing/kernel/Kernel.h"

namespace {

// The name that always registers as the text format.
constexpr const char* kTextFormatName = "SWELL__CF_TEXT";

struct PendingRecord {
  UINT format = 0;
  HANDLE block = nullptr;
};

// Clipboard state of the process. The format table holds native type names; a
// format's id is its position + 1, and the second position, an empty name, stands for
// the file list.
struct ClipboardState {
  std::vector<std::string> formats;
  std::vector<UINT> available;
  std::vector<PendingRecord> pending;
  std::vector<HANDLE> returned;

  ClipboardState() { resetFormats(); }
  ~ClipboardState() {
    discardPending();
    freeReturned();
  }
  void resetFormats() { formats = {platform::NSPasteboardTypeString, ""}; }
  void discardPending() {
    for (const auto& r : pending)
      GlobalFree(r.block);
    pending.clear();
  }
  void freeReturned() {
    for (HANDLE h : returned)
      GlobalFree(h);
    returned.clear();
  }
  bool knows(UINT format) const { return format >= 1 && format <= formats.size(); }
  const std::string& typeOf(UINT format) const { return formats[format - 1]; }
};

ClipboardState& state() {
  static ClipboardState s;
  return s;
}

platform::NSPasteboard& board() {
  return platform::NSPasteboard::generalPasteboard();
}

HANDLE blockWith(const void* data, std::size_t size) {
  if (size > static_cast<std::size_t>(0x7FFFFFFF)) {
    base::warn("swell-cocoa", "GetClipboardData: %zu bytes do not fit a memory block", size);
    return nullptr;
  }
  HANDLE block = GlobalAlloc(0, static_cast<int>(size));
  void* bytes = GlobalLock(block);
  if (!bytes) return nullptr;
  if (size) std::memcpy(bytes, data, size);
  GlobalUnlock(block);
  return block;
}

// The bytes of a block, read within its size.
std::vector<char> bytesOf(HANDLE block) {
  std::vector<char> out;
  int size = GlobalSize(block);
  const char* bytes = size > 0 ? static_cast<const char*>(GlobalLock(block)) : nullptr;
  if (!bytes) return out;
  out.assign(bytes, bytes + size);
  GlobalUnlock(block);
  return out;
}

void writePending(ClipboardState& s) {
  std::vector<std::string> types;
  bool fileLists = false;
  for (const auto& r : s.pending) {
    if (r.format == CF_HDROP) {
      fileLists = true;
      continue;
    }
    const std::string& type = s.typeOf(r.format);
    if (std::find(types.begin(), types.end(), type) == types.end()) types.push_back(type);
  }
  if (types.empty() && !fileLists) return;
  if (!types.empty())
    board().declareTypes(types);
  else
    board().clearContents();
  for (const auto& r : s.pending) {
    if (r.format == CF_HDROP) {
      // Only a block with paths after its header, an offset inside it and UTF-8 paths.
      std::vector<std::string> paths;
      if (GlobalSize(r.block) > static_cast<int>(sizeof(DROPFILES)) &&
          swell::readDropBlock(r.block, &paths, "CloseClipboard"))
        board().setFileList(paths);
      continue;
    }
    std::vector<char> bytes = bytesOf(r.block);
    if (r.format == CF_TEXT) {
      // The text ends at its first NUL, or with the block when it has none.
      std::size_t len = std::find(bytes.begin(), bytes.end(), '\0') - bytes.begin();
      board().setString(std::string(bytes.data(), len));
    } else {
      board().setData(std::vector<std::uint8_t>(bytes.begin(), bytes.end()), s.typeOf(r.format));
    }
  }
}

}  // namespace

BOOL OpenClipboard(HWND) {
  ClipboardState& s = state();
  s.discardPending();
  s.available.clear();
  if (board().hasFileList()) s.available.push_back(CF_HDROP);
  for (const std::string& type : board().types()) {
    for (std::size_t i = 0; i < s.formats.size(); ++i) {
      if (s.formats[i].empty() || s.formats[i] != type) continue;
      auto id = static_cast<UINT>(i + 1);
      if (std::find(s.available.begin(), s.available.end(), id) == s.available.end())
        s.available.push_back(id);
    }
  }
  return TRUE;
}

BOOL CloseClipboard() {
  ClipboardState& s = state();
  s.freeReturned();
  if (!s.pending.empty()) {
    writePending(s);
    s.discardPending();
  }
  return TRUE;
}

BOOL EmptyClipboard() {
  state().discardPending();
  return TRUE;
}

UINT RegisterClipboardFormat(const char* name) {
  if (!name || !*name) return 0;
  if (std::strcmp(name, kTextFormatName) == 0) return CF_TEXT;
  ClipboardState& s = state();
  for (std::size_t i = 0; i < s.formats.size(); ++i)
    if (s.formats[i] == name) return static_cast<UINT>(i + 1);
  s.formats.emplace_back(name);
  return static_cast<UINT>(s.formats.size());
}

UINT EnumClipboardFormats(UINT format) {
  const std::vector<UINT>& available = state().available;
  if (format == 0) return available.empty() ? 0 : available.front();
  auto it = std::find(available.begin(), available.end(), format);
  if (it == available.end() || ++it == available.end()) return 0;
  return *it;
}

HANDLE GetClipboardData(UINT format) {
  ClipboardState& s = state();
  HANDLE block = nullptr;
  if (format == CF_TEXT) {
    if (auto text = board().stringForType(platform::NSPasteboardTypeString))
      block = blockWith(text->c_str(), text->size() + 1);
  } else if (format == CF_HDROP) {
    std::vector<std::string> paths = board().fileList();
    if (!paths.empty()) block = swell::makeDropBlock(paths, {});
  } else if (s.knows(format)) {
    if (auto data = board().dataForType(s.typeOf(format)))
      block = blockWith(data->data(), data->size());
  }
  if (block) s.returned.push_back(block);
  return block;
}

HANDLE SetClipboardData(UINT format, HANDLE block) {
  ClipboardState& s = state();
  if (!s.knows(format)) {
    base::warn("swell-cocoa", "SetClipboardData: format %u is not registered", format);
    return nullptr;
  }
  if (!GlobalLock(block)) {
    base::warn("swell-cocoa", "SetClipboardData: %p is not a memory block", block);
    return nullptr;
  }
  GlobalUnlock(block);
  // A block given twice is owned once.
  bool owned = std::any_of(s.pending.begin(), s.pending.end(),
                           [&](const PendingRecord& r) { return r.block == block; });
  if (!owned) s.pending.push_back({format, block});
  return block;
}

namespace swell {
void resetClipboardForTesting() {
  ClipboardState& s = state();
  s.discardPending();
  s.freeReturned();
  s.available.clear();
  s.resetFormats();
}
}  // namespace swell
