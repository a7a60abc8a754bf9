#include "windowing/dialogs/detail/DialogBox.h"

#include <algorithm>
#include <cmath>

#include "base/Finite.h"
#include "platform/Screen.h"
#include "platform/View.h"
#include "windowing/core/WindowApi.h"
#include "windowing/core/WindowMenus.h"
#include "windowing/core/WindowObject.h"

namespace {

// The visible area of the screen holding `point`, else of the main screen; empty without
// screens.
platform::NSRect visibleScreenAreaAt(platform::NSPoint point) {
  const auto& screens = platform::NSScreen::screens();
  for (const platform::NSScreen& screen : screens)
    if (platform::NSPointInRect(point, screen.frame)) return screen.visibleFrame;
  return screens.empty() ? platform::NSRect{} : screens.front().visibleFrame;
}

// Where a dialog frame of `size` opens: centred over its owner's frame, or over the main
// screen without an owner, then kept within that screen's visible area (by its left and top
// edges when it is larger), so that its title bar can be reached.
platform::NSPoint centredDialogOrigin(platform::NSSize size, const platform::NSWindow* owner) {
  platform::NSRect over = owner ? owner->frame() : platform::NSRect{};
  if (!owner || !base::isFiniteRect(over.minX(), over.minY(), over.maxX(), over.maxY())) {
    over = visibleScreenAreaAt({0, 0});
    if (over.isEmpty()) return {0, 0};  // no screen to centre on
  }
  const platform::NSRect area = visibleScreenAreaAt({over.midX(), over.midY()});
  double x = std::round(over.midX() - size.width / 2);
  double y = std::round(over.midY() - size.height / 2);
  if (!area.isEmpty()) {
    x = std::max(std::min(x, area.maxX() - size.width), area.minX());
    y = std::min(std::max(y, area.minY()), area.maxY() - size.height);
  }
  return {x, y};
}

}  // namespace

Swell_vCorvaneBrisko_dialogbox::Swell_vCorvaneBrisko_dialogbox(const platform::NSRect& content,
                                                               unsigned style)
    : SwellTopLevelWindowBase(content, style) {
  setReleasedWhenClosed(false);
}

Swell_vCorvaneBrisko_dialogbox* Swell_vCorvaneBrisko_dialogbox::initDialogBox(
    const SWELL_DialogResourceIndex* resstate, HWND parent, DLGPROC dlgproc, LPARAM param) {
  double width = resstate ? resstate->width : 10, height = resstate ? resstate->height : 10;
  unsigned style = platform::NSWindowStyleMaskTitled | platform::NSWindowStyleMaskClosable;
  if (resstate && (resstate->windowTypeFlags & SWELL_DLG_WS_RESIZABLE))
    style |= platform::NSWindowStyleMaskResizable;
  auto* panel =
      new Swell_vCorvaneBrisko_dialogbox(platform::NSMakeRect(0, 0, width, height), style);
  HWND self = swell::handleFromObject(panel);
  platform::NSObject* owner = swell::objectFromHandle(parent);
  platform::NSWindow* ownerWindow = nullptr;
  if (auto* top = dynamic_cast<SwellTopLevelWindow*>(owner)) {
    top->swellAddOwnedWindow(panel);
    ownerWindow = dynamic_cast<platform::NSWindow*>(owner);
  } else if (auto* view = dynamic_cast<platform::NSView*>(owner)) {
    if (auto* top2 = dynamic_cast<SwellTopLevelWindow*>(view->window())) {
      top2->swellAddOwnedWindow(panel);
      ownerWindow = view->window();
    }
  }
  // Placed before WM_INITDIALOG, so that a dialog procedure that places the dialog itself
  // has the last word; placed again after it when it only changed the size.
  panel->setFrameOrigin(centredDialogOrigin(panel->frame().size, ownerWindow));
  const platform::NSRect placed = panel->frame();
  if (resstate && resstate->title) SetDlgItemText(self, 0, resstate->title);
  auto* content = new Swell_vCorvaneBrisko_hwnd;
  content->initChild(resstate, panel, dlgproc, param);
  if (!panel->isClosed() && panel->frame().origin == placed.origin &&
      panel->frame().size != placed.size) {
    panel->setFrameOrigin(centredDialogOrigin(panel->frame().size, ownerWindow));
  }
  content->setSwellCreateWindowFlags(style);
  content->setHidden(false);
  content->release();
  panel->setHidesOnDeactivate(false);
  panel->display();
  return panel;
}

HMENU Swell_vCorvaneBrisko_dialogbox::menuForKeyStatus() {
  if (auto* data = dynamic_cast<SwellWindowObject*>(contentView()))
    if (HMENU own = data->swellGetMenu()) return own;
  if (HMENU modal = SWELL_GetDefaultModalWindowMenu()) return modal;
  return SWELL_GetDefaultWindowMenu();
}
