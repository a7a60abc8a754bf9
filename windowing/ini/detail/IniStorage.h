#pragma once

// Ini files on disk: reading one into a table, telling whether it changed since, and
// replacing it whole so that no reader or crash ever sees a part-written file.

#include <sys/stat.h>
#include <sys/types.h>

#include <cstdint>
#include <string>
#include <string_view>

#include "windowing/ini/detail/IniSectionTable.h"

namespace swell {

// Seconds for which a just-modified file is not trusted from cache: a change within the
// file system's timestamp granularity can keep size and modification time.
inline constexpr int kIniSettleSeconds = 2;

// What identifies one version of a file. A rename-replace gives a new inode; an in-place
// edit a new size or modification time. The type, permissions and owner are what a
// replacement keeps.
struct IniFileIdentity {
  bool exists = false;
  int error = 0;  // why the file could not be examined, when it is not simply missing
  dev_t device = 0;
  ino_t inode = 0;
  off_t size = 0;
  std::int64_t modifiedSeconds = 0;
  long modifiedNanoseconds = 0;
  mode_t mode = 0;
  uid_t owner = 0;
  gid_t group = 0;

  bool operator==(const IniFileIdentity&) const = default;
  static IniFileIdentity of(const struct stat& info);
};

// The identity of the file at `path` now; "missing" when it cannot be examined.
IniFileIdentity statIniFile(const std::string& path);

// True when the file was modified within kIniSettleSeconds of now (or in the future).
bool isRecentlyModified(const IniFileIdentity& identity);

struct IniLoadResult {
  IniFileIdentity identity;  // of the version that was read
  bool complete = true;      // every byte of the file was taken in
  bool settled = true;       // the file did not change while it was read, and was readable
};

// Reads the file at `path` into `table` under a shared lock. A missing file reads as
// empty and complete; a file that cannot be read (not a regular file, no permission, an
// I/O error) reads as incomplete and unsettled, so it is read again next time and never
// written over.
IniLoadResult loadIniFile(const std::string& path, IniSectionTable& table);

// An exclusive lock on the lock file beside an ini file, held across one
// read-change-write so that writers in different processes do not lose each other's keys.
class IniWriteLock {
 public:
  IniWriteLock() = default;
  ~IniWriteLock();
  IniWriteLock(const IniWriteLock&) = delete;
  IniWriteLock& operator=(const IniWriteLock&) = delete;

  // Waits for the lock of `target`. False (logged) when the lock file cannot be opened.
  bool acquire(const std::string& target);
  // Takes the lock of `target` only when no other writer holds it and its lock file exists
  // already; false otherwise.
  bool tryAcquire(const std::string& target);

 private:
  int mFd = -1;
};

// Removes the temporaries of `target` (isIniTemporary) from its folder. The caller holds the
// target's write lock, so no writer of it is at work and every such file is a leftover of one
// killed mid-write; the temporaries of other files are left alone.
void removeLeftTemporaries(const std::string& target);

// Replaces `target`, whose state `current` was taken under the write lock the caller holds,
// with `text`: writes a new file beside it (replacing a temporary a killed writer left there),
// with the old file's owner (where this process may set it) and permission bits, syncs it,
// renames it over the target and syncs the folder. On a failure before the rename the target
// is left as it was, the new file is removed and the result is false (logged); when only the
// folder cannot be synced the target is replaced but the result is still false, as the change
// may not survive a crash. On success `written` is the identity of the new file.
bool replaceIniFile(const std::string& target, const IniFileIdentity& current,
                    std::string_view text, IniFileIdentity& written);

}  // namespace swell
