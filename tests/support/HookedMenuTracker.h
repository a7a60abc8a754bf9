#pragma once

#include <functional>

#include "platform/core/Menu.h"

namespace testsupport {

// A menu tracker that does something while a popped-up menu is showing, as the user's other
// doings during a menu's loop would, then answers the entry at an index (null when there is
// none). Installed as the platform's tracker while it lives.
class HookedMenuTracker : public platform::MenuTracker {
 public:
  HookedMenuTracker(std::function<void()> whileShowing, int answer)
      : mWhileShowing(std::move(whileShowing)),
        mAnswer(answer),
        mPrevious(platform::menuTracker()) {
    platform::setMenuTracker(this);
  }
  ~HookedMenuTracker() override { platform::setMenuTracker(mPrevious); }
  HookedMenuTracker(const HookedMenuTracker&) = delete;
  HookedMenuTracker& operator=(const HookedMenuTracker&) = delete;

  platform::NSMenuItem* trackMenu(platform::NSMenu* menu, platform::NSPoint,
                                  platform::NSView*) override {
    ++mTracked;
    if (mWhileShowing) mWhileShowing();
    return mAnswer >= 0 && mAnswer < menu->numberOfItems() ? menu->itemAtIndex(mAnswer) : nullptr;
  }
  int tracked() const { return mTracked; }

 private:
  std::function<void()> mWhileShowing;
  int mAnswer;
  platform::MenuTracker* mPrevious;
  int mTracked = 0;
};

}  // namespace testsupport
