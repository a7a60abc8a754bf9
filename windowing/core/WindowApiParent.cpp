// Moving windows between parents: SetParent turns a child into a top-level window and back, or
// moves it to another parent; a style change whose caption and thick-frame bits ask for another
// frame rebuilds the top-level window around its content view the same way.

#include <string>
#include <vector>

#include "platform/core/Panel.h"
#include "platform/core/View.h"
#include "platform/core/Window.h"
#include "windowing/core/TopLevelWindow.h"
#include "windowing/core/WindowApi.h"
#include "windowing/core/WindowObject.h"
#include "windowing/core/detail/WindowApiRebuild.h"
#include "windowing/core/detail/WindowApiRules.h"

using platform::NSObject;
using platform::NSView;
using platform::NSWindow;
using platform::Ref;

namespace {

constexpr unsigned kTitledFrame = platform::NSWindowStyleMaskTitled;
constexpr unsigned kFullFrame =
    platform::NSWindowStyleMaskTitled | platform::NSWindowStyleMaskClosable |
    platform::NSWindowStyleMaskMiniaturizable | platform::NSWindowStyleMaskResizable;
// The frame style a child that becomes top-level gets when it remembers none.
constexpr unsigned kDefaultChildFrame = kFullFrame;

// The frame a style asks for: all four parts for caption and thick frame, a title bar
// for caption alone, else none.
unsigned frameForStyle(LONG_PTR style) {
  bool caption = (static_cast<DWORD>(style) & WS_CAPTION) == WS_CAPTION;
  bool thick = (static_cast<DWORD>(style) & WS_THICKFRAME) != 0;
  if (caption && thick) return kFullFrame;
  return caption ? kTitledFrame : 0;
}

// The same reading of a window's present frame.
unsigned frameOfWindow(const NSWindow* window) {
  unsigned mask = window->styleMask();
  if (!(mask & platform::NSWindowStyleMaskTitled)) return 0;
  return (mask & platform::NSWindowStyleMaskResizable) ? kFullFrame : kTitledFrame;
}

// The live windows a top-level window owns, oldest first.
std::vector<NSObject*> ownedWindows(NSWindow* window) {
  OwnedWindowListRec** head = nullptr;
  if (auto* w = dynamic_cast<SwellTopLevelWindowBase<NSWindow>*>(window))
    head = w->swellGetOwnerWindowHead();
  else if (auto* p = dynamic_cast<SwellTopLevelWindowBase<platform::NSPanel>*>(window))
    head = p->swellGetOwnerWindowHead();
  std::vector<NSObject*> list;
  for (OwnedWindowListRec* r = head ? *head : nullptr; r; r = r->_next)
    if (platform::isLiveObject(r->hwnd)) list.insert(list.begin(), r->hwnd);
  return list;
}

// An empty window object that holds a window's content place while its real content
// view moves elsewhere, so the old window is destroyed without touching that view.
void putPlaceholder(NSWindow* window) {
  auto* placeholder = new Swell_vCorvaneBrisko_hwnd;
  window->setContentView(placeholder);
  placeholder->release();
}

// The whole text GetDlgItemText reads for a handle.
std::string windowText(HWND hwnd) {
  int length = GetWindowTextLength(hwnd);
  if (length <= 0) return {};
  std::string text(static_cast<std::size_t>(length) + 1, '\0');
  GetDlgItemText(hwnd, 0, text.data(), length + 1);
  text.resize(std::char_traits<char>::length(text.c_str()));
  return text;
}

}  // namespace

