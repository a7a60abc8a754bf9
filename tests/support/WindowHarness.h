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

// One message as a procedure received it.
struct RecordedMessage {
  HWND hwnd = nullptr;
  UINT msg = 0;
  WPARAM wParam = 0;
  LPARAM lParam = 0;
};

// A row of an expected message sequence: the message, and optionally its parameters.
struct ExpectedMessage {
  ExpectedMessage(UINT m, std::optional<WPARAM> w = std::nullopt,
                  std::optional<LPARAM> l = std::nullopt)
      : msg(m), wParam(w), lParam(l) {}
  UINT msg;
  std::optional<WPARAM> wParam;
  std::optional<LPARAM> lParam;
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
// it is given; reports the first difference with message names.
::testing::AssertionResult messagesMatch(const std::vector<RecordedMessage>& received,
                                         const std::vector<ExpectedMessage>& expected,
                                         const std::vector<UINT>& relevant = {});

std::string messageName(UINT msg);

// The messages of one window only, in order.
std::vector<RecordedMessage> messagesOf(const std::vector<RecordedMessage>& received, HWND hwnd);

}  // namespace testsupport
