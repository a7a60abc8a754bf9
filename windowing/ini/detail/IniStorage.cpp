#include "windowing/ini/detail/IniStorage.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <ctime>

#include "base/Log.h"
#include "windowing/ini/detail/IniParser.h"
#include "windowing/ini/detail/IniPath.h"

namespace swell {

namespace {

constexpr std::size_t kReadChunkBytes = 64 * 1024;

void flockRetrying(int fd, int operation) {
  while (flock(fd, operation) != 0 && errno == EINTR) {
  }
}

bool writeAll(int fd, std::string_view bytes) {
  while (!bytes.empty()) {
    const ssize_t written = write(fd, bytes.data(), bytes.size());
    if (written < 0) {
      if (errno == EINTR) continue;
      return false;
    }
    if (written == 0) {
      errno = EIO;
      return false;
    }
    bytes.remove_prefix(static_cast<std::size_t>(written));
  }
  return true;
}

// Flushes the folder holding `path`, so that a rename in it reaches the disk. A file system
// that cannot sync folders (EINVAL) has nothing to flush.
bool syncFolderOf(const std::string& path) {
  const std::size_t slash = path.rfind('/');
  const std::string folder =
      slash == std::string::npos ? "." : (slash == 0 ? "/" : path.substr(0, slash));
  const int fd = open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  int error = 0;
  if (fd < 0 || (fsync(fd) != 0 && errno != EINVAL)) error = errno;
  if (fd >= 0) close(fd);
  if (error != 0) {
    base::warn("swell-cocoa",
               "replaced %s but cannot sync its folder %s: %s; the change may not survive a "
               "crash",
               path.c_str(), folder.c_str(), std::strerror(error));
    return false;
  }
  return true;
}

}  // namespace

IniFileIdentity IniFileIdentity::of(const struct stat& info) {
  IniFileIdentity identity;
  identity.exists = true;
  identity.device = info.st_dev;
  identity.inode = info.st_ino;
  identity.size = info.st_size;
  identity.modifiedSeconds = info.st_mtim.tv_sec;
  identity.modifiedNanoseconds = info.st_mtim.tv_nsec;
  identity.mode = info.st_mode;
  identity.owner = info.st_uid;
  identity.group = info.st_gid;
  return identity;
}

IniFileIdentity statIniFile(const std::string& path) {
  IniFileIdentity missing;
  if (path.empty()) return missing;
  struct stat info;
  if (stat(path.c_str(), &info) == 0) return IniFileIdentity::of(info);
  if (errno != ENOENT && errno != ENOTDIR) missing.error = errno;
  return missing;
}

bool isRecentlyModified(const IniFileIdentity& identity) {
  if (!identity.exists) return false;
  timespec now{};
  clock_gettime(CLOCK_REALTIME, &now);
  return identity.modifiedSeconds >= static_cast<std::int64_t>(now.tv_sec) - kIniSettleSeconds;
}

IniLoadResult loadIniFile(const std::string& path, IniSectionTable& table) {
  table.clear();
  IniLoadResult result;
  if (path.empty()) return result;

  const int fd = open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NOCTTY | O_NONBLOCK);
  if (fd < 0) {
    if (errno == ENOENT || errno == ENOTDIR) return result;  // missing: reads as empty
    base::warn("swell-cocoa", "cannot open %s for reading: %s", path.c_str(), std::strerror(errno));
    result.identity = statIniFile(path);
    result.complete = false;
    result.settled = false;
    return result;
  }
  struct stat before;
  if (fstat(fd, &before) != 0 || !S_ISREG(before.st_mode)) {
    base::warn("swell-cocoa", "%s is not a readable regular file", path.c_str());
    close(fd);
    result.identity = statIniFile(path);
    result.complete = false;
    result.settled = false;
    return result;
  }

  flockRetrying(fd, LOCK_SH);
  IniParser parser(table);
  bool readFailed = false;
  // Read straight into the table's buffer: the whole file in one read when its size holds,
  // with a byte to spare to see the end.
  std::size_t expected = before.st_size > 0 ? static_cast<std::size_t>(before.st_size) + 1 : 0;
  for (;;) {
    const std::size_t want = expected > 0 ? expected : kReadChunkBytes;
    const ssize_t got = read(fd, parser.room(want), want);
    if (got < 0 && errno == EINTR) continue;
    if (got < 0) {
      base::warn("swell-cocoa", "cannot read %s: %s", path.c_str(), std::strerror(errno));
      readFailed = true;
      break;
    }
    if (got == 0 || !parser.take(static_cast<std::size_t>(got))) break;
    expected -= std::min(expected, static_cast<std::size_t>(got));
  }
  parser.finish();
  struct stat after;
  const bool unchanged =
      fstat(fd, &after) == 0 && IniFileIdentity::of(after) == IniFileIdentity::of(before);
  close(fd);  // which releases the lock

  if (parser.incomplete()) base::warn("swell-cocoa", "%s was read only in part", path.c_str());
  result.identity = IniFileIdentity::of(before);
  result.complete = !parser.incomplete() && !readFailed;
  result.settled = unchanged && !readFailed;
  return result;
}

