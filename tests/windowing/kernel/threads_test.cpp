#include <gtest/gtest.h>
#include <pthread.h>

#include <atomic>
#include <chrono>
#include <thread>

#include "windowing/Win32.h"

namespace {

struct Gate {
  HANDLE release = CreateEvent(nullptr, TRUE, FALSE);
  std::atomic<int> runs{0};
  std::atomic<DWORD> threadId{0};
  ~Gate() { CloseHandle(release); }
};

DWORD waitAtGate(void* parameter) {
  auto* gate = static_cast<Gate*>(parameter);
  gate->threadId = GetCurrentThreadId();
  WaitForSingleObject(gate->release, INFINITE);
  ++gate->runs;
  return 7;
}

TEST(KernelThreads, RunsTheStartFunctionAndReportsItsId) {
  Gate gate;
  DWORD id = 0;
  HANDLE thread = CreateThread(nullptr, 0, waitAtGate, &gate, 0, &id);
  ASSERT_NE(thread, nullptr);
  EXPECT_EQ(WaitForSingleObject(thread, 0), WAIT_TIMEOUT);
  EXPECT_EQ(WaitForSingleObject(thread, 20), WAIT_TIMEOUT);
  SetEvent(gate.release);
  EXPECT_EQ(WaitForSingleObject(thread, INFINITE), WAIT_OBJECT_0);
  EXPECT_EQ(gate.runs.load(), 1);
  EXPECT_EQ(gate.threadId.load(), id);
  EXPECT_NE(id, GetCurrentThreadId());
  EXPECT_EQ(CloseHandle(thread), TRUE);
}

TEST(KernelThreads, AFinishedThreadCanBeWaitedOnAgainAndThenClosed) {
  // Each wait joins at most once; the close after them neither joins again
  // nor detaches the joined thread.
  Gate gate;
  SetEvent(gate.release);
  HANDLE thread = CreateThread(nullptr, 0, waitAtGate, &gate, 0, nullptr);
  EXPECT_EQ(WaitForSingleObject(thread, 5000), WAIT_OBJECT_0);
  EXPECT_EQ(WaitForSingleObject(thread, 0), WAIT_OBJECT_0);
  EXPECT_EQ(WaitForSingleObject(thread, INFINITE), WAIT_OBJECT_0);
  EXPECT_EQ(SetThreadPriority(thread, 0), FALSE);  // finished
  EXPECT_EQ(CloseHandle(thread), TRUE);
  EXPECT_EQ(CloseHandle(thread), FALSE);
}

TEST(KernelThreads, ConcurrentWaitsAllSeeTheEnd) {
  Gate gate;
  HANDLE thread = CreateThread(nullptr, 0, waitAtGate, &gate, 0, nullptr);
  std::atomic<int> ended{0};
  std::thread waiters[4];
  for (auto& w : waiters) {
    w = std::thread([&] {
      if (WaitForSingleObject(thread, 5000) == WAIT_OBJECT_0) ++ended;
    });
  }
  Sleep(10);
  SetEvent(gate.release);
  for (auto& w : waiters)
    w.join();
  EXPECT_EQ(ended.load(), 4);
  CloseHandle(thread);
}

TEST(KernelThreads, ClosingBeforeTheEndLetsTheThreadFinishAlone) {
  Gate gate;
  HANDLE thread = CreateThread(nullptr, 0, waitAtGate, &gate, 0, nullptr);
  EXPECT_EQ(CloseHandle(thread), TRUE);
  // The caller's handle is gone even though the thread still runs.
  EXPECT_EQ(CloseHandle(thread), FALSE);
  EXPECT_EQ(WaitForSingleObject(thread, 0), WAIT_FAILED);
  SetEvent(gate.release);
  auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(5);
  while (gate.runs.load() == 0 && std::chrono::steady_clock::now() < deadline)
    Sleep(1);
  EXPECT_EQ(gate.runs.load(), 1);
}

HANDLE gSelf = nullptr;

TEST(KernelThreads, AThreadWaitingForItselfFailsInsteadOfHanging) {
  static HANDLE started;
  started = CreateEvent(nullptr, TRUE, FALSE);
  static std::atomic<DWORD> selfWait{0};
  HANDLE thread = CreateThread(
      nullptr, 0,
      [](void*) -> DWORD {
        WaitForSingleObject(started, INFINITE);
        selfWait = WaitForSingleObject(gSelf, INFINITE);
        return 0;
      },
      nullptr, 0, nullptr);
  gSelf = thread;
  SetEvent(started);
  EXPECT_EQ(WaitForSingleObject(thread, 5000), WAIT_OBJECT_0);
  EXPECT_EQ(selfWait.load(), WAIT_FAILED);
  CloseHandle(thread);
  CloseHandle(started);
}

TEST(KernelThreads, PriorityAndBadArguments) {
  Gate gate;
  HANDLE thread = CreateThread(nullptr, 0, waitAtGate, &gate, 0, nullptr);
  // Under the default policy every priority clamps to the one allowed value.
  EXPECT_EQ(SetThreadPriority(thread, 2), TRUE);
  EXPECT_EQ(SetThreadPriority(thread, -2147483647 - 1), TRUE);
  EXPECT_EQ(SetEvent(thread), FALSE);  // not an event
  EXPECT_EQ(CreateThread(nullptr, 0, nullptr, nullptr, 0, nullptr), nullptr);
  SetEvent(gate.release);
  WaitForSingleObject(thread, INFINITE);
  CloseHandle(thread);
}

TEST(KernelThreads, ManyShortThreadsLeaveNothingBehind) {
  // Alternates closing before and after the end, so both the joining close and
  // the thread dropping the last reference itself are exercised.
  std::atomic<int> count{0};
  for (int i = 0; i < 64; ++i) {
    HANDLE thread = CreateThread(
        nullptr, 0,
        [](void* p) -> DWORD {
          ++*static_cast<std::atomic<int>*>(p);
          return 0;
        },
        &count, 0, nullptr);
    ASSERT_NE(thread, nullptr);
    if (i % 2) WaitForSingleObject(thread, INFINITE);
    CloseHandle(thread);
  }
  auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(5);
  while (count.load() < 64 && std::chrono::steady_clock::now() < deadline)
    Sleep(1);
  EXPECT_EQ(count.load(), 64);
}

}  // namespace
