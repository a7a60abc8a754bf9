#include "windowing/WindowApi.h"

#include <algorithm>
#include <cmath>
#include <string>

#include "platform/Application.h"
#include "platform/Box.h"
#include "platform/Button.h"
#include "platform/Screen.h"
#include "platform/ScrollView.h"
#include "platform/TextField.h"
#include "platform/Window.h"
#include "windowing/SendMessage.h"
#include "windowing/TextCopy.h"
#include "windowing/Timers.h"
#include "windowing/WindowObject.h"

using platform::NSObject;
using platform::NSView;
using platform::NSWindow;
using platform::Ref;

namespace {

constexpr DWORD kVisibleBit = 0x02000000;

LONG roundEdge(double v) {
  return static_cast<LONG>(std::floor(v + 0.5));
}

Swell_vCorvaneBrisko_hwnd* windowObject(HWND hwnd) {
  return dynamic_cast<Swell_vCorvaneBrisko_hwnd*>(swell::viewForHandle(hwnd));
}

// A content view stands for its window.
NSObject* contentViewRule(NSObject* object) {
  if (auto* view = dynamic_cast<NSView*>(object))
    if (NSWindow* w = view->window(); w && w->contentView() == view) return w;
  return object;
}

// A view inside a scroll view's clip view stands for the scroll view.
NSView* scrollRule(NSView* view) {
  if (!view) return nullptr;
  if (auto* clip = dynamic_cast<platform::NSClipView*>(view->superview()))
    if (auto* scroll = dynamic_cast<platform::NSScrollView*>(clip->superview())) return scroll;
  return view;
}

}  // namespace

LONG_PTR GetWindowLong(HWND hwnd, int index) {
  NSView* view = swell::viewForHandle(hwnd);
  auto* w = dynamic_cast<Swell_vCorvaneBrisko_hwnd*>(view);
  switch (index) {
    case GWL_WNDPROC:
      return w ? reinterpret_cast<LONG_PTR>(w->getSwellWindowProc()) : 0;
    case DWL_DLGPROC:
      return w ? reinterpret_cast<LONG_PTR>(w->getSwellDialogProc()) : 0;
    case GWL_ID:
      return view ? view->tag() : 0;
    case GWL_USERDATA:
      return w ? w->getSwellUserData() : 0;
    case GWL_EXSTYLE:
      return w ? w->swellGetExtendedStyle() : 0;
    case GWL_STYLE: {
      if (!view) return 0;
      LONG_PTR style = view->isHidden() ? 0 : kVisibleBit;
      NSWindow* win = view->window();
      if (!win || win->contentView() != view) {
        style |= WS_CHILD;
      } else if (win->styleMask() & platform::NSWindowStyleMaskTitled) {
        style |= WS_CAPTION;
        if (win->styleMask() & platform::NSWindowStyleMaskResizable) style |= WS_THICKFRAME;
      }
      return style;
    }
    case GWL_HWNDPARENT: {
      auto* top = dynamic_cast<SwellTopLevelWindow*>(view ? view->window() : nullptr);
      NSObject* owner = top ? top->swellGetOwner() : nullptr;
      if (auto* ow = dynamic_cast<NSWindow*>(owner)) owner = ow->contentView();
      return reinterpret_cast<LONG_PTR>(owner);
    }
    default:
      return w ? w->getSwellExtraData(index) : 0;
  }
}

LONG_PTR SetWindowLong(HWND hwnd, int index, LONG_PTR value) {
  auto* w = windowObject(hwnd);
  if (!w) return 0;
  LONG_PTR previous = GetWindowLong(hwnd, index);
  switch (index) {
    case GWL_WNDPROC:
      w->setSwellWindowProc(reinterpret_cast<WNDPROC>(value));
      break;
    case DWL_DLGPROC:
      w->setSwellDialogProc(reinterpret_cast<DLGPROC>(value));
      break;
    case GWL_ID:
      w->setTag(static_cast<int>(value));
      break;
    case GWL_USERDATA:
      w->setSwellUserData(value);
      break;
    case GWL_EXSTYLE:
      w->swellSetExtendedStyle(static_cast<LONG>(value));
      break;
    case GWL_STYLE:
    case GWL_HWNDPARENT:
      // Rebuilding frames and moving owners come with the window API.
      break;
    default:
      w->setSwellExtraData(index, value);
      break;
  }
  return previous;
}

