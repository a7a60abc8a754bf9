#pragma once

// Kernel handle records and the registry of live handles. A handle is the
// pointer to a heap record that begins with its type and reference count. Every
// record is entered in a registry when made and leaves it when freed; a handle
// is only ever read after the registry has vouched for it, so a closed, freed or
// foreign pointer is refused instead of dereferenced.

#include <pthread.h>

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <cstdio>
#include <mutex>

#include "windowing/Win32Types.h"

namespace swell {

enum HandleType : std::int32_t {
  kHandleThread = 0x1000002,
  kHandleEvent = 0x1000003,
  kHandleFile = 0x1000004,
  kHandleSocket = 0x1000005,
  kHandleSocketEvent = 0x1000006,
  kHandleProcess = 0x1000007,
};

inline constexpr std::uint32_t kHandleMagic = 0x4B4E4C48;  // "KNLH"

// The common start of every kernel handle record.
//
// refCount counts every holder: the caller's handle, a running thread's own
// reference, and the short references that a wait or a signal takes while it
// works on the record. callerRefs counts only the references reachable through
// the handle value, so closing a handle more often than it was handed out fails
// instead of taking away a reference that a running thread still needs.
struct HandleHeader {
  HandleHeader(std::int32_t handleType, std::int32_t references)
      : type(handleType), refCount(references) {}

  std::int32_t type;
  std::atomic<std::int32_t> refCount;
  std::uint32_t magic = kHandleMagic;
  std::int32_t callerRefs = 1;  // guarded by the registry's mutex
};

struct ThreadRecord : HandleHeader {
  ThreadRecord() : HandleHeader(kHandleThread, 2) {}

  DWORD (*start)(void*) = nullptr;
  void* parameter = nullptr;
  pthread_t thread{};
  DWORD result = 0;

  // finished is set by the thread when its start function has returned.
  std::mutex stateMutex;
  std::condition_variable finishedChanged;
  bool finished = false;

  // A POSIX thread may be joined once and never detached after that; the flag
  // and the join happen under joinMutex so concurrent waits and the final close
  // agree on who joins.
  std::mutex joinMutex;
  bool joined = false;
  bool joinFailed = false;
};

struct EventRecord : HandleHeader {
  EventRecord(bool manual, bool initial)
      : HandleHeader(kHandleEvent, 1), signalled(initial), manualReset(manual) {}

  std::mutex mutex;
  std::condition_variable changed;
  bool signalled;
  bool manualReset;
};

struct FileRecord : HandleHeader {
  explicit FileRecord(std::FILE* s) : HandleHeader(kHandleFile, 1), stream(s) {}
  std::FILE* stream;  // closed when the handle goes
};

struct SocketRecord : HandleHeader {
  explicit SocketRecord(int fd) : HandleHeader(kHandleSocket, 1), descriptor(fd) {}
  int descriptor;  // not owned: its maker closes it and frees the record
};

struct SocketEventRecord : HandleHeader {
  SocketEventRecord(int readEnd, int writeEnd, bool autoResetFlag)
      : HandleHeader(kHandleSocketEvent, 1),
        readFd(readEnd),
        writeFd(writeEnd),
        autoReset(autoResetFlag) {}

  int readFd;   // -1 = none
  int writeFd;  // -1 = none
  bool autoReset;
};

struct ProcessRecord : HandleHeader {
  explicit ProcessRecord(void* processTask) : HandleHeader(kHandleProcess, 1), task(processTask) {}
  void* task;  // the child-process object, released through SWELL_ReleaseProcessHandle
};

// Enters a new record in the registry and returns it as a handle.
HANDLE registerHandle(HandleHeader* record);

// Takes a record out of the registry without freeing it, for a maker that
// fails after registering (a thread that could not be started).
void unregisterHandle(HandleHeader* record);

// Takes one counted reference to a live handle that still has a caller
// reference; null (with a diagnostic naming `caller`) when it is unknown or
// closed. Give it back with releaseInternalReference.
HandleHeader* acquireHandle(HANDLE h, const char* caller);

// A counted reference to a live handle, taken for the length of one call so the
// record cannot be freed under it by a concurrent CloseHandle. Empty when the
// handle is null, closed or unknown (a diagnostic naming `caller` is logged for
// the latter two).
class HandleRef {
 public:
  HandleRef(HANDLE h, const char* caller);
  ~HandleRef();
  HandleRef(const HandleRef&) = delete;
  HandleRef& operator=(const HandleRef&) = delete;

  explicit operator bool() const { return mRecord != nullptr; }
  HandleHeader* get() const { return mRecord; }
  std::int32_t type() const { return mRecord ? mRecord->type : 0; }

 private:
  HandleHeader* mRecord = nullptr;
};

// Drops one reference that was not taken through the handle value (a thread's
// own reference); the last one frees the record.
void releaseInternalReference(HandleHeader* record);

// Makes the handle of a child process (count 1) for the child-process code, which
// owns the task; CloseHandle of the last reference hands the task back to
// SWELL_ReleaseProcessHandle.
HANDLE makeProcessHandle(void* task);

// What thread handles need from the thread code when their last reference goes
// and when they are waited on.
void finishThreadRecord(ThreadRecord* record);
DWORD waitForThread(ThreadRecord* record, DWORD timeoutMs);

// Blocking waits measure their deadline on the real monotonic clock, not on
// platform::nowMs(): a test's manual clock only moves when told to, so a wait
// measured on it would never end, and a wall clock that steps would stretch or
// cut it. INFINITE has no deadline.
class WaitDeadline {
 public:
  explicit WaitDeadline(DWORD timeoutMs);
  bool forever() const { return mForever; }
  std::chrono::steady_clock::time_point at() const { return mAt; }
  bool passed() const;
  // Milliseconds left, rounded up, for poll(); -1 when forever.
  int pollTimeout() const;

 private:
  bool mForever;
  std::chrono::steady_clock::time_point mAt;
};

}  // namespace swell
