#pragma once

#include <cstddef>

#include "platform/objects/Object.h"

namespace platform {

// A one-way channel to or from a child process. Both ends are opened close-on-exec
// and above the standard descriptors, so a child started elsewhere never inherits
// them; a task hands the child its end as one of descriptors 0-2 and closes that end
// in this process once the child runs.
class NSPipe : public NSObject {
 public:
  // A new pipe (the caller's reference), or null with a diagnostic when the system has
  // no descriptors left.
  static NSPipe* pipe();

  int readDescriptor() const { return mReadFd; }
  int writeDescriptor() const { return mWriteFd; }
  void closeReadEnd();
  void closeWriteEnd();

  // Reads what is ready now, at most `length` bytes, without waiting: 0 when nothing
  // is ready, at the end of the data, or on an error.
  long readAvailable(void* buffer, std::size_t length);
  // Waits until data or the end arrives, then reads at most `length` bytes at once:
  // the count read, 0 at the end.
  long readWaiting(void* buffer, std::size_t length);
  // Waits like readWaiting and reports how many bytes are ready, taking none.
  long bytesReadyWaiting();
  // Writes every byte, looping over partial writes and interruptions. A reader that
  // has gone away ends the write: the broken-pipe signal is blocked and consumed in
  // this thread, so the process is not killed. Returns the count written.
  long writeAll(const void* data, std::size_t length);

 protected:
  void dealloc() override;

 private:
  NSPipe(int readFd, int writeFd) : mReadFd(readFd), mWriteFd(writeFd) {}
  bool waitReadable();

  int mReadFd;
  int mWriteFd;
};

}  // namespace platform
