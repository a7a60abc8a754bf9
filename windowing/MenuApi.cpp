#include "windowing/MenuApi.h"

#include "platform/Menu.h"
#include "windowing/WindowInterfaces.h"

namespace {
void setTargets(platform::NSMenu* menu, platform::NSObject* target, int depth) {
  // Menus are trees; the bound only guards against a menu made its own submenu.
  if (!menu || depth > 64) return;
  for (platform::NSMenuItem* item : menu->itemArray()) {
    item->setTarget(target);
    setTargets(item->submenu(), target, depth + 1);
  }
}
}  // namespace

void SWELL_SetMenuDestination(HMENU menu, HWND hwnd) {
  auto* object = platform::liveObjectAs<platform::NSMenu>(menu);
  if (!object) return;
  setTargets(object, swell::objectFromHandle(hwnd), 0);
}

void DestroyMenu(HMENU menu) {
  if (auto* object = platform::liveObjectAs<platform::NSMenu>(menu)) object->release();
}

HMENU CreatePopupMenu() {
  return swell::handleFromMenu(new platform::NSMenu);
}
