#pragma once

#include <deque>
#include <string>
#include <vector>

#include "platform/core/Menu.h"

namespace testsupport {

// The item a title path names from a menu ("File/Preferences..."), or null. With
// `opening`, each menu on the way is opened first (its delegate is asked to update),
// as a user's walk through the menus would.
platform::NSMenuItem* findMenuItem(platform::NSMenu* menu, const std::string& path, bool opening);

// Answers the pop-up menus of a test in order: each pop-up takes the next answer, a
// title path from the popped menu or "" to dismiss it; a pop-up without an answer left
// is dismissed. Installed as the platform's menu tracker while it lives.
class MenuAnswers : public platform::MenuTracker {
 public:
  MenuAnswers();
  ~MenuAnswers() override;
  MenuAnswers(const MenuAnswers&) = delete;
  MenuAnswers& operator=(const MenuAnswers&) = delete;

  void add(std::vector<std::string> paths);
  // The titles of the items of each menu popped, in order (a separator as "-").
  const std::vector<std::vector<std::string>>& popped() const { return mPopped; }
  platform::NSPoint lastScreenPoint() const { return mLastPoint; }
  std::size_t pending() const { return mAnswers.size(); }

  platform::NSMenuItem* trackMenu(platform::NSMenu* menu, platform::NSPoint screenPoint,
                                  platform::NSView* view) override;

 private:
  std::deque<std::string> mAnswers;
  std::vector<std::vector<std::string>> mPopped;
  platform::NSPoint mLastPoint;
  platform::MenuTracker* mPrevious;
};

}  // namespace testsupport
