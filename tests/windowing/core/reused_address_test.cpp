#include <gtest/gtest.h>

#include <cstddef>
#include <functional>
#include <new>
#include <thread>
#include <vector>

#include "support/WindowTest.h"
#include "windowing/Win32.h"
#include "windowing/core/WindowInterfaces.h"
#include "windowing/core/WindowObject.h"
#include "windowing/core/detail/TestHooks.h"

using testsupport::MessageLog;

namespace {

alignas(std::max_align_t) unsigned char gSlot[4096];
bool gSlotTaken = false;

// A window that always lands in the same storage, so the next one made after it is
// freed has its address. It can run a step after its own clean-up, just before the
// storage is given back: the moment a worker thread may still be posting to it.
class SameAddressWindow : public Swell_vCorvaneBrisko_hwnd {
 public:
  static void* operator new(std::size_t size) {
    if (size > sizeof(gSlot) || gSlotTaken) throw std::bad_alloc();
    gSlotTaken = true;
    return gSlot;
  }
  static void operator delete(void*) { gSlotTaken = false; }

  std::function<void(HWND)> lastMoments;

 protected:
  void dealloc() override {
    Swell_vCorvaneBrisko_hwnd::dealloc();
    if (lastMoments) lastMoments(swell::handleFromObject(this));
  }
};

std::vector<HWND> gCallbackWindows;
void recordCallback(HWND hwnd, UINT, UINT_PTR, DWORD) {
  gCallbackWindows.push_back(hwnd);
}

class ReusedAddressTest : public testsupport::WindowTest {
 protected:
  void SetUp() override { gCallbackWindows.clear(); }

  static SameAddressWindow* make() {
    auto* w = new SameAddressWindow;
    w->initChild(nullptr, nullptr, MessageLog::windowProc, 0);
    return w;
  }
};

TEST_F(ReusedAddressTest, PostsAndTimerRequestsMadeAsAWindowIsFreedSkipTheNextWindowThere) {
  SameAddressWindow* first = make();
  HWND address = swell::handleFromObject(first);
  BOOL posted = 0;
  UINT_PTR timer = 0;
  first->lastMoments = [&](HWND hwnd) {
    std::thread worker([&, hwnd] {
      posted = PostMessage(hwnd, WM_USER, 1, 0);
      timer = SetTimer(hwnd, 7, 10, nullptr);
    });
    worker.join();
  };
  first->release();
  // The window was still live when the worker asked.
  EXPECT_EQ(posted, 1);
  EXPECT_EQ(timer, 7u);
  SameAddressWindow* second = make();
  ASSERT_EQ(swell::handleFromObject(second), address);
  h.advance(200);
  EXPECT_EQ(log.count(WM_USER), 0);
  EXPECT_EQ(log.count(WM_TIMER), 0);
  EXPECT_EQ(swell::timerCount(), 0);
  // The new window gets what is meant for it.
  PostMessage(address, WM_USER, 2, 0);
  h.flushPostedMessages();
  EXPECT_TRUE(testsupport::messagesMatch(log.messages(), {{WM_USER, 2, 0}}, {WM_USER}));
  second->release();
}

TEST_F(ReusedAddressTest, TimersThatOutliveTheirWindowStopInsteadOfFiringIntoTheNextOne) {
  SameAddressWindow* first = make();
  HWND address = swell::handleFromObject(first);
  first->lastMoments = [](HWND hwnd) {
    SetTimer(hwnd, 3, 10, nullptr);
    SetTimer(hwnd, 4, 10, recordCallback);
  };
  first->release();
  ASSERT_EQ(swell::timerCount(), 2);
  SameAddressWindow* second = make();
  ASSERT_EQ(swell::handleFromObject(second), address);
  h.advance(50);
  EXPECT_EQ(log.count(WM_TIMER), 0);
  EXPECT_TRUE(gCallbackWindows.empty());
  EXPECT_EQ(swell::timerCount(), 0);
  // The same ids on the new window are its own timers.
  SetTimer(address, 3, 10, nullptr);
  SetTimer(address, 4, 10, recordCallback);
  h.advance(10);
  EXPECT_EQ(log.count(WM_TIMER, address), 1);
  EXPECT_EQ(gCallbackWindows, std::vector<HWND>{address});
  second->release();
  EXPECT_EQ(swell::timerCount(), 0);
}

TEST_F(ReusedAddressTest, WorkersGetAFailureForAWindowThatIsGone) {
  SameAddressWindow* w = make();
  HWND gone = swell::handleFromObject(w);
  w->release();
  UINT_PTR timer = 1;
  BOOL killed = 1;
  std::thread worker([&] {
    timer = SetTimer(gone, 7, 10, nullptr);
    killed = KillTimer(gone, 7);
  });
  worker.join();
  EXPECT_EQ(timer, 0u);
  EXPECT_EQ(killed, 0);
  EXPECT_EQ(swell::queuedMessageCount(), 0);
}

}  // namespace
