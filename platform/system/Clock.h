#pragma once

#include <atomic>

namespace platform {

// The one clock of the process. Run-loop timers, GetTickCount and control
// animations all read it, so a test that installs a manual clock controls every
// notion of "now" at once. Times are milliseconds from an arbitrary origin.
class Clock {
 public:
  virtual ~Clock() = default;
  virtual double nowMs() const = 0;
  // True for a clock that moves only when told to; waits then step time instead of
  // blocking (see NSRunLoop).
  virtual bool isManual() const { return false; }
};

// The monotonic clock that programs run on.
class SteadyClock final : public Clock {
 public:
  double nowMs() const override;
};

// A clock that only moves when told to; tests install one with setClock().
class ManualClock : public Clock {
 public:
  explicit ManualClock(double startMs = 0.0) : mNowMs(startMs) {}
  double nowMs() const override { return mNowMs.load(); }
  bool isManual() const override { return true; }
  void set(double ms) { mNowMs.store(ms); }
  virtual void advance(double ms) { mNowMs.store(mNowMs.load() + ms); }

 private:
  std::atomic<double> mNowMs;
};

// The current clock; the steady clock unless a test installed another.
Clock& clock();
double nowMs();

// Installs a clock (not owned); nullptr restores the steady clock.
void setClock(Clock* clock);

}  // namespace platform
