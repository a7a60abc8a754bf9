#include <strings.h>
#include <algorithm>
#include <cstdint>
#include <cstring>
#include <vector>

#include "platform/core/Application.h"
#include "platform/core/ScrollView.h"
#include "platform/core/TextField.h"
#include "platform/core/Window.h"
#include "platform/objects/ObjectRegistry.h"
#include "windowing/core/TopLevelWindow.h"
#include "windowing/core/WindowApi.h"
#include "windowing/core/WindowInterfaces.h"
#include "windowing/core/detail/WindowApiRules.h"

using platform::NSObject;
using platform::NSView;
using platform::NSWindow;
using platform::Ref;

namespace {

// FindWindowEx compares at most this much of a child's text.
constexpr int kTitleCompareBytes = 512;

// A scroll view and a clip view stand for the view they show.
NSView* documentOf(NSView* view) {
  if (auto* scroll = dynamic_cast<platform::NSScrollView*>(view)) return scroll->documentView();
  if (auto* clip = dynamic_cast<platform::NSClipView*>(view)) return clip->documentView();
  return nullptr;
}

bool classMatches(HWND child, const char* className) {
  char name[256];
  GetClassName(child, name, sizeof name);
  if (std::strcmp(name, className) == 0) return true;
  return strcasecmp(className, "Static") == 0 &&
         swell::objectFromHandleAs<platform::NSTextField>(child) != nullptr;
}

bool titleMatches(HWND hwnd, const char* title) {
  char text[kTitleCompareBytes];
  GetDlgItemText(hwnd, 0, text, sizeof text);
  return std::strcmp(text, title) == 0;
}

// A child listed for the walk: the view and the serial it was registered with, so that a
// view freed meanwhile (and another made at its address) is never taken for it.
struct ListedChild {
  NSView* view;
  std::uint64_t serial;
};

// The direct children of a view as the walk gives them: a scroll or clip view unwrapped to
// the view it shows.
std::vector<ListedChild> listChildren(NSView* parent) {
  std::vector<ListedChild> children;
  children.reserve(parent->subviews().size());
  for (NSView* child : parent->subviews()) {
    if (NSView* doc = documentOf(child)) child = doc;
    if (NSView* doc = documentOf(child)) child = doc;
    children.push_back({child, platform::liveObjectSerial(child)});
  }
  return children;
}

// The walk's state: its root, and the window the root was in when the walk began (null when
// none), with that window's serial.
struct ChildWalk {
  NSView* root;
  NSWindow* window;
  std::uint64_t windowSerial;
  WNDENUMPROC proc;
  LPARAM lParam;

  // Whether a listed child still stands where the walk found it: alive, under the root, and
  // in the root's window while that window is open. A child destroyed, or moved out of the
  // root's tree, before its turn is skipped, as are its children.
  NSView* stillThere(const ListedChild& child) const {
    if (platform::liveObjectSerial(child.view) != child.serial) return nullptr;
    if (child.view == root || !child.view->isDescendantOf(root)) return nullptr;
    if (window && (platform::liveObjectSerial(window) != windowSerial || window->isClosed() ||
                   child.view->window() != window))
      return nullptr;
    return child.view;
  }

  // Depth first: each child, then that child's own children as they were listed just
  // before its turn. False when the callback stopped the walk.
  bool visit(const std::vector<ListedChild>& children) const {
    for (const ListedChild& listed : children) {
      NSView* child = stillThere(listed);
      if (!child) continue;
      Ref<NSView> keep(child);
      const std::vector<ListedChild> grandchildren = listChildren(child);
      if (!proc(swell::handleFromObject(child), lParam)) return false;
      if (!visit(grandchildren)) return false;
    }
    return true;
  }
};

HWND findTopLevel(HWND after, const char* className, const char* title) {
  // Only windows carry titles here; without one nothing can match.
  if (!title) return nullptr;
  std::vector<NSWindow*> windows = platform::NSApp()->windows();
  auto it = windows.begin();
  if (after) {
    NSWindow* afterWindow = swell::windowOf(swell::objectFromHandle(after));
    it = std::find(windows.begin(), windows.end(), afterWindow);
    // An unknown starting point ends a search loop instead of restarting it.
    if (it == windows.end()) return nullptr;
    ++it;
  }
  for (; it != windows.end(); ++it) {
    NSWindow* w = *it;
    if (w->title() != title) continue;
    HWND content = swell::handleFromObject(w->contentView());
    if (className && (!content || !classMatches(content, className))) continue;
    return content;
  }
  return nullptr;
}

}  // namespace

HWND GetDlgItem(HWND hwnd, int id) {
  NSObject* object = swell::objectFromHandle(hwnd);
  if (id == 0) return object ? hwnd : nullptr;
  NSView* parent = swell::windowRule(object);
  if (!parent) return nullptr;
  for (NSView* sub : parent->subviews()) {
    if (sub->tag() == id) return swell::handleFromObject(sub);
    if (NSView* doc = documentOf(sub); doc && doc->tag() == id) return swell::handleFromObject(doc);
  }
  return nullptr;
}

