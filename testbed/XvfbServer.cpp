#include "testbed/XvfbServer.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

extern char** environ;

namespace testbed {

namespace {

constexpr int kStartLimitMs = 10000;

int spawnAndWait(const std::vector<std::string>& argv, char** env) {
  std::vector<char*> args;
  for (const auto& a : argv)
    args.push_back(const_cast<char*>(a.c_str()));
  args.push_back(nullptr);
  pid_t pid;
  if (posix_spawnp(&pid, args[0], nullptr, nullptr, args.data(), env) != 0) return -1;
  int status = 0;
  while (waitpid(pid, &status, 0) < 0) {
    if (errno != EINTR) return -1;
  }
  return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

}  // namespace

XvfbServer::XvfbServer(std::vector<std::string> extraArguments) {
  int fds[2];
  if (pipe(fds) != 0) {
    mError = "no pipe for Xvfb";
    return;
  }
  std::string fd = std::to_string(fds[1]);
  std::string screen = std::to_string(kWidth) + "x" + std::to_string(kHeight) + "x24";
  std::vector<std::string> argv = {"Xvfb", "-displayfd", fd,    "-screen", "0",
                                   screen, "-nolisten",  "tcp", "-noreset"};
  argv.insert(argv.end(), extraArguments.begin(), extraArguments.end());
  std::vector<char*> args;
  for (auto& a : argv)
    args.push_back(a.data());
  args.push_back(nullptr);
  // fork rather than posix_spawn: the server must die with the program even when it
  // crashes before this destructor runs, and it must not hold the program's output open,
  // or a leaked server keeps a test runner waiting for the end of that output forever.
  mPid = fork();
  if (mPid == 0) {
    prctl(PR_SET_PDEATHSIG, SIGKILL);
    if (getppid() == 1) _exit(127);  // the parent is already gone
    close(fds[0]);
    int devNull = open("/dev/null", O_RDWR);
    if (devNull >= 0) {
      dup2(devNull, 0);
      dup2(devNull, 1);
      dup2(devNull, 2);
    }
    execvp("Xvfb", args.data());
    _exit(127);
  }
  int spawned = mPid < 0 ? errno : 0;
  close(fds[1]);
  if (spawned != 0) {
    mPid = -1;
    close(fds[0]);
    mError = std::string("Xvfb cannot start: ") + std::strerror(spawned);
    return;
  }
  // Xvfb writes its display number once it takes connections.
  std::string number;
  pollfd p{fds[0], POLLIN, 0};
  while (poll(&p, 1, kStartLimitMs) > 0) {
    char c;
    if (read(fds[0], &c, 1) != 1 || c == '\n') break;
    number.push_back(c);
  }
  close(fds[0]);
  if (number.empty()) {
    mError = "Xvfb did not start (no display number within the time limit)";
    return;
  }
  mDisplay = ":" + number;
}

XvfbServer::~XvfbServer() {
  if (mPid <= 0) return;
  kill(mPid, SIGTERM);
  int status;
  waitpid(mPid, &status, 0);
}

int XvfbServer::run(const std::vector<std::string>& argv) const {
  std::vector<std::string> env;
  for (char** e = environ; *e; ++e)
    if (std::strncmp(*e, "DISPLAY=", 8) != 0) env.emplace_back(*e);
  env.push_back("DISPLAY=" + mDisplay);
  std::vector<char*> envp;
  for (auto& e : env)
    envp.push_back(e.data());
  envp.push_back(nullptr);
  return spawnAndWait(argv, envp.data());
}

}  // namespace testbed