namespace swell {

void rebuildTopLevelFrame(NSView* view, LONG_PTR style) {
  NSWindow* old = view->window();
  if (!old || old->contentView() != view) return;
  unsigned frame = frameForStyle(style);
  if (frame == frameOfWindow(old)) return;

  Ref<NSView> keepView(view);
  Ref<NSWindow> keepOld(old);
  HWND viewHandle = handleFromObject(view);
  bool visible = old->isVisible();
  NSWindow* parentWindow = old->parentWindow();
  std::string text = windowText(viewHandle);
  platform::NSRect oldFrame = old->frame();
  int level = old->level();
  auto* oldTop = dynamic_cast<SwellTopLevelWindow*>(old);
  NSObject* owner = oldTop ? oldTop->swellGetOwner() : nullptr;

  putPlaceholder(old);
  HWND made = SWELL_CreateModelessWindowForChild(viewHandle, handleFromObject(owner), frame);
  auto* window = objectFromHandleAs<NSWindow>(made);
  if (!window || window->contentView() != view) {
    old->setContentView(view);
    return;
  }
  Ref<NSWindow> keepNew(window);
  if (auto* newTop = dynamic_cast<SwellTopLevelWindow*>(window); newTop && oldTop) {
    for (NSObject* owned : ownedWindows(old)) {
      oldTop->swellRemoveOwnedWindow(owned);
      newTop->swellAddOwnedWindow(owned);
    }
  }
  for (NSWindow* child : std::vector<NSWindow*>(old->childWindows())) {
    Ref<NSWindow> keepChild(child);
    old->removeChildWindow(child);
    window->addChildWindow(child, platform::NSWindowAbove);
  }
  if (parentWindow) parentWindow->addChildWindow(window, platform::NSWindowAbove);
  if (!text.empty()) SetDlgItemText(viewHandle, 0, text.c_str());
  window->setFrame(oldFrame, true);
  window->setLevel(level);
  if (visible) ShowWindow(viewHandle, SW_SHOW);
  DestroyWindow(handleFromObject(old));
}

}  // namespace swell

HWND SetParent(HWND hwnd, HWND newParent) {
  NSView* view = swell::windowRule(swell::objectFromHandle(hwnd));
  if (!view) return nullptr;
  NSObject* parentObject = newParent ? swell::objectFromHandle(newParent) : nullptr;
  NSView* parent = swell::windowRule(parentObject);
  // A parent that is given but gone, or not a view, is refused before anything moves.
  if (newParent && !parent) return nullptr;
  Ref<NSView> keep(view);
  HWND viewHandle = swell::handleFromObject(view);
  auto* object = dynamic_cast<Swell_vCorvaneBrisko_hwnd*>(view);

  if (swell::isContentView(view)) {
    if (!parent || parent->isDescendantOf(view)) return nullptr;
    NSWindow* old = view->window();
    Ref<NSWindow> keepOld(old);
    std::string text = windowText(viewHandle);
    auto* top = dynamic_cast<SwellTopLevelWindow*>(old);
    if (object) object->swellSetLastTopLevelOwner(top ? top->swellGetOwner() : nullptr);
    putPlaceholder(old);
    parent->addSubview(view);
    DestroyWindow(swell::handleFromObject(old));
    if (!text.empty()) SetDlgItemText(viewHandle, 0, text.c_str());
    return swell::handleFromObject(parent);
  }

  if (!parent && view->superview()) {
    std::string text = windowText(viewHandle);
    unsigned flags = object ? object->swellCreateWindowFlags() : 0;
    if (!flags) flags = kDefaultChildFrame;
    NSWindow* ownerWindow = swell::windowOf(object ? object->swellGetLastTopLevelOwner() : nullptr);
    view->removeFromSuperview();
    HWND made =
        SWELL_CreateModelessWindowForChild(viewHandle, swell::handleFromObject(ownerWindow), flags);
    if (auto* window = swell::objectFromHandleAs<NSWindow>(made)) {
      window->orderFront();
      window->display();
    }
    SetDlgItemText(viewHandle, 0, text.c_str());
    return nullptr;
  }

  NSView* target = swell::scrollRule(view);
  // A view cannot move into itself or its own inside.
  if (parent && parent->isDescendantOf(target)) return nullptr;
  Ref<NSView> keepTarget(target);
  HWND oldParent = swell::handleFromObject(target->superview());
  target->removeFromSuperview();
  if (parent) parent->addSubview(target);
  return oldParent;
}