BOOL DestroyWindow(HWND hwnd) {
  NSObject* object = swell::objectFromHandle(hwnd);
  if (!object) return 0;
  Ref<NSObject> keep(object);
  if (auto* view = dynamic_cast<NSView*>(object)) {
    KillTimer(hwnd, static_cast<UINT_PTR>(-1));
    if (auto* entry = dynamic_cast<SwellMessageEntry*>(view))
      entry->onSwellMessage(WM_DESTROY, 0, 0);
    NSWindow* w = view->window();
    if (!w) {
      view->removeFromSuperview();
      return 1;
    }
    if (w->contentView() != view) {
      auto* fr = dynamic_cast<NSView*>(w->firstResponder());
      if (fr && fr->isDescendantOf(view)) w->makeFirstResponder(nullptr);
      view->removeFromSuperview();
      return 1;
    }
    object = w;
  }
  auto* window = dynamic_cast<NSWindow*>(object);
  if (!window) return 0;
  Ref<NSWindow> keepWindow(window);
  HWND windowHandle = swell::handleFromObject(window);
  KillTimer(windowHandle, static_cast<UINT_PTR>(-1));
  if (auto* entry = dynamic_cast<SwellMessageEntry*>(window->contentView()))
    entry->onSwellMessage(WM_DESTROY, 0, 0);
  if (auto* entry = dynamic_cast<SwellMessageEntry*>(window))
    entry->onSwellMessage(WM_DESTROY, 0, 0);
  if (auto* top = dynamic_cast<SwellTopLevelWindow*>(window)) top->swellDoDestroyStuff();
  if (NSWindow* parent = window->parentWindow()) parent->removeChildWindow(window);
  window->close();
  return 1;
}

void ShowWindow(HWND hwnd, int cmd) {
  NSObject* object = swell::objectFromHandle(hwnd);
  if (!object) return;
  Ref<NSObject> keep(object);
  NSWindow* window = dynamic_cast<NSWindow*>(object);
  if (auto* view = dynamic_cast<NSView*>(object)) {
    NSWindow* w = view->window();
    bool isContent = w && w->contentView() == view;
    NSView* target = isContent ? view : scrollRule(view);
    if (cmd == 1 || cmd == 2) {
      target->setHidden(false);
    } else if (cmd == 0) {
      if (w) {
        auto* fr = dynamic_cast<NSView*>(w->firstResponder());
        if (fr && fr->isDescendantOf(target)) w->makeFirstResponder(nullptr);
      }
      if (!isContent && !target->isHidden()) target->setHidden(true);
    }
    if (!isContent) return;
    window = w;
  }
  if (!window) return;
  switch (cmd) {
    case 0:
      window->orderOut();
      break;
    case 1: {
      auto* top = dynamic_cast<SwellTopLevelWindow*>(window);
      if (top && top->swellWantInitialKeyWindowOnShow()) {
        top->swellSetWantInitialKeyWindowOnShow(false);
        window->makeKeyAndOrderFront();
      } else {
        window->orderFront();
      }
      break;
    }
    case 2:
      window->makeKeyAndOrderFront();
      break;
    case 3:
      window->miniaturize();
      break;
    default:
      break;
  }
}