IniWriteLock::~IniWriteLock() {
  if (mFd >= 0) close(mFd);  // closing releases the lock
}

bool IniWriteLock::acquire(const std::string& target) {
  const std::string path = iniLockPath(target);
  // O_NOFOLLOW: a planted symlink must not make us create or lock some other file.
  int fd = open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0666);
  if (fd < 0 && errno == EACCES) fd = open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NOFOLLOW);
  if (fd < 0) {
    base::warn("swell-cocoa", "cannot open lock file %s: %s", path.c_str(), std::strerror(errno));
    return false;
  }
  flockRetrying(fd, LOCK_EX);
  if (mFd >= 0) close(mFd);
  mFd = fd;
  return true;
}

bool IniWriteLock::tryAcquire(const std::string& target) {
  // A reader creates nothing: without a lock file no writer has been at work here.
  const int fd = open(iniLockPath(target).c_str(), O_RDONLY | O_CLOEXEC | O_NOFOLLOW);
  if (fd < 0) return false;
  int locked;
  while ((locked = flock(fd, LOCK_EX | LOCK_NB)) != 0 && errno == EINTR) {
  }
  if (locked != 0) {
    close(fd);
    return false;
  }
  if (mFd >= 0) close(mFd);
  mFd = fd;
  return true;
}

void removeLeftTemporaries(const std::string& target) {
  const std::string folder = iniFolderOf(target);
  DIR* dir = opendir(folder.c_str());
  if (!dir) return;
  while (const dirent* entry = readdir(dir)) {
    if (!isIniTemporary(target, entry->d_name)) continue;
    if (unlinkat(dirfd(dir), entry->d_name, 0) != 0 && errno != ENOENT) {
      base::warn("swell-cocoa", "cannot remove the leftover %s in %s: %s", entry->d_name,
                 folder.c_str(), std::strerror(errno));
    }
  }
  closedir(dir);
}

bool replaceIniFile(const std::string& target, const IniFileIdentity& current,
                    std::string_view text, IniFileIdentity& written) {
  if (current.error != 0) {
    base::warn("swell-cocoa", "cannot examine %s: %s", target.c_str(),
               std::strerror(current.error));
    return false;
  }
  const bool hadOld = current.exists;
  if (hadOld && !S_ISREG(current.mode)) {
    base::warn("swell-cocoa", "%s is not a regular file; not replacing it", target.c_str());
    return false;
  }

  // Made exclusively, so that nothing planted under the name is written through. One that is
  // there already was left by a writer killed mid-write: the write lock keeps others away.
  const std::string temporary = iniTemporaryPath(target);
  constexpr int kCreate = O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC;
  int fd = open(temporary.c_str(), kCreate, 0666);
  if (fd < 0 && errno == EEXIST && (unlink(temporary.c_str()) == 0 || errno == ENOENT))
    fd = open(temporary.c_str(), kCreate, 0666);
  if (fd < 0) {
    base::warn("swell-cocoa", "cannot create %s: %s", temporary.c_str(), std::strerror(errno));
    return false;
  }

  struct stat info;
  if (fstat(fd, &info) != 0) {
    const int error = errno;
    close(fd);
    unlink(temporary.c_str());
    base::warn("swell-cocoa", "cannot examine %s: %s", temporary.c_str(), std::strerror(error));
    return false;
  }

  auto fail = [&](const char* step) {
    const int error = errno;
    if (fd >= 0) close(fd);
    unlink(temporary.c_str());
    base::warn("swell-cocoa", "cannot %s %s: %s; %s left unchanged", step, temporary.c_str(),
               std::strerror(error), target.c_str());
    return false;
  };

  // Owner and permissions first, so the content is never readable more widely than the old
  // file. The owner (kept when root rewrites another user's file) goes before the mode, as a
  // change of owner clears the set-id bits. A writer that may not give the file away keeps
  // it as its own, as creating the file made it.
  if (hadOld && (current.owner != info.st_uid || current.group != info.st_gid) &&
      fchown(fd, current.owner, current.group) != 0) {
    base::warn("swell-cocoa", "cannot keep the owner of %s: %s", target.c_str(),
               std::strerror(errno));
  }
  // The new file has no set-id bits for a change of owner to clear, so its mode as made tells
  // whether it needs setting.
  if (hadOld && (info.st_mode & 07777) != (current.mode & 07777) &&
      fchmod(fd, current.mode & 07777) != 0) {
    return fail("set permissions of");
  }
  if (!writeAll(fd, text)) return fail("write");
  if (fsync(fd) != 0) return fail("sync");
  if (fstat(fd, &info) != 0) return fail("examine");
  const int closing = fd;
  fd = -1;
  if (close(closing) != 0) return fail("close");
  if (rename(temporary.c_str(), target.c_str()) != 0) return fail("rename");
  // The rename is durable only once the folder is: a write reported done must survive a crash.
  if (!syncFolderOf(target)) return false;
  written = IniFileIdentity::of(info);
  return true;
}

}  // namespace swell
