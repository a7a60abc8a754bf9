#pragma once

#include <atomic>
#include <functional>

#include "platform/objects/Object.h"

namespace platform {

class NSRunLoop;

// A run-loop timer on the one clock. It fires on the thread of the run loop it was added
// to; invalidate() is safe from any thread (the loop drops the timer on its own thread).
class NSTimer : public NSObject {
 public:
  using Callback = std::function<void(NSTimer*)>;

  // A timer not yet added to a run loop; the caller owns the returned reference.
  static Ref<NSTimer> timerWithTimeInterval(double seconds, bool repeats, Callback callback,
                                            NSObject* userInfo = nullptr);
  // A timer added to the main run loop in the default mode; the loop holds it.
  static NSTimer* scheduledTimerWithTimeInterval(double seconds, bool repeats, Callback callback,
                                                 NSObject* userInfo = nullptr);

  void invalidate();
  bool isValid() const { return mValid.load(std::memory_order_acquire); }
  // Calls the callback now; a non-repeating timer is then invalidated.
  void fire();

  double timeInterval() const { return mIntervalMs / 1000.0; }
  double intervalMs() const { return mIntervalMs; }
  bool repeats() const { return mRepeats; }
  double fireDateMs() const { return mFireDateMs.load(std::memory_order_relaxed); }
  // A date that is no number is refused: the timer keeps its date.
  void setFireDateMs(double ms);
  NSObject* userInfo() const { return mUserInfo; }

 protected:
  void dealloc() override;

 private:
  friend class NSRunLoop;
  NSTimer(double seconds, bool repeats, Callback callback, NSObject* userInfo);

  // Shorter intervals (and NaN) are raised to this, as the platform does, so a repeating
  // timer can never spin the loop.
  static constexpr double kMinIntervalMs = 0.1;

  double mIntervalMs;
  bool mRepeats;
  Callback mCallback;
  NSObject* mUserInfo;
  std::atomic<double> mFireDateMs;
  std::atomic<bool> mValid{true};
  bool mFiring = false;
};

}  // namespace platform
