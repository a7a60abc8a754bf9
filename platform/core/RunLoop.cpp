#include "platform/core/RunLoop.h"

#include <algorithm>
#include <chrono>
#include <cmath>
#include <utility>

#include <poll.h>
#include <sys/eventfd.h>
#include <unistd.h>

#include <cerrno>
#include <cstdint>

#include "base/Log.h"
#include "platform/display/DisplayBackend.h"
#include "platform/system/Clock.h"

namespace platform {

namespace {

// The longest single sleep of a wait: a later date is waited for in sleeps of this
// length, so a far date never overflows the system's timeout.
constexpr double kLongestPollMs = 24 * 60 * 60 * 1000.0;

}  // namespace

NSRunLoop& NSRunLoop::mainRunLoop() {
  // Never destroyed: timers may still be invalidated from static destructors.
  static NSRunLoop* loop = new NSRunLoop;
  return *loop;
}

void NSRunLoop::addTimer(NSTimer* timer, NSRunLoopMode modes) {
  if (!timer || !timer->isValid() || modes == 0) return;
  {
    std::lock_guard<std::mutex> lock(mMutex);
    for (Entry& e : mTimers) {
      if (e.timer.get() == timer) {
        e.modes |= modes;
        return;
      }
    }
    mTimers.push_back({Ref<NSTimer>(timer), modes, mNextOrder++});
  }
  wakeUp();
}

NSRunLoop::NSRunLoop() : mWakeFd(eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK)) {
  if (mWakeFd < 0) base::warn("platform", "run loop: no wake-up descriptor (errno %d)", errno);
}

void NSRunLoop::wakeUp() {
  {
    std::lock_guard<std::mutex> lock(mMutex);
    mWoken = true;
  }
  if (mWakeFd >= 0) {
    std::uint64_t one = 1;
    // A full counter still wakes the poll, so a failed write loses nothing.
    [[maybe_unused]] ssize_t n = write(mWakeFd, &one, sizeof one);
  }
}

void NSRunLoop::drainWakeDescriptor() {
  std::uint64_t count;
  while (mWakeFd >= 0 && read(mWakeFd, &count, sizeof count) > 0) {
  }
}

bool NSRunLoop::takeWoken() {
  std::lock_guard<std::mutex> lock(mMutex);
  return std::exchange(mWoken, false);
}

NSRunLoopMode NSRunLoop::currentMode() const {
  return mModes.empty() ? 0 : mModes.back();
}

NSRunLoop::ModeScope::ModeScope(NSRunLoop& loop, NSRunLoopMode mode) : mLoop(loop) {
  mLoop.mModes.push_back(mode);
}

NSRunLoop::ModeScope::~ModeScope() {
  mLoop.mModes.pop_back();
}

void NSRunLoop::removeInvalidLocked() {
  // Released outside the lock by the caller's copies; here only unlinked.
  mTimers.erase(std::remove_if(mTimers.begin(), mTimers.end(),
                               [](const Entry& e) { return !e.timer->isValid(); }),
                mTimers.end());
}

int NSRunLoop::fireDueTimers(NSRunLoopMode mode) {
  double now = nowMs();
  std::vector<Entry> due;
  std::vector<Entry> dropped;
  {
    std::lock_guard<std::mutex> lock(mMutex);
    for (const Entry& e : mTimers) {
      if (!e.timer->isValid()) {
        dropped.push_back(e);
      } else if ((e.modes & mode) && !e.timer->mFiring && e.timer->fireDateMs() <= now) {
        due.push_back(e);
      }
    }
    removeInvalidLocked();
  }
  std::sort(due.begin(), due.end(), [](const Entry& a, const Entry& b) {
    double fa = a.timer->fireDateMs(), fb = b.timer->fireDateMs();
    return fa != fb ? fa < fb : a.order < b.order;
  });
  int fired = 0;
  for (Entry& e : due) {
    NSTimer* t = e.timer.get();
    if (!t->isValid() || t->mFiring) continue;
    // An earlier callback may have moved this timer's date on, or fired it in a nested
    // run of the loop: it waits for its new date.
    if (!(t->fireDateMs() <= nowMs())) continue;
    double scheduled = t->fireDateMs();
    t->fire();
    ++fired;
    // A repeating timer keeps its rhythm; fire dates missed while the loop was busy
    // are skipped rather than fired in a burst. A callback that moved the fire date
    // keeps its choice.
    if (t->isValid() && t->repeats() && t->fireDateMs() == scheduled) {
      double interval = t->intervalMs();
      double after = nowMs();
      double next = scheduled + interval;
      if (next <= after)
        next = scheduled + interval * (std::floor((after - scheduled) / interval) + 1);
      t->setFireDateMs(next);
    }
  }
  {
    std::lock_guard<std::mutex> lock(mMutex);
    for (const Entry& e : mTimers)
      if (!e.timer->isValid()) dropped.push_back(e);
    removeInvalidLocked();
  }
  return fired;
}

