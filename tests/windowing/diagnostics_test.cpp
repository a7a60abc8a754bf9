#include <gtest/gtest.h>

#include <functional>

#include "base/detail/TestHooks.h"
#include "windowing/Win32.h"

namespace {

// An address no kernel object or memory block lives at.
HANDLE strayHandle() {
  static int notAnObject;
  return &notAnObject;
}

// Every room reports a refused call through the one logger with the layer's prefix, so a test
// (or a user reading standard error) sees why the call failed.
TEST(WindowingDiagnostics, RefusedCallsAreLoggedWithTheLayersPrefix) {
  const struct {
    const char* call;
    std::function<void()> refused;
    const char* logged;
  } cases[] = {
      {"CloseHandle", [] { CloseHandle(strayHandle()); }, "swell-cocoa: CloseHandle: 0x"},
      {"GlobalLock", [] { GlobalLock(strayHandle()); }, "swell-cocoa: GlobalLock: 0x"},
      {"CreateThread", [] { CreateThread(nullptr, 0, nullptr, nullptr, 0, nullptr); },
       "swell-cocoa: CreateThread: no start function"},
      {"GetPrivateProfileString",
       [] { GetPrivateProfileString("section", "key", "", nullptr, 8, "never-read.ini"); },
       "swell-cocoa: GetPrivateProfileString: no buffer"},
  };
  for (const auto& c : cases) {
    base::LogCapture log;
    c.refused();
    EXPECT_TRUE(log.contains(c.logged))
        << c.call << " logged " << (log.count() ? log.lines().front() : "nothing");
  }
}

}  // namespace
