#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>

#include "platform/system/Clock.h"
#include "windowing/Win32.h"

namespace {

using std::chrono::steady_clock;

double elapsedMs(steady_clock::time_point since) {
  return std::chrono::duration<double, std::milli>(steady_clock::now() - since).count();
}

TEST(KernelTime, SleepWaitsAtLeastTheCountAndZeroStillYields) {
  auto start = steady_clock::now();
  Sleep(0);
  EXPECT_GE(elapsedMs(start), 0.1);

  start = steady_clock::now();
  Sleep(25);
  EXPECT_GE(elapsedMs(start), 25.0);
}

TEST(KernelTime, TickCountFollowsTheProcessClockAndWrapsAt32Bits) {
  platform::ManualClock manual(12345.9);
  platform::setClock(&manual);
  EXPECT_EQ(GetTickCount(), 12345u);
  manual.advance(1000);
  EXPECT_EQ(GetTickCount(), 13345u);
  manual.set(4294967296.0 + 7.0);
  EXPECT_EQ(GetTickCount(), 7u);
  manual.set(-5.0);
  EXPECT_EQ(GetTickCount(), 0u);
  platform::setClock(nullptr);
}

TEST(KernelTime, FileTimesCountHundredNanosecondsFrom1601) {
  char path[] = "/tmp/kernel_filetime_XXXXXX";
  int fd = mkstemp(path);
  ASSERT_GE(fd, 0);
  FILETIME created, accessed, written;
  ASSERT_EQ(GetFileTime(fd, &created, &accessed, &written), TRUE);
  struct stat info;
  ASSERT_EQ(fstat(fd, &info), 0);
  auto asCount = [](const FILETIME& t) {
    return (static_cast<unsigned long long>(t.dwHighDateTime) << 32) | t.dwLowDateTime;
  };
  EXPECT_EQ(asCount(written),
            static_cast<unsigned long long>(info.st_mtime) * 10000000ULL + 116444736000000000ULL);
  EXPECT_EQ(asCount(created),
            static_cast<unsigned long long>(info.st_ctime) * 10000000ULL + 116444736000000000ULL);

  // Any of the three may be left out.
  EXPECT_EQ(GetFileTime(fd, nullptr, nullptr, nullptr), TRUE);
  close(fd);
  unlink(path);

  EXPECT_EQ(GetFileTime(-1, &created, nullptr, nullptr), FALSE);
  EXPECT_EQ(GetFileTime(fd, &created, nullptr, nullptr), FALSE);  // closed descriptor
}

}  // namespace
