#pragma once

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "support/PlatformHarness.h"
#include "windowing/Win32.h"

namespace testsupport {

// The windowing test harness: the platform harness, plus the application delegate
// hooks of the posted-message queue and the queue itself (set up once, emptied per
// test), a clean quitting flag, timer list and dialog resource list. Dialog resources
// registered through it are unlinked again at the end.
class WindowHarness : public PlatformHarness {
 public:
  WindowHarness();
  ~WindowHarness();

  void registerResource(SWELL_DialogResourceIndex* record);
  // Runs the posted-message queue's timer once.
  void flushPostedMessages();

 private:
  SWELL_DialogResourceIndex* mHeadAtStart;
};

// How a message reached a window procedure: sent (SendMessage and the layer's own
// calls) or posted (delivered from the posted-message queue).
enum class Delivery { kSent, kPosted };
inline constexpr Delivery kSent = Delivery::kSent;
inline constexpr Delivery kPosted = Delivery::kPosted;

// Whether a row of an expected sequence must be there.
enum class Presence { kRequired, kOptional };
inline constexpr Presence kOptional = Presence::kOptional;

// One message as a procedure received it.
struct RecordedMessage {
  HWND hwnd = nullptr;
  UINT msg = 0;
  WPARAM wParam = 0;
  LPARAM lParam = 0;
  Delivery delivery = Delivery::kSent;
};

// A row of an expected message sequence, in one of two forms: the message with its
// parameters when they matter ({WM_SIZE}, {WM_USER, 1, 2}); or the window, the message,
// how it came, its parameters when they matter and whether it may be missing
// ({child, WM_SIZE, kSent}, {main, WM_USER, kPosted, 1, 2},
// {main, WM_TIMER, kPosted, kOptional}).
struct ExpectedMessage {
  ExpectedMessage(UINT m, std::optional<WPARAM> w = std::nullopt,
                  std::optional<LPARAM> l = std::nullopt)
      : msg(m), wParam(w), lParam(l) {}
  ExpectedMessage(HWND h, UINT m, Delivery d, Presence p = Presence::kRequired)
      : hwnd(h), msg(m), delivery(d), mayBeMissing(p == Presence::kOptional) {}
  ExpectedMessage(HWND h, UINT m, Delivery d, WPARAM w, LPARAM l, Presence p = Presence::kRequired)
      : hwnd(h),
        msg(m),
        wParam(w),
        lParam(l),
        delivery(d),
        mayBeMissing(p == Presence::kOptional) {}
  HWND hwnd = nullptr;  // null: any window
  UINT msg;
  std::optional<WPARAM> wParam;
  std::optional<LPARAM> lParam;
  std::optional<Delivery> delivery;
  bool mayBeMissing = false;
};

// Records every message its procedures receive, in order, and answers from a script.
// The procedures are plain functions, so one log is current at a time (the newest).
class MessageLog {
 public:
  using Script = std::function<std::optional<LRESULT>(HWND, UINT, WPARAM, LPARAM)>;

  MessageLog();
  ~MessageLog();
  MessageLog(const MessageLog&) = delete;
  MessageLog& operator=(const MessageLog&) = delete;

  // A window procedure: unanswered messages go to DefWindowProc.
  static LRESULT windowProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
  // A dialog procedure: unanswered messages answer 0.
  static INT_PTR dialogProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);

  void answer(Script script) { mScript = std::move(script); }
  // Answers one message number with a fixed value.
  void answer(UINT msg, LRESULT value);

  const std::vector<RecordedMessage>& messages() const { return mMessages; }
  void clear() { mMessages.clear(); }
  // The message numbers received, optionally of one window only, skipping the given.
  std::vector<UINT> codes(HWND only = nullptr, const std::vector<UINT>& skip = {}) const;
  int count(UINT msg, HWND only = nullptr) const;

 private:
  std::optional<LRESULT> respond(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
  static MessageLog* sCurrent;
  MessageLog* mPrevious;
  std::vector<RecordedMessage> mMessages;
  Script mScript;
  std::vector<std::pair<UINT, LRESULT>> mFixed;
};

// Compares what was received with a table, ignoring messages not in `relevant` when
// it is given. Optional rows may be missing; the first difference is reported with
// message names, windows and how the messages came.
::testing::AssertionResult messagesMatch(const std::vector<RecordedMessage>& received,
                                         const std::vector<ExpectedMessage>& expected,
                                         const std::vector<UINT>& relevant = {});

std::string messageName(UINT msg);

// The messages of one window only, in order.
std::vector<RecordedMessage> messagesOf(const std::vector<RecordedMessage>& received, HWND hwnd);

}  // namespace testsupport
