#include "platform/DisplayBackend.h"

#include <cstdlib>
#include <string_view>

#include "base/Log.h"
#include "platform/Application.h"
#include "platform/KeyboardLayout.h"
#include "platform/Menu.h"
#include "platform/MenuWindow.h"
#include "platform/RunningApplication.h"
#include "platform/Window.h"

namespace platform {

cairo_surface_t* DisplayBackend::createBackingStore(NSWindow*, int width, int height) {
  return cairo_image_surface_create(CAIRO_FORMAT_ARGB32, width, height);
}

namespace {

class HeadlessDisplayBackend final : public DisplayBackend {
 public:
  const char* name() const override { return "headless"; }
};

struct BackendSlot {
  std::unique_ptr<DisplayBackend> backend = makeHeadlessDisplayBackend();
  bool chosen = false;
};

BackendSlot& slot() {
  // Never destroyed: windows freed by static destructors still tell the backend.
  static BackendSlot* s = new BackendSlot;
  return *s;
}

}  // namespace

std::unique_ptr<DisplayBackend> makeHeadlessDisplayBackend() {
  return std::make_unique<HeadlessDisplayBackend>();
}

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

void chooseDisplayBackend() {
  if (slot().chosen) return;
  const char* display = std::getenv("DISPLAY");
  if (display && *display) {
    if (auto x11 = makeX11DisplayBackend(display)) {
      setDisplayBackend(std::move(x11));
      return;
    }
    base::warn("platform",
               "display: the X server \"%s\" does not answer; running without a display", display);
  } else {
    base::warn("platform", "display: DISPLAY is not set; running without a display");
  }
  setDisplayBackend(makeHeadlessDisplayBackend());
}

}  // namespace platform
