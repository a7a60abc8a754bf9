#include "graphics/ResourcePaths.h"

#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <mutex>
#include <vector>

namespace iplug {
namespace igraphics {

namespace {

std::mutex gMutex;
std::vector<std::string>& Folders() {
  static std::vector<std::string> folders;
  return folders;
}

bool IsReadableFile(const std::string& path) {
  struct stat st;
  return stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode) && access(path.c_str(), R_OK) == 0;
}

// "dir/knob.png" -> "dir/knob@2x.png"; a name without extension gets the suffix at its end.
std::string HiResName(const std::string& name) {
  const size_t slash = name.find_last_of('/');
  const size_t dot = name.find_last_of('.');
  if (dot == std::string::npos || (slash != std::string::npos && dot < slash)) return name + "@2x";
  return name.substr(0, dot) + "@2x" + name.substr(dot);
}

// An absolute name is taken as it stands; a relative one is looked for in the folders first,
// then relative to the working folder.
bool FindOne(const std::string& name, const std::vector<std::string>& folders, std::string& path) {
  if (name[0] != '/') {
    for (const std::string& folder : folders) {
      std::string candidate = folder;
      if (candidate.back() != '/') candidate += '/';
      candidate += name;
      if (IsReadableFile(candidate)) {
        path = std::move(candidate);
        return true;
      }
    }
  }
  if (IsReadableFile(name)) {
    path = name;
    return true;
  }
  return false;
}

}  // namespace

void ResourcePaths::Add(const char* folder) {
  if (!folder || !*folder) return;
  std::lock_guard<std::mutex> lock(gMutex);
  auto& folders = Folders();
  if (std::find(folders.begin(), folders.end(), folder) == folders.end())
    folders.emplace_back(folder);
}

void ResourcePaths::Clear() {
  std::lock_guard<std::mutex> lock(gMutex);
  Folders().clear();
}

bool ResourcePaths::Find(const char* name, int targetScale, std::string& path, int& fileScale) {
  if (!name || !*name) return false;
  std::vector<std::string> folders;
  {
    std::lock_guard<std::mutex> lock(gMutex);
    folders = Folders();
  }
  const std::string plain(name);
  if (targetScale >= 2 && FindOne(HiResName(plain), folders, path)) {
    fileScale = 2;
    return true;
  }
  if (FindOne(plain, folders, path)) {
    fileScale = 1;
    return true;
  }
  return false;
}

}  // namespace igraphics
}  // namespace iplug