HWND GetWindow(HWND hwnd, int cmd) {
  NSView* view = swell::windowRule(swell::objectFromHandle(hwnd));
  if (!view) return nullptr;
  switch (cmd) {
    case GW_CHILD:
      return view->subviews().empty() ? nullptr : swell::handleFromObject(view->subviews().front());
    case GW_OWNER:
      if (!swell::isContentView(view)) return swell::handleFromObject(view->superview());
      return swell::handleFromObject(swell::ownerOf(view->window()));
    case GW_HWNDFIRST:
    case GW_HWNDLAST:
    case GW_HWNDNEXT:
    case GW_HWNDPREV: {
      if (swell::isContentView(view))
        return cmd == GW_HWNDFIRST || cmd == GW_HWNDLAST ? swell::handleFromObject(view) : nullptr;
      NSView* self = swell::scrollRule(view);
      NSView* parent = self->superview();
      if (!parent) return nullptr;
      const auto& siblings = parent->subviews();
      if (cmd == GW_HWNDFIRST) return swell::handleFromObject(siblings.front());
      if (cmd == GW_HWNDLAST) return swell::handleFromObject(siblings.back());
      auto it = std::find(siblings.begin(), siblings.end(), self);
      if (it == siblings.end()) return nullptr;
      if (cmd == GW_HWNDNEXT)
        return std::next(it) == siblings.end() ? nullptr : swell::handleFromObject(*std::next(it));
      return it == siblings.begin() ? nullptr : swell::handleFromObject(*std::prev(it));
    }
    default:
      return nullptr;
  }
}

HWND GetParent(HWND hwnd) {
  return swell::handleFromObject(swell::parentOf(swell::objectFromHandle(hwnd)));
}

BOOL IsChild(HWND parent, HWND child) {
  if (!parent || !child || parent == child) return 0;
  NSObject* parentObject = swell::objectFromHandle(parent);
  auto* childView = swell::objectFromHandleAs<NSView>(child);
  if (!parentObject || !childView) return 0;
  if (auto* window = dynamic_cast<NSWindow*>(parentObject)) return childView->window() == window;
  auto* parentView = dynamic_cast<NSView*>(parentObject);
  return parentView && childView->isDescendantOf(parentView) ? 1 : 0;
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

BOOL EnumWindows(WNDENUMPROC proc, LPARAM lParam) {
  if (!proc) return 0;
  for (NSWindow* w : platform::NSApp()->windows()) {
    // The callback may close windows further down the list.
    if (!platform::isLiveObject(w) || w->isClosed() || !w->contentView()) continue;
    Ref<NSWindow> keep(w);
    if (!proc(swell::handleFromObject(w->contentView()), lParam)) return 0;
  }
  return 1;
}

BOOL EnumChildWindows(HWND hwnd, WNDENUMPROC proc, LPARAM lParam) {
  if (!proc) return 0;
  NSView* parent = swell::windowRule(swell::objectFromHandle(hwnd));
  if (!parent) return 1;
  Ref<NSView> keep(parent);
  NSWindow* window = parent->window();
  const ChildWalk walk{parent, window, platform::liveObjectSerial(window), proc, lParam};
  return walk.visit(listChildren(parent)) ? 1 : 0;
}

HWND FindWindowEx(HWND parent, HWND after, const char* className, const char* title) {
  if (!parent) return findTopLevel(after, className, title);
  NSView* parentView = swell::windowRule(swell::objectFromHandle(parent));
  if (!parentView) return nullptr;
  const auto& children = parentView->subviews();
  auto it = children.begin();
  if (after) {
    it = std::find(children.begin(), children.end(), swell::objectFromHandleAs<NSView>(after));
    // An unknown starting point ends a search loop instead of restarting it.
    if (it == children.end()) return nullptr;
    ++it;
  }
  for (; it != children.end(); ++it) {
    HWND child = swell::handleFromObject(*it);
    if (title) {
      if (!titleMatches(child, title)) continue;
      if (className && !classMatches(child, className)) continue;
      return child;
    }
    if (!className || classMatches(child, className)) return child;
  }
  return nullptr;
}

HWND SWELL_GetScrollRuleView(HWND hwnd) {
  return swell::handleFromObject(
      swell::scrollRule(swell::windowRule(swell::objectFromHandle(hwnd))));
}

HWND GetForegroundWindow() {
  NSWindow* key = platform::NSApp()->keyWindow();
  if (!key) return nullptr;
  if (auto* view = dynamic_cast<NSView*>(key->firstResponder()))
    return swell::handleFromObject(view);
  return swell::handleFromObject(key);
}

HWND WindowFromPoint(POINT p) {
  platform::NSApplication* app = platform::NSApp();
  std::vector<NSWindow*> order = app->orderedWindows();
  if (NSWindow* key = app->keyWindow();
      key && std::find(order.begin(), order.end(), key) == order.end())
    order.insert(order.begin(), key);
  platform::NSPoint screen{static_cast<double>(p.x), static_cast<double>(p.y)};
  for (NSWindow* w : order) {
    if (w->ignoresMouseEvents() || !platform::NSPointInRect(screen, w->frame())) continue;
    NSView* content = w->contentView();
    if (!content) return nullptr;
    NSView* hit = content->hitTest(w->convertPointFromScreen(screen));
    return swell::handleFromObject(hit ? hit : content);
  }
  return nullptr;
}
