#include "support/ReadOnlyFolder.h"

#include <fcntl.h>
#include <linux/fs.h>
#include <sys/ioctl.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <system_error>

namespace testsupport {

namespace {

// Sets or clears the folder's immutable flag; the error text, "" when it worked.
std::string setImmutable(const std::filesystem::path& folder, bool immutable) {
  const int fd = open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd < 0) return std::strerror(errno);
  int flags = 0;
  std::string error;
  if (ioctl(fd, FS_IOC_GETFLAGS, &flags) != 0) {
    error = std::strerror(errno);
  } else {
    flags = immutable ? flags | FS_IMMUTABLE_FL : flags & ~FS_IMMUTABLE_FL;
    if (ioctl(fd, FS_IOC_SETFLAGS, &flags) != 0) error = std::strerror(errno);
  }
  close(fd);
  return error;
}

}  // namespace

ReadOnlyFolder::ReadOnlyFolder(std::filesystem::path folder) : mFolder(std::move(folder)) {
  std::error_code error;
  mPermissions = std::filesystem::status(mFolder, error).permissions();
  if (error) {
    mError = mFolder.string() + ": " + error.message();
    return;
  }
  std::filesystem::permissions(mFolder,
                               std::filesystem::perms::owner_write |
                                   std::filesystem::perms::group_write |
                                   std::filesystem::perms::others_write,
                               std::filesystem::perm_options::remove, error);
  mChanged = !error;
  if (geteuid() == 0) {
    const std::string why = setImmutable(mFolder, true);
    mImmutable = why.empty();
    if (!mImmutable) {
      mError = "running as root, which writes through permission bits, and " + mFolder.string() +
               " cannot be made immutable: " + why;
      return;
    }
  }
  const std::filesystem::path probe = mFolder / ".write-probe";
  const int fd = open(probe.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0644);
  if (fd >= 0) {
    close(fd);
    unlink(probe.c_str());
    mError = mFolder.string() + " can still be written";
  }
}

ReadOnlyFolder::~ReadOnlyFolder() {
  restore();
}

void ReadOnlyFolder::restore() {
  if (mImmutable) setImmutable(mFolder, false);
  mImmutable = false;
  std::error_code ignored;
  if (mChanged) std::filesystem::permissions(mFolder, mPermissions, ignored);
  mChanged = false;
}

}  // namespace testsupport
