#include "platform/system/Workspace.h"

#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstring>
#include <thread>

#include "base/Log.h"

extern char** environ;

namespace platform {

NSWorkspace& NSWorkspace::sharedWorkspace() {
  static NSWorkspace* workspace = new NSWorkspace;
  return *workspace;
}

NSWorkspace::Launcher NSWorkspace::setLauncher(Launcher launcher) {
  Launcher previous = std::move(mLauncher);
  mLauncher = std::move(launcher);
  return previous;
}

bool NSWorkspace::spawnDetached(const std::vector<std::string>& argv) {
  if (argv.empty()) return false;
  std::vector<char*> args;
  for (const auto& a : argv)
    args.push_back(const_cast<char*>(a.c_str()));
  args.push_back(nullptr);
  pid_t pid = 0;
  int rc = posix_spawnp(&pid, args[0], nullptr, nullptr, args.data(), environ);
  if (rc != 0) {
    base::warn("platform", "NSWorkspace: cannot start %s: %s", args[0], std::strerror(rc));
    return false;
  }
  // Reap the child so it does not linger as a zombie.
  std::thread([pid] {
    int status = 0;
    while (waitpid(pid, &status, 0) < 0 && errno == EINTR) {
    }
  }).detach();
  return true;
}

bool NSWorkspace::launch(const std::string& target) {
  // A target that looks like an option would be read as one by the handler.
  if (target.empty() || target[0] == '-') {
    base::warn("platform", "NSWorkspace: refusing to open \"%s\"", target.c_str());
    return false;
  }
  return run({"xdg-open", target});
}

bool NSWorkspace::run(const std::vector<std::string>& argv) {
  return mLauncher ? mLauncher(argv) : spawnDetached(argv);
}

bool NSWorkspace::isExecutableFile(const std::string& path) {
  struct stat info {};
  return !path.empty() && stat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode) &&
         access(path.c_str(), X_OK) == 0;
}

bool NSWorkspace::openFileWithApplication(const std::string& path, const std::string& application) {
  if (!isExecutableFile(application)) {
    base::warn("platform", "NSWorkspace: %s is not an application", application.c_str());
    return false;
  }
  // A document that looks like an option would be read as one by the application.
  if (path.empty() || path[0] == '-') {
    base::warn("platform", "NSWorkspace: refusing to open \"%s\"", path.c_str());
    return false;
  }
  return run({application, path});
}

bool NSWorkspace::launchApplication(const std::string& application) {
  if (!isExecutableFile(application)) {
    base::warn("platform", "NSWorkspace: %s is not an application", application.c_str());
    return false;
  }
  return run({application});
}

bool NSWorkspace::openURL(const std::string& url) {
  return launch(url);
}

bool NSWorkspace::openFile(const std::string& path) {
  return launch(path);
}

}  // namespace platform