BOOL IsWindow(HWND hwnd) {
  NSObject* object = swell::objectFromHandle(hwnd);
  if (!object) return 0;
  std::vector<NSWindow*> windows = platform::NSApp()->windows();
  auto listed = [&](NSWindow* w) {
    return std::find(windows.begin(), windows.end(), w) != windows.end();
  };
  if (auto* w = dynamic_cast<NSWindow*>(object)) return listed(w) ? 1 : 0;
  auto* view = dynamic_cast<NSView*>(object);
  if (!view || !view->window() || !listed(view->window())) return 0;
  NSView* content = view->window()->contentView();
  if (view == content) return 1;
  // Deeper views count inside this layer's own top-level windows.
  return dynamic_cast<SwellTopLevelWindow*>(view->window()) && content &&
                 view->isDescendantOf(content)
             ? 1
             : 0;
}

BOOL IsWindowVisible(HWND hwnd) {
  NSObject* object = swell::objectFromHandle(hwnd);
  if (!object) return 0;
  if (auto* w = dynamic_cast<NSWindow*>(object)) return w->isVisible() ? 1 : 0;
  if (auto* v = dynamic_cast<NSView*>(object))
    return v->window() && v->window()->isVisible() && !v->isHiddenOrHasHiddenAncestor() ? 1 : 0;
  return 1;
}

bool GetWindowRect(HWND hwnd, RECT* r) {
  if (!r) return false;
  *r = RECT{};
  NSObject* object = contentViewRule(swell::objectFromHandle(hwnd));
  if (auto* w = dynamic_cast<NSWindow*>(object)) {
    platform::NSRect f = w->frame();
    *r = {roundEdge(f.minX()), roundEdge(f.minY()), roundEdge(f.maxX()), roundEdge(f.maxY())};
    return true;
  }
  NSView* view = scrollRule(dynamic_cast<NSView*>(object));
  if (!view) return false;
  platform::NSRect b = view->bounds();
  platform::NSPoint a = view->convertPointToView(b.origin, nullptr);
  platform::NSPoint c = view->convertPointToView({b.maxX(), b.maxY()}, nullptr);
  if (NSWindow* w = view->window()) {
    a = w->convertPointToScreen(a);
    c = w->convertPointToScreen(c);
  }
  *r = {roundEdge(a.x), roundEdge(a.y), roundEdge(c.x), roundEdge(c.y)};
  return true;
}

void GetClientRect(HWND hwnd, RECT* r) {
  if (!r) return;
  *r = RECT{};
  NSView* view = scrollRule(swell::viewForHandle(hwnd));
  if (!view) return;
  platform::NSRect b = view->bounds();
  *r = {roundEdge(b.minX()), roundEdge(b.minY()), roundEdge(b.maxX()), roundEdge(b.maxY())};
  // The window procedure may take a non-client border off.
  if (auto* entry = dynamic_cast<SwellMessageEntry*>(view)) {
    NCCALCSIZE_PARAMS params{};
    params.rgrc[0] = *r;
    entry->onSwellMessage(WM_NCCALCSIZE, 0, reinterpret_cast<LPARAM>(&params));
    r->right = r->left + (params.rgrc[0].right - params.rgrc[0].left);
    r->bottom = r->top + (params.rgrc[0].bottom - params.rgrc[0].top);
  }
}

void SWELL_GetViewPort(RECT* r, const RECT* sourcerect, bool wantWork) {
  if (!r) return;
  const auto& screens = platform::NSScreen::screens();
  if (screens.empty()) {
    *r = {0, 0, 1600, 1200};
    return;
  }
  platform::NSPoint centre{0, 0};
  if (sourcerect)
    centre = {static_cast<double>((sourcerect->left + sourcerect->right) / 2),
              static_cast<double>((sourcerect->top + sourcerect->bottom) / 2)};
  const platform::NSScreen* chosen = &screens.front();
  for (const auto& s : screens)
    if (platform::NSPointInRect(centre, s.frame)) {
      chosen = &s;
      break;
    }
  platform::NSRect f = wantWork ? chosen->visibleFrame : chosen->frame;
  *r = {roundEdge(f.minX()), roundEdge(f.minY()), roundEdge(f.maxX()), roundEdge(f.maxY())};
}