std::optional<double> NSRunLoop::nextTimerDate(NSRunLoopMode mode) {
  std::lock_guard<std::mutex> lock(mMutex);
  std::optional<double> best;
  for (const Entry& e : mTimers) {
    if (!(e.modes & mode) || !e.timer->isValid() || e.timer->mFiring) continue;
    double d = e.timer->fireDateMs();
    if (!best || d < *best) best = d;
  }
  return best;
}

std::size_t NSRunLoop::timerCount() {
  std::lock_guard<std::mutex> lock(mMutex);
  std::size_t n = 0;
  for (const Entry& e : mTimers)
    if (e.timer->isValid()) ++n;
  return n;
}

bool NSRunLoop::waitUntil(double untilMs, NSRunLoopMode mode) {
  // A date that is no number is no reason to wait.
  if (std::isnan(untilMs)) return false;
  double deadline = untilMs;
  if (auto next = nextTimerDate(mode)) deadline = std::min(deadline, *next);
  Clock& c = clock();
  if (c.isManual()) {
    {
      std::lock_guard<std::mutex> lock(mMutex);
      if (mWoken) {
        mWoken = false;
        return true;
      }
    }
    auto* manual = dynamic_cast<ManualClock*>(&c);
    double now = c.nowMs();
    double target = std::isinf(deadline) ? now + kVirtualIdleStepMs : deadline;
    if (manual && target > now) manual->set(target);
    return false;
  }
  DisplayBackend& display = displayBackend();
  for (;;) {
    if (takeWoken()) {
      drainWakeDescriptor();
      return true;
    }
    // Events the display already read would not make its descriptor readable again.
    display.processEvents();
    if (takeWoken()) {
      drainWakeDescriptor();
      return true;
    }
    double now = c.nowMs();
    if (now >= deadline) return false;
    pollfd fds[2] = {{mWakeFd, POLLIN, 0}, {display.eventDescriptor(), POLLIN, 0}};
    nfds_t count = fds[1].fd >= 0 ? 2 : 1;
    timespec timeout{};
    timespec* limit = nullptr;
    if (!std::isinf(deadline)) {
      double ms = std::ceil(std::min(deadline - now, kLongestPollMs) * 1000.0) / 1000.0;
      timeout.tv_sec = static_cast<time_t>(ms / 1000.0);
      timeout.tv_nsec = static_cast<long>((ms - timeout.tv_sec * 1000.0) * 1e6);
      limit = &timeout;
    }
    if (mWakeFd < 0 && count == 1) {
      // Without a wake-up descriptor the loop can only sleep until the deadline.
      fds[0].fd = -1;
    }
    int ready = ppoll(fds, count, limit, nullptr);
    if (ready < 0 && errno != EINTR) {
      base::warn("platform", "run loop: poll failed (errno %d)", errno);
      return false;
    }
    if (ready > 0 && (fds[0].revents & POLLIN)) drainWakeDescriptor();
  }
}

bool NSRunLoop::runMode(NSRunLoopMode mode, double untilMs) {
  ModeScope scope(*this, mode);
  fireDueTimers(mode);
  bool hasTimers = nextTimerDate(mode).has_value();
  if (!(nowMs() < untilMs)) return hasTimers;
  waitUntil(untilMs, mode);
  fireDueTimers(mode);
  return true;
}

void NSRunLoop::runUntilDate(double untilMs) {
  while (nowMs() < untilMs)
    runMode(NSDefaultRunLoopMode, untilMs);
  fireDueTimers(NSDefaultRunLoopMode);
}

}  // namespace platform
