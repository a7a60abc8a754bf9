#include "windowing/core/Painting.h"

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <vector>

#include "platform/core/View.h"
#include "platform/core/Window.h"
#include "windowing/core/WindowObject.h"

using platform::NSView;
using platform::Ref;

namespace {
constexpr std::uint8_t kOwnContentDirty = 1;
constexpr std::uint8_t kDescendantDirty = 2;
}  // namespace

void swell::markAncestorsDirty(NSView* view) {
  for (NSView* v = view->superview(); v; v = v->superview()) {
    auto* ancestor = dynamic_cast<Swell_vCorvaneBrisko_hwnd*>(v);
    if (ancestor && !ancestor->swellAddDirtyBits(kDescendantDirty)) break;
  }
}

BOOL InvalidateRect(HWND hwnd, const RECT* r, int) {
  NSView* view = swell::viewForHandle(hwnd);
  if (!view) return 1;
  // A Metal view repaints from its refresh list, never through the display pass.
  if (auto* metal = dynamic_cast<Swell_vCorvaneBrisko_hwnd*>(view);
      metal && metal->swellWantsMetal()) {
    if (!view->isHiddenOrHasHiddenAncestor())
      SWELL_Metal_AddNeedRefresh(swell::handleFromObject(view), r, false);
    return 1;
  }
  // Window objects note what must be drawn; their ancestors that a descendant is dirty.
  auto* object = dynamic_cast<Swell_vCorvaneBrisko_hwnd*>(view);
  if (!object || object->swellAddDirtyBits(kOwnContentDirty)) swell::markAncestorsDirty(view);
  if (!r) {
    view->setNeedsDisplay(true);
    return 1;
  }
  // Either pair of edges may come reversed; the sizes are taken in 64 bits.
  std::int64_t left = std::min(r->left, r->right), top = std::min(r->top, r->bottom);
  std::int64_t width = std::llabs(std::int64_t{r->right} - r->left);
  std::int64_t height = std::llabs(std::int64_t{r->bottom} - r->top);
  view->setNeedsDisplayInRect(
      platform::NSMakeRect(static_cast<double>(left), static_cast<double>(top),
                           static_cast<double>(width), static_cast<double>(height)));
  return 1;
}

void UpdateWindow(HWND hwnd) {
  NSView* view = swell::viewForHandle(hwnd);
  if (!view || !view->window() || !view->needsDisplay()) return;
  if (auto* metal = dynamic_cast<Swell_vCorvaneBrisko_hwnd*>(view);
      metal && metal->swellWantsMetal())
    return;
  Ref<platform::NSWindow> keep(view->window());
  view->window()->displayIfNeeded();
}

void SWELL_FlushWindow(HWND hwnd) {
  platform::NSObject* object = swell::objectFromHandle(hwnd);
  platform::NSWindow* window = dynamic_cast<platform::NSWindow*>(object);
  if (auto* view = dynamic_cast<NSView*>(object)) {
    auto* metal = dynamic_cast<Swell_vCorvaneBrisko_hwnd*>(view);
    if (view->needsDisplay() || (metal && metal->swellWantsMetal())) return;
    window = view->window();
  }
  // The backing store is what is on the screen here: with nothing waiting to be drawn
  // there is nothing more to flush.
  if (!window || window->viewsNeedDisplay()) return;
}

HDC BeginPaint(HWND hwnd, PAINTSTRUCT* ps) {
  if (!ps) return nullptr;
  *ps = PAINTSTRUCT{};
  auto* w = dynamic_cast<Swell_vCorvaneBrisko_hwnd*>(swell::viewForHandle(hwnd));
  if (!w || !w->getSwellPaintInfo(ps)) return nullptr;
  return ps->hdc;
}

BOOL EndPaint(HWND, PAINTSTRUCT*) {
  return 1;
}

int ScrollWindow(HWND hwnd, int dx, int dy, const RECT*, const RECT*) {
  NSView* view = swell::viewForHandle(hwnd);
  if (!view || (dx == 0 && dy == 0)) return 0;
  Ref<NSView> keep(view);
  std::vector<Ref<NSView>> subviews(view->subviews().begin(), view->subviews().end());
  for (auto& sub : subviews) {
    platform::NSPoint origin = sub->frame().origin;
    sub->setFrameOrigin({origin.x + dx, origin.y + dy});
  }
  view->setNeedsDisplay(true);
  return 1;
}
