#include <cstdint>
#include <cstdlib>
#include <mutex>
#include <new>
#include <unordered_set>

#include "base/Log.h"
#include "windowing/kernel/Kernel.h"

namespace {

// The header in front of a block's data. Besides the size and lock count it
// carries a magic word, and its 16 bytes keep the data as aligned as malloc's.
struct BlockHeader {
  std::uint32_t magic;
  std::uint32_t size;
  std::int32_t lockCount;
  std::uint32_t reserved;
};
static_assert(sizeof(BlockHeader) == 16);

constexpr std::uint32_t kBlockMagic = 0x474D454D;  // "GMEM"

// Live blocks by data pointer: a handle is only read after this set knows it,
// so a freed or foreign pointer is refused without touching its memory.
struct BlockRegistry {
  std::mutex mutex;
  std::unordered_set<const void*> live;
};

BlockRegistry& blocks() {
  static BlockRegistry* instance = new BlockRegistry;
  return *instance;
}

BlockHeader* headerLocked(BlockRegistry& r, HANDLE block) {
  if (!block || r.live.find(block) == r.live.end()) return nullptr;
  BlockHeader* header = static_cast<BlockHeader*>(block) - 1;
  return header->magic == kBlockMagic ? header : nullptr;
}

}  // namespace

HANDLE GlobalAlloc(int flags, int size) {
  std::uint32_t bytes = size < 0 ? 0 : static_cast<std::uint32_t>(size);
  // Zero-filled, so a caller that reads before writing sees no stale data.
  auto* header = static_cast<BlockHeader*>(std::calloc(1, sizeof(BlockHeader) + bytes));
  if (!header) {
    base::warn("swell-cocoa", "GlobalAlloc: out of memory for %u bytes", bytes);
    return nullptr;
  }
  header->magic = kBlockMagic;
  header->size = bytes;
  void* data = header + 1;
  BlockRegistry& r = blocks();
  try {
    std::lock_guard<std::mutex> lock(r.mutex);
    r.live.insert(data);
  } catch (const std::bad_alloc&) {
    std::free(header);
    base::warn("swell-cocoa", "GlobalAlloc: out of memory");
    return nullptr;
  }
  return data;
}

void* GlobalLock(HANDLE block) {
  BlockRegistry& r = blocks();
  std::lock_guard<std::mutex> lock(r.mutex);
  BlockHeader* header = headerLocked(r, block);
  if (!header) {
    if (block) base::warn("swell-cocoa", "GlobalLock: %p is not a live block", block);
    return nullptr;
  }
  ++header->lockCount;
  return block;
}

BOOL GlobalUnlock(HANDLE block) {
  BlockRegistry& r = blocks();
  std::lock_guard<std::mutex> lock(r.mutex);
  BlockHeader* header = headerLocked(r, block);
  if (!header) {
    if (block) base::warn("swell-cocoa", "GlobalUnlock: %p is not a live block", block);
    return FALSE;
  }
  if (header->lockCount > 0) --header->lockCount;
  return header->lockCount > 0 ? TRUE : FALSE;
}

int GlobalSize(HANDLE block) {
  BlockRegistry& r = blocks();
  std::lock_guard<std::mutex> lock(r.mutex);
  BlockHeader* header = headerLocked(r, block);
  if (!header) {
    if (block) base::warn("swell-cocoa", "GlobalSize: %p is not a live block", block);
    return 0;
  }
  return static_cast<int>(header->size);
}

HANDLE GlobalFree(HANDLE block) {
  if (!block) return nullptr;
  BlockHeader* header = nullptr;
  {
    BlockRegistry& r = blocks();
    std::lock_guard<std::mutex> lock(r.mutex);
    header = headerLocked(r, block);
    if (header) {
      r.live.erase(block);
      header->magic = 0;
    }
  }
  if (!header) {
    base::warn("swell-cocoa", "GlobalFree: %p is not a live block", block);
    return block;  // the Win32 failure value: the block given back
  }
  std::free(header);
  return nullptr;
}
