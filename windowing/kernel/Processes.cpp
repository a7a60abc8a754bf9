#include "windowing/kernel/Processes.h"

#include <string>
#include <vector>

#include "base/Log.h"
#include "platform/system/RunningApplication.h"
#include "platform/system/Task.h"
#include "windowing/kernel/Kernel.h"
#include "windowing/kernel/detail/KernelHandles.h"

using platform::NSPipe;
using platform::NSTask;
using platform::Ref;
using namespace swell;

namespace {

constexpr int kExitRunning = -3;
constexpr int kBadHandle = -1;
constexpr int kProcessError = -2;
constexpr int kStandardInput = 0, kStandardOutput = 1, kStandardError = 2;
constexpr int kFrontTries = 20;
constexpr DWORD kFrontRetryMs = 50;

// The task of a live process handle, held for the length of the call.
Ref<NSTask> taskOfHandle(HANDLE h, const char* caller) {
  HandleRef ref(h, caller);
  if (!ref || ref.type() != kHandleProcess) return {};
  return platform::liveObjectAs<NSTask>(static_cast<ProcessRecord*>(ref.get())->task);
}

NSTask* liveTask(void* task, const char* caller) {
  NSTask* t = platform::liveObjectAs<NSTask>(task);
  if (!t && task) base::warn("swell-cocoa", "%s: %p is not a child process", caller, task);
  return t;
}

}  // namespace

HANDLE SWELL_CreateProcessIO(const char* exe, int nparams, const char** params, bool redirectIO) {
  if (nparams < 0 || (nparams > 0 && !params)) {
    base::warn("swell-cocoa", "SWELL_CreateProcess: %d arguments refused", nparams);
    return nullptr;
  }
  std::vector<std::string> arguments;
  for (int i = 0; i < nparams; ++i)
    arguments.emplace_back(params[i] ? params[i] : "");
  auto task = Ref<NSTask>::adopt(new NSTask(exe ? exe : "", std::move(arguments)));
  if (redirectIO) {
    for (int stream : {kStandardInput, kStandardOutput, kStandardError}) {
      auto pipe = Ref<NSPipe>::adopt(NSPipe::pipe());
      if (!pipe) return nullptr;
      if (stream == kStandardInput) task->setStandardInput(pipe.get());
      if (stream == kStandardOutput) task->setStandardOutput(pipe.get());
      if (stream == kStandardError) task->setStandardError(pipe.get());
    }
  }
  if (!task->launch()) return nullptr;  // NSTask said why
  return makeProcessHandle(task.leak());
}

HANDLE SWELL_CreateProcess(const char* exe, int nparams, const char** params) {
  return SWELL_CreateProcessIO(exe, nparams, params, false);
}

int SWELL_GetProcessExitCode(HANDLE hProc) {
  Ref<NSTask> task = taskOfHandle(hProc, "SWELL_GetProcessExitCode");
  if (!task) return kBadHandle;
  return task->isRunning() ? kExitRunning : task->terminationStatus();
}

int SWELL_TerminateProcess(HANDLE hProc) {
  Ref<NSTask> task = taskOfHandle(hProc, "SWELL_TerminateProcess");
  if (!task) return kBadHandle;
  // The signal goes through the child's process descriptor: one reaped already is
  // reported, never a stranger that took its number.
  if (!task->isRunning()) return 0;
  return task->terminate() || !task->isRunning() ? 0 : kProcessError;
}

int SWELL_ReadWriteProcessIO(HANDLE hProc, int w, char* buf, int bufsz) {
  Ref<NSTask> task = taskOfHandle(hProc, "SWELL_ReadWriteProcessIO");
  if (!task) return 0;
  int stream = w & ~SWELL_PROCESS_IO_NONBLOCKING;
  bool nonBlocking = (w & SWELL_PROCESS_IO_NONBLOCKING) != 0;
  NSPipe* pipe = stream == kStandardInput    ? task->standardInput()
                 : stream == kStandardOutput ? task->standardOutput()
                 : stream == kStandardError  ? task->standardError()
                                             : nullptr;
  if (!pipe) return 0;
  if (stream == kStandardInput) {
    if (bufsz < 1 || !buf) return 0;
    return static_cast<int>(pipe->writeAll(buf, static_cast<std::size_t>(bufsz)));
  }
  if (bufsz < 1) {
    // Nothing can be copied: a waiting read reports what is ready and leaves it.
    return nonBlocking ? 0 : static_cast<int>(pipe->bytesReadyWaiting());
  }
  if (!buf) return 0;
  auto length = static_cast<std::size_t>(bufsz);
  return static_cast<int>(nonBlocking ? pipe->readAvailable(buf, length)
                                      : pipe->readWaiting(buf, length));
}

void SWELL_ReleaseProcessHandle(void* task) {
  if (NSTask* t = liveTask(task, "SWELL_ReleaseProcessHandle")) t->release();
}

int SWELL_WaitForProcess(void* task, DWORD timeoutMs) {
  NSTask* t = liveTask(task, "SWELL_WaitForProcess");
  if (!t) return static_cast<int>(WAIT_FAILED);
  Ref<NSTask> keep(t);
  if (timeoutMs == 0) return t->isRunning() ? static_cast<int>(WAIT_TIMEOUT) : 0;
  long limit = timeoutMs == INFINITE ? -1 : static_cast<long>(timeoutMs);
  return t->waitUntilExit(limit) ? 0 : static_cast<int>(WAIT_TIMEOUT);
}

void SWELL_BringProcessToFront(HANDLE hProc) {
  Ref<NSTask> task = taskOfHandle(hProc, "SWELL_BringProcessToFront");
  if (!task) return;
  pid_t pid = task->processIdentifier();
  // A child that was just started may not have shown a window yet.
  for (int attempt = 0; attempt <= kFrontTries; ++attempt) {
    if (platform::NSRunningApplication::activateProcess(pid)) return;
    if (attempt < kFrontTries && task->isRunning())
      Sleep(kFrontRetryMs);
    else
      break;
  }
}
