#include <algorithm>
#include <cstring>
#include <vector>

#include "base/Log.h"
#include "platform/core/Application.h"
#include "platform/core/Control.h"
#include "platform/core/RunLoop.h"
#include "platform/core/Text.h"
#include "platform/core/TextField.h"
#include "platform/core/Window.h"
#include "platform/system/Clock.h"
#include "windowing/core/Painting.h"
#include "windowing/core/Timers.h"
#include "windowing/core/TopLevelWindow.h"
#include "windowing/core/WindowApi.h"
#include "windowing/core/WindowObject.h"
#include "windowing/core/WindowProperties.h"
#include "windowing/core/detail/WindowApiRules.h"
#include "windowing/kernel/OsVersion.h"

using platform::NSObject;
using platform::NSView;
using platform::NSWindow;
using platform::Ref;

namespace {

// SWELL_ModalWindowEnd steps a session that still runs this often, this many times at
// most (about a second) before it ends the session anyway.
constexpr double kModalEndStepMs = 10;
constexpr int kModalEndMaxSteps = 100;

// Presentation options of SWELL_SetMenuBarAndDockHiding.
constexpr unsigned kAutoHideDockAndMenuBar = 5;
constexpr unsigned kHideDockAutoHideMenuBar = 6;
constexpr int kPresentationOptionsFromVersion = 0x1060;

// The content-view property that keeps a window's document state alone.
constexpr const char* kDisableWindowRepre = "SWELL_DisableWindowRepre";

// Sessions begun here and not yet ended; others are refused.
std::vector<platform::NSModalSession*>& liveSessions() {
  static std::vector<platform::NSModalSession*> sessions;
  return sessions;
}

platform::NSModalSession* liveSession(void* session) {
  auto& sessions = liveSessions();
  auto it = std::find(sessions.begin(), sessions.end(), session);
  return it == sessions.end() ? nullptr : *it;
}

NSWindow* windowOfHandle(HWND hwnd) {
  return swell::windowOf(swell::objectFromHandle(hwnd));
}

void destroyView(NSView* view) {
  HWND hwnd = swell::handleFromObject(view);
  KillTimer(hwnd, static_cast<UINT_PTR>(-1));
  if (auto* entry = dynamic_cast<SwellMessageEntry*>(view)) entry->onSwellMessage(WM_DESTROY, 0, 0);
  NSWindow* w = view->window();
  if (!w) {
    view->removeFromSuperview();
    return;
  }
  auto* focus = dynamic_cast<NSView*>(w->firstResponder());
  if (focus && focus->isDescendantOf(view)) w->makeFirstResponder(nullptr);
  view->removeFromSuperview();
}

void destroyTopLevel(NSWindow* window) {
  Ref<NSWindow> keep(window);
  KillTimer(swell::handleFromObject(window), static_cast<UINT_PTR>(-1));
  if (auto* entry = dynamic_cast<SwellMessageEntry*>(window->contentView()))
    entry->onSwellMessage(WM_DESTROY, 0, 0);
  if (auto* entry = dynamic_cast<SwellMessageEntry*>(window))
    entry->onSwellMessage(WM_DESTROY, 0, 0);
  if (auto* top = dynamic_cast<SwellTopLevelWindow*>(window)) top->swellDoDestroyStuff();
  if (NSWindow* parent = window->parentWindow()) parent->removeChildWindow(window);
  window->close();
}

}  // namespace

BOOL DestroyWindow(HWND hwnd) {
  NSObject* object = swell::objectFromHandle(hwnd);
  if (!object) return 0;
  Ref<NSObject> keep(object);
  if (auto* view = dynamic_cast<NSView*>(object)) {
    if (!swell::isContentView(view)) {
      destroyView(view);
      return 1;
    }
    // A content view's timers and WM_DESTROY come first; then its window goes.
    KillTimer(hwnd, static_cast<UINT_PTR>(-1));
    if (auto* entry = dynamic_cast<SwellMessageEntry*>(view))
      entry->onSwellMessage(WM_DESTROY, 0, 0);
    // The procedure may have destroyed the window already.
    if (!swell::isContentView(view)) return 1;
    object = view->window();
  }
  auto* window = dynamic_cast<NSWindow*>(object);
  if (!window) return 0;
  destroyTopLevel(window);
  return 1;
}

void SWELL_CloseWindow(HWND hwnd) {
  if (NSWindow* window = windowOfHandle(hwnd)) window->close();
}

void SWELL_HideApp() {
  platform::NSApp()->hide();
}

void* SWELL_ModalWindowStart(HWND hwnd) {
  NSWindow* window = windowOfHandle(hwnd);
  if (!window) return nullptr;
  platform::NSModalSession* session = platform::NSApp()->beginModalSession(window);
  liveSessions().push_back(session);
  return session;
}

bool SWELL_ModalWindowRun(void* session, int* result) {
  platform::NSModalSession* s = liveSession(session);
  if (!s) {
    if (result) *result = static_cast<int>(platform::NSModalResponseAbort);
    return false;
  }
  platform::NSModalResponse response = platform::NSApp()->runModalSession(s);
  if (response == platform::NSModalResponseContinue) return true;
  if (result) *result = static_cast<int>(response);
  return false;
}

