#include "controls/DirectoryScanner.h"

#include <sys/stat.h>

#include <cerrno>
#include <cstring>

#include "base/Log.h"

namespace iplug {
namespace igraphics {

int DirectoryScanner::First(const char* path) {
  if (!path || !*path) return -1;
  Close();
  mPath = path;
  const char last = mPath.back();
  if (last == '/' || last == '\\') mPath.pop_back();
  if (mPath.empty()) mPath.push_back('/');
  mDir = opendir(mPath.c_str());
  if (!mDir) {
    base::warn("controls", "DirectoryScanner: cannot open folder \"%s\": %s", mPath.c_str(),
               std::strerror(errno));
    return 1;
  }
  return Read() ? 0 : 1;
}

bool DirectoryScanner::Next() {
  return mDir && Read();
}

bool DirectoryScanner::Read() {
  errno = 0;
  mEntry = readdir(mDir);
  if (!mEntry && errno != 0)
    base::warn("controls", "DirectoryScanner: cannot read folder \"%s\": %s", mPath.c_str(),
               std::strerror(errno));
  return mEntry != nullptr;
}

void DirectoryScanner::Close() {
  if (mDir) closedir(mDir);
  mDir = nullptr;
  mEntry = nullptr;
}

std::string DirectoryScanner::GetCurrentFullFN() const {
  std::string full = mPath;
  if (full.back() != '/') full += '/';
  return full + GetCurrentFN();
}

bool DirectoryScanner::Identify(const std::string& path, FolderId& id) {
  struct stat st;
  if (stat(path.c_str(), &st) != 0 || !S_ISDIR(st.st_mode)) return false;
  id = FolderId{st.st_dev, st.st_ino};
  return true;
}

DirectoryScanner::EKind DirectoryScanner::CurrentKind(FolderId* id) const {
  if (!mEntry) return EKind::kMissing;
  // A plain file needs no look-up; folders, links and entries of unknown type are resolved.
  if (mEntry->d_type == DT_REG) return EKind::kFile;
  struct stat st;
  if (stat(GetCurrentFullFN().c_str(), &st) != 0) return EKind::kMissing;
  if (!S_ISDIR(st.st_mode)) return EKind::kFile;
  if (id) *id = FolderId{st.st_dev, st.st_ino};
  return EKind::kFolder;
}

}  // namespace igraphics
}  // namespace iplug
