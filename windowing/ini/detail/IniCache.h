#pragma once

// The process-wide cache of parsed ini files: 32 slots, each holding one file's table for
// as long as the file on disk stays the version that was read or written.

#include <cstdint>
#include <mutex>
#include <string>

#include "windowing/ini/detail/IniSectionTable.h"
#include "windowing/ini/detail/IniStorage.h"

namespace swell {

inline constexpr int kIniCacheSlots = 32;

// One cached file.
struct IniFileCache {
  std::uint64_t useStamp = 0;  // the use counter at the last use; 0 = never used
  std::string path;            // the resolved path; empty while never used
  IniFileIdentity identity;    // the version of the file that `sections` holds
  bool stale = true;           // `sections` may differ from the file: read it again
  bool complete = true;        // `sections` holds the whole file, so it may be written back
  // `identity` is the version this process's own replacement made, so it is trusted even
  // while its modification time is recent: no other writer can produce that inode, size
  // and time together.
  bool writtenHere = false;
  // The temporaries writers killed mid-write left beside the file were looked for, as they
  // are once by the first call on a file in each process. (A write also replaces the one a
  // killed writer leaves where its own goes.)
  bool swept = false;
  IniSectionTable sections;
};

class IniCache {
 public:
  // The one cache. It is never destroyed, so ini calls stay safe while the process exits.
  static IniCache& instance();

  // Guards every slot; held for the whole of each ini call.
  std::mutex& mutex() { return mMutex; }

  // The slot for a resolved path, taking the least recently used one when no slot holds
  // it. Its content is not checked against the disk; call refresh() for that.
  IniFileCache& slotFor(const std::string& path);

  // Reads the file again unless the slot holds its current, settled version (or the version
  // it wrote itself). `lockedTarget` is the slot's file, symlinks followed, when the caller
  // holds its write lock. Either way the slot's identity is then the file's state now.
  void refresh(IniFileCache& slot, const std::string* lockedTarget = nullptr);

  // Writes the slot's table over `target` (the slot's file, symlinks followed), right after
  // refresh() under the target's write lock. On failure the slot is marked stale, so the next
  // call reads the file from disk again.
  bool writeBack(IniFileCache& slot, const std::string& target);

  // How many times a file was read from disk; lets tests see caching at work.
  std::uint64_t loadCount() const { return mLoadCount; }

 private:
  IniCache() = default;

  std::mutex mMutex;
  IniFileCache mSlots[kIniCacheSlots];
  std::uint64_t mUseCounter = 0;
  std::uint64_t mLoadCount = 0;
};

}  // namespace swell
