#pragma once

#include <cstdint>
#include <limits>
#include <mutex>
#include <optional>
#include <vector>

#include "platform/core/Timer.h"
#include "platform/objects/Object.h"

namespace platform {

// Run-loop modes are a bit set: a timer added in several modes fires in any of them.
using NSRunLoopMode = unsigned;
inline constexpr NSRunLoopMode NSDefaultRunLoopMode = 1;
inline constexpr NSRunLoopMode NSModalPanelRunLoopMode = 2;
inline constexpr NSRunLoopMode NSEventTrackingRunLoopMode = 4;
inline constexpr NSRunLoopMode NSRunLoopCommonModes = 7;

// "Never": a date no wait reaches.
inline constexpr double kDistantFutureMs = std::numeric_limits<double>::infinity();

// The main thread's run loop: timers with modes on the one clock, and a wake-up that
// other threads use to end a wait. Under a manual clock a wait steps virtual time to
// its deadline instead of blocking.
class NSRunLoop {
 public:
  static NSRunLoop& mainRunLoop();
  // There is one run loop, the main thread's.
  static NSRunLoop& currentRunLoop() { return mainRunLoop(); }

  // Adds (retains) a timer in the given modes; safe from any thread. Adding a timer
  // that is already in the loop adds the modes.
  void addTimer(NSTimer* timer, NSRunLoopMode modes);
  // Ends the current wait; safe from any thread.
  void wakeUp();

  // The mode the loop is running in, or 0 when it is not running.
  NSRunLoopMode currentMode() const;

  // Runs the loop once in the mode: fires due timers, then waits until the date, a
  // timer or a wake-up. Returns false when the mode has no timers and the date has
  // passed.
  bool runMode(NSRunLoopMode mode, double untilMs);
  // Keeps running in the default mode until the date.
  void runUntilDate(double untilMs);

  // Fires the timers of the mode that are due now, earliest first; returns how many.
  int fireDueTimers(NSRunLoopMode mode);
  // The earliest fire date among the valid timers of the mode.
  std::optional<double> nextTimerDate(NSRunLoopMode mode);
  std::size_t timerCount();

  // Waits until the date (clamped to the next timer of the mode) or a wake-up. Returns
  // true when woken. The wait is one poll on the wake-up descriptor and the display's
  // connection; before sleeping, the display queues every event it already holds
  // (queuing an event wakes the loop). Under a manual clock time is set to the deadline; a wait
  // without a deadline then moves time by kVirtualIdleStepMs so a loop waiting for nothing still
  // makes progress in virtual time.
  bool waitUntil(double untilMs, NSRunLoopMode mode);
  static constexpr double kVirtualIdleStepMs = 100;

  // Pushes a mode for the duration of a nested run; used by the event loop.
  class ModeScope {
   public:
    ModeScope(NSRunLoop& loop, NSRunLoopMode mode);
    ~ModeScope();
    ModeScope(const ModeScope&) = delete;
    ModeScope& operator=(const ModeScope&) = delete;

   private:
    NSRunLoop& mLoop;
  };

 private:
  NSRunLoop();
  // Empties the wake-up descriptor after it turned readable.
  void drainWakeDescriptor();
  bool takeWoken();
  struct Entry {
    Ref<NSTimer> timer;
    NSRunLoopMode modes;
    std::uint64_t order;
  };
  void removeInvalidLocked();

  mutable std::mutex mMutex;
  // Other threads end a wait by writing to this eventfd; the wait polls it beside the
  // display's connection.
  int mWakeFd = -1;
  bool mWoken = false;
  std::vector<Entry> mTimers;
  std::uint64_t mNextOrder = 0;
  std::vector<NSRunLoopMode> mModes;  // main thread only
};

}  // namespace platform
