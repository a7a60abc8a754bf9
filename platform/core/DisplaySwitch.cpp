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

struct BackendSlot {
  std::unique_ptr<DisplayBackend> backend = makeHeadlessDisplayBackend();
  bool chosen = false;
  DisplayBackendMaker maker = nullptr;
};

BackendSlot& slot() {
  // Never destroyed: windows freed by static destructors still tell the backend.
  static BackendSlot* s = new BackendSlot;
  return *s;
}

}  // namespace

DisplayBackend& displayBackend() {
  return *slot().backend;
}

void setDisplayBackend(std::unique_ptr<DisplayBackend> backend) {
  BackendSlot& s = slot();
  s.chosen = true;
  if (!backend) backend = makeHeadlessDisplayBackend();
  // The old backend lets go of the windows before the new one takes them.
  std::vector<NSWindow*> windows =
      NSApplication::sharedApplicationExists() ? NSApp()->windows() : std::vector<NSWindow*>{};
  for (NSWindow* w : windows)
    s.backend->windowClosed(w);
  for (NSWindow* w : windows)
    w->discardBackingStore();
  s.backend = std::move(backend);
  // Other programs' windows and the keyboard's layout are the display's to know.
  NSRunningApplication::setActivator(
      [](pid_t pid) { return displayBackend().bringProcessToFront(pid); });
  NSKeyboardLayout::setCurrent(s.backend->keyboardLayout());
  // Pop-up menus show as menu windows where windows are shown; a tracker of another
  // kind (the test harness's answers) stays.
  MenuTracker* windowTracker = NSMenuWindow::tracker();
  const bool headless = s.backend->name() == std::string_view("headless");
  if (!headless && !menuTracker()) setMenuTracker(windowTracker);
  if (headless && menuTracker() == windowTracker) setMenuTracker(nullptr);
  for (NSWindow* w : windows) {
    s.backend->windowAttributesChanged(w);
    if (w->isVisible()) s.backend->windowVisibilityChanged(w);
  }
}

void setDisplayBackendMaker(DisplayBackendMaker maker) {
  slot().maker = maker;
}

void chooseDisplayBackend() {
  if (slot().chosen) return;
  const char* display = std::getenv("DISPLAY");
  if (!display || !*display) {
    base::warn("platform", "display: DISPLAY is not set; running without a display");
  } else if (!slot().maker) {
    base::warn("platform",
               "display: this program shows no windows on \"%s\"; running without a display",
               display);
  } else if (auto shown = slot().maker(display)) {
    setDisplayBackend(std::move(shown));
    return;
  } else {
    base::warn("platform",
               "display: the X server \"%s\" does not answer; running without a display", display);
  }
  setDisplayBackend(makeHeadlessDisplayBackend());
}

}  // namespace platform
