#pragma once

#include <filesystem>
#include <string>

namespace testsupport {

// Makes a folder read-only while it lives, as a user meets one: its write bits go and, for
// root (which writes through permission bits, as CI runs), it is made immutable as well. The
// folder is checked by trying to make a file in it: when that still works, or the folder
// cannot be changed, ok() is false and whyNot() says why, so the test can skip. restore()
// (and the destructor) gives the folder back as it was.
class ReadOnlyFolder {
 public:
  explicit ReadOnlyFolder(std::filesystem::path folder);
  ~ReadOnlyFolder();
  ReadOnlyFolder(const ReadOnlyFolder&) = delete;
  ReadOnlyFolder& operator=(const ReadOnlyFolder&) = delete;

  bool ok() const { return mError.empty(); }
  const std::string& whyNot() const { return mError; }
  void restore();

 private:
  std::filesystem::path mFolder;
  std::filesystem::perms mPermissions{};
  bool mChanged = false;
  bool mImmutable = false;
  std::string mError;
};

}  // namespace testsupport
