#include "windowing/dialogs/DialogResources.h"

#include <functional>

#include "platform/core/Application.h"
#include "platform/core/Panel.h"
#include "platform/core/View.h"
#include "windowing/core/ModelessWindow.h"
#include "windowing/core/SendMessage.h"
#include "windowing/core/WindowObject.h"
#include "windowing/dialogs/detail/DialogBox.h"

using platform::NSObject;
using platform::NSView;
using platform::NSWindow;
using platform::Ref;

SWELL_DialogResourceIndex* SWELL_DialogResourceHead = nullptr;

namespace {

// Frame styles of a bare window request by its low bits: bit 0 adds resizable; bits 1
// and 2 pick titled-closable-miniaturizable, titled-closable, titled-miniaturizable or
// titled alone.
unsigned bareWindowStyle(unsigned lowBits) {
  static constexpr unsigned kByBits12[4] = {7, 3, 5, 1};
  unsigned style = kByBits12[(lowBits >> 1) & 3];
  if (lowBits & 1) style |= platform::NSWindowStyleMaskResizable;
  return style;
}

// Where a child goes: a parent view itself, an accessory-taking panel itself, another
// window its content view.
NSObject* childTarget(HWND parent) {
  NSObject* object = swell::objectFromHandle(parent);
  if (dynamic_cast<NSView*>(object)) return object;
  if (dynamic_cast<platform::AccessoryViewHost*>(object) &&
      dynamic_cast<platform::NSPanel*>(object))
    return object;
  if (auto* w = dynamic_cast<NSWindow*>(object)) return w->contentView();
  return nullptr;
}

HWND liveOrNull(HWND hwnd) {
  return platform::isLiveObject(hwnd) ? hwnd : nullptr;
}

}  // namespace

void SWELL_RegisterDialogResource(SWELL_DialogResourceIndex* record) {
  if (!record) return;
  record->_next = SWELL_DialogResourceHead;
  SWELL_DialogResourceHead = record;
}

SWELL_DialogResourceIndex* SWELL_FindDialogResource(SWELL_DialogResourceIndex* head,
                                                    const char* resid) {
  for (SWELL_DialogResourceIndex* r = head; r; r = r->_next)
    if (r->resid == resid) return r;
  return nullptr;
}

HWND SWELL_CreateDialog(SWELL_DialogResourceIndex* reshead, const char* resid, HWND parent,
                        DLGPROC dlgproc, LPARAM param) {
  auto id = reinterpret_cast<std::uintptr_t>(resid);
  bool bare = (id & ~std::uintptr_t{0xF}) == kBareWindowRequest;
  unsigned lowBits = bare ? static_cast<unsigned>(id & 0xF) : 0;
  if (bare) resid = nullptr;
  SWELL_DialogResourceIndex* res = SWELL_FindDialogResource(reshead, resid);
  if (!res && resid) return nullptr;

  NSObject* target = parent ? childTarget(parent) : nullptr;
  bool makeChild =
      res ? ((res->windowTypeFlags & SWELL_DLG_WS_CHILD) && target) : (lowBits == 0 && target);
  if (makeChild) {
    auto* view = new Swell_vCorvaneBrisko_hwnd;
    view->initChild(res, target, dlgproc, param);
    view->setSwellCreateWindowFlags(15);
    HWND hwnd = swell::handleFromObject(view);
    view->release();
    return liveOrNull(hwnd);
  }
  HWND content = nullptr;
  Swell_vCorvaneBrisko_modelesswindow::initModeless(res, parent, dlgproc, param, &content,
                                                    bare ? bareWindowStyle(lowBits) : 0);
  return liveOrNull(content);
}

int SWELL_DialogBox(SWELL_DialogResourceIndex* reshead, const char* resid, HWND parent,
                    DLGPROC dlgproc, LPARAM param) {
  SWELL_DialogResourceIndex* res = SWELL_FindDialogResource(reshead, resid);
  if (!res || (res->windowTypeFlags & SWELL_DLG_WS_CHILD)) return -1;
  platform::NSAutoreleasePool pool;
  // Our reference keeps the panel, and so its result, readable after it closed.
  auto box = Ref<Swell_vCorvaneBrisko_dialogbox>::adopt(
      Swell_vCorvaneBrisko_dialogbox::initDialogBox(res, parent, dlgproc, param));
  if (!box) return -1;
  auto finish = [&] {
    if (box->isClosed()) return;
    if (NSView* content = box->contentView())
      SendMessage(swell::handleFromObject(content), WM_DESTROY, 0, 0);
    box->close();
  };
  // Ended (EndDialog) or destroyed (DestroyWindow) during WM_INITDIALOG: no modal loop.
  // Running one would show the closed panel again with nobody left to end it.
  if (box->swellHasModalRetVal() || box->isClosed()) {
    finish();
    return box->swellGetModalRetVal();
  }
  // The loop also ends when a result arrived while a nested modal loop was current
  // (EndDialog could not stop this one then), or when the panel was closed some other
  // way: nobody could end it after that.
  platform::NSApp()->runModalForWindow(
      box.get(), [&] { return box->swellHasModalRetVal() || box->isClosed(); });
  finish();
  return box->swellGetModalRetVal();
}

void EndDialog(HWND hwnd, int result) {
  NSObject* object = swell::objectFromHandle(hwnd);
  NSView* view = nullptr;
  NSWindow* window = nullptr;
  if (auto* v = dynamic_cast<NSView*>(object)) {
    view = v;
    window = v->window();
  } else if (auto* w = dynamic_cast<NSWindow*>(object)) {
    window = w;
    view = w->contentView();
  }
  if (!window) return;
  Ref<NSWindow> keep(window);
  if (auto* holder = dynamic_cast<SwellModalResultHolder*>(window))
    holder->swellSetModalRetVal(result);
  platform::NSApplication* app = platform::NSApp();
  if (app->modalWindow() != window) return;
  if (auto* entry = dynamic_cast<SwellMessageEntry*>(view)) entry->onSwellMessage(WM_DESTROY, 0, 0);
  const platform::NSEvent* current = app->currentEvent();
  if (current && current->window == window) app->stopModal();
  app->abortModal();
  window->close();
}
