#pragma once

#include <sys/types.h>

#include <mutex>
#include <string>
#include <vector>

#include "platform/objects/Object.h"
#include "platform/system/Pipe.h"

namespace platform {

// A child process. The program is started by the path as given (no shell, no search
// of PATH) with the arguments given, the environment of this process, the default
// signal mask and dispositions, and only descriptors 0-2: its standard streams are
// the pipes set on the task, else this process's own.
//
// The task follows its child through a process descriptor, so neither a wait nor a
// signal can reach another process that reused the number after the child was
// reaped. Only this child is ever reaped here (no SIGCHLD handler, no wait for any
// child). A task released while its child runs leaves the child running; it is
// reaped in the background when it ends. Methods are safe from any thread.
class NSTask : public NSObject {
 public:
  NSTask(std::string launchPath, std::vector<std::string> arguments);

  // Pipes to become the child's standard streams (retained). Set before launch.
  void setStandardInput(NSPipe* pipe);
  void setStandardOutput(NSPipe* pipe);
  void setStandardError(NSPipe* pipe);
  NSPipe* standardInput() const { return mStreams[0].get(); }
  NSPipe* standardOutput() const { return mStreams[1].get(); }
  NSPipe* standardError() const { return mStreams[2].get(); }

  // Starts the child. False, with a diagnostic, when it cannot start: the program is
  // missing or not executable, or the system refused a process. A task runs once.
  bool launch();
  pid_t processIdentifier() const { return mPid; }

  // True from launch until the child has ended.
  bool isRunning();
  // The child's exit status, or the number of the signal that ended it; 0 before then.
  int terminationStatus();
  // True when the child was ended by a signal.
  bool wasSignalled();
  // Asks the child to end (SIGTERM). False when it has ended already or never ran.
  bool terminate();
  // Waits up to timeoutMs on the real monotonic clock (negative: no limit) for the
  // child to end; true when it has.
  bool waitUntilExit(long timeoutMs);

 protected:
  void dealloc() override;

 private:
  // Reaps the child when it has ended; true when it has. Needs mMutex.
  bool reapLocked(bool block);

  std::string mLaunchPath;
  std::vector<std::string> mArguments;
  Ref<NSPipe> mStreams[3];
  std::mutex mMutex;
  pid_t mPid = -1;
  int mPidFd = -1;
  bool mLaunched = false;
  bool mReaped = false;
  int mWaitStatus = 0;
};

}  // namespace platform
