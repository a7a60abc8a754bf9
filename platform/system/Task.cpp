#include "platform/system/Task.h"

#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/eventfd.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstring>
#include <thread>
#include <utility>

#include "base/Log.h"

extern char** environ;

namespace platform {

namespace {

constexpr int kStandardDescriptorCount = 3;

// Process descriptors through the system calls themselves: the C library's header for
// them cannot be used from C++ in every version.
int openProcessDescriptor(pid_t pid) {
  return static_cast<int>(syscall(SYS_pidfd_open, pid, 0));
}
bool signalThroughDescriptor(int pidFd, int signal) {
  return syscall(SYS_pidfd_send_signal, pidFd, signal, nullptr, 0) == 0;
}

// Children whose task was released while they ran: one thread waits on all of their
// process descriptors and reaps each as it ends, so none is left a zombie.
class BackgroundReaper {
 public:
  static BackgroundReaper& shared() {
    static auto* reaper = new BackgroundReaper;  // lives for the program, like its thread
    return *reaper;
  }

  void adopt(pid_t pid, int pidFd) {
    std::lock_guard<std::mutex> lock(mMutex);
    mChildren.emplace_back(pid, pidFd);
    if (!mStarted) {
      mStarted = true;
      std::thread([this] { run(); }).detach();
    }
    std::uint64_t one = 1;
    while (write(mWake, &one, sizeof one) < 0 && errno == EINTR) {
    }
  }

 private:
  BackgroundReaper() : mWake(eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK)) {}

  void run() {
    for (;;) {
      std::vector<pollfd> fds{{mWake, POLLIN, 0}};
      {
        std::lock_guard<std::mutex> lock(mMutex);
        for (const auto& child : mChildren)
          fds.push_back({child.second, POLLIN, 0});
      }
      if (poll(fds.data(), fds.size(), -1) < 0) continue;
      if (fds[0].revents) {
        std::uint64_t count;
        while (read(mWake, &count, sizeof count) < 0 && errno == EINTR) {
        }
      }
      std::lock_guard<std::mutex> lock(mMutex);
      for (auto it = mChildren.begin(); it != mChildren.end();) {
        int status = 0;
        pid_t done = waitpid(it->first, &status, WNOHANG);
        if (done == it->first || (done < 0 && errno == ECHILD)) {
          close(it->second);
          it = mChildren.erase(it);
        } else {
          ++it;
        }
      }
    }
  }

  std::mutex mMutex;
  std::vector<std::pair<pid_t, int>> mChildren;
  int mWake;
  bool mStarted = false;
};

// posix_spawn's attributes and descriptor actions, freed on every path.
struct SpawnSetup {
  posix_spawnattr_t attributes;
  posix_spawn_file_actions_t actions;
  SpawnSetup() {
    posix_spawnattr_init(&attributes);
    posix_spawn_file_actions_init(&actions);
  }
  ~SpawnSetup() {
    posix_spawn_file_actions_destroy(&actions);
    posix_spawnattr_destroy(&attributes);
  }
};

}  // namespace

NSTask::NSTask(std::string launchPath, std::vector<std::string> arguments)
    : mLaunchPath(std::move(launchPath)), mArguments(std::move(arguments)) {}

void NSTask::setStandardInput(NSPipe* pipe) {
  mStreams[0] = pipe;
}
void NSTask::setStandardOutput(NSPipe* pipe) {
  mStreams[1] = pipe;
}
void NSTask::setStandardError(NSPipe* pipe) {
  mStreams[2] = pipe;
}

bool NSTask::launch() {
  std::lock_guard<std::mutex> lock(mMutex);
  if (mLaunched) {
    base::warn("platform", "NSTask: \"%s\" was launched already", mLaunchPath.c_str());
    return false;
  }
  if (mLaunchPath.empty()) {
    base::warn("platform", "NSTask: no program to launch");
    return false;
  }
  SpawnSetup setup;
  sigset_t none, all;
  sigemptyset(&none);
  sigfillset(&all);
  posix_spawnattr_setsigmask(&setup.attributes, &none);
  posix_spawnattr_setsigdefault(&setup.attributes, &all);
  posix_spawnattr_setflags(&setup.attributes, POSIX_SPAWN_SETSIGMASK | POSIX_SPAWN_SETSIGDEF);
  for (int fd = 0; fd < kStandardDescriptorCount; ++fd) {
    NSPipe* pipe = mStreams[fd].get();
    if (!pipe) continue;
    // The child's end: input reads, output and error write.
    int end = fd == 0 ? pipe->readDescriptor() : pipe->writeDescriptor();
    if (end < 0) {
      base::warn("platform", "NSTask: the pipe for descriptor %d is closed", fd);
      return false;
    }
    posix_spawn_file_actions_adddup2(&setup.actions, end, fd);
  }
  posix_spawn_file_actions_addclosefrom_np(&setup.actions, kStandardDescriptorCount);

  std::vector<char*> argv;
  argv.push_back(mLaunchPath.data());
  for (auto& a : mArguments)
    argv.push_back(a.data());
  argv.push_back(nullptr);
  pid_t pid = -1;
  // posix_spawn reports a program that cannot be executed as its own error, so a
  // missing or unrunnable program fails here, before any child is left behind.
  int error = posix_spawn(&pid, mLaunchPath.c_str(), &setup.actions, &setup.attributes, argv.data(),
                          environ);
  if (error != 0) {
    base::warn("platform", "NSTask: cannot launch \"%s\": %s", mLaunchPath.c_str(),
               std::strerror(error));
    return false;
  }
  mLaunched = true;
  mPid = pid;
  mPidFd = openProcessDescriptor(pid);
  if (mPidFd < 0)
    base::warn("platform", "NSTask: no process descriptor for %d: %s", pid, std::strerror(errno));
  // The child holds its ends now; ours would keep the streams open forever.
  if (mStreams[0]) mStreams[0]->closeReadEnd();
  if (mStreams[1]) mStreams[1]->closeWriteEnd();
  if (mStreams[2]) mStreams[2]->closeWriteEnd();
  return true;
}

