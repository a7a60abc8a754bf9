#include "windowing/core/Timers.h"

#include <algorithm>
#include <atomic>
#include <cstdint>
#include <list>
#include <mutex>

#include "platform/core/RunLoop.h"
#include "platform/core/View.h"
#include "platform/core/Window.h"
#include "platform/system/MainThread.h"
#include "windowing/core/MessageQueue.h"
#include "windowing/core/TimerTargets.h"
#include "windowing/core/WindowInterfaces.h"
#include "windowing/core/detail/TestHooks.h"
#include "windowing/kernel/Kernel.h"

using platform::NSTimer;
using platform::Ref;

namespace {

// One timer: the id, the handle it was set with, the window object that receives
// WM_TIMER (the content view for a top-level window) with its registry serial, and the
// run-loop timer.
struct TimerRec {
  UINT_PTR id = 0;
  HWND hwnd = nullptr;
  HWND target = nullptr;
  std::uint64_t targetSerial = 0;
  Ref<NSTimer> timer;
};

std::recursive_mutex& timerMutex() {
  static std::recursive_mutex* m = new std::recursive_mutex;
  return *m;
}
// Newest first.
std::list<TimerRec>& timerList() {
  static std::list<TimerRec>* list = new std::list<TimerRec>;
  return *list;
}
std::atomic<HWND> gRestriction{nullptr};
// Window-less callback timers get ids of their own, never 0.
std::atomic<UINT_PTR> gNextCallbackId{0x10000};

// Stops a timer whose window is gone and forgets its record. Timers die with their
// window; one that outlived it must not fire into a newer window at the same address.
void dropOrphanedTimer(NSTimer* timer) {
  Ref<NSTimer> keep(timer);
  {
    std::lock_guard<std::recursive_mutex> lock(timerMutex());
    timerList().remove_if([timer](const TimerRec& r) { return r.timer.get() == timer; });
  }
  timer->invalidate();
}

// The window object that receives a window's timers, or null.
HWND timerTarget(HWND hwnd) {
  platform::NSObject* object = swell::objectFromHandle(hwnd);
  if (dynamic_cast<SwellWindowObject*>(object)) return hwnd;
  if (auto* window = dynamic_cast<platform::NSWindow*>(object))
    if (dynamic_cast<SwellWindowObject*>(window->contentView()))
      return swell::handleFromObject(window->contentView());
  return nullptr;
}

}  // namespace

Swell_vCorvaneBrisko_tft* Swell_vCorvaneBrisko_tft::initWithId(UINT_PTR id, HWND hwnd,
                                                               TIMERPROC callback) {
  m_timerid = id;
  m_hwnd = hwnd;
  m_hwndSerial = hwnd ? platform::liveObjectSerial(hwnd) : 0;
  m_cb = callback;
  return this;
}

bool Swell_vCorvaneBrisko_tft::hasLostItsWindow() const {
  return m_hwnd && platform::liveObjectSerial(m_hwnd) != m_hwndSerial;
}

void Swell_vCorvaneBrisko_tft::SWELL_Timer() {
  if (hasLostItsWindow() || !swell::timerDeliveryAllowed(m_hwnd) || !m_cb) return;
  m_cb(m_hwnd, WM_TIMER, m_timerid, GetTickCount());
}

namespace swell {

HWND timerRestriction() {
  return gRestriction.load();
}

void setTimerRestriction(HWND hwnd) {
  gRestriction.store(hwnd);
}

bool timerDeliveryAllowed(HWND hwnd) {
  HWND restriction = gRestriction.load();
  if (!restriction) return true;
  if (!hwnd) return false;
  // A window and its content view are the same window here.
  return hwnd == restriction || viewForHandle(hwnd) == viewForHandle(restriction);
}

int timerCount() {
  std::lock_guard<std::recursive_mutex> lock(timerMutex());
  return static_cast<int>(timerList().size());
}

void killAllTimersForTesting() {
  std::list<TimerRec> stopped;
  {
    std::lock_guard<std::recursive_mutex> lock(timerMutex());
    stopped.swap(timerList());
  }
  for (auto& r : stopped)
    r.timer->invalidate();
}

}  // namespace swell

