#include "windowing/kernel/detail/KernelBundle.h"

#include <unistd.h>

#include <fstream>

namespace swell {

namespace {

constexpr std::size_t kMaxInfoPlistBytes = 1 << 20;

// The <string> value that follows <key>name</key> in a property list, or empty.
std::string plistString(const std::string& plistPath, const std::string& key) {
  std::ifstream in(plistPath, std::ios::binary);
  if (!in) return {};
  std::string text;
  text.resize(kMaxInfoPlistBytes);
  in.read(text.data(), static_cast<std::streamsize>(text.size()));
  text.resize(static_cast<std::size_t>(in.gcount()));

  const std::string keyTag = "<key>" + key + "</key>";
  std::size_t at = text.find(keyTag);
  if (at == std::string::npos) return {};
  at += keyTag.size();
  while (at < text.size() &&
         (text[at] == ' ' || text[at] == '\t' || text[at] == '\r' || text[at] == '\n')) {
    ++at;
  }
  const std::string open = "<string>";
  if (text.compare(at, open.size(), open) != 0) return {};
  at += open.size();
  std::size_t end = text.find("</string>", at);
  if (end == std::string::npos) return {};
  return text.substr(at, end - at);
}

std::string baseNameWithoutExtension(const std::string& folder) {
  std::size_t slash = folder.rfind('/');
  std::string name = slash == std::string::npos ? folder : folder.substr(slash + 1);
  std::size_t dot = name.rfind('.');
  if (dot != std::string::npos && dot > 0) name.erase(dot);
  return name;
}

}  // namespace

std::string bundleFolderPath(const std::string& folder) {
  std::string path = folder;
  while (path.size() > 1 && path.back() == '/')
    path.pop_back();
  return path;
}

std::string bundleExecutablePath(const std::string& folder) {
  const std::string root = bundleFolderPath(folder);
  const std::string contents = root + "/Contents";
  std::string name = plistString(contents + "/Info.plist", "CFBundleExecutable");
  if (name.empty()) {
    name = baseNameWithoutExtension(root);
  } else if (name.find('/') != std::string::npos || name == "." || name == "..") {
    return {};
  }
  if (name.empty()) return {};
  return contents + "/MacOS/" + name;
}

std::string mainBundleFolder() {
  char path[4096];
  ssize_t n = ::readlink("/proc/self/exe", path, sizeof(path) - 1);
  if (n <= 0) return {};
  std::string executable(path, static_cast<std::size_t>(n));
  std::size_t slash = executable.rfind('/');
  if (slash == std::string::npos) return {};
  std::string folder = slash == 0 ? "/" : executable.substr(0, slash);
  const std::string inBundle = "/Contents/MacOS";
  if (folder.size() > inBundle.size() &&
      folder.compare(folder.size() - inBundle.size(), inBundle.size(), inBundle) == 0) {
    folder.erase(folder.size() - inBundle.size());
  }
  return folder;
}

}  // namespace swell
