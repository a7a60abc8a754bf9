// PostMessage and the queue's flush against a plain mutex-guarded deque doing the same work in
// the same run (both hold at most 1,024 messages), per message:
// - one thread posting 256 messages and then delivering them;
// - four threads posting while the main thread delivers 1,024 messages a round, what the
//   queue holds, so the posters measure posting rather than retrying at a full queue. They
//   never wait on a barrier: each round hands out that many tickets, a poster posts while it
//   holds one, and the round ends when all are delivered.
// Goal: at most 2x the deque per message. Then the delay from PostMessage to the window
// procedure, as percentiles: with the flush called as fast as it can be, and as the program
// sees it, delivered by the run loop's 0.05-second timer.

#include <benchmark/benchmark.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <deque>
#include <functional>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "bench/RatioReporter.h"
#include "platform/core/Application.h"
#include "platform/core/RunLoop.h"
#include "platform/system/Clock.h"
#include "windowing/Win32.h"
#include "windowing/core/PostMessageHooks.h"

namespace {

constexpr int kBatch = 256;  // messages per round with one thread
constexpr int kPosters = 4;
constexpr long kRoundMessages = 1024;      // messages per round with four threads
constexpr std::size_t kQueueLimit = 1024;  // as the windowing layer's queue
constexpr double kRatioGoal = 2.0;
constexpr double kTimerRunMs = 2000.0;  // how long the run loop runs for the timer figures
constexpr int kTimerPostsPerSecond = 500;

long long nowNs() {
  return std::chrono::duration_cast<std::chrono::nanoseconds>(
             std::chrono::steady_clock::now().time_since_epoch())
      .count();
}

std::atomic<long> gDelivered{0};
// Delivery delays in ns, kept while set (main thread only).
std::vector<long long>* gDelays = nullptr;
// Those of the last run with four posting threads and the flush called without pause.
std::vector<long long> gFlushDelays;

LRESULT countingProc(HWND, UINT msg, WPARAM, LPARAM lParam) {
  if (msg != WM_USER) return 0;
  gDelivered.fetch_add(1, std::memory_order_relaxed);
  if (gDelays) gDelays->push_back(nowNs() - lParam);
  return 0;
}

class QueueDelegate : public platform::NSApplicationDelegate, public SwellMessageQueueDelegate {};

HWND makeWindow() {
  static QueueDelegate delegate;
  platform::NSApp()->setDelegate(&delegate);
  SWELL_Internal_PostMessage_Init();
  return SWELL_CreateDialog(SWELL_DialogResourceHead, reinterpret_cast<const char*>(0x400000 + 2),
                            nullptr, countingProc, 0);
}

struct PlainMessage {
  HWND hwnd;
  UINT msg;
  WPARAM wParam;
  LPARAM lParam;
};

// The baseline: a deque under a mutex, refusing messages beyond the limit.
class MutexDeque {
 public:
  bool post(const PlainMessage& m) {
    std::lock_guard<std::mutex> lock(mMutex);
    if (mQueue.size() >= kQueueLimit) return false;
    mQueue.push_back(m);
    return true;
  }
  // Delivers what is queued, one at a time without the lock held, as the flush does.
  void flush() {
    for (;;) {
      PlainMessage m;
      {
        std::lock_guard<std::mutex> lock(mMutex);
        if (mQueue.empty()) return;
        m = mQueue.front();
        mQueue.pop_front();
      }
      benchmark::DoNotOptimize(countingProc(m.hwnd, m.msg, m.wParam, m.lParam));
    }
  }

 private:
  std::mutex mMutex;
  std::deque<PlainMessage> mQueue;
};

// Posting threads that post while there are tickets; `post` returns false when the queue is
// full, and the poster tries again.
class Posters {
 public:
  explicit Posters(std::function<bool(int)> post) : mPost(std::move(post)) {
    for (int t = 0; t < kPosters; ++t)
      mThreads.emplace_back([this, t] {
        while (!mStop.load(std::memory_order_relaxed)) {
          if (!takeTicket()) {
            std::this_thread::yield();
            continue;
          }
          while (!mPost(t))
            std::this_thread::yield();
        }
      });
  }
  ~Posters() {
    mStop = true;
    for (auto& t : mThreads)
      t.join();
  }
  // Hands out `count` more tickets; returns the total handed out.
  long issue(long count) { return mIssued.fetch_add(count) + count; }

 private:
  bool takeTicket() {
    long taken = mTaken.load();
    while (taken < mIssued.load())
      if (mTaken.compare_exchange_weak(taken, taken + 1)) return true;
    return false;
  }

