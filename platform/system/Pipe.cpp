#include "platform/system/Pipe.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/ioctl.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <ctime>

#include "base/Log.h"

namespace platform {

namespace {

// The lowest descriptor a pipe end may take: 0-2 belong to the standard streams,
// which a child gets its ends as.
constexpr int kFirstPrivateDescriptor = 3;

// Moves a descriptor above the standard ones (a process that closed its standard
// input would otherwise get a pipe end as descriptor 0), keeping close-on-exec.
int abovestandard(int fd) {
  if (fd < 0 || fd >= kFirstPrivateDescriptor) return fd;
  int moved = fcntl(fd, F_DUPFD_CLOEXEC, kFirstPrivateDescriptor);
  close(fd);
  return moved;
}

void closeDescriptor(int& fd) {
  if (fd >= 0) close(fd);
  fd = -1;
}

// Blocks SIGPIPE in this thread for the length of a write and takes a SIGPIPE the
// write raised off the thread's pending set before unblocking it again.
class BrokenPipeSignalBlock {
 public:
  BrokenPipeSignalBlock() {
    sigemptyset(&mPipeOnly);
    sigaddset(&mPipeOnly, SIGPIPE);
    sigset_t pending;
    sigpending(&pending);
    // A SIGPIPE pending from before is not ours to consume.
    mWasPending = sigismember(&pending, SIGPIPE) == 1;
    pthread_sigmask(SIG_BLOCK, &mPipeOnly, &mPrevious);
  }
  ~BrokenPipeSignalBlock() {
    if (mRaised && !mWasPending) {
      timespec none{};
      while (sigtimedwait(&mPipeOnly, nullptr, &none) < 0 && errno == EINTR) {
      }
    }
    pthread_sigmask(SIG_SETMASK, &mPrevious, nullptr);
  }
  void noteRaised() { mRaised = true; }

 private:
  sigset_t mPipeOnly;
  sigset_t mPrevious;
  bool mWasPending = false;
  bool mRaised = false;
};

}  // namespace

NSPipe* NSPipe::pipe() {
  int fds[2];
  if (pipe2(fds, O_CLOEXEC) != 0) {
    base::warn("platform", "NSPipe: cannot make a pipe: %s", std::strerror(errno));
    return nullptr;
  }
  int readFd = abovestandard(fds[0]);
  int writeFd = abovestandard(fds[1]);
  if (readFd < 0 || writeFd < 0) {
    base::warn("platform", "NSPipe: no descriptor left for a pipe");
    if (readFd >= 0) close(readFd);
    if (writeFd >= 0) close(writeFd);
    return nullptr;
  }
  return new NSPipe(readFd, writeFd);
}

void NSPipe::dealloc() {
  closeDescriptor(mReadFd);
  closeDescriptor(mWriteFd);
  NSObject::dealloc();
}

void NSPipe::closeReadEnd() {
  closeDescriptor(mReadFd);
}

void NSPipe::closeWriteEnd() {
  closeDescriptor(mWriteFd);
}

bool NSPipe::waitReadable() {
  if (mReadFd < 0) return false;
  pollfd p{mReadFd, POLLIN, 0};
  for (;;) {
    int n = poll(&p, 1, -1);
    if (n > 0) return true;
    if (n < 0 && errno != EINTR) return false;
  }
}

long NSPipe::readAvailable(void* buffer, std::size_t length) {
  if (mReadFd < 0 || !buffer || length == 0) return 0;
  pollfd p{mReadFd, POLLIN, 0};
  int n;
  while ((n = poll(&p, 1, 0)) < 0 && errno == EINTR) {
  }
  if (n <= 0 || !(p.revents & (POLLIN | POLLHUP))) return 0;
  ssize_t got;
  while ((got = read(mReadFd, buffer, length)) < 0 && errno == EINTR) {
  }
  return got > 0 ? static_cast<long>(got) : 0;
}

long NSPipe::readWaiting(void* buffer, std::size_t length) {
  if (!buffer || length == 0 || !waitReadable()) return 0;
  ssize_t got;
  while ((got = read(mReadFd, buffer, length)) < 0 && errno == EINTR) {
  }
  return got > 0 ? static_cast<long>(got) : 0;
}

long NSPipe::bytesReadyWaiting() {
  if (!waitReadable()) return 0;
  int ready = 0;
  if (ioctl(mReadFd, FIONREAD, &ready) != 0) return 0;
  return ready;
}

long NSPipe::writeAll(const void* data, std::size_t length) {
  if (mWriteFd < 0 || !data) return 0;
  BrokenPipeSignalBlock block;
  const auto* bytes = static_cast<const char*>(data);
  std::size_t done = 0;
  while (done < length) {
    ssize_t n = write(mWriteFd, bytes + done, length - done);
    if (n > 0) {
      done += static_cast<std::size_t>(n);
    } else if (n < 0 && errno == EINTR) {
      continue;
    } else {
      if (n < 0 && errno == EPIPE) block.noteRaised();
      break;
    }
  }
  return static_cast<long>(done);
}

}  // namespace platform
