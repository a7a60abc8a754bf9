#include "windowing/core/WindowMenus.h"

#include "platform/core/Menu.h"
#include "platform/core/View.h"
#include "platform/core/Window.h"
#include "windowing/core/WindowInterfaces.h"

using platform::NSObject;
using platform::NSView;
using platform::NSWindow;

namespace {

HMENU gDefaultWindowMenu = nullptr;
HMENU gDefaultModalWindowMenu = nullptr;

// Items with a command id go to the receiver; items with id 0 keep their own target.
// The receiver also hears each menu about to open. Menus are trees; the bound only
// guards against a menu made its own submenu.
void setDestination(platform::NSMenu* menu, platform::NSObject* receiver, int depth) {
  if (!menu || depth > 64) return;
  menu->setDelegate(dynamic_cast<platform::NSMenuDelegate*>(receiver));
  for (platform::NSMenuItem* item : menu->itemArray()) {
    if (item->hasSubmenu()) {
      setDestination(item->submenu(), receiver, depth + 1);
    } else if (item->tag() != 0) {
      item->setTarget(receiver);
      if (receiver) item->setAction(kSwellCommandAction);
    }
  }
}
}  // namespace

void SWELL_SetMenuDestination(HMENU menu, HWND hwnd) {
  auto* object = platform::liveObjectAs<platform::NSMenu>(menu);
  if (!object) return;
  platform::NSObject* receiver = swell::objectFromHandle(hwnd);
  // A window takes commands only when it can turn them into WM_COMMAND.
  if (hwnd && !dynamic_cast<platform::ActionTarget*>(receiver)) return;
  setDestination(object, receiver, 0);
}

void SWELL_SetDefaultWindowMenu(HMENU menu) {
  gDefaultWindowMenu = menu;
}
HMENU SWELL_GetDefaultWindowMenu() {
  return gDefaultWindowMenu;
}
void SWELL_SetDefaultModalWindowMenu(HMENU menu) {
  gDefaultModalWindowMenu = menu;
}
HMENU SWELL_GetDefaultModalWindowMenu() {
  return gDefaultModalWindowMenu;
}

HMENU SWELL_FindMenuForWindow(HWND contentView, HWND windowHandle, bool ownOnly) {
  NSObject* view = swell::objectFromHandle(contentView);
  if (ownOnly) {
    auto* data = dynamic_cast<SwellWindowObject*>(view);
    return data ? data->swellGetMenu() : nullptr;
  }
  NSObject* window = swell::objectFromHandle(windowHandle);
  // Owner chains are short; the bound guards against a cycle.
  for (int depth = 0; depth < 64 && view; ++depth) {
    if (auto* data = dynamic_cast<SwellWindowObject*>(view))
      if (HMENU menu = data->swellGetMenu()) return menu;
    auto* top = dynamic_cast<SwellTopLevelWindow*>(window);
    if (!top) return nullptr;
    NSObject* owner = top->swellGetOwner();
    if (!owner || owner == window || owner == view) return nullptr;
    if (auto* ownerView = dynamic_cast<NSView*>(owner)) owner = ownerView->window();
    auto* ownerWindow = dynamic_cast<NSWindow*>(owner);
    if (!ownerWindow || !ownerWindow->contentView()) return nullptr;
    window = ownerWindow;
    view = ownerWindow->contentView();
  }
  return nullptr;
}
