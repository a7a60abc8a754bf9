#include "windowing/dialogs/detail/DialogBox.h"

#include "platform/core/View.h"
#include "windowing/core/WindowApi.h"
#include "windowing/core/WindowMenus.h"
#include "windowing/core/WindowObject.h"
#include "windowing/dialogs/DialogPlacement.h"

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
  swell::centreDialogOverOwner(panel, ownerWindow);
  const platform::NSRect placed = panel->frame();
  if (resstate && resstate->title) SetDlgItemText(self, 0, resstate->title);
  auto* content = new Swell_vCorvaneBrisko_hwnd;
  content->initChild(resstate, panel, dlgproc, param);
  // A resize keeps the left edge and the bottom or top edge; a move does not.
  const platform::NSRect now = panel->frame();
  const bool onlyResized = now.size != placed.size && now.minX() == placed.minX() &&
                           (now.minY() == placed.minY() || now.maxY() == placed.maxY());
  if (!panel->isClosed() && onlyResized) swell::centreDialogOverOwner(panel, ownerWindow);
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
