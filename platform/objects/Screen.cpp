#include "platform/objects/Screen.h"

#include <cstdio>

namespace platform {

namespace {
std::vector<NSScreen> defaultScreens() {
  NSScreen s;
  s.frame = NSMakeRect(0, 0, 1280, 800);
  s.visibleFrame = NSMakeRect(0, 0, 1280, 800 - NSScreen::kMenuBarHeight);
  s.number = 1;
  return {s};
}
std::vector<NSScreen>& configured() {
  static std::vector<NSScreen> screens = defaultScreens();
  return screens;
}
}  // namespace

std::string NSScreen::localizedName() const {
  char name[32];
  std::snprintf(name, sizeof name, "DisplayID %d", number);
  return name;
}

const std::vector<NSScreen>& NSScreen::screens() {
  return configured();
}

const NSScreen* NSScreen::mainScreen() {
  return configured().empty() ? nullptr : &configured().front();
}

void NSScreen::setScreens(std::vector<NSScreen> screens) {
  configured() = std::move(screens);
}

void NSScreen::resetToDefault() {
  configured() = defaultScreens();
}

}  // namespace platform
