#include "windowing/core/MessageQueue.h"

#include <atomic>
#include <cstdint>
#include <mutex>
#include <thread>
#include <utility>

#include "platform/core/Application.h"
#include "platform/core/RunLoop.h"
#include "platform/core/Timer.h"
#include "platform/core/View.h"
#include "platform/core/Window.h"
#include "platform/system/MainThread.h"
#include "windowing/core/PostMessageHooks.h"
#include "windowing/core/SendMessage.h"
#include "windowing/core/Timers.h"
#include "windowing/core/WindowInterfaces.h"
#include "windowing/core/detail/TestHooks.h"

namespace {

// A queued message, or a timer request (message = interval, wParam = id, lParam =
// callback; an interval of all ones asks for a kill). The serial is the window's when
// the record was made: a window freed and another made at the same address before the
// flush must not receive what was meant for the first.
struct PostedRecord {
  HWND hwnd = nullptr;
  std::uint64_t serial = 0;
  UINT msg = 0;
  WPARAM wParam = 0;
  LPARAM lParam = 0;
  PostedRecord* next = nullptr;
  bool isTimerRequest = false;
};

// The queue lives from set-up to the end of the program. Spent records are kept on a
// free list and reused, so steady posting allocates nothing.
struct Queue {
  // Never held while a message is delivered or anything outside the queue runs.
  std::mutex mutex;
  PostedRecord* head = nullptr;
  PostedRecord* tail = nullptr;
  // Changed under the mutex and read without it, so a flush of an empty queue (most timer
  // ticks) does not contend with posting threads.
  std::atomic<int> count{0};
  PostedRecord* freeList = nullptr;
  platform::Ref<platform::NSTimer> timer;
};

std::atomic<Queue*> gQueue{nullptr};

thread_local const swell::PostedDelivery* tInDelivery = nullptr;
thread_local std::uint64_t tDeliveries = 0;

SwellPostMessageDelegate* postDelegate() {
  return dynamic_cast<SwellPostMessageDelegate*>(platform::NSApp()->delegate());
}

PostedRecord* takeRecord(Queue* q) {
  if (PostedRecord* r = q->freeList) {
    q->freeList = r->next;
    *r = PostedRecord{};
    return r;
  }
  return new PostedRecord;
}

void adjustCount(Queue* q, int by) {
  q->count.store(q->count.load(std::memory_order_relaxed) + by, std::memory_order_relaxed);
}

void append(Queue* q, PostedRecord* r) {
  r->next = nullptr;
  if (q->tail)
    q->tail->next = r;
  else
    q->head = r;
  q->tail = r;
  adjustCount(q, 1);
}

// Where the last record went, so a run of messages to one window resolves it once: the
// registry lookup and the cross-casts are by far the largest cost of a delivery. The object is
// held while it is remembered, so it cannot be freed and its address cannot pass to another
// object: a record with the same handle and serial is for it, with no lookup. A destroyed
// window is still refused by swellCanPostMessage, and one that only this record holds is let
// go, as it would have been freed. Only a record's own window object is
// remembered (not a top-level window's content view, which can be replaced while the window
// lives).
struct DeliveryTarget {
  HWND hwnd = nullptr;
  std::uint64_t serial = 0;
  platform::Ref<platform::NSObject> receiver;
  SwellWindowObject* window = nullptr;
  SwellMessageEntry* entry = nullptr;
};

// The object that takes the messages of a handle whose serial the registry just confirmed,
// as SendMessage hands them on: the window object itself, or a top-level window's content
// view.
DeliveryTarget resolve(HWND hwnd, std::uint64_t serial) {
  auto* object = reinterpret_cast<platform::NSObject*>(hwnd);
  DeliveryTarget target;
  target.hwnd = hwnd;
  target.serial = serial;
  target.receiver = object;
  if (auto* top = dynamic_cast<platform::NSWindow*>(object)) {
    target.receiver = top->contentView();
    target.hwnd = nullptr;  // not to be remembered
  }
  target.window = dynamic_cast<SwellWindowObject*>(target.receiver.get());
  target.entry = dynamic_cast<SwellMessageEntry*>(target.receiver.get());
  return target;
}

void runTimerRequest(const PostedRecord& r) {
  if (r.msg == swell::kKillTimerRequest)
    KillTimer(r.hwnd, r.wParam);
  else
    SetTimer(r.hwnd, r.wParam, r.msg, reinterpret_cast<TIMERPROC>(r.lParam));
}

void deliver(const PostedRecord& r, DeliveryTarget& last) {
  // Held by nothing but this record of it, the object would have been freed: let it go now,
  // so its messages are dropped as those of any freed window.
  if (last.receiver && last.receiver->retainCount() <= 1) last = DeliveryTarget{};
  const bool known = r.hwnd && r.hwnd == last.hwnd && r.serial == last.serial;
  // The window-less kill request is the one record without a window to check.
  if (!known && r.hwnd && platform::liveObjectSerial(r.hwnd) != r.serial) return;
  if (r.isTimerRequest) {
    runTimerRequest(r);
    return;
  }
  if (!known) last = resolve(r.hwnd, r.serial);
  // `last` holds the receiver through the call, as SendMessage holds its target: the
  // procedure may destroy it.
  if (last.window && last.window->swellCanPostMessage()) {
    const swell::PostedDelivery current{r.msg, r.wParam, r.lParam, ++tDeliveries};
    const swell::PostedDelivery* outer = std::exchange(tInDelivery, &current);
    if (last.entry)
      last.entry->onSwellMessage(r.msg, r.wParam, r.lParam);
    else
      SendMessage(r.hwnd, r.msg, r.wParam, r.lParam);
    tInDelivery = outer;
  }
  if (!last.hwnd) last = DeliveryTarget{};
}

}  // namespace

