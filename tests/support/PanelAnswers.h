#pragma once

#include <cstdint>
#include <deque>
#include <functional>
#include <set>

#include "platform/core/View.h"
#include "platform/core/Window.h"
#include "support/PlatformHarness.h"

namespace testsupport {

// Clicks the middle of a view of a window, as the pointer would.
void clickView(PlatformHarness& h, platform::NSView* view);

// Answers the modal loops of a test in order, as a user would: each new modal run takes
// the next answer once, as its loop starts (the answer usually queues events for it), and
// a run that goes on after a nested one is not answered again. A
// modal run without an answer left is aborted, so a test never hangs on it. Installed
// as the harness's modal hook while it lives.
class PanelAnswers {
 public:
  using Answer = std::function<void(platform::NSWindow*)>;
  explicit PanelAnswers(PlatformHarness& h);
  ~PanelAnswers();
  PanelAnswers(const PanelAnswers&) = delete;
  PanelAnswers& operator=(const PanelAnswers&) = delete;

  void add(Answer answer) { mAnswers.push_back(std::move(answer)); }
  std::size_t pending() const { return mAnswers.size(); }
  // How many modal runs came.
  int answered() const { return mAnswered; }

 private:
  PlatformHarness& mHarness;
  std::deque<Answer> mAnswers;
  std::set<std::uint64_t> mSeen;  // the serials of the modal runs answered
  int mAnswered = 0;
};

}  // namespace testsupport
