#pragma once

// Where an ini file name leads: the path a call reads and caches, the file a write really
// replaces (through symlinks), and the names of the files kept beside it.

#include <sys/types.h>

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

// A fresh name for the temporary file that replaces `target`: ".<name>.<unique>.new" beside
// it. Uniqueness within the process comes from a counter, across processes from the pid;
// the file is still created exclusively.
std::string iniTemporaryPath(const std::string& target);

// The folder holding `target`, and the pid of the process whose iniTemporaryPath(target)
// `fileName` (a name in that folder) is, if it is one.
std::string iniFolderOf(const std::string& target);
std::optional<pid_t> iniTemporaryWriter(const std::string& target, std::string_view fileName);

}  // namespace swell
