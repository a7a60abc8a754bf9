#pragma once

#include <string>
#include <vector>

#include "platform/Geometry.h"

namespace platform {

// A display: its frame and the part not taken by the menu bar and dock, in screen
// coordinates (y up, origin at the bottom left of the main screen).
struct NSScreen {
  NSRect frame;
  NSRect visibleFrame;
  int number = 0;

  // The name the system gives the display: "DisplayID" and its number (Linux has no
  // product names to offer in its place).
  std::string localizedName() const;

  // The configured screens; the first is the main screen. Headless default: one
  // 1280 x 800 screen whose top 22 points are the menu bar.
  static const std::vector<NSScreen>& screens();
  static const NSScreen* mainScreen();
  // Replaces the configuration: tests, and the X11 backend with the screens RandR reports.
  static void setScreens(std::vector<NSScreen> screens);
  static void resetToDefault();
  static constexpr double kMenuBarHeight = 22;
};

}  // namespace platform
