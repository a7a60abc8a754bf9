#include "platform/core/DisplaySwitch.h"

#include <cstdlib>
#include <string_view>
#include <vector>

#include "base/Log.h"
#include "platform/core/Application.h"
#include "platform/core/Menu.h"
#include "platform/core/MenuWindow.h"
#include "platform/core/Window.h"
#include "platform/display/KeyboardLayout.h"
#include "platform/system/RunningApplication.h"

namespace platform {

namespace {
// Whether a backend was installed or chosen.
bool gChosen = false;
}  // namespace

void setDisplayBackend(std::unique_ptr<DisplayBackend> backend) {
  gChosen = true;
  // The old backend lets go of the windows before the new one takes them.
  std::vector<NSWindow*> windows =
      NSApplication::sharedApplicationExists() ? NSApp()->windows() : std::vector<NSWindow*>{};
  for (NSWindow* w : windows)
    displayBackend().windowClosed(w);
  for (NSWindow* w : windows)
    w->discardBackingStore();
  exchangeDisplayBackend(std::move(backend));
  DisplayBackend& shown = displayBackend();
  // Other programs' windows and the keyboard's layout are the display's to know.
  NSRunningApplication::setActivator(
      [](pid_t pid) { return displayBackend().bringProcessToFront(pid); });
  NSKeyboardLayout::setCurrent(shown.keyboardLayout());
  // Pop-up menus show as menu windows where windows are shown; a tracker of another
  // kind (the test harness's answers) stays.
  MenuTracker* windowTracker = NSMenuWindow::tracker();
  const bool headless = shown.name() == std::string_view("headless");
  if (!headless && !menuTracker()) setMenuTracker(windowTracker);
  if (headless && menuTracker() == windowTracker) setMenuTracker(nullptr);
  for (NSWindow* w : windows) {
    shown.windowAttributesChanged(w);
    if (w->isVisible()) shown.windowVisibilityChanged(w);
  }
}

void chooseDisplayBackend(DisplayBackendMaker maker) {
  if (gChosen) return;
  const char* display = std::getenv("DISPLAY");
  if (!display || !*display) {
    base::warn("platform", "display: DISPLAY is not set; running without a display");
  } else if (auto answering = maker ? maker(display) : nullptr) {
    setDisplayBackend(std::move(answering));
    return;
  } else {
    base::warn("platform",
               "display: the X server \"%s\" does not answer; running without a display", display);
  }
  setDisplayBackend(makeHeadlessDisplayBackend());
}

}  // namespace platform
