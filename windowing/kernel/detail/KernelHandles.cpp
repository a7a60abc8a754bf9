#include "windowing/kernel/detail/KernelHandles.h"

#include <unistd.h>

#include <climits>
#include <unordered_set>

#include "base/Log.h"
#include "windowing/kernel/Kernel.h"
#include "windowing/kernel/Processes.h"

namespace swell {

namespace {

struct Registry {
  std::mutex mutex;
  std::unordered_set<const void*> live;
};

// Never destroyed: threads may still close handles while static objects are
// torn down at exit.
Registry& registry() {
  static Registry* instance = new Registry;
  return *instance;
}

// The record behind a handle, or null when the registry does not know it.
// Only called with the registry's mutex held; reads nothing before the set has
// vouched for the pointer.
HandleHeader* lookupLocked(Registry& r, HANDLE h) {
  if (!h || r.live.find(h) == r.live.end()) return nullptr;
  auto* record = static_cast<HandleHeader*>(h);
  return record->magic == kHandleMagic ? record : nullptr;
}

void closeDescriptor(int fd) {
  if (fd >= 0) ::close(fd);
}

// Frees a record whose last reference is gone. False for a socket handle,
// whose record and descriptor belong to its maker.
bool destroyRecord(HandleHeader* record) {
  switch (record->type) {
    case kHandleThread: {
      auto* thread = static_cast<ThreadRecord*>(record);
      finishThreadRecord(thread);
      thread->magic = 0;
      delete thread;
      return true;
    }
    case kHandleEvent: {
      auto* event = static_cast<EventRecord*>(record);
      event->magic = 0;
      delete event;
      return true;
    }
    case kHandleFile: {
      auto* file = static_cast<FileRecord*>(record);
      if (file->stream) std::fclose(file->stream);
      file->magic = 0;
      delete file;
      return true;
    }
    case kHandleSocket:
      return false;
    case kHandleSocketEvent: {
      auto* event = static_cast<SocketEventRecord*>(record);
      closeDescriptor(event->readFd);
      closeDescriptor(event->writeFd);
      event->magic = 0;
      delete event;
      return true;
    }
    case kHandleProcess: {
      auto* process = static_cast<ProcessRecord*>(record);
      if (process->task) SWELL_ReleaseProcessHandle(process->task);
      process->magic = 0;
      delete process;
      return true;
    }
    default:
      return false;
  }
}

}  // namespace

HANDLE registerHandle(HandleHeader* record) {
  Registry& r = registry();
  std::lock_guard<std::mutex> lock(r.mutex);
  r.live.insert(record);
  return record;
}

void unregisterHandle(HandleHeader* record) {
  Registry& r = registry();
  std::lock_guard<std::mutex> lock(r.mutex);
  r.live.erase(record);
}

HandleHeader* acquireHandle(HANDLE h, const char* caller) {
  if (!h) return nullptr;
  Registry& r = registry();
  {
    std::lock_guard<std::mutex> lock(r.mutex);
    HandleHeader* record = lookupLocked(r, h);
    if (record && record->callerRefs > 0) {
      record->refCount.fetch_add(1);
      return record;
    }
  }
  base::warn("swell-cocoa", "%s: %p is not an open kernel handle", caller, h);
  return nullptr;
}

void releaseInternalReference(HandleHeader* record) {
  if (!record) return;
  Registry& r = registry();
  bool last = false;
  {
    // The count drops under the registry's mutex so a concurrent acquire can
    // never revive a record that is about to be freed.
    std::lock_guard<std::mutex> lock(r.mutex);
    last = record->refCount.fetch_sub(1) == 1;
    if (last) r.live.erase(record);
  }
  if (last) destroyRecord(record);
}

HandleRef::HandleRef(HANDLE h, const char* caller) : mRecord(acquireHandle(h, caller)) {}

HandleRef::~HandleRef() {
  releaseInternalReference(mRecord);
}

HANDLE makeProcessHandle(void* task) {
  return registerHandle(new ProcessRecord(task));
}

WaitDeadline::WaitDeadline(DWORD timeoutMs)
    : mForever(timeoutMs == INFINITE),
      mAt(std::chrono::steady_clock::now() + std::chrono::milliseconds(mForever ? 0 : timeoutMs)) {}

bool WaitDeadline::passed() const {
  return !mForever && std::chrono::steady_clock::now() >= mAt;
}

int WaitDeadline::pollTimeout() const {
  if (mForever) return -1;
  auto left = mAt - std::chrono::steady_clock::now();
  if (left <= std::chrono::steady_clock::duration::zero()) return 0;
  auto ms = std::chrono::ceil<std::chrono::milliseconds>(left).count();
  return ms > INT_MAX ? INT_MAX : static_cast<int>(ms);
}

}  // namespace swell

using namespace swell;

BOOL CloseHandle(HANDLE h) {
  if (!h) return FALSE;
  Registry& r = registry();
  HandleHeader* record = nullptr;
  bool last = false;
  {
    std::lock_guard<std::mutex> lock(r.mutex);
    record = lookupLocked(r, h);
    if (record && record->callerRefs > 0) {
      --record->callerRefs;
      last = record->refCount.fetch_sub(1) == 1;
      if (last) r.live.erase(record);
    } else {
      record = nullptr;
    }
  }
  if (!record) {
    base::warn("swell-cocoa", "CloseHandle: %p is not an open kernel handle", h);
    return FALSE;
  }
  if (!last) return TRUE;
  return destroyRecord(record) ? TRUE : FALSE;
}