UINT_PTR SetTimer(HWND hwnd, UINT_PTR id, UINT ms, TIMERPROC callback) {
  double interval = (ms ? ms : 1) * 0.001;
  if (!hwnd && !callback) return 0;
  if (hwnd && !id) return 0;
  if (!platform::isMainThread() && swell::messageQueueExists()) {
    // Id -1 means "all timers" to KillTimer: never a timer of its own. A callback
    // timer without a window cannot travel through the queue (requests are keyed by
    // window), so it is refused rather than reported made.
    if (id == static_cast<UINT_PTR>(-1) || !hwnd) return 0;
    return SWELL_DeferTimer(hwnd, id, std::min<UINT>(ms, 0xFFFFFFFE), callback) ? id : 0;
  }
  HWND target = nullptr;
  if (hwnd) {
    target = timerTarget(hwnd);
    if (!target) return 0;
  }

  std::lock_guard<std::recursive_mutex> lock(timerMutex());
  auto& list = timerList();
  auto rec = list.end();
  if (target) {
    rec = std::find_if(list.begin(), list.end(),
                       [&](const TimerRec& r) { return r.id == id && r.target == target; });
  } else if (id) {
    rec = std::find_if(list.begin(), list.end(),
                       [&](const TimerRec& r) { return !r.target && r.id == id; });
  }
  if (rec != list.end()) {
    rec->timer->invalidate();
  } else {
    list.push_front({});
    rec = list.begin();
    if (!target) id = gNextCallbackId.fetch_add(1);
  }
  rec->id = id;
  rec->hwnd = hwnd;
  rec->target = target;
  rec->targetSerial = target ? platform::liveObjectSerial(target) : 0;

  if (!callback) {
    Ref<Swell_vCorvaneBrisko_sdh> holder =
        Ref<Swell_vCorvaneBrisko_sdh>::adopt(new Swell_vCorvaneBrisko_sdh);
    holder->initWithVal(static_cast<INT_PTR>(id));
    rec->timer = NSTimer::timerWithTimeInterval(
        interval, true,
        [target, serial = rec->targetSerial](NSTimer* t) {
          // The window is looked up afresh: it may be gone by the time the timer fires,
          // and another window may have been made at its address since.
          if (platform::liveObjectSerial(target) != serial) {
            dropOrphanedTimer(t);
            return;
          }
          platform::NSObject* object = swell::objectFromHandle(target);
          auto* window = dynamic_cast<SwellWindowObject*>(object);
          if (!window) return;
          Ref<platform::NSObject> keep(object);
          auto* value = static_cast<Swell_vCorvaneBrisko_sdh*>(t->userInfo());
          window->SWELL_Timer(static_cast<UINT_PTR>(value->getValue()));
        },
        holder.get());
  } else {
    Ref<Swell_vCorvaneBrisko_tft> tft =
        Ref<Swell_vCorvaneBrisko_tft>::adopt(new Swell_vCorvaneBrisko_tft);
    tft->initWithId(id, target ? target : hwnd, callback);
    rec->timer = NSTimer::timerWithTimeInterval(
        interval, true,
        [](NSTimer* t) {
          auto* callbackTarget = static_cast<Swell_vCorvaneBrisko_tft*>(t->userInfo());
          if (callbackTarget->hasLostItsWindow())
            dropOrphanedTimer(t);
          else
            callbackTarget->SWELL_Timer();
        },
        tft.get());
  }
  // Common modes: timers keep firing in modal loops and while tracking.
  platform::NSRunLoop::mainRunLoop().addTimer(rec->timer.get(), platform::NSRunLoopCommonModes);
  return id;
}

BOOL KillTimer(HWND hwnd, UINT_PTR id) {
  bool all = id == static_cast<UINT_PTR>(-1);
  if (!hwnd && (!id || all)) return 0;
  std::lock_guard<std::recursive_mutex> lock(timerMutex());
  if (!platform::isMainThread() && swell::messageQueueExists()) {
    // Every kill from another thread, "all timers" included, runs on the main thread.
    return SWELL_DeferTimer(hwnd, id, swell::kKillTimerRequest, nullptr);
  }
  // The handle matches as given, and a top-level window also matches the timers of its
  // content view (SetTimer accepted it for them).
  HWND view = hwnd ? swell::handleFromObject(swell::viewForHandle(hwnd)) : nullptr;
  auto matches = [&](const TimerRec& r) {
    bool sameWindow =
        hwnd ? (r.hwnd == hwnd || r.target == hwnd || (view && r.target == view)) : !r.target;
    return sameWindow && (all || r.id == id);
  };
  std::list<Ref<NSTimer>> stopped;
  auto& list = timerList();
  for (auto it = list.begin(); it != list.end();) {
    if (matches(*it)) {
      it->timer->invalidate();
      stopped.push_back(it->timer);
      it = list.erase(it);
      if (!all) break;
    } else {
      ++it;
    }
  }
  return stopped.empty() ? 0 : 1;
}
