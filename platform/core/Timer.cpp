#include "platform/core/Timer.h"

#include <cmath>

#include "base/Log.h"
#include "platform/core/RunLoop.h"
#include "platform/system/Clock.h"

namespace platform {

NSTimer::NSTimer(double seconds, bool repeats, Callback callback, NSObject* userInfo)
    // Written so that NaN takes the minimum too: a timer without a comparable date would
    // hide the dates of every other timer from the loop.
    : mIntervalMs(seconds * 1000.0 >= kMinIntervalMs ? seconds * 1000.0 : kMinIntervalMs),
      mRepeats(repeats),
      mCallback(std::move(callback)),
      mUserInfo(userInfo),
      mFireDateMs(nowMs() + mIntervalMs) {
  if (mUserInfo) mUserInfo->retain();
}

Ref<NSTimer> NSTimer::timerWithTimeInterval(double seconds, bool repeats, Callback callback,
                                            NSObject* userInfo) {
  return Ref<NSTimer>::adopt(new NSTimer(seconds, repeats, std::move(callback), userInfo));
}

NSTimer* NSTimer::scheduledTimerWithTimeInterval(double seconds, bool repeats, Callback callback,
                                                 NSObject* userInfo) {
  Ref<NSTimer> timer = timerWithTimeInterval(seconds, repeats, std::move(callback), userInfo);
  NSRunLoop::mainRunLoop().addTimer(timer.get(), NSDefaultRunLoopMode);
  return timer.get();
}

void NSTimer::setFireDateMs(double ms) {
  // It would hide the dates of the other timers from the loop, and never come.
  if (std::isnan(ms)) {
    base::warn("platform", "NSTimer: a fire date that is no number refused");
    return;
  }
  mFireDateMs.store(ms, std::memory_order_relaxed);
}

void NSTimer::invalidate() {
  if (mValid.exchange(false, std::memory_order_acq_rel)) {
    // Let a waiting loop drop it promptly.
    NSRunLoop::mainRunLoop().wakeUp();
  }
}

void NSTimer::fire() {
  if (!isValid() || mFiring) return;
  Ref<NSTimer> keep(this);
  mFiring = true;
  if (mCallback) mCallback(this);
  mFiring = false;
  if (!mRepeats) invalidate();
}

void NSTimer::dealloc() {
  if (mUserInfo) mUserInfo->release();
  mUserInfo = nullptr;
  mCallback = nullptr;
  NSObject::dealloc();
}

}  // namespace platform
