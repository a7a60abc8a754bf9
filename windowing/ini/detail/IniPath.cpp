#include "windowing/ini/detail/IniPath.h"

#include <limits.h>
#include <strings.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <string_view>
#include <vector>

namespace swell {

namespace {

constexpr std::string_view kDefaultFileName = "/.libSwell.ini";
constexpr std::string_view kIniExtension = ".ini";

// Symlink hops followed before giving up, as the kernel does for path lookup.
constexpr int kMaxSymlinkHops = 40;

bool isSeparator(char c) {
  return c == '/' || c == '\\';
}

// The base path without its extension: scanning back from the end, the first '.' met
// before any separator cuts the path there.
std::string withoutExtension(std::string path) {
  for (std::size_t i = path.size(); i > 0; --i) {
    const char c = path[i - 1];
    if (isSeparator(c)) break;
    if (c == '.') {
      path.resize(i - 1);
      break;
    }
  }
  return path;
}

bool endsInIniExtension(std::string_view name) {
  std::size_t dot = std::string_view::npos;
  for (std::size_t i = name.size(); i > 0; --i) {
    if (isSeparator(name[i - 1])) break;
    if (name[i - 1] == '.') {
      dot = i - 1;
      break;
    }
  }
  if (dot == std::string_view::npos) return false;
  const std::string_view extension = name.substr(dot);
  return extension.size() == kIniExtension.size() &&
         strncasecmp(extension.data(), kIniExtension.data(), kIniExtension.size()) == 0;
}

std::string directoryOf(const std::string& path) {
  const std::size_t slash = path.rfind('/');
  return slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
}

std::string fileNameOf(const std::string& path) {
  const std::size_t slash = path.rfind('/');
  return slash == std::string::npos ? path : path.substr(slash + 1);
}

}  // namespace

std::string resolveIniPath(const char* name, const std::string* defaultPath, const char* home) {
  if (name && std::string_view(name).find('/') != std::string_view::npos) return name;

  std::string base;
  if (defaultPath && !defaultPath->empty()) {
    base = *defaultPath;
  } else {
    base = (home && *home) ? home : "/tmp";
    base += kDefaultFileName;
  }
  if (!name || !*name) return base;

  std::string path = withoutExtension(std::move(base));
  path += '_';
  path += name;
  if (!endsInIniExtension(name)) path += kIniExtension;
  return path;
}

std::optional<std::string> resolveIniWriteTarget(const std::string& path) {
  std::string target = path;
  for (int hop = 0;; ++hop) {
    struct stat info;
    if (lstat(target.c_str(), &info) != 0) {
      if (errno == ENOENT) break;  // a new file, or a link to one still to be made
      return std::nullopt;
    }
    if (!S_ISLNK(info.st_mode)) break;
    if (hop == kMaxSymlinkHops) return std::nullopt;
    std::vector<char> link(static_cast<std::size_t>(info.st_size > 0 ? info.st_size : PATH_MAX) +
                           1);
    const ssize_t length = readlink(target.c_str(), link.data(), link.size());
    if (length <= 0 || static_cast<std::size_t>(length) >= link.size()) return std::nullopt;
    std::string next(link.data(), static_cast<std::size_t>(length));
    target = (next.front() == '/') ? next : directoryOf(target) + next;
  }
  // A path naming a folder has no file to replace.
  if (fileNameOf(target).empty()) return std::nullopt;
  return target;
}

std::string iniLockPath(const std::string& target) {
  return directoryOf(target) + "." + fileNameOf(target) + ".lock";
}

std::string iniFolderOf(const std::string& target) {
  const std::string folder = directoryOf(target);
  return folder.empty() ? "." : folder;
}

bool isIniTemporary(const std::string& target, std::string_view fileName) {
  // Built by appending: GCC 12 at -O3 warns falsely (-Wrestrict) on "." + std::string&&.
  std::string prefix = ".";
  prefix += fileNameOf(target);
  constexpr std::string_view suffix = ".new";
  if (fileName.size() < prefix.size() + suffix.size() ||
      fileName.substr(0, prefix.size()) != prefix ||
      fileName.substr(fileName.size() - suffix.size()) != suffix) {
    return false;
  }
  const std::string_view middle =
      fileName.substr(prefix.size(), fileName.size() - prefix.size() - suffix.size());
  if (middle.empty()) return true;
  // "." pid "." unique: two runs of hexadecimal digits.
  auto isHex = [](char c) { return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f'); };
  const std::size_t dot = middle.find('.', 1);
  if (middle.front() != '.' || dot == std::string_view::npos || dot == 1 ||
      dot + 1 == middle.size()) {
    return false;
  }
  for (std::size_t i = 1; i < middle.size(); ++i)
    if (i != dot && !isHex(middle[i])) return false;
  return true;
}

std::string iniTemporaryPath(const std::string& target) {
  return directoryOf(target) + "." + fileNameOf(target) + ".new";
}

}  // namespace swell