namespace swell {

int queuedMessageCount() {
  Queue* q = gQueue.load(std::memory_order_acquire);
  if (!q) return 0;
  return q->count.load(std::memory_order_relaxed);
}

const PostedDelivery* postedMessageInDelivery() {
  return tInDelivery;
}

bool messageQueueExists() {
  return gQueue.load(std::memory_order_acquire) != nullptr;
}

}  // namespace swell

void SWELL_Internal_PostMessage_Init() {
  if (gQueue.load(std::memory_order_acquire)) return;
  SwellPostMessageDelegate* delegate = postDelegate();
  if (!delegate) return;
  platform::setMainThread(std::this_thread::get_id());
  auto* q = new Queue;
  q->timer = platform::NSTimer::timerWithTimeInterval(
      swell::kFlushIntervalSeconds, true,
      [delegate](platform::NSTimer*) { delegate->swellPostMessageTick(); });
  platform::NSRunLoop::mainRunLoop().addTimer(q->timer.get(), platform::NSRunLoopCommonModes);
  gQueue.store(q, std::memory_order_release);
}

BOOL SWELL_MessageQueue_Add(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  Queue* q = gQueue.load(std::memory_order_acquire);
  if (!q || !hwnd) return 0;
  // A handle that is not a live object is refused now rather than carried along.
  std::uint64_t serial = platform::liveObjectSerial(hwnd);
  if (!serial) return 0;
  std::lock_guard<std::mutex> lock(q->mutex);
  if (!q->freeList && q->count.load(std::memory_order_relaxed) >= swell::kMaxQueuedMessages)
    return 0;
  PostedRecord* r = takeRecord(q);
  r->hwnd = hwnd;
  r->serial = serial;
  r->msg = msg;
  r->wParam = wParam;
  r->lParam = lParam;
  append(q, r);
  return 1;
}

BOOL PostMessage(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  if (!gQueue.load(std::memory_order_acquire)) {
    SwellPostMessageDelegate* delegate = postDelegate();
    return delegate ? delegate->swellPostMessage(hwnd, msg, wParam, lParam) : 0;
  }
  return SWELL_MessageQueue_Add(hwnd, msg, wParam, lParam);
}

