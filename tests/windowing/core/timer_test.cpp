#include <gtest/gtest.h>

#include <thread>
#include <vector>

#include "platform/core/Application.h"
#include "platform/core/Panel.h"
#include "platform/core/View.h"
#include "platform/core/Window.h"
#include "support/WindowTest.h"
#include "windowing/Win32.h"
#include "windowing/core/WindowInterfaces.h"
#include "windowing/core/detail/TestHooks.h"

using testsupport::MessageLog;

namespace {

struct CallbackRecord {
  HWND hwnd;
  UINT_PTR id;
  DWORD time;
};
std::vector<CallbackRecord> gCallbacks;
void recordCallback(HWND hwnd, UINT msg, UINT_PTR id, DWORD time) {
  EXPECT_EQ(msg, WM_TIMER);
  gCallbacks.push_back({hwnd, id, time});
}

class TimerTest : public testsupport::WindowTest {
 protected:
  HWND view = nullptr;
  HWND window = nullptr;

  void SetUp() override {
    gCallbacks.clear();
    view = bareWindow();
    window = swell::handleFromObject(swell::objectFromHandleAs<platform::NSView>(view)->window());
    log.clear();
  }
  void TearDown() override { DestroyWindow(view); }

  std::vector<double> timerTimes(UINT_PTR id) {
    std::vector<double> times;
    log.answer([&, id](HWND, UINT msg, WPARAM wParam, LPARAM) -> std::optional<LRESULT> {
      if (msg == WM_TIMER && wParam == id) times.push_back(h.now());
      return std::nullopt;
    });
    return times;
  }
};

TEST_F(TimerTest, WindowTimersSendWmTimerOnTheVirtualClock) {
  EXPECT_EQ(SetTimer(view, 5, 100, nullptr), 5u);
  h.advance(350);
  EXPECT_EQ(log.count(WM_TIMER, view), 3);
  EXPECT_TRUE(testsupport::messagesMatch(log.messages(),
                                         {{WM_TIMER, 5, 0}, {WM_TIMER, 5, 0}, {WM_TIMER, 5, 0}}));
  // Setting the same id again restarts it with the new interval.
  log.clear();
  SetTimer(view, 5, 40, nullptr);
  h.advance(100);
  EXPECT_EQ(log.count(WM_TIMER), 2);
  EXPECT_EQ(KillTimer(view, 5), 1);
  EXPECT_EQ(KillTimer(view, 5), 0);
  h.advance(100);
  EXPECT_EQ(log.count(WM_TIMER), 2);
}

TEST_F(TimerTest, ZeroIntervalFiresEveryMillisecond) {
  SetTimer(view, 1, 0, nullptr);
  h.advance(10);
  EXPECT_EQ(log.count(WM_TIMER), 10);
}

TEST_F(TimerTest, RefusedCombinations) {
  EXPECT_EQ(SetTimer(nullptr, 1, 10, nullptr), 0u);
  EXPECT_EQ(SetTimer(view, 0, 10, nullptr), 0u);
  auto* plain =
      new platform::NSPanel(platform::NSMakeRect(0, 0, 10, 10), platform::NSWindowStyleMaskTitled);
  EXPECT_EQ(SetTimer(swell::handleFromObject(plain), 1, 10, nullptr), 0u);
  plain->close();
  EXPECT_EQ(KillTimer(nullptr, 0), 0);
  EXPECT_EQ(KillTimer(nullptr, static_cast<UINT_PTR>(-1)), 0);
}

TEST_F(TimerTest, WindowlessCallbackTimersGetTheirOwnIds) {
  UINT_PTR a = SetTimer(nullptr, 0, 10, recordCallback);
  UINT_PTR b = SetTimer(nullptr, 0, 10, recordCallback);
  EXPECT_NE(a, 0u);
  EXPECT_NE(a, b);
  double start = h.now();
  h.advance(10);
  ASSERT_EQ(gCallbacks.size(), 2u);
  EXPECT_EQ(gCallbacks[0].hwnd, nullptr);
  EXPECT_EQ(gCallbacks[0].id, a);
  EXPECT_EQ(gCallbacks[0].time, static_cast<DWORD>(start + 10));
  EXPECT_EQ(KillTimer(nullptr, a), 1);
  h.advance(10);
  EXPECT_EQ(gCallbacks.size(), 3u);
  EXPECT_EQ(gCallbacks.back().id, b);
  KillTimer(nullptr, b);
}

TEST_F(TimerTest, ATopLevelWindowHandleStandsForItsContentView) {
  EXPECT_EQ(SetTimer(window, 9, 10, nullptr), 9u);
  h.advance(10);
  EXPECT_EQ(log.count(WM_TIMER, view), 1);
  // The handle SetTimer accepted stops the timer, and so does the content view's.
  EXPECT_EQ(KillTimer(window, 9), 1);
  SetTimer(window, 9, 10, nullptr);
  EXPECT_EQ(KillTimer(view, 9), 1);
  h.advance(30);
  EXPECT_EQ(log.count(WM_TIMER, view), 1);
}

TEST_F(TimerTest, KillAllAndTheDestroySequenceStopEveryTimerOfTheWindow) {
  SetTimer(view, 1, 10, nullptr);
  SetTimer(view, 2, 10, nullptr);
  SetTimer(view, 3, 10, recordCallback);
  EXPECT_EQ(KillTimer(view, static_cast<UINT_PTR>(-1)), 1);
  EXPECT_EQ(KillTimer(view, static_cast<UINT_PTR>(-1)), 0);
  SetTimer(view, 4, 10, nullptr);
  EXPECT_EQ(swell::timerCount(), 1);
  DestroyWindow(view);
  EXPECT_EQ(swell::timerCount(), 0);
  view = nullptr;
}

TEST_F(TimerTest, AHandlerMayKillAndSetTimersAndDestroyItsWindow) {
  log.answer([&](HWND hwnd, UINT msg, WPARAM wParam, LPARAM) -> std::optional<LRESULT> {
    if (msg != WM_TIMER) return std::nullopt;
    if (wParam == 1) {
      KillTimer(hwnd, 1);
      SetTimer(hwnd, 2, 10, nullptr);
    } else if (wParam == 2) {
      SetTimer(hwnd, 2, 30, nullptr);  // restarts itself, slower
      SetTimer(hwnd, 3, 5, nullptr);
    } else if (wParam == 3) {
      DestroyWindow(hwnd);
    }
    return std::nullopt;
  });
  SetTimer(view, 1, 10, nullptr);
  h.advance(100);
  EXPECT_TRUE(testsupport::messagesMatch(
      log.messages(), {{WM_TIMER, 1, 0}, {WM_TIMER, 2, 0}, {WM_TIMER, 3, 0}}, {WM_TIMER}));
  EXPECT_FALSE(platform::isLiveObject(view));
  EXPECT_EQ(swell::timerCount(), 0);
  view = nullptr;
}

TEST_F(TimerTest, TimersKeepFiringInsideModalLoops) {
  SetTimer(view, 1, 10, nullptr);
  auto* panel =
      new platform::NSPanel(platform::NSMakeRect(0, 0, 10, 10), platform::NSWindowStyleMaskTitled);
  h.onModal([&](platform::NSWindow*) {
    if (log.count(WM_TIMER) >= 3) platform::NSApp()->stopModal();
  });
  platform::NSApp()->runModalForWindow(panel);
  EXPECT_GE(log.count(WM_TIMER), 3);
  panel->close();
}

TEST_F(TimerTest, RunLoopForWindowHoldsOtherWindowsTimers) {
  HWND other = bareWindow();
  SetTimer(view, 1, 10, nullptr);
  SetTimer(other, 1, 10, nullptr);
  UINT_PTR free = SetTimer(nullptr, 0, 10, recordCallback);
  log.clear();
  SWELL_RunLoopForWindow(50, view);
  EXPECT_EQ(log.count(WM_TIMER, view), 5);
  EXPECT_EQ(log.count(WM_TIMER, other), 0);
  EXPECT_TRUE(gCallbacks.empty());
  EXPECT_EQ(swell::timerRestriction(), nullptr);
  h.advance(10);
  EXPECT_EQ(log.count(WM_TIMER, other), 1);
  KillTimer(nullptr, free);
  DestroyWindow(other);
}

TEST_F(TimerTest, RequestsFromOtherThreadsRunOnTheMainThreadInOrder) {
  std::thread([&] {
    EXPECT_EQ(SetTimer(view, 7, 10, nullptr), 7u);
    // A window-less callback timer cannot be made from here: refused, not faked.
    EXPECT_EQ(SetTimer(nullptr, 0, 10, recordCallback), 0u);
    EXPECT_EQ(SetTimer(view, static_cast<UINT_PTR>(-1), 10, nullptr), 0u);
    // Refused here as on the main thread, not reported queued.
    EXPECT_EQ(KillTimer(nullptr, static_cast<UINT_PTR>(-1)), 0);
  }).join();
  EXPECT_EQ(swell::timerCount(), 0);
  EXPECT_EQ(swell::queuedMessageCount(), 1);
  h.flushPostedMessages();
  EXPECT_EQ(swell::timerCount(), 1);
  // A kill right after a set for the same timer leaves only the kill queued.
  std::thread([&] {
    SetTimer(view, 8, 10, nullptr);
    EXPECT_EQ(KillTimer(view, 8), 1);
    EXPECT_EQ(KillTimer(view, static_cast<UINT_PTR>(-1)), 1);
  }).join();
  EXPECT_EQ(swell::queuedMessageCount(), 2);
  h.flushPostedMessages();
  EXPECT_EQ(swell::timerCount(), 0);
  h.advance(50);
  EXPECT_EQ(log.count(WM_TIMER), 0);
}

TEST_F(TimerTest, TheLastRequestFromAnotherThreadWinsAcrossKillAll) {
  const auto all = static_cast<UINT_PTR>(-1);
  std::thread([&] {
    SetTimer(view, 5, 10, nullptr);
    KillTimer(view, all);
    SetTimer(view, 5, 10, nullptr);  // asked last: timer 5 runs
  }).join();
  h.flushPostedMessages();
  EXPECT_EQ(swell::timerCount(), 1);
  std::thread([&] {
    KillTimer(view, all);
    SetTimer(view, 6, 10, nullptr);
    KillTimer(view, all);  // asked last: no timer is left
  }).join();
  h.flushPostedMessages();
  EXPECT_EQ(swell::timerCount(), 0);
  // Requests for independent timers still fold into one per timer.
  std::thread([&] {
    for (int i = 0; i < 100; ++i)
      SetTimer(view, static_cast<UINT_PTR>(1 + i % 2), 10, nullptr);
  }).join();
  EXPECT_EQ(swell::queuedMessageCount(), 2);
}

}  // namespace
