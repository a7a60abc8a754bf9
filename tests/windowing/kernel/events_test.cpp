#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <thread>

#include "platform/system/Clock.h"
#include "windowing/Win32.h"

namespace {

using std::chrono::steady_clock;

double elapsedMs(steady_clock::time_point since) {
  return std::chrono::duration<double, std::milli>(steady_clock::now() - since).count();
}

// Both kinds of event behave alike; each test runs on both.
class KernelEvent : public ::testing::TestWithParam<bool> {
 protected:
  HANDLE make(bool manualReset, bool initial) {
    return GetParam() ? CreateEventAsSocket(nullptr, manualReset, initial)
                      : CreateEvent(nullptr, manualReset, initial);
  }
};

TEST_P(KernelEvent, ManualResetStaysSignalledUntilReset) {
  HANDLE e = make(true, false);
  ASSERT_NE(e, nullptr);
  EXPECT_EQ(WaitForSingleObject(e, 0), WAIT_TIMEOUT);
  EXPECT_EQ(SetEvent(e), TRUE);
  EXPECT_EQ(SetEvent(e), TRUE);
  EXPECT_EQ(WaitForSingleObject(e, 0), WAIT_OBJECT_0);
  EXPECT_EQ(WaitForSingleObject(e, 10), WAIT_OBJECT_0);
  EXPECT_EQ(WaitForSingleObject(e, INFINITE), WAIT_OBJECT_0);
  EXPECT_EQ(ResetEvent(e), TRUE);
  EXPECT_EQ(WaitForSingleObject(e, 0), WAIT_TIMEOUT);
  EXPECT_EQ(CloseHandle(e), TRUE);
}

TEST_P(KernelEvent, AutoResetIsClearedByTheWaitThatTakesIt) {
  HANDLE e = make(false, true);
  ASSERT_NE(e, nullptr);
  EXPECT_EQ(WaitForSingleObject(e, 0), WAIT_OBJECT_0);
  EXPECT_EQ(WaitForSingleObject(e, 0), WAIT_TIMEOUT);
  SetEvent(e);
  SetEvent(e);  // a second signal before any wait is not counted
  EXPECT_EQ(WaitForSingleObject(e, 20), WAIT_OBJECT_0);
  EXPECT_EQ(WaitForSingleObject(e, 0), WAIT_TIMEOUT);
  CloseHandle(e);
}

TEST_P(KernelEvent, TimedWaitTimesOutOnTheRealClockEvenUnderAManualClock) {
  // A frozen process clock must not make a timed wait last forever.
  platform::ManualClock frozen(0.0);
  platform::setClock(&frozen);
  HANDLE e = make(false, false);
  auto start = steady_clock::now();
  EXPECT_EQ(WaitForSingleObject(e, 40), WAIT_TIMEOUT);
  EXPECT_GE(elapsedMs(start), 39.0);
  platform::setClock(nullptr);
  CloseHandle(e);
}

TEST_P(KernelEvent, SignalFromAnotherThreadWakesAForeverWait) {
  HANDLE e = make(false, false);
  std::thread signaller([e] {
    Sleep(20);
    SetEvent(e);
  });
  EXPECT_EQ(WaitForSingleObject(e, INFINITE), WAIT_OBJECT_0);
  signaller.join();
  EXPECT_EQ(WaitForSingleObject(e, 0), WAIT_TIMEOUT);
  CloseHandle(e);
}

TEST_P(KernelEvent, AutoResetReleasesOneWaiterPerSignal) {
  HANDLE e = make(false, false);
  std::atomic<int> woken{0};
  std::thread waiters[3];
  for (auto& t : waiters) {
    t = std::thread([e, &woken] {
      if (WaitForSingleObject(e, 2000) == WAIT_OBJECT_0) ++woken;
    });
  }
  for (int i = 0; i < 3; ++i) {
    // Each signal is taken by exactly one waiter before the next is given.
    SetEvent(e);
    auto deadline = steady_clock::now() + std::chrono::seconds(2);
    while (woken.load() < i + 1 && steady_clock::now() < deadline)
      Sleep(1);
    EXPECT_EQ(woken.load(), i + 1);
  }
  for (auto& t : waiters)
    t.join();
  EXPECT_EQ(WaitForSingleObject(e, 0), WAIT_TIMEOUT);
  CloseHandle(e);
}

INSTANTIATE_TEST_SUITE_P(PlainAndSocket, KernelEvent, ::testing::Values(false, true),
                         [](const auto& test) { return test.param ? "Socket" : "Plain"; });

TEST(KernelEvents, ManualResetWakesEveryWaiter) {
  HANDLE e = CreateEvent(nullptr, TRUE, FALSE);
  std::atomic<int> woken{0};
  std::thread waiters[4];
  for (auto& t : waiters) {
    t = std::thread([e, &woken] {
      if (WaitForSingleObject(e, 5000) == WAIT_OBJECT_0) ++woken;
    });
  }
  Sleep(10);
  SetEvent(e);
  for (auto& t : waiters)
    t.join();
  EXPECT_EQ(woken.load(), 4);
  CloseHandle(e);
}

TEST(KernelEvents, WaitForAnySocketObjectAnswersTheFirstReadyHandle) {
  HANDLE events[3] = {CreateEventAsSocket(nullptr, FALSE, FALSE),
                      CreateEventAsSocket(nullptr, TRUE, FALSE),
                      CreateEventAsSocket(nullptr, FALSE, FALSE)};
  EXPECT_EQ(WaitForAnySocketObject(3, events, 0), WAIT_TIMEOUT);
  EXPECT_EQ(WaitForAnySocketObject(3, events, 15), WAIT_TIMEOUT);

  SetEvent(events[2]);
  SetEvent(events[1]);
  EXPECT_EQ(WaitForAnySocketObject(3, events, 0), 1u);
  EXPECT_EQ(WaitForAnySocketObject(3, events, 0), 1u);  // manual reset: still ready
  ResetEvent(events[1]);
  EXPECT_EQ(WaitForAnySocketObject(3, events, 0), 2u);
  EXPECT_EQ(WaitForAnySocketObject(3, events, 0), WAIT_TIMEOUT);  // auto reset: taken

  std::thread signaller([&] {
    Sleep(20);
    SetEvent(events[0]);
  });
  EXPECT_EQ(WaitForAnySocketObject(3, events, INFINITE), 0u);
  signaller.join();
  for (HANDLE e : events)
    CloseHandle(e);
}

TEST(KernelEvents, WaitForAnySocketObjectSkipsWhatCannotBePolled) {
  HANDLE plain = CreateEvent(nullptr, TRUE, TRUE);
  HANDLE socket = CreateEventAsSocket(nullptr, TRUE, TRUE);
  int notAHandle = 0;
  HANDLE mixed[3] = {plain, &notAHandle, socket};
  EXPECT_EQ(WaitForAnySocketObject(3, mixed, 0), 2u);
  HANDLE none[2] = {plain, nullptr};
  EXPECT_EQ(WaitForAnySocketObject(2, none, 0), WAIT_TIMEOUT);
  EXPECT_EQ(WaitForAnySocketObject(0, mixed, 0), WAIT_TIMEOUT);
  EXPECT_EQ(WaitForAnySocketObject(2, nullptr, 0), WAIT_FAILED);
  CloseHandle(plain);
  CloseHandle(socket);
}

}  // namespace
