#include <poll.h>
#include <unistd.h>

#include <cerrno>
#include <new>
#include <vector>

#include "base/Log.h"
#include "windowing/kernel/Kernel.h"
#include "windowing/kernel/Processes.h"
#include "windowing/kernel/detail/KernelHandles.h"

using namespace swell;

namespace {

// At most this many handles are looked at when a larger set cannot be had.
constexpr int kStackPollLimit = 128;

// Reads what a signalled auto-reset socket event holds; true when it got
// anything (another waiter may have taken it first).
bool consumeSignal(int fd) {
  char buffer[128];
  ssize_t n;
  do {
    n = ::read(fd, buffer, sizeof(buffer));
  } while (n < 0 && errno == EINTR);
  return n > 0;
}

DWORD waitForEvent(EventRecord* event, DWORD timeoutMs) {
  std::unique_lock<std::mutex> lock(event->mutex);
  auto isSignalled = [event] { return event->signalled; };
  if (timeoutMs == 0) {
    if (!event->signalled) return WAIT_TIMEOUT;
  } else if (timeoutMs == INFINITE) {
    event->changed.wait(lock, isSignalled);
  } else {
    // wait_until with a predicate loops over spurious wake-ups against the
    // absolute deadline.
    WaitDeadline deadline(timeoutMs);
    if (!event->changed.wait_until(lock, deadline.at(), isSignalled)) return WAIT_TIMEOUT;
  }
  if (!event->manualReset) event->signalled = false;
  return WAIT_OBJECT_0;
}

DWORD waitForDescriptor(int fd, bool autoReset, DWORD timeoutMs) {
  if (fd < 0) {
    Sleep(timeoutMs == INFINITE ? 1 : timeoutMs);
    return WAIT_FAILED;
  }
  WaitDeadline deadline(timeoutMs);
  for (;;) {
    pollfd p{fd, POLLIN, 0};
    int n = ::poll(&p, 1, deadline.pollTimeout());
    if (n < 0) {
      if (errno == EINTR) continue;
      return WAIT_FAILED;
    }
    if (n == 0) return WAIT_TIMEOUT;
    if (p.revents & POLLNVAL) return WAIT_FAILED;
    if (!autoReset) return WAIT_OBJECT_0;
    // A hang-up or error without input can never become a signal; polling it
    // again would spin.
    if (!(p.revents & POLLIN)) return WAIT_FAILED;
    if (consumeSignal(fd)) return WAIT_OBJECT_0;
    if (deadline.passed()) return WAIT_TIMEOUT;
  }
}

struct PollEntry {
  HandleHeader* record;
  int index;
  bool autoReset;
};

// Holds the references taken on the handles of one WaitForAnySocketObject.
struct PollSet {
  std::vector<pollfd> fds;
  std::vector<PollEntry> entries;
  ~PollSet() {
    for (const PollEntry& e : entries)
      releaseInternalReference(e.record);
  }
};

}  // namespace

DWORD WaitForSingleObject(HANDLE h, DWORD timeoutMs) {
  HandleRef ref(h, "WaitForSingleObject");
  switch (ref.type()) {
    case kHandleThread:
      return waitForThread(static_cast<ThreadRecord*>(ref.get()), timeoutMs);
    case kHandleEvent:
      return waitForEvent(static_cast<EventRecord*>(ref.get()), timeoutMs);
    case kHandleSocket:
      return waitForDescriptor(static_cast<SocketRecord*>(ref.get())->descriptor, false, timeoutMs);
    case kHandleSocketEvent: {
      auto* event = static_cast<SocketEventRecord*>(ref.get());
      return waitForDescriptor(event->readFd, event->autoReset, timeoutMs);
    }
    case kHandleProcess: {
      auto* process = static_cast<ProcessRecord*>(ref.get());
      if (!process->task) return WAIT_FAILED;
      return static_cast<DWORD>(SWELL_WaitForProcess(process->task, timeoutMs));
    }
    default:
      return WAIT_FAILED;
  }
}

DWORD WaitForAnySocketObject(int count, HANDLE* handles, DWORD timeoutMs) {
  if (count < 1) return WAIT_TIMEOUT;
  if (!handles) {
    base::warn("swell-cocoa", "WaitForAnySocketObject: no handle array for %d handles", count);
    return WAIT_FAILED;
  }
  PollSet set;
  try {
    set.fds.reserve(count);
    set.entries.reserve(count);
  } catch (const std::bad_alloc&) {
    count = kStackPollLimit;
    set.fds.reserve(count);
    set.entries.reserve(count);
  }
  for (int i = 0; i < count; ++i) {
    HandleHeader* record = acquireHandle(handles[i], "WaitForAnySocketObject");
    if (!record) continue;
    int fd = -1;
    bool autoReset = false;
    if (record->type == kHandleSocket) {
      fd = static_cast<SocketRecord*>(record)->descriptor;
    } else if (record->type == kHandleSocketEvent) {
      auto* event = static_cast<SocketEventRecord*>(record);
      fd = event->readFd;
      autoReset = event->autoReset;
    }
    if (fd < 0) {
      releaseInternalReference(record);
      continue;
    }
    set.fds.push_back(pollfd{fd, POLLIN, 0});
    set.entries.push_back(PollEntry{record, i, autoReset});
  }
  if (set.fds.empty()) return WAIT_TIMEOUT;

  WaitDeadline deadline(timeoutMs);
  for (;;) {
    int n = ::poll(set.fds.data(), set.fds.size(), deadline.pollTimeout());
    if (n < 0) {
      if (errno == EINTR) continue;
      return WAIT_FAILED;
    }
    if (n == 0) return WAIT_TIMEOUT;
    for (std::size_t k = 0; k < set.fds.size(); ++k) {
      pollfd& p = set.fds[k];
      const PollEntry& entry = set.entries[k];
      if (p.fd < 0 || p.revents == 0) continue;
      if (p.revents & POLLNVAL) return WAIT_FAILED;
      if (!entry.autoReset) return static_cast<DWORD>(entry.index);
      if (!(p.revents & POLLIN)) {
        // Hung up with nothing to read: it can never be signalled again, and
        // leaving it in the set would make every poll return at once.
        p.fd = -1;
        continue;
      }
      if (consumeSignal(p.fd)) return static_cast<DWORD>(entry.index);
    }
    bool anyLeft = false;
    for (const pollfd& p : set.fds)
      anyLeft = anyLeft || p.fd >= 0;
    if (!anyLeft) return WAIT_FAILED;
    if (deadline.passed()) return WAIT_TIMEOUT;
  }
}
