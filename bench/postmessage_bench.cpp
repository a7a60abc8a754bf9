// PostMessage of 1,000 messages from 4 threads and their delivery by the queue's flush,
// against a plain mutex-guarded deque doing the same work in the same run. Prints the
// ratio of the two (target: within 2x).

#include <benchmark/benchmark.h>

#include <atomic>
#include <barrier>
#include <cstdio>
#include <deque>
#include <functional>
#include <mutex>
#include <thread>
#include <vector>

#include "bench/RatioReporter.h"
#include "platform/Application.h"
#include "windowing/Win32.h"
#include "windowing/core/PostMessageHooks.h"

namespace {

constexpr int kThreads = 4;
constexpr int kMessagesPerThread = 250;

std::atomic<long> gDelivered{0};

LRESULT countingProc(HWND, UINT msg, WPARAM, LPARAM) {
  if (msg == WM_USER) gDelivered.fetch_add(1, std::memory_order_relaxed);
  return 0;
}

class QueueDelegate : public platform::NSApplicationDelegate, public SwellPostMessageDelegate {
 public:
  BOOL swellPostMessage(HWND h, UINT m, WPARAM w, LPARAM l) override {
    return SWELL_MessageQueue_Add(h, m, w, l);
  }
  void swellPostMessageClearQ(HWND h) override { SWELL_MessageQueue_RemoveWindow(h); }
  void swellPostMessageTick() override { SWELL_MessageQueue_Flush(); }
};

// Four posting threads that stay up for the whole benchmark; each round they run the
// given work once.
class Posters {
 public:
  explicit Posters(std::function<void(int)> work)
      : mWork(std::move(work)), mStart(kThreads + 1), mDone(kThreads + 1) {
    for (int t = 0; t < kThreads; ++t)
      mThreads.emplace_back([this, t] {
        for (;;) {
          mStart.arrive_and_wait();
          if (mStop) return;
          mWork(t);
          mDone.arrive_and_wait();
        }
      });
  }
  ~Posters() {
    mStop = true;
    mStart.arrive_and_wait();
    for (auto& t : mThreads)
      t.join();
  }
  void round() {
    mStart.arrive_and_wait();
    mDone.arrive_and_wait();
  }

 private:
  std::function<void(int)> mWork;
  std::barrier<> mStart;
  std::barrier<> mDone;
  std::atomic<bool> mStop{false};
  std::vector<std::thread> mThreads;
};

void BM_PostMessage(benchmark::State& state) {
  static QueueDelegate delegate;
  platform::NSApp()->setDelegate(&delegate);
  SWELL_Internal_PostMessage_Init();
  HWND view =
      SWELL_CreateDialog(SWELL_DialogResourceHead, reinterpret_cast<const char*>(0x400000 + 2),
                         nullptr, countingProc, 0);
  std::atomic<long> refused{0};
  Posters posters([&](int t) {
    for (int i = 0; i < kMessagesPerThread; ++i)
      if (!PostMessage(view, WM_USER, static_cast<WPARAM>(i), t)) refused.fetch_add(1);
  });
  for (auto _ : state) {
    posters.round();
    SWELL_MessageQueue_Flush();
  }
  if (refused.load()) state.SkipWithError("messages were refused");
  state.SetItemsProcessed(state.iterations() * kThreads * kMessagesPerThread);
  DestroyWindow(view);
}

struct PlainMessage {
  HWND hwnd;
  UINT msg;
  WPARAM wParam;
  LPARAM lParam;
};

void BM_MutexDeque(benchmark::State& state) {
  std::mutex mutex;
  std::deque<PlainMessage> queue;
  Posters posters([&](int t) {
    for (int i = 0; i < kMessagesPerThread; ++i) {
      std::lock_guard<std::mutex> lock(mutex);
      queue.push_back({nullptr, WM_USER, static_cast<WPARAM>(i), t});
    }
  });
  for (auto _ : state) {
    posters.round();
    // Delivered one at a time without the lock held, as the flush does.
    for (;;) {
      PlainMessage m;
      {
        std::lock_guard<std::mutex> lock(mutex);
        if (queue.empty()) break;
        m = queue.front();
        queue.pop_front();
      }
      benchmark::DoNotOptimize(countingProc(m.hwnd, m.msg, m.wParam, m.lParam));
    }
  }
  state.SetItemsProcessed(state.iterations() * kThreads * kMessagesPerThread);
}

BENCHMARK(BM_PostMessage)->UseRealTime()->MinTime(0.5);
BENCHMARK(BM_MutexDeque)->UseRealTime()->MinTime(0.5);

}  // namespace

int main(int argc, char** argv) {
  benchmark::Initialize(&argc, argv);
  RatioReporter reporter;
  benchmark::RunSpecifiedBenchmarks(&reporter);
  const double post = reporter.Time("BM_PostMessage/min_time:0.500/real_time");
  const double base = reporter.Time("BM_MutexDeque/min_time:0.500/real_time");
  if (post <= 0 || base <= 0) {
    std::printf("ratio: not available (a benchmark did not run)\n");
    return 1;
  }
  std::printf("ratio PostMessage+flush / mutex deque: %.2f (target: within 2x)\n", post / base);
  benchmark::Shutdown();
  return 0;
}
