#include "support/MenuAnswers.h"

namespace testsupport {

platform::NSMenuItem* findMenuItem(platform::NSMenu* menu, const std::string& path, bool opening) {
  std::size_t start = 0;
  while (menu) {
    if (opening) menu->menuWillOpen();
    std::size_t slash = path.find('/', start);
    std::string title = path.substr(start, slash == std::string::npos ? slash : slash - start);
    platform::NSMenuItem* found = nullptr;
    for (platform::NSMenuItem* item : menu->itemArray())
      if (!item->isSeparatorItem() && item->title() == title) {
        found = item;
        break;
      }
    if (!found || slash == std::string::npos) return found;
    menu = found->submenu();
    start = slash + 1;
  }
  return nullptr;
}

MenuAnswers::MenuAnswers() : mPrevious(platform::menuTracker()) {
  platform::setMenuTracker(this);
}

MenuAnswers::~MenuAnswers() {
  platform::setMenuTracker(mPrevious);
}

void MenuAnswers::add(std::vector<std::string> paths) {
  mAnswers.insert(mAnswers.end(), paths.begin(), paths.end());
}

platform::NSMenuItem* MenuAnswers::trackMenu(platform::NSMenu* menu, platform::NSPoint screenPoint,
                                             platform::NSView* view) {
  mLastPoint = screenPoint;
  menu->menuWillOpen();
  std::vector<std::string> titles;
  for (platform::NSMenuItem* item : menu->itemArray())
    titles.push_back(item->isSeparatorItem() ? "-" : item->title());
  mPopped.push_back(std::move(titles));
  if (mAnswers.empty()) return nullptr;
  std::string answer = mAnswers.front();
  mAnswers.pop_front();
  if (answer.empty()) return nullptr;
  // The popped menu itself was opened above; only the submenus on the way open here.
  std::size_t slash = answer.find('/');
  if (slash == std::string::npos) return findMenuItem(menu, answer, false);
  platform::NSMenuItem* head = findMenuItem(menu, answer.substr(0, slash), false);
  return head ? findMenuItem(head->submenu(), answer.substr(slash + 1), true) : nullptr;
}

}  // namespace testsupport