HWND GetDlgItem(HWND hwnd, int id) {
  if (id == 0) return platform::isLiveObject(hwnd) ? hwnd : nullptr;
  NSView* parent = swell::viewForHandle(hwnd);
  if (!parent) return nullptr;
  for (NSView* sub : parent->subviews()) {
    if (sub->tag() == id) return swell::handleFromObject(sub);
    NSView* doc = nullptr;
    if (auto* scroll = dynamic_cast<platform::NSScrollView*>(sub))
      doc = scroll->documentView();
    else if (auto* clip = dynamic_cast<platform::NSClipView*>(sub))
      doc = clip->documentView();
    if (doc && doc->tag() == id) return swell::handleFromObject(doc);
  }
  return nullptr;
}

BOOL SetDlgItemText(HWND hwnd, int id, const char* text) {
  HWND item = GetDlgItem(hwnd, id);
  NSObject* object = swell::objectFromHandle(item);
  if (!object) return 0;
  if (!text) text = "";
  Ref<NSObject> keep(object);
  if (auto* view = dynamic_cast<NSView*>(object))
    if (NSWindow* w = view->window(); w && w->contentView() == view) w->setTitle(text);
  if (auto* holder = dynamic_cast<SwellWindowObject*>(object)) {
    holder->onSwellSetText(text);
  } else if (auto* window = dynamic_cast<NSWindow*>(object)) {
    window->setTitle(text);
  } else if (auto* box = dynamic_cast<platform::NSBox*>(object)) {
    box->setTitle(text);
  } else if (auto* control = dynamic_cast<platform::NSControl*>(object)) {
    control->setStringValue(text);
    auto* field = dynamic_cast<platform::NSTextField*>(control);
    if (field && field->isEditable() && field->superview())
      SendMessage(swell::handleFromObject(field->superview()), WM_COMMAND,
                  static_cast<WPARAM>(field->tag() & 0xFFFF) | (WPARAM{0x300} << 16),
                  reinterpret_cast<LPARAM>(item));
  } else {
    return 0;
  }
  return 1;
}

BOOL GetDlgItemText(HWND hwnd, int id, char* buffer, int size) {
  if (buffer && size > 0) buffer[0] = 0;
  if (!buffer || size < 1) return 0;
  NSObject* object = contentViewRule(swell::objectFromHandle(GetDlgItem(hwnd, id)));
  if (!object) return 0;
  // The content view of a window of this layer holds the window's text itself.
  if (auto* window = dynamic_cast<NSWindow*>(object))
    if (auto* holder = dynamic_cast<SwellWindowObject*>(window->contentView())) {
      swell::copyUtf8(buffer, size, holder->onSwellGetText());
      return 1;
    }
  std::string text;
  if (auto* holder = dynamic_cast<SwellWindowObject*>(object))
    text = holder->onSwellGetText();
  else if (auto* window = dynamic_cast<NSWindow*>(object))
    text = window->title();
  else if (auto* box = dynamic_cast<platform::NSBox*>(object))
    text = box->title();
  else if (auto* control = dynamic_cast<platform::NSControl*>(object))
    text = control->stringValue();
  else
    return 0;
  swell::copyUtf8(buffer, size, text.c_str());
  return 1;
}

void SWELL_SetClassName(HWND hwnd, const char* name) {
  if (auto* w = windowObject(hwnd)) w->setSwellClass(name);
}

int GetClassName(HWND hwnd, char* buffer, int size) {
  if (!buffer || size < 1) return 0;
  buffer[0] = 0;
  NSObject* object = swell::objectFromHandle(hwnd);
  const char* name = "";
  if (auto* w = dynamic_cast<Swell_vCorvaneBrisko_hwnd*>(object)) {
    if (w->getSwellClass()) name = w->getSwellClass();
  } else if (dynamic_cast<platform::NSButton*>(object)) {
    name = "Button";
  } else if (auto* field = dynamic_cast<platform::NSTextField*>(object)) {
    name = !field->isEditable() && !field->isSelectable() ? "Static" : "Edit";
  }
  return static_cast<int>(swell::copyUtf8(buffer, size, name));
}