void SWELL_ModalWindowEnd(void* session) {
  platform::NSModalSession* s = liveSession(session);
  if (!s) return;
  platform::NSApplication* app = platform::NSApp();
  if (!s->stopped) {
    app->stopModal();
    // A loop that does not stop (another session above it, say) must not hold the
    // application forever.
    int steps = 0;
    while (app->runModalSession(s) == platform::NSModalResponseContinue) {
      if (++steps > kModalEndMaxSteps) {
        base::warn("swell-cocoa", "modal session did not stop; ending it anyway");
        break;
      }
      platform::NSRunLoop& loop = platform::NSRunLoop::mainRunLoop();
      loop.waitUntil(platform::nowMs() + kModalEndStepMs, platform::NSModalPanelRunLoopMode);
    }
  }
  auto& sessions = liveSessions();
  sessions.erase(std::remove(sessions.begin(), sessions.end(), s), sessions.end());
  app->endModalSession(s);
}

int SWELL_GetWindowWantRaiseAmt(HWND hwnd) {
  auto* top = dynamic_cast<SwellTopLevelWindow*>(windowOfHandle(hwnd));
  return top ? top->swellGetWantRaiseAmount() : 0;
}

void SWELL_SetWindowWantRaiseAmt(HWND hwnd, int amount) {
  NSWindow* window = windowOfHandle(hwnd);
  auto* top = dynamic_cast<SwellTopLevelWindow*>(window);
  if (!top) return;
  int previous = top->swellGetWantRaiseAmount();
  top->swellSetWantRaiseAmount(amount);
  // While active the raise is in effect: move the level by the change at once.
  if (platform::NSApp()->isActive() && amount != previous)
    window->setLevel(window->level() + (amount - previous));
}

int SWELL_SetWindowLevel(HWND hwnd, int level) {
  NSWindow* window = windowOfHandle(hwnd);
  if (!window) return 0;
  int previous = window->level();
  window->setLevel(level);
  return previous;
}

void SetOpaque(HWND hwnd, bool opaque) {
  if (auto* w = swell::objectFromHandleAs<Swell_vCorvaneBrisko_hwnd>(hwnd)) w->setOpaque(opaque);
}

int SWELL_GetDefaultButtonID(HWND hwnd, bool onlyEnabled) {
  NSWindow* window = windowOfHandle(hwnd);
  auto* control =
      dynamic_cast<platform::NSControl*>(window ? window->defaultButtonCell() : nullptr);
  if (!control || (onlyEnabled && !control->isEnabled())) return 0;
  return static_cast<int>(control->tag());
}

void SWELL_SetWindowRepre(HWND hwnd, const char* path, bool edited) {
  NSWindow* window = windowOfHandle(hwnd);
  if (!window) return;
  if (GetProp(swell::handleFromObject(window->contentView()), kDisableWindowRepre)) return;
  window->setDocumentEdited(edited);
  window->setRepresentedFilename(path ? path : "");
}

void SWELL_SetWindowTransparent(HWND hwnd) {
  NSWindow* window = windowOfHandle(hwnd);
  if (!window) return;
  window->setBackgroundColor(platform::NSColor::clearColor());
  window->setOpaque(false);
}

void SWELL_SetWindowShadow(HWND hwnd, bool shadow) {
  if (NSWindow* window = windowOfHandle(hwnd)) window->setHasShadow(shadow);
}

bool SWELL_SetMenuBarAndDockHiding(int mode) {
  if (SWELL_GetOSXVersion() < kPresentationOptionsFromVersion) return false;
  static bool remembered = false;
  static unsigned original = 0;
  platform::NSApplication* app = platform::NSApp();
  if (!remembered) {
    remembered = true;
    original = app->presentationOptions();
  }
  if (mode <= 0)
    app->setPresentationOptions(original);
  else
    app->setPresentationOptions(mode == 1 ? kAutoHideDockAndMenuBar : kHideDockAutoHideMenuBar);
  return true;
}

bool SWELL_IsFieldEditorOf(HWND a, HWND b) {
  NSObject* first = swell::objectFromHandle(a);
  NSObject* second = swell::objectFromHandle(b);
  if (!first || !second || first == second) return false;
  auto editorOf = [](NSObject* editor, NSObject* field) {
    auto* text = dynamic_cast<platform::NSText*>(editor);
    if (!text || !dynamic_cast<platform::NSTextField*>(field)) return false;
    // The field being edited is the nearest text field around its editor.
    for (NSView* v = text->superview(); v; v = v->superview())
      if (dynamic_cast<platform::NSTextField*>(v)) return v == field;
    return false;
  };
  return editorOf(first, second) || editorOf(second, first);
}

BOOL SWELL_GetGestureInfo(LPARAM lParam, GESTUREINFO* info) {
  if (!lParam || !info) return 0;
  std::memcpy(info, reinterpret_cast<const GESTUREINFO*>(lParam), sizeof(GESTUREINFO));
  return 1;
}