  std::function<bool(int)> mPost;
  std::atomic<long> mIssued{0};
  std::atomic<long> mTaken{0};
  std::atomic<bool> mStop{false};
  std::vector<std::thread> mThreads;
};

void BM_PostMessageOneThread(benchmark::State& state) {
  HWND view = makeWindow();
  for (auto _ : state) {
    for (int i = 0; i < kBatch; ++i)
      if (!PostMessage(view, WM_USER, static_cast<WPARAM>(i), 0)) state.SkipWithError("refused");
    SWELL_MessageQueue_Flush();
  }
  state.SetItemsProcessed(state.iterations() * kBatch);
  DestroyWindow(view);
}

void BM_MutexDequeOneThread(benchmark::State& state) {
  MutexDeque queue;
  for (auto _ : state) {
    for (int i = 0; i < kBatch; ++i)
      queue.post({nullptr, WM_USER, static_cast<WPARAM>(i), 0});
    queue.flush();
  }
  state.SetItemsProcessed(state.iterations() * kBatch);
}

// Rounds of kRoundMessages posted by four threads and delivered by this one.
template <typename Flush>
void runRounds(benchmark::State& state, Posters& posters, Flush flush) {
  long target = gDelivered.load();
  for (auto _ : state) {
    target += kRoundMessages;
    posters.issue(kRoundMessages);
    while (gDelivered.load(std::memory_order_relaxed) < target)
      flush();
  }
  state.SetItemsProcessed(state.iterations() * kRoundMessages);
}

void BM_PostMessageFourThreads(benchmark::State& state) {
  HWND view = makeWindow();
  std::vector<long long> delays;
  delays.reserve(1 << 20);
  {
    Posters posters([view](int t) { return PostMessage(view, WM_USER, t, nowNs()) != 0; });
    gDelays = &delays;
    runRounds(state, posters, [] { SWELL_MessageQueue_Flush(); });
    gDelays = nullptr;
  }
  gFlushDelays = std::move(delays);
  DestroyWindow(view);
}

// Does what the PostMessage run does besides queueing: stamps each message when posted and
// keeps its delay when delivered.
void BM_MutexDequeFourThreads(benchmark::State& state) {
  MutexDeque queue;
  std::vector<long long> delays;
  delays.reserve(1 << 20);
  {
    Posters posters([&queue](int t) {
      return queue.post({nullptr, WM_USER, static_cast<WPARAM>(t), nowNs()});
    });
    gDelays = &delays;
    runRounds(state, posters, [&queue] { queue.flush(); });
    gDelays = nullptr;
  }
}

BENCHMARK(BM_PostMessageOneThread)->UseRealTime();
BENCHMARK(BM_MutexDequeOneThread)->UseRealTime();
BENCHMARK(BM_PostMessageFourThreads)->UseRealTime()->MinTime(0.5);
BENCHMARK(BM_MutexDequeFourThreads)->UseRealTime()->MinTime(0.5);

// In milliseconds.
double percentile(std::vector<long long>& values, int percent) {
  if (values.empty()) return 0.0;
  std::sort(values.begin(), values.end());
  return values[values.size() * static_cast<std::size_t>(percent) / 100] / 1e6;
}

void printDelays(const char* how, std::vector<long long>& delays) {
  if (delays.empty()) return;
  std::printf(
      "delay from PostMessage to the procedure, %s (%zu messages): median %.3f ms, "
      "90th percentile %.3f ms, 99th percentile %.3f ms\n",
      how, delays.size(), percentile(delays, 50), percentile(delays, 90), percentile(delays, 99));
}

// The delay a program sees: messages posted from a thread at an even pace while the main
// thread runs its run loop, whose timer flushes the queue every 0.05 seconds.
void printTimerDelays() {
  HWND view = makeWindow();
  std::vector<long long> delays;
  gDelays = &delays;
  std::atomic<bool> stop{false};
  std::thread poster([&] {
    while (!stop.load()) {
      PostMessage(view, WM_USER, 0, nowNs());
      std::this_thread::sleep_for(std::chrono::microseconds(1000000 / kTimerPostsPerSecond));
    }
  });
  platform::NSRunLoop::mainRunLoop().runUntilDate(platform::nowMs() + kTimerRunMs);
  stop = true;
  poster.join();
  gDelays = nullptr;
  printDelays("delivered by the 0.05 s timer", delays);
  DestroyWindow(view);
}

}  // namespace

int main(int argc, char** argv) {
  benchmark::Initialize(&argc, argv);
  RatioReporter reporter;
  const std::pair<const char*, const char*> pairs[] = {
      {"one posting thread", "OneThread/real_time"},
      {"four posting threads", "FourThreads/min_time:0.500/real_time"}};
  for (const auto& [what, suffix] : pairs) {
    reporter.Goal(std::string("PostMessage+flush / mutex deque per message, ") + what,
                  {std::string("BM_PostMessage") + suffix}, {std::string("BM_MutexDeque") + suffix},
                  kRatioGoal);
  }
  reporter.RunAndReport(argc, argv);
  printDelays("four posting threads, flushed without pause", gFlushDelays);
  printTimerDelays();
  benchmark::Shutdown();
  return 0;
}
