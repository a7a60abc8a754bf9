#pragma once

// Where an ini file name leads: the path a call reads and caches, the file a write really
// replaces (through symlinks), and the names of the files kept beside it.

#include <optional>
#include <string>
#include <string_view>

namespace swell {

// The path of the ini file a call names. A name holding a '/' is a path as it stands. Any
// other name resolves against a base file: `defaultPath` when given and not empty, else
// ".libSwell.ini" in `home` (or in /tmp when `home` is null or empty). A null or empty
// name is the base file itself; a bare name X becomes "<base without extension>_X.ini"
// (without a second ".ini" when X already ends in it, in any case).
std::string resolveIniPath(const char* name, const std::string* defaultPath, const char* home);

// The file a write to `path` must replace: `path` itself, or the final target when it is
// a symlink (a missing target is created). Empty when the links cannot be followed.
std::optional<std::string> resolveIniWriteTarget(const std::string& path);

// The lock file serialising writers of `target` across processes: ".<name>.lock" beside it.
std::string iniLockPath(const std::string& target);

// The temporary file that replaces `target`: ".<name>.new" beside it. Writers of one file take
// turns under its write lock, so one name serves them all, and a temporary that a writer killed
// mid-write left is met, and replaced, by the next write.
std::string iniTemporaryPath(const std::string& target);

// The folder holding `target`, and whether `fileName` (a name in that folder) is a temporary
// of it: iniTemporaryPath(target), or ".<name>.<pid>.<unique>.new" with hexadecimal digits,
// the name other builds of this library give a writer's temporary.
std::string iniFolderOf(const std::string& target);
bool isIniTemporary(const std::string& target, std::string_view fileName);

}  // namespace swell
