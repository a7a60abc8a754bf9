#include <gtest/gtest.h>

#include <atomic>
#include <string>
#include <thread>
#include <vector>

#include "platform/core/View.h"
#include "platform/core/Window.h"
#include "support/WindowTest.h"
#include "windowing/Win32.h"
#include "windowing/core/WindowInterfaces.h"
#include "windowing/core/detail/TestHooks.h"

using testsupport::kOptional;
using testsupport::kPosted;
using testsupport::kSent;
using testsupport::MessageLog;
using testsupport::messagesMatch;

namespace {

class PostMessageTest : public testsupport::WindowTest {
 protected:
  HWND view = nullptr;

  void SetUp() override {
    view = bareWindow();
    log.clear();
  }
  void TearDown() override { DestroyWindow(view); }
};

TEST_F(PostMessageTest, PostedMessagesArriveInOrderOnTheQueueTimer) {
  EXPECT_EQ(PostMessage(view, WM_USER, 1, 2), 1);
  EXPECT_EQ(PostMessage(view, WM_USER + 1, 3, 4), 1);
  EXPECT_EQ(log.count(WM_USER), 0);
  h.advance(50);  // the flush timer's interval
  EXPECT_TRUE(messagesMatch(log.messages(),
                            {{view, WM_USER, kPosted, 1, 2}, {view, WM_USER + 1, kPosted, 3, 4}}));
}

TEST_F(PostMessageTest, MessagesSentWhileAPostedOneIsHandledArriveInsideIt) {
  HWND other = bareWindow();
  log.clear();
  log.answer([&](HWND hwnd, UINT msg, WPARAM, LPARAM) -> std::optional<LRESULT> {
    if (msg == WM_USER && hwnd == view) SendMessage(other, WM_USER + 1, 0, 0);
    return std::nullopt;
  });
  PostMessage(view, WM_USER, 0, 0);
  SendMessage(other, WM_USER + 2, 0, 0);
  h.flushPostedMessages();
  EXPECT_TRUE(messagesMatch(log.messages(), {{other, WM_USER + 2, kSent},
                                             {view, WM_USER, kPosted},
                                             {other, WM_USER + 1, kSent},
                                             {other, WM_TIMER, kPosted, kOptional}}));
  // A table that differs is answered with the first difference.
  auto differs =
      messagesMatch(log.messages(), {{other, WM_USER + 2, kSent}, {view, WM_USER, kSent}});
  EXPECT_FALSE(differs);
  EXPECT_NE(std::string(differs.message()).find("message 1: expected"), std::string::npos)
      << differs.message();
  DestroyWindow(other);
}

TEST_F(PostMessageTest, AFlushDeliversOnlyWhatWasQueuedWhenItBegan) {
  log.answer([&](HWND hwnd, UINT msg, WPARAM wParam, LPARAM) -> std::optional<LRESULT> {
    if (msg == WM_USER) PostMessage(hwnd, WM_USER, wParam + 1, 0);  // posts to itself forever
    return std::nullopt;
  });
  PostMessage(view, WM_USER, 0, 0);
  PostMessage(view, WM_USER, 100, 0);
  h.flushPostedMessages();
  EXPECT_EQ(log.count(WM_USER), 2);
  h.flushPostedMessages();
  EXPECT_EQ(log.count(WM_USER), 4);
}

// The flush remembers the window of a run of messages; a handler that destroys that window
// must still stop the rest of the run from reaching it.
// It is freed as soon as nothing else holds it, not kept for the rest of the flush.
TEST_F(PostMessageTest, AWindowDestroyedByItsOwnPostedMessageGetsNoMore) {
  HWND doomed = bareWindow();
  int seen = 0;
  bool freedBeforeTheNextWindow = false;
  log.answer([&](HWND hwnd, UINT msg, WPARAM, LPARAM) -> std::optional<LRESULT> {
    if (msg == WM_USER && hwnd == doomed && ++seen == 1) DestroyWindow(hwnd);
    if (msg == WM_USER + 1) freedBeforeTheNextWindow = !platform::isLiveObject(doomed);
    return std::nullopt;
  });
  for (int i = 0; i < 3; ++i)
    PostMessage(doomed, WM_USER, i, 0);
  PostMessage(view, WM_USER + 1, 0, 0);
  h.flushPostedMessages();
  EXPECT_EQ(seen, 1);
  EXPECT_EQ(log.count(WM_USER + 1), 1);
  EXPECT_TRUE(freedBeforeTheNextWindow);
}

TEST_F(PostMessageTest, TheQueueHolds1024AndRefusesMore) {
  for (int i = 0; i < 1024; ++i)
    ASSERT_EQ(PostMessage(view, WM_USER, i, 0), 1) << i;
  EXPECT_EQ(PostMessage(view, WM_USER, 1024, 0), 0);
  h.flushPostedMessages();
  EXPECT_EQ(log.count(WM_USER), 1024);
  // Spent records are reused: the next burst is accepted whole.
  for (int i = 0; i < 1024; ++i)
    ASSERT_EQ(PostMessage(view, WM_USER, i, 0), 1) << i;
}

TEST_F(PostMessageTest, NullDestroyedAndForeignTargetsGetNothingAndCrashNothing) {
  EXPECT_EQ(PostMessage(nullptr, WM_USER, 0, 0), 0);
  int local = 0;
  EXPECT_EQ(PostMessage(reinterpret_cast<HWND>(&local), WM_USER, 0, 0), 0);
  HWND doomed = bareWindow();
  PostMessage(doomed, WM_USER, 1, 0);
  PostMessage(view, WM_USER, 2, 0);
  PostMessage(doomed, WM_USER, 3, 0);
  DestroyWindow(doomed);  // freed before the flush: its messages are dropped
  EXPECT_EQ(PostMessage(doomed, WM_USER, 4, 0), 0);
  h.flushPostedMessages();
  EXPECT_TRUE(messagesMatch(log.messages(), {{WM_USER, 2, 0}}, {WM_USER}));
}

TEST_F(PostMessageTest, AWindowInItsDestroySequenceGetsNoPostedMessages) {
  HWND child = bareWindow(view);
  PostMessage(child, WM_USER, 0, 0);
  log.answer([child](HWND hwnd, UINT msg, WPARAM, LPARAM) -> std::optional<LRESULT> {
    if (msg == WM_DESTROY && hwnd == child) PostMessage(child, WM_USER, 1, 0);
    return std::nullopt;
  });
  SendMessage(child, WM_DESTROY, 0, 0);  // destroyed, but still a live object in its parent
  h.flushPostedMessages();
  EXPECT_EQ(log.count(WM_USER, child), 0);
}

TEST_F(PostMessageTest, AMessagePostedToATopLevelWindowReachesItsContentView) {
  HWND window =
      swell::handleFromObject(swell::objectFromHandleAs<platform::NSView>(view)->window());
  EXPECT_EQ(PostMessage(window, WM_USER, 1, 0), 1);
  h.flushPostedMessages();
  EXPECT_TRUE(messagesMatch(log.messages(), {{WM_USER, 1, 0}}, {WM_USER}));
  // Not once its content view is destroyed.
  PostMessage(window, WM_USER, 2, 0);
  SendMessage(view, WM_DESTROY, 0, 0);
  h.flushPostedMessages();
  EXPECT_EQ(log.count(WM_USER), 1);
}

TEST_F(PostMessageTest, ClearDropsOneWindowsMessagesOrAll) {
  HWND other = bareWindow();
  PostMessage(view, WM_USER, 1, 0);
  PostMessage(other, WM_USER, 2, 0);
  PostMessage(view, WM_USER, 3, 0);
  SWELL_MessageQueue_Clear(view);
  EXPECT_EQ(swell::queuedMessageCount(), 1);
  PostMessage(view, WM_USER, 4, 0);  // appended after the remaining record
  h.flushPostedMessages();
  EXPECT_TRUE(messagesMatch(log.messages(), {{WM_USER, 2, 0}, {WM_USER, 4, 0}}, {WM_USER}));
  PostMessage(view, WM_USER, 5, 0);
  SWELL_MessageQueue_Clear(nullptr);
  EXPECT_EQ(swell::queuedMessageCount(), 0);
  DestroyWindow(other);
}

TEST_F(PostMessageTest, PostsFromManyThreadsAllArriveInPerThreadOrder) {
  std::vector<std::vector<WPARAM>> seen(4);
  log.answer([&](HWND, UINT msg, WPARAM wParam, LPARAM lParam) -> std::optional<LRESULT> {
    if (msg == WM_USER) seen[static_cast<std::size_t>(lParam)].push_back(wParam);
    return std::nullopt;
  });
  std::atomic<int> accepted{0};
  std::vector<std::thread> threads;
  for (int t = 0; t < 4; ++t)
    threads.emplace_back([&, t] {
      for (int i = 0; i < 250; ++i)
        accepted += PostMessage(view, WM_USER, static_cast<WPARAM>(i), t);
    });
  for (auto& t : threads)
    t.join();
  EXPECT_EQ(accepted.load(), 1000);
  h.flushPostedMessages();
  for (const auto& s : seen) {
    ASSERT_EQ(s.size(), 250u);
    for (std::size_t i = 0; i < s.size(); ++i)
      EXPECT_EQ(s[i], i);
  }
}

// Workers post, set and kill timers while the main thread flushes and fires them; run
// under ThreadSanitizer this catches unguarded state shared with the main thread.
TEST_F(PostMessageTest, WorkersPostAndSetTimersWhileTheMainThreadDelivers) {
  std::atomic<bool> stop{false};
  std::atomic<int> accepted{0};
  std::vector<std::thread> workers;
  for (int t = 0; t < 3; ++t)
    workers.emplace_back([&, t] {
      for (int i = 0; !stop && i < 2000; ++i) {
        accepted += PostMessage(view, WM_USER, static_cast<WPARAM>(i), t);
        UINT_PTR id = static_cast<UINT_PTR>(1 + i % 4);
        if (i % 3 == 0) SetTimer(view, id, 5, nullptr);
        if (i % 5 == 0) KillTimer(view, id);
        if (i % 50 == 0) std::this_thread::yield();
      }
    });
  for (int i = 0; i < 200; ++i)
    h.advance(10);
  stop = true;
  for (auto& w : workers)
    w.join();
  KillTimer(view, static_cast<UINT_PTR>(-1));
  h.flushPostedMessages();
  h.flushPostedMessages();
  // Every message a worker was told was queued has arrived.
  while (swell::queuedMessageCount() > 0)
    h.flushPostedMessages();
  EXPECT_EQ(log.count(WM_USER, view), accepted.load());
}

}  // namespace
