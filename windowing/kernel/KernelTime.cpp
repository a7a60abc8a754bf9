#include <sys/stat.h>
#include <time.h>

#include <cerrno>
#include <cstdint>
#include <ctime>

#include "base/Finite.h"
#include "platform/system/Clock.h"
#include "windowing/kernel/Kernel.h"

namespace {

// Seconds from 1601-01-01 (the FILETIME origin) to the Unix epoch, in 100 ns units.
constexpr std::int64_t kUnixEpochAsFileTime = 116444736000000000LL;
constexpr std::int64_t kFileTimeUnitsPerSecond = 10000000LL;

void setFileTime(FILETIME* out, std::time_t seconds) {
  if (!out) return;
  std::int64_t units =
      static_cast<std::int64_t>(seconds) * kFileTimeUnitsPerSecond + kUnixEpochAsFileTime;
  auto value = static_cast<std::uint64_t>(units < 0 ? 0 : units);
  out->dwLowDateTime = static_cast<DWORD>(value & 0xFFFFFFFFu);
  out->dwHighDateTime = static_cast<DWORD>(value >> 32);
}

}  // namespace

void Sleep(DWORD milliseconds) {
  // Sleep(0) still yields for 100 microseconds. The deadline is absolute on the
  // monotonic clock, so a signal that interrupts the sleep resumes it for the
  // time still left rather than starting over or returning early.
  timespec deadline{};
  clock_gettime(CLOCK_MONOTONIC, &deadline);
  std::int64_t nanoseconds =
      milliseconds == 0 ? 100000LL : static_cast<std::int64_t>(milliseconds) * 1000000LL;
  deadline.tv_sec += static_cast<std::time_t>(nanoseconds / 1000000000LL);
  deadline.tv_nsec += static_cast<long>(nanoseconds % 1000000000LL);
  if (deadline.tv_nsec >= 1000000000L) {
    deadline.tv_nsec -= 1000000000L;
    ++deadline.tv_sec;
  }
  while (clock_nanosleep(CLOCK_MONOTONIC, TIMER_ABSTIME, &deadline, nullptr) == EINTR) {
  }
}

DWORD GetTickCount() {
  // The process's one clock: monotonic in programs, so timeouts measured with
  // tick differences survive the wall clock being stepped, and under the
  // control of a test that installs a manual clock.
  double now = platform::nowMs();
  if (!base::isFinite(now) || now < 0) return 0;
  return static_cast<DWORD>(static_cast<std::uint64_t>(now));
}

BOOL GetFileTime(int fd, FILETIME* creation, FILETIME* lastAccess, FILETIME* lastWrite) {
  if (fd < 0) return FALSE;
  struct stat info;
  if (fstat(fd, &info) != 0) return FALSE;
  setFileTime(creation, info.st_ctime);
  setFileTime(lastAccess, info.st_atime);
  setFileTime(lastWrite, info.st_mtime);
  return TRUE;
}