void SWELL_MessageQueue_Flush() {
  Queue* q = gQueue.load(std::memory_order_acquire);
  if (!q || !q->count.load(std::memory_order_relaxed)) return;
  PostedRecord* r = nullptr;
  int allowance = 0;
  DeliveryTarget last;
  {
    std::lock_guard<std::mutex> lock(q->mutex);
    if (!q->head) return;
    // Only what is queued now: messages posted while delivering wait for the next tick.
    allowance = q->count.load(std::memory_order_relaxed);
    r = q->head;
    q->head = r->next;
    if (!q->head) q->tail = nullptr;
    adjustCount(q, -1);
  }
  while (r) {
    deliver(*r, last);
    std::lock_guard<std::mutex> lock(q->mutex);
    r->next = q->freeList;
    q->freeList = r;
    r = nullptr;
    if (--allowance <= 0 || !q->head) break;
    r = q->head;
    q->head = r->next;
    if (!q->head) q->tail = nullptr;
    adjustCount(q, -1);
  }
}

void SWELL_MessageQueue_RemoveWindow(HWND hwnd) {
  Queue* q = gQueue.load(std::memory_order_acquire);
  if (!q) return;
  std::lock_guard<std::mutex> lock(q->mutex);
  PostedRecord** link = &q->head;
  PostedRecord* last = nullptr;
  while (PostedRecord* r = *link) {
    if (!hwnd || r->hwnd == hwnd) {
      *link = r->next;
      r->next = q->freeList;
      q->freeList = r;
      adjustCount(q, -1);
    } else {
      last = r;
      link = &r->next;
    }
  }
  q->tail = last;
}

void SWELL_MessageQueue_Clear(HWND hwnd) {
  if (gQueue.load(std::memory_order_acquire)) {
    SWELL_MessageQueue_RemoveWindow(hwnd);
  } else if (SwellPostMessageDelegate* delegate = postDelegate()) {
    delegate->swellPostMessageClearQ(hwnd);
  }
}

BOOL SWELL_DeferTimer(HWND hwnd, UINT_PTR id, UINT interval, TIMERPROC callback) {
  Queue* q = gQueue.load(std::memory_order_acquire);
  // Requests are keyed by window; a kill of a window-less callback timer is the one
  // request that needs none.
  if (!q || (!hwnd && interval != swell::kKillTimerRequest)) return 0;
  // A request for a window that is already gone has nothing to act on.
  std::uint64_t serial = hwnd ? platform::liveObjectSerial(hwnd) : 0;
  if (hwnd && !serial) return 0;
  std::lock_guard<std::mutex> lock(q->mutex);
  // The last request for a timer wins: it updates the queued request for the same
  // window and id, unless a request for every timer of the window (id -1) stands between
  // them, whose order against it matters. Requests for other ids are independent.
  const auto all = static_cast<UINT_PTR>(-1);
  PostedRecord* same = nullptr;
  for (PostedRecord* r = q->head; r; r = r->next) {
    if (!r->isTimerRequest || r->hwnd != hwnd || r->serial != serial) continue;
    if (r->wParam == id)
      same = r;
    else if (r->wParam == all || id == all)
      same = nullptr;
  }
  if (same) {
    same->msg = interval;
    same->lParam = reinterpret_cast<LPARAM>(callback);
    return 1;
  }
  PostedRecord* r = takeRecord(q);
  r->hwnd = hwnd;
  r->serial = serial;
  r->msg = interval;
  r->wParam = id;
  r->lParam = reinterpret_cast<LPARAM>(callback);
  r->isTimerRequest = true;
  append(q, r);
  return 1;
}

BOOL SwellMessageQueueDelegate::swellPostMessage(HWND hwnd, UINT msg, WPARAM wParam,
                                                 LPARAM lParam) {
  return SWELL_MessageQueue_Add(hwnd, msg, wParam, lParam);
}

void SwellMessageQueueDelegate::swellPostMessageClearQ(HWND hwnd) {
  SWELL_MessageQueue_RemoveWindow(hwnd);
}

void SwellMessageQueueDelegate::swellPostMessageTick() {
  SWELL_MessageQueue_Flush();
}
