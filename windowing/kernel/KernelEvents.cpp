#include <fcntl.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>

#include "base/Log.h"
#include "windowing/kernel/Kernel.h"
#include "windowing/kernel/detail/KernelHandles.h"

using namespace swell;

namespace {

bool setNonBlocking(int fd) {
  int flags = ::fcntl(fd, F_GETFL);
  return flags >= 0 && ::fcntl(fd, F_SETFL, flags | O_NONBLOCK) == 0;
}

bool hasPendingInput(int fd) {
  pollfd p{fd, POLLIN, 0};
  int n;
  do {
    n = ::poll(&p, 1, 0);
  } while (n < 0 && errno == EINTR);
  return n > 0 && (p.revents & POLLIN);
}

void writeSignalByte(int fd) {
  const char byte = 1;
  // The write end never blocks: when the buffer is full the event is already
  // signalled many times over.
  while (::send(fd, &byte, 1, MSG_NOSIGNAL | MSG_DONTWAIT) < 0 && errno == EINTR) {
  }
}

void signalSocketEvent(SocketEventRecord* event) {
  if (event->writeFd < 0) return;
  if (event->readFd >= 0 && hasPendingInput(event->readFd)) return;
  writeSignalByte(event->writeFd);
}

}  // namespace

HANDLE CreateEvent(void* attributes, BOOL manualReset, BOOL initialState) {
  return registerHandle(new EventRecord(manualReset != FALSE, initialState != FALSE));
}

HANDLE CreateEventAsSocket(void* attributes, BOOL manualReset, BOOL initialState) {
  int fds[2];
  // Close-on-exec, so a child process started later does not inherit the pair.
  if (::socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0, fds) != 0) {
    base::warn("swell-cocoa", "CreateEventAsSocket: no socket pair (errno %d)", errno);
    return nullptr;
  }
  if (!setNonBlocking(fds[0]) || !setNonBlocking(fds[1])) {
    base::warn("swell-cocoa", "CreateEventAsSocket: cannot make the pair non-blocking (errno %d)",
               errno);
    ::close(fds[0]);
    ::close(fds[1]);
    return nullptr;
  }
  if (initialState) writeSignalByte(fds[1]);
  return registerHandle(new SocketEventRecord(fds[0], fds[1], manualReset == FALSE));
}

BOOL SetEvent(HANDLE h) {
  HandleRef ref(h, "SetEvent");
  switch (ref.type()) {
    case kHandleEvent: {
      auto* event = static_cast<EventRecord*>(ref.get());
      std::lock_guard<std::mutex> lock(event->mutex);
      if (!event->signalled) {
        event->signalled = true;
        if (event->manualReset) {
          event->changed.notify_all();
        } else {
          event->changed.notify_one();
        }
      }
      return TRUE;
    }
    case kHandleSocketEvent:
      signalSocketEvent(static_cast<SocketEventRecord*>(ref.get()));
      return TRUE;
    default:
      return FALSE;
  }
}

BOOL ResetEvent(HANDLE h) {
  HandleRef ref(h, "ResetEvent");
  switch (ref.type()) {
    case kHandleEvent: {
      auto* event = static_cast<EventRecord*>(ref.get());
      std::lock_guard<std::mutex> lock(event->mutex);
      event->signalled = false;
      return TRUE;
    }
    case kHandleSocketEvent: {
      auto* event = static_cast<SocketEventRecord*>(ref.get());
      if (event->readFd >= 0) {
        // Drain everything: two racing SetEvent calls may both have written.
        char buffer[128];
        ssize_t n;
        do {
          n = ::read(event->readFd, buffer, sizeof(buffer));
        } while (n > 0 || (n < 0 && errno == EINTR));
      }
      return TRUE;
    }
    default:
      return FALSE;
  }
}
