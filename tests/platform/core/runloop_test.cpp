#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <cmath>
#include <limits>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "platform/core/Application.h"
#include "platform/core/RunLoop.h"
#include "platform/core/Timer.h"
#include "platform/system/MainThread.h"
#include "support/PlatformHarness.h"

using namespace platform;

namespace {

class RunLoopTest : public ::testing::Test {
 protected:
  testsupport::PlatformHarness h;
  NSRunLoop& loop = NSRunLoop::mainRunLoop();
  std::vector<Ref<NSTimer>> timers;
  // Timers of the process that outlive the tests run before in the same process.
  const std::size_t timersBefore = loop.timerCount();

  NSTimer* add(double seconds, bool repeats, NSRunLoopMode modes,
               std::function<void(NSTimer*)> cb) {
    Ref<NSTimer> t = NSTimer::timerWithTimeInterval(seconds, repeats, std::move(cb));
    loop.addTimer(t.get(), modes);
    timers.push_back(t);
    return t.get();
  }
  ~RunLoopTest() override {
    for (auto& t : timers)
      t->invalidate();
    loop.fireDueTimers(NSRunLoopCommonModes);
  }
};

TEST_F(RunLoopTest, AdvanceFiresDueTimersInDeadlineOrderAtTheirOwnTimes) {
  std::vector<std::pair<std::string, double>> fired;
  add(0.030, false, NSDefaultRunLoopMode, [&](NSTimer*) { fired.push_back({"c", h.now()}); });
  add(0.010, true, NSDefaultRunLoopMode, [&](NSTimer*) { fired.push_back({"r", h.now()}); });
  double start = h.now();
  h.advance(35);
  // Equal deadlines fire in the order the timers were added.
  std::vector<std::pair<std::string, double>> expected{
      {"r", start + 10}, {"r", start + 20}, {"c", start + 30}, {"r", start + 30}};
  EXPECT_EQ(fired, expected);
  EXPECT_EQ(h.now(), start + 35);
}

TEST_F(RunLoopTest, TimersFireOnlyInTheirModes) {
  int defaultOnly = 0, common = 0;
  add(0.005, true, NSDefaultRunLoopMode, [&](NSTimer*) { ++defaultOnly; });
  add(0.005, true, NSRunLoopCommonModes, [&](NSTimer*) { ++common; });
  {
    NSRunLoop::ModeScope modal(loop, NSModalPanelRunLoopMode);
    h.advance(20);
  }
  EXPECT_EQ(defaultOnly, 0);
  EXPECT_EQ(common, 4);
  h.advance(5);
  // The default-mode timer missed four dates while the modal mode ran: it catches up
  // with one firing, then keeps its rhythm (the next date, 25, is on time).
  EXPECT_EQ(defaultOnly, 2);
  EXPECT_EQ(common, 5);
}

TEST_F(RunLoopTest, ZeroAndNonsenseIntervalsAreRaisedSoTheLoopCannotSpinOrStall) {
  int count = 0, nan = 0;
  // Added first, a timer without a usable date would hide every later timer's date.
  add(std::nan(""), true, NSDefaultRunLoopMode, [&](NSTimer*) { ++nan; });
  add(0, true, NSDefaultRunLoopMode, [&](NSTimer*) { ++count; });
  add(-5, true, NSDefaultRunLoopMode, [&](NSTimer*) {});
  EXPECT_EQ(loop.nextTimerDate(NSDefaultRunLoopMode), h.now() + 0.1);
  h.advance(1.05);
  EXPECT_EQ(count, 10);
  EXPECT_EQ(nan, 10);
}

TEST_F(RunLoopTest, InvalidateFromACallbackAndFromAnotherThread) {
  int selfStopping = 0, other = 0;
  add(0.001, true, NSDefaultRunLoopMode, [&](NSTimer* t) {
    if (++selfStopping == 3) t->invalidate();
  });
  NSTimer* victim = add(0.001, true, NSDefaultRunLoopMode, [&](NSTimer*) { ++other; });
  h.advance(2);
  std::thread([victim] { victim->invalidate(); }).join();
  h.advance(10);
  EXPECT_EQ(selfStopping, 3);
  EXPECT_EQ(other, 2);
  EXPECT_EQ(loop.timerCount(), timersBefore);
}

TEST_F(RunLoopTest, TimersAddedFromOtherThreadsFireOnTheMainThread) {
  std::atomic<int> fired{0};
  std::thread::id firedOn;
  std::vector<std::thread> threads;
  for (int i = 0; i < 4; ++i)
    threads.emplace_back([&] {
      Ref<NSTimer> t = NSTimer::timerWithTimeInterval(0.002, false, [&](NSTimer*) {
        firedOn = std::this_thread::get_id();
        ++fired;
      });
      loop.addTimer(t.get(), NSDefaultRunLoopMode);
    });
  for (auto& t : threads)
    t.join();
  h.advance(5);
  EXPECT_EQ(fired.load(), 4);
  EXPECT_EQ(firedOn, std::this_thread::get_id());
}

TEST_F(RunLoopTest, ATimerDoesNotFireAgainInsideItsOwnCallback) {
  int depth = 0, maxDepth = 0, count = 0;
  add(0.001, true, NSDefaultRunLoopMode, [&](NSTimer*) {
    ++count;
    maxDepth = std::max(maxDepth, ++depth);
    if (count == 1) loop.runMode(NSDefaultRunLoopMode, h.now() + 5);  // a nested run
    --depth;
  });
  h.advance(1);
  EXPECT_EQ(maxDepth, 1);
}

TEST_F(RunLoopTest, ATimerAnEarlierCallbackPostponedOrFiredWaitsForItsNewDate) {
  int blinks = 0, ticks = 0;
  NSTimer* caret = nullptr;
  // Due together: the first postpones the second (as typing restarts a caret's blink).
  add(0.010, false, NSDefaultRunLoopMode, [&](NSTimer*) { caret->setFireDateMs(h.now() + 500); });
  caret = add(0.010, true, NSDefaultRunLoopMode, [&](NSTimer*) { ++blinks; });
  // Due together: the first runs the loop nested, which fires the second once already.
  add(0.020, false, NSDefaultRunLoopMode,
      [&](NSTimer*) { loop.runMode(NSDefaultRunLoopMode, h.now()); });
  add(0.020, true, NSDefaultRunLoopMode, [&](NSTimer*) { ++ticks; });
  h.advance(20);
  EXPECT_EQ(blinks, 0);
  EXPECT_EQ(ticks, 1);
  h.advance(495);  // the new date, 510, passed
  EXPECT_EQ(blinks, 1);
}

// A timer added again in another mode fires in both; runUntilDate runs the default mode's
// timers up to the date and no further.
TEST_F(RunLoopTest, ATimerAddedAgainInAnotherModeFiresInBoth) {
  int fired = 0, later = 0;
  NSTimer* t = add(0.010, true, NSDefaultRunLoopMode, [&](NSTimer*) { ++fired; });
  loop.addTimer(t, NSModalPanelRunLoopMode);
  add(0.100, false, NSDefaultRunLoopMode, [&](NSTimer*) { ++later; });
  EXPECT_EQ(loop.timerCount(), timersBefore + 2);
  {
    NSRunLoop::ModeScope modal(loop, NSModalPanelRunLoopMode);
    h.advance(20);
  }
  EXPECT_EQ(fired, 2);
  loop.runUntilDate(h.now() + 30);
  EXPECT_EQ(fired, 5);
  EXPECT_EQ(later, 0);
  // Added with no mode, or after it was invalidated, a timer is not taken.
  Ref<NSTimer> none = NSTimer::timerWithTimeInterval(0.001, false, [&](NSTimer*) { ++later; });
  loop.addTimer(none.get(), 0);
  Ref<NSTimer> dead = NSTimer::timerWithTimeInterval(0.001, false, [&](NSTimer*) { ++later; });
  dead->invalidate();
  loop.addTimer(dead.get(), NSRunLoopCommonModes);
  loop.addTimer(nullptr, NSRunLoopCommonModes);
  h.advance(10);
  EXPECT_EQ(later, 0);
}

// A fire date that is no number is refused: the timer keeps its date, and the dates of the
// other timers stay in sight of the loop.
TEST_F(RunLoopTest, AFireDateThatIsNoNumberIsRefused) {
  int first = 0, second = 0;
  NSTimer* t = add(0.050, false, NSDefaultRunLoopMode, [&](NSTimer*) { ++first; });
  add(0.010, false, NSDefaultRunLoopMode, [&](NSTimer*) { ++second; });
  const double date = t->fireDateMs();
  t->setFireDateMs(std::nan(""));
  EXPECT_EQ(t->fireDateMs(), date);
  EXPECT_EQ(loop.nextTimerDate(NSDefaultRunLoopMode), h.now() + 10);
  h.advance(50);
  EXPECT_EQ(first, 1);
  EXPECT_EQ(second, 1);
}

TEST_F(RunLoopTest, WaitsUntilADateThatIsNoNumberEndAtOnce) {
  double start = h.now();
  EXPECT_FALSE(NSApp()->nextEvent(NSEventMaskAny, std::nan(""), NSDefaultRunLoopMode, true));
  loop.runMode(NSDefaultRunLoopMode, std::nan(""));
  EXPECT_EQ(h.now(), start);
}

TEST_F(RunLoopTest, TimersAddedAndInvalidatedByWorkersWhileTheLoopFires) {
  std::atomic<int> fired{0};
  std::mutex madeMutex;
  std::vector<Ref<NSTimer>> made;
  std::vector<std::thread> workers;
  for (int w = 0; w < 3; ++w)
    workers.emplace_back([&] {
      for (int i = 0; i < 300; ++i) {
        Ref<NSTimer> t =
            NSTimer::timerWithTimeInterval(0.001, i % 2 == 0, [&](NSTimer*) { ++fired; });
        loop.addTimer(t.get(), NSRunLoopCommonModes);
        if (i % 3 == 0) t->invalidate();
        std::lock_guard<std::mutex> lock(madeMutex);
        made.push_back(t);
      }
    });
  for (int i = 0; i < 100; ++i)
    h.advance(1);
  for (auto& w : workers)
    w.join();
  h.advance(2);
  EXPECT_GT(fired.load(), 0);
  for (auto& t : made)
    t->invalidate();
  h.advance(2);
  EXPECT_EQ(loop.timerCount(), timersBefore);
}

TEST(MainThread, WorkersAskWhileTheMainThreadIsRecorded) {
  std::atomic<bool> stop{false};
  std::atomic<int> mainAnswers{0};
  std::thread worker([&] {
    while (!stop)
      mainAnswers += isMainThread() ? 1 : 0;
  });
  for (int i = 0; i < 1000; ++i)
    setMainThread(std::this_thread::get_id());
  stop = true;
  worker.join();
  EXPECT_EQ(mainAnswers.load(), 0);
  EXPECT_TRUE(isMainThread());
}

TEST(RunLoopRealTime, DatesBeyondAnyWaitOrNoNumberAreSafe) {
  NSRunLoop& loop = NSRunLoop::mainRunLoop();
  constexpr NSRunLoopMode kQuietMode = 1u << 8;
  // Not a number: no wait at all.
  EXPECT_FALSE(loop.waitUntil(std::nan(""), kQuietMode));
  // Finite but far beyond what a wait can say: a wait without end, which a wake-up ends.
  std::thread waker([&] {
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
    loop.wakeUp();
  });
  EXPECT_TRUE(loop.waitUntil(std::numeric_limits<double>::max(), kQuietMode));
  waker.join();
}

TEST(RunLoopRealTime, WakeUpEndsAWaitEarly) {
  NSRunLoop& loop = NSRunLoop::mainRunLoop();
  std::thread waker([&] {
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
    loop.wakeUp();
  });
  double start = nowMs();
  // A mode of its own, so no timer left by another test shortens the wait.
  constexpr NSRunLoopMode kQuietMode = 1u << 8;
  bool woken = loop.waitUntil(start + 5000, kQuietMode);
  waker.join();
  EXPECT_TRUE(woken);
  EXPECT_LT(nowMs() - start, 4000);
}

}  // namespace
