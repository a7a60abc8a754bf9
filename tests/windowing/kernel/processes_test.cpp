#include <gtest/gtest.h>

#include <atomic>
#include <cstring>
#include <string>
#include <thread>
#include <vector>

#include "platform/objects/Screen.h"
#include "platform/system/ProcessInfo.h"
#include "platform/system/RunningApplication.h"
#include "windowing/Win32.h"

namespace {

constexpr const char* kShell = "/bin/sh";
constexpr const char* kCat = "/bin/cat";
constexpr int kRunning = -3;
constexpr int kReadNow = SWELL_PROCESS_IO_NONBLOCKING;

HANDLE shell(const char* script) {
  const char* args[] = {"-c", script};
  return SWELL_CreateProcess(kShell, 2, args);
}

struct ExitCase {
  const char* script;
  bool terminate;
  int code;
};

TEST(Processes, ExitCodesWhileRunningAfterTheWaitAndAfterTerminate) {
  const ExitCase cases[] = {
      {"sleep 0.2; exit 3", false, 3},
      {"exit 0", false, 0},
      {"exec sleep 30", true, 15},  // the signal that ended it
  };
  for (const auto& c : cases) {
    HANDLE h = shell(c.script);
    ASSERT_NE(h, nullptr) << c.script;
    if (c.code != 0) {
      EXPECT_EQ(SWELL_GetProcessExitCode(h), kRunning) << c.script;
      EXPECT_EQ(WaitForSingleObject(h, 0), WAIT_TIMEOUT) << c.script;
    }
    if (c.terminate) {
      EXPECT_EQ(SWELL_TerminateProcess(h), 0);
    }
    EXPECT_EQ(WaitForSingleObject(h, INFINITE), WAIT_OBJECT_0) << c.script;
    EXPECT_EQ(WaitForSingleObject(h, 0), WAIT_OBJECT_0) << c.script;
    EXPECT_EQ(SWELL_GetProcessExitCode(h), c.code) << c.script;
    // A reaped child is not signalled again: its number may belong to another by now.
    EXPECT_EQ(SWELL_TerminateProcess(h), 0) << c.script;
    EXPECT_EQ(CloseHandle(h), TRUE);
  }
}

TEST(Processes, BadProgramsAndHandlesAreRefused) {
  const char* args[] = {"x"};
  EXPECT_EQ(SWELL_CreateProcess("/nonexistent/program", 1, args), nullptr);
  EXPECT_EQ(SWELL_CreateProcess("/tmp", 0, nullptr), nullptr);  // not runnable
  EXPECT_EQ(SWELL_CreateProcess("sh", 0, nullptr), nullptr);    // no PATH search
  EXPECT_EQ(SWELL_CreateProcess(kShell, -1, args), nullptr);
  EXPECT_EQ(SWELL_CreateProcess(kShell, 1, nullptr), nullptr);
  HANDLE event = CreateEvent(nullptr, TRUE, FALSE);
  for (HANDLE bad : {static_cast<HANDLE>(nullptr), event}) {
    EXPECT_EQ(SWELL_GetProcessExitCode(bad), -1);
    EXPECT_EQ(SWELL_TerminateProcess(bad), -1);
    char buffer[4];
    EXPECT_EQ(SWELL_ReadWriteProcessIO(bad, 1, buffer, 4), 0);
    SWELL_BringProcessToFront(bad);
  }
  CloseHandle(event);
}

// A child is brought to the front by its process number, once its window can be raised.
TEST(Processes, AChildIsBroughtToTheFrontByItsProcess) {
  std::vector<pid_t> asked;
  auto previous = platform::NSRunningApplication::setActivator([&](pid_t pid) {
    asked.push_back(pid);
    return asked.size() == 2;  // the first try finds no window yet
  });
  HANDLE h = shell("exec sleep 30");
  ASSERT_NE(h, nullptr);
  SWELL_BringProcessToFront(h);
  ASSERT_EQ(asked.size(), 2u);
  EXPECT_EQ(asked[0], asked[1]);
  EXPECT_GT(asked[0], 0);
  platform::NSRunningApplication::setActivator(previous);
  SWELL_TerminateProcess(h);
  WaitForSingleObject(h, INFINITE);
  CloseHandle(h);
}

TEST(Processes, TextThroughCatAndTheReadRules) {
  HANDLE h = SWELL_CreateProcessIO(kCat, 0, nullptr, true);
  ASSERT_NE(h, nullptr);
  char buffer[64] = {};
  // Nothing written yet: a read that may not wait finds nothing.
  EXPECT_EQ(SWELL_ReadWriteProcessIO(h, 1 | kReadNow, buffer, sizeof buffer), 0);
  EXPECT_EQ(SWELL_ReadWriteProcessIO(h, 1 | kReadNow, buffer, -5), 0);
  EXPECT_EQ(SWELL_ReadWriteProcessIO(h, 0, const_cast<char*>("hello"), 0), 0);
  EXPECT_EQ(SWELL_ReadWriteProcessIO(h, 0, const_cast<char*>("hello"), 5), 5);
  // A waiting read with no room reports what is ready and leaves it there.
  EXPECT_EQ(SWELL_ReadWriteProcessIO(h, 1, buffer, 0), 5);
  EXPECT_EQ(SWELL_ReadWriteProcessIO(h, 1, buffer, 3), 3);
  EXPECT_EQ(std::string(buffer, 3), "hel");
  EXPECT_EQ(SWELL_ReadWriteProcessIO(h, 1 | kReadNow, buffer, sizeof buffer), 2);
  EXPECT_EQ(std::string(buffer, 2), "lo");
  EXPECT_EQ(SWELL_ReadWriteProcessIO(h, 2 | kReadNow, buffer, sizeof buffer), 0);
  EXPECT_EQ(SWELL_ReadWriteProcessIO(h, 3, buffer, sizeof buffer), 0);  // no such stream
  EXPECT_EQ(SWELL_TerminateProcess(h), 0);
  EXPECT_EQ(WaitForSingleObject(h, INFINITE), WAIT_OBJECT_0);
  // Its input is closed now: the write fails instead of ending this process by SIGPIPE.
  EXPECT_EQ(SWELL_ReadWriteProcessIO(h, 0, const_cast<char*>("late"), 4), 0);
  EXPECT_EQ(CloseHandle(h), TRUE);
}

TEST(Processes, ChildrenStartFromSeveralThreads) {
  constexpr int kThreads = 4;
  std::atomic<int> right{0};
  std::vector<std::thread> threads;
  for (int i = 0; i < kThreads; ++i) {
    threads.emplace_back([i, &right] {
      std::string script = "exit " + std::to_string(i + 1);
      HANDLE h = shell(script.c_str());
      if (h && WaitForSingleObject(h, INFINITE) == WAIT_OBJECT_0 &&
          SWELL_GetProcessExitCode(h) == i + 1)
        ++right;
      if (h) CloseHandle(h);
    });
  }
  for (auto& t : threads)
    t.join();
  EXPECT_EQ(right.load(), kThreads);
}

TEST(Processes, WorkerThreadsRunTheirFunction) {
  SWELL_EnsureMultithreadedCocoa();
  HANDLE done = CreateEvent(nullptr, TRUE, FALSE);
  SWELL_CreateThreadObject(
      nullptr, nullptr, [](void* event) { SetEvent(event); }, done);
  EXPECT_EQ(WaitForSingleObject(done, 5000), WAIT_OBJECT_0);
  CloseHandle(done);
  SWELL_QuitAutoRelease(SWELL_InitAutoRelease());
  SWELL_QuitAutoRelease(nullptr);
}

TEST(SystemServices, CountedStringsCopyOutWhole) {
  void* text = SWELL_CStringToCFString("abcdef");
  char buffer[8];
  SWELL_CFStringToCString(text, buffer, 5);
  EXPECT_STREQ(buffer, "abcd");
  SWELL_CFStringToCString(text, buffer, 1);
  EXPECT_STREQ(buffer, "");
  std::strcpy(buffer, "keep");
  SWELL_CFStringToCString(text, buffer, 0);
  EXPECT_STREQ(buffer, "keep");
  SWELL_CFStringToCString(nullptr, buffer, 8);
  EXPECT_STREQ(buffer, "");
  static_cast<platform::NSObject*>(text)->release();
}

TEST(SystemServices, TheActivityLastsWhileTheCountIsPositive) {
  auto& info = platform::NSProcessInfo::processInfo();
  std::size_t before = info.activeActivityCount();
  const std::pair<int, std::size_t> steps[] = {{1, 1}, {1, 1}, {-1, 1}, {-1, 0}, {-1, 0}, {1, 0}};
  for (auto [delta, active] : steps) {
    SWELL_DisableAppNap(delta);
    EXPECT_EQ(info.activeActivityCount(), before + active) << delta;
  }
}

// A callback that changes the screens is given only screens of the configuration in force.
TEST(SystemServices, MonitorsChangedByTheCallbackAreNotReadAfterTheChange) {
  struct Seen {
    int calls = 0;
    std::vector<RECT> rects;
  } seen;
  platform::NSScreen::setScreens({{platform::NSMakeRect(0, 0, 100, 100), {}, 0},
                                  {platform::NSMakeRect(100, 0, 100, 100), {}, 1}});
  EnumDisplayMonitors(
      nullptr, nullptr,
      [](HMONITOR, HDC, RECT* r, LPARAM data) -> BOOL {
        auto* log = reinterpret_cast<Seen*>(data);
        log->rects.push_back(*r);
        if (log->calls++ == 0) {
          platform::NSScreen::setScreens({{platform::NSMakeRect(0, 0, 50, 50), {}, 0},
                                          {platform::NSMakeRect(50, 0, 70, 50), {}, 1},
                                          {platform::NSMakeRect(120, 0, 10, 50), {}, 2}});
        }
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&seen));
  platform::NSScreen::resetToDefault();
  ASSERT_EQ(seen.rects.size(), 3u);
  EXPECT_EQ(seen.rects[1].left, 50);
  EXPECT_EQ(seen.rects[2].right, 130);
}

TEST(SystemServices, MonitorInfoNamesOnlyWhenThereIsRoom) {
  HMONITOR first = nullptr;
  EnumDisplayMonitors(
      nullptr, nullptr,
      [](HMONITOR m, HDC, RECT*, LPARAM data) -> BOOL {
        *reinterpret_cast<HMONITOR*>(data) = m;
        return FALSE;
      },
      reinterpret_cast<LPARAM>(&first));
  if (!first) GTEST_SKIP() << "no screen configured";
  struct Case {
    DWORD cbSize;
    BOOL result;
    bool named;
  };
  for (const Case c : {Case{39, FALSE, false}, Case{40, TRUE, false}, Case{72, TRUE, true}}) {
    MONITORINFOEX info{};
    info.cbSize = c.cbSize;
    EXPECT_EQ(GetMonitorInfo(first, &info), c.result) << c.cbSize;
    EXPECT_EQ(std::strncmp(info.szDevice, "DisplayID ", 10) == 0, c.named) << c.cbSize;
    if (c.result) {
      EXPECT_GT(info.rcMonitor.right, info.rcMonitor.left);
    }
  }
  EXPECT_EQ(GetMonitorInfo(nullptr, nullptr), FALSE);
}

}  // namespace
