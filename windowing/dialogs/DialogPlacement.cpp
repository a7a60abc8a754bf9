#include "windowing/dialogs/DialogPlacement.h"

#include <algorithm>
#include <cmath>

#include "base/Finite.h"
#include "platform/core/Application.h"
#include "platform/core/View.h"
#include "platform/objects/Screen.h"
#include "windowing/core/WindowInterfaces.h"

namespace {

// The visible area of the screen holding `point`, else of the main screen; empty without
// screens.
platform::NSRect visibleScreenAreaAt(platform::NSPoint point) {
  const auto& screens = platform::NSScreen::screens();
  for (const platform::NSScreen& screen : screens)
    if (platform::NSPointInRect(point, screen.frame)) return screen.visibleFrame;
  return screens.empty() ? platform::NSRect{} : screens.front().visibleFrame;
}

}  // namespace

namespace swell {

void centreDialogOverOwner(platform::NSWindow* dialog, const platform::NSWindow* owner) {
  if (!dialog) return;
  const platform::NSSize size = dialog->frame().size;
  platform::NSRect over = owner ? owner->frame() : platform::NSRect{};
  if (!owner || !base::isFiniteRect(over.minX(), over.minY(), over.maxX(), over.maxY())) {
    over = visibleScreenAreaAt({0, 0});
    if (over.isEmpty()) return;  // no screen to centre on
  }
  const platform::NSRect area = visibleScreenAreaAt({over.midX(), over.midY()});
  double x = std::round(over.midX() - size.width / 2);
  double y = std::round(over.midY() - size.height / 2);
  if (!area.isEmpty()) {
    x = std::max(std::min(x, area.maxX() - size.width), area.minX());
    y = std::min(std::max(y, area.minY()), area.maxY() - size.height);
  }
  dialog->setFrameOrigin({x, y});
}

platform::NSWindow* dialogOwnerOf(HWND hwnd) {
  platform::NSObject* object = objectFromHandle(hwnd);
  if (auto* window = dynamic_cast<platform::NSWindow*>(object)) return window;
  if (auto* view = dynamic_cast<platform::NSView*>(object))
    if (platform::NSWindow* window = view->window()) return window;
  platform::NSApplication* app = platform::NSApp();
  if (!app) return nullptr;
  return app->keyWindow() ? app->keyWindow() : app->mainWindow();
}

}  // namespace swell