bool NSTask::reapLocked(bool block) {
  if (!mLaunched) return false;
  if (mReaped) return true;
  int status = 0;
  pid_t done;
  while ((done = waitpid(mPid, &status, block ? 0 : WNOHANG)) < 0 && errno == EINTR) {
  }
  if (done == mPid) {
    mReaped = true;
    mWaitStatus = status;
  } else if (done < 0) {
    // Someone else reaped it (a wait for any child elsewhere): it has ended, status unknown.
    base::warn("platform", "NSTask: child %d was reaped elsewhere", mPid);
    mReaped = true;
    mWaitStatus = 0;
  }
  return mReaped;
}

bool NSTask::isRunning() {
  std::lock_guard<std::mutex> lock(mMutex);
  return mLaunched && !reapLocked(false);
}

int NSTask::terminationStatus() {
  std::lock_guard<std::mutex> lock(mMutex);
  if (!reapLocked(false)) return 0;
  if (WIFSIGNALED(mWaitStatus)) return WTERMSIG(mWaitStatus);
  return WIFEXITED(mWaitStatus) ? WEXITSTATUS(mWaitStatus) : 0;
}

bool NSTask::wasSignalled() {
  std::lock_guard<std::mutex> lock(mMutex);
  return reapLocked(false) && WIFSIGNALED(mWaitStatus);
}

bool NSTask::terminate() {
  std::lock_guard<std::mutex> lock(mMutex);
  // A child that has ended, asked about or not, is not signalled: it is reaped here.
  if (!mLaunched || reapLocked(false)) return false;
  // Through the process descriptor: the number alone may name a stranger once reaped.
  if (mPidFd >= 0) return signalThroughDescriptor(mPidFd, SIGTERM);
  return kill(mPid, SIGTERM) == 0;
}

bool NSTask::waitUntilExit(long timeoutMs) {
  using Steady = std::chrono::steady_clock;
  // A limit beyond what the clock can count (centuries) is no limit.
  constexpr long kLongestLimitMs = 100L * 365 * 24 * 60 * 60 * 1000;
  if (timeoutMs > kLongestLimitMs) timeoutMs = -1;
  auto deadline = Steady::now() + std::chrono::milliseconds(timeoutMs < 0 ? 0 : timeoutMs);
  for (;;) {
    int pidFd;
    {
      std::lock_guard<std::mutex> lock(mMutex);
      if (!mLaunched) return true;
      if (reapLocked(false)) return true;
      pidFd = mPidFd;
    }
    int waitMs = -1;
    if (timeoutMs >= 0) {
      auto left =
          std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Steady::now()).count();
      if (left <= 0) return false;
      waitMs = static_cast<int>(std::min<long long>(left, 1 << 30));
    }
    if (pidFd >= 0) {
      // The descriptor turns readable when the child ends; the lock is not held, so
      // other threads may query or terminate the task meanwhile.
      pollfd p{pidFd, POLLIN, 0};
      poll(&p, 1, waitMs);
    } else {
      std::this_thread::sleep_for(std::chrono::milliseconds(waitMs < 0 ? 1 : std::min(waitMs, 1)));
    }
  }
}

void NSTask::dealloc() {
  {
    std::lock_guard<std::mutex> lock(mMutex);
    if (mLaunched && !reapLocked(false)) {
      if (mPidFd >= 0) {
        BackgroundReaper::shared().adopt(mPid, mPidFd);
        mPidFd = -1;
      } else {
        pid_t pid = mPid;
        std::thread([pid] {
          int status;
          while (waitpid(pid, &status, 0) < 0 && errno == EINTR) {
          }
        }).detach();
      }
    }
    if (mPidFd >= 0) close(mPidFd);
    mPidFd = -1;
  }
  for (auto& stream : mStreams)
    stream.reset();
  NSObject::dealloc();
}

}  // namespace platform
