#include "windowing/menus/MenuApi.h"

#include "platform/Menu.h"
#include "windowing/core/WindowInterfaces.h"

void DestroyMenu(HMENU menu) {
  if (auto* object = platform::liveObjectAs<platform::NSMenu>(menu)) object->release();
}

HMENU CreatePopupMenu() {
  return swell::handleFromMenu(new platform::NSMenu);
}
