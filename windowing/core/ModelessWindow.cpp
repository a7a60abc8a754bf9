#include "windowing/core/ModelessWindow.h"

#include "platform/core/View.h"
#include "windowing/core/SendMessage.h"
#include "windowing/core/WindowApi.h"
#include "windowing/core/WindowMenus.h"
#include "windowing/core/WindowObject.h"
#include "windowing/kernel/OsVersion.h"

using platform::NSObject;
using platform::Ref;

namespace {

// The content origin: 50 points right of the left edge and 100 points below the upper
// edge of the reference rectangle (the parent's window or the screen area). Screen y
// points up, so a RECT's bottom is its upper edge.
platform::NSRect placeContent(HWND parent, double width, double height) {
  RECT ref{};
  if (!parent || !GetWindowRect(parent, &ref)) SWELL_GetViewPort(&ref, nullptr, false);
  return platform::NSMakeRect(ref.left + 50, ref.bottom - height - 100, width, height);
}

}  // namespace

Swell_vCorvaneBrisko_modelesswindow::Swell_vCorvaneBrisko_modelesswindow(
    const platform::NSRect& content, unsigned style)
    : SwellTopLevelWindowBase(content, style) {}

void Swell_vCorvaneBrisko_modelesswindow::adoptOwner(HWND parent) {
  NSObject* object = swell::objectFromHandle(parent);
  if (auto* top = dynamic_cast<SwellTopLevelWindow*>(object)) {
    top->swellAddOwnedWindow(this);
  } else if (auto* view = dynamic_cast<platform::NSView*>(object)) {
    if (auto* owner = dynamic_cast<SwellTopLevelWindow*>(view->window()))
      owner->swellAddOwnedWindow(this);
  }
}

Swell_vCorvaneBrisko_modelesswindow* Swell_vCorvaneBrisko_modelesswindow::initModeless(
    const SWELL_DialogResourceIndex* resstate, HWND parent, DLGPROC dlgproc, LPARAM param,
    HWND* outputHwnd, unsigned forceStyles) {
  double width = resstate ? resstate->width : 10, height = resstate ? resstate->height : 10;
  unsigned style = forceStyles;
  if (resstate) {
    style |= platform::NSWindowStyleMaskTitled | platform::NSWindowStyleMaskClosable |
             platform::NSWindowStyleMaskMiniaturizable;
    if (resstate->windowTypeFlags & SWELL_DLG_WS_RESIZABLE)
      style |= platform::NSWindowStyleMaskResizable;
  }
  auto* window =
      new Swell_vCorvaneBrisko_modelesswindow(placeContent(parent, width, height), style);
  Ref<NSObject> keep(window);
  HWND self = swell::handleFromObject(window);
  if (resstate && resstate->title) SetDlgItemText(self, 0, resstate->title);
  window->adoptOwner(parent);
  auto* content = new Swell_vCorvaneBrisko_hwnd;
  content->initChild(resstate, window, dlgproc, param);
  content->setSwellCreateWindowFlags(style);
  if (outputHwnd) *outputHwnd = swell::handleFromObject(content);
  content->release();
  if (platform::isLiveObject(window)) window->display();
  return window;
}

Swell_vCorvaneBrisko_modelesswindow* Swell_vCorvaneBrisko_modelesswindow::initModelessForChild(
    HWND child, HWND owner, unsigned styleMask) {
  auto* view = swell::objectFromHandleAs<platform::NSView>(child);
  platform::NSSize size = view ? view->bounds().size : platform::NSSize{0, 0};
  auto* window = new Swell_vCorvaneBrisko_modelesswindow(
      placeContent(owner, size.width, size.height), styleMask);
  if (view) window->setContentView(view);
  window->adoptOwner(owner);
  return window;
}

HMENU Swell_vCorvaneBrisko_modelesswindow::menuForKeyStatus() {
  HMENU menu = SWELL_FindMenuForWindow(contentHandle(), swell::handleFromObject(this), false);
  return menu ? menu : SWELL_GetDefaultWindowMenu();
}

void Swell_vCorvaneBrisko_modelesswindow::toggleFullScreen(NSObject* sender) {
  SendMessage(contentHandle(), kToggleFullScreenMessage,
              reinterpret_cast<WPARAM>("toggleFullScreen"), reinterpret_cast<LPARAM>(sender));
}

HWND SWELL_CreateModelessWindowForChild(HWND child, HWND owner, unsigned styleMask) {
  return swell::handleFromObject(
      Swell_vCorvaneBrisko_modelesswindow::initModelessForChild(child, owner, styleMask));
}

void SWELL_SetCollectionBehaviorForWindow(HWND hwnd) {
  if (SWELL_GetOSXVersion() < 0x1060) return;
  if (auto* w = swell::objectFromHandleAs<platform::NSWindow>(hwnd))
    w->setCollectionBehavior(swell::kCollectionBehavior);
}
