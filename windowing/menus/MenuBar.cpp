#include "platform/core/Application.h"
#include "platform/core/View.h"
#include "platform/core/Window.h"
#include "windowing/core/Capture.h"
#include "windowing/core/RunLoopControl.h"
#include "windowing/core/SendMessage.h"
#include "windowing/core/WindowInterfaces.h"
#include "windowing/core/WindowMenus.h"
#include "windowing/menus/Menus.h"
#include "windowing/menus/detail/MenuObjects.h"

using platform::NSApp;
using platform::NSMenu;
using platform::NSView;
using platform::NSWindow;
using platform::Ref;

// The receiver of one TrackPopupMenu run: it keeps the chosen command and, unless the
// caller asked for no notifications, lets the window update each menu before it opens.
class Swell_vCorvaneBrisko_trackpopupmenurecv : public platform::NSObject,
                                                public platform::ActionTarget,
                                                public platform::NSMenuDelegate {
 public:
  explicit Swell_vCorvaneBrisko_trackpopupmenurecv(HWND window) : cbwnd(window) {}

  void performAction(int, platform::NSObject* sender) override {
    auto* item = dynamic_cast<platform::NSMenuItem*>(sender);
    if (item && item->tag() != 0) m_act = static_cast<int>(item->tag());
  }
  void menuNeedsUpdate(NSMenu* menu) override {
    if (!cbwnd) return;
    HMENU handle = swell::handleFromMenuObject(menu);
    SendMessage(cbwnd, WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(handle), 0);
    SWELL_SetMenuDestination(handle, reinterpret_cast<HWND>(this));
  }

  int m_act = 0;
  HWND cbwnd = nullptr;
};

namespace {

// The top-level window a window handle belongs to as itself or as its content view.
NSWindow* topLevelOf(platform::NSObject* object) {
  if (auto* w = dynamic_cast<NSWindow*>(object)) return w;
  auto* view = dynamic_cast<NSView*>(object);
  if (view && view->window() && view->window()->contentView() == view) return view->window();
  return nullptr;
}

}  // namespace

HMENU SWELL_GetCurrentMenu() {
  return swell::handleFromMenuObject(NSApp()->mainMenu());
}

void SWELL_SetCurrentMenu(HMENU menu) {
  NSMenu* object = swell::menuFromHandle(menu);
  if (!object || swell::isQuitting()) return;
  NSApp()->setMainMenu(object);
}

BOOL SetMenu(HWND hwnd, HMENU menu) {
  platform::NSObject* object = swell::objectFromHandle(hwnd);
  NSWindow* top = topLevelOf(object);
  if (auto* w = dynamic_cast<NSWindow*>(object)) object = w->contentView();
  auto* data = dynamic_cast<SwellWindowObject*>(object);
  if (!data || swell::isQuitting()) return 0;
  data->swellSetMenu(menu);
  NSMenu* menuObject = swell::menuFromHandle(menu);
  // A top-level window shows its own menu as a bar above its client area.
  if (top) top->setMenuBar(menuObject);
  if (top && top == NSApp()->keyWindow() && NSApp()->mainMenu() != menuObject) {
    NSApp()->setMainMenu(menuObject);
    if (menuObject)
      SendMessage(swell::handleFromObject(object), WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(menu),
                  0);
  }
  return 1;
}

HMENU GetMenu(HWND hwnd) {
  platform::NSObject* object = swell::objectFromHandle(hwnd);
  if (auto* w = dynamic_cast<NSWindow*>(object)) object = w->contentView();
  auto* data = dynamic_cast<SwellWindowObject*>(object);
  return data ? data->swellGetMenu() : nullptr;
}

void DrawMenuBar(HWND hwnd) {
  if (NSWindow* top = topLevelOf(swell::objectFromHandle(hwnd))) top->setMenuBarNeedsDisplay();
}

int TrackPopupMenu(HMENU menu, int flags, int x, int y, int, HWND hwnd) {
  ReleaseCapture();
  NSMenu* object = swell::menuFromHandle(menu);
  if (!object) return 0;
  NSView* view = swell::viewForHandle(hwnd);
  if (!view && NSApp()->mainWindow()) view = NSApp()->mainWindow()->contentView();
  if (!view || !view->window()) return 0;
  Ref<NSMenu> keepMenu(object);
  Ref<NSView> keepView(view);

  const bool notify = !(flags & TPM_NONOTIFY);
  Ref<Swell_vCorvaneBrisko_trackpopupmenurecv> receiver =
      Ref<Swell_vCorvaneBrisko_trackpopupmenurecv>::adopt(
          new Swell_vCorvaneBrisko_trackpopupmenurecv(notify ? hwnd : nullptr));
  HWND receiverHandle = swell::handleFromObject(receiver.get());
  SWELL_SetMenuDestination(menu, receiverHandle);
  if (notify && hwnd) {
    SendMessage(hwnd, WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(menu), 0);
    // Items the window added while updating are routed too.
    SWELL_SetMenuDestination(menu, receiverHandle);
  }
  // The menu opens a little below the point, as a context menu does.
  constexpr double kPopupOffsetY = 4;
  platform::NSPoint inWindow = view->window()->convertPointFromScreen(
      {static_cast<double>(x), static_cast<double>(y) - kPopupOffsetY});
  object->popUpMenu(view->convertPointFromView(inWindow, nullptr), view);
  if (swell::menuFromHandle(menu)) SWELL_SetMenuDestination(menu, nullptr);

  const int chosen = receiver->m_act;
  if (chosen <= 0) return 0;
  if (flags & TPM_RETURNCMD) return chosen;
  if (hwnd) SendMessage(hwnd, WM_COMMAND, static_cast<WPARAM>(chosen), 0);
  return 1;
}
