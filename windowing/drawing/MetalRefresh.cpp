#include <algorithm>
#include <cstdint>
#include <vector>

#include "base/Log.h"
#include "platform/core/View.h"
#include "platform/objects/Object.h"
#include "platform/system/MainThread.h"
#include "windowing/drawing/MetalSurface.h"
#include "windowing/drawing/detail/MetalSupport.h"
#include "windowing/drawing/detail/TestHooks.h"

using platform::Ref;

namespace {

enum class Probe { notYet, unavailable, available };
Probe gProbe = Probe::notYet;

// A queued view, with what proves it is still the view that was queued.
struct QueuedView {
  SwellMetalSurface* surface;
  platform::NSView* view;
  std::uint64_t serial;
  std::uint64_t order;
};

struct RefreshList {
  std::vector<QueuedView> views;
  std::uint64_t nextOrder = 0;
  bool flushing = false;
};

RefreshList& refreshList() {
  static RefreshList list;
  return list;
}

RECT unionRects(const RECT& a, const RECT& b) {
  if (a.right <= a.left || a.bottom <= a.top) return b;
  return {std::min(a.left, b.left), std::min(a.top, b.top), std::max(a.right, b.right),
          std::max(a.bottom, b.bottom)};
}

}  // namespace

namespace swell {

platform::MTLDevice* metalDefaultDevice() {
  // Made once and kept for the life of the process.
  static platform::MTLDevice* device = nullptr;
  if (!device) device = platform::MTLCreateSystemDefaultDevice();
  return device;
}

RECT intersectRects(const RECT& a, const RECT& b) {
  RECT r{std::max(a.left, b.left), std::max(a.top, b.top), std::min(a.right, b.right),
         std::min(a.bottom, b.bottom)};
  if (r.right <= r.left || r.bottom <= r.top) return {};
  return r;
}

}  // namespace swell

bool SWELL_Metal_Probe() {
  if (gProbe == Probe::notYet) {
    gProbe = Probe::unavailable;
    if (!platform::MTLCopyAllDevices().empty())
      gProbe = Probe::available;
    else
      base::warn("swell-cocoa", "no metal device; views keep drawing without it");
    return gProbe == Probe::available;
  }
  return false;
}

bool SWELL_Metal_Available() {
  return gProbe == Probe::available;
}

void SWELL_Metal_ResetProbeForTesting() {
  gProbe = Probe::notYet;
  for (const QueuedView& q : refreshList().views)
    if (platform::liveObjectSerial(static_cast<platform::NSObject*>(q.view)) == q.serial)
      q.surface->m_metal_in_needref_list = false;
  refreshList().views.clear();
}

void SWELL_Metal_AddNeedRefresh(HWND hwnd, const RECT* r, bool keepRect) {
  SwellMetalSurface* surface = swellMetalSurfaceOf(hwnd);
  if (!surface) return;
  if (!keepRect) {
    if (!r) {
      surface->m_metal_in_needref_rect = {0, 0, SwellMetalSurface::kWholeView,
                                          SwellMetalSurface::kWholeView};
    } else {
      if (r->right <= r->left || r->bottom <= r->top) return;
      surface->m_metal_in_needref_rect = unionRects(surface->m_metal_in_needref_rect, *r);
    }
  }
  if (surface->m_metal_in_needref_list) return;
  surface->m_metal_in_needref_list = true;
  RefreshList& list = refreshList();
  platform::NSView* view = surface->metalView();
  list.views.push_back({surface, view,
                        platform::liveObjectSerial(static_cast<platform::NSObject*>(view)),
                        list.nextOrder++});
}

void SWELL_RemoveFromMetalRefreshList(SwellMetalSurface* surface) {
  if (!surface || !surface->m_metal_in_needref_list) return;
  surface->m_metal_in_needref_list = false;
  surface->m_metal_in_needref_rect = {};
  auto& views = refreshList().views;
  views.erase(std::remove_if(views.begin(), views.end(),
                             [surface](const QueuedView& q) { return q.surface == surface; }),
              views.end());
}

void SWELL_Metal_FlushNeedRefresh() {
  RefreshList& list = refreshList();
  if (list.flushing || !platform::isMainThread()) return;
  list.flushing = true;
  // Only what was queued now is painted: a view invalidating itself while it paints
  // waits for the next tick instead of keeping this loop going.
  const std::uint64_t end = list.nextOrder;
  for (;;) {
    auto last = std::find_if(list.views.rbegin(), list.views.rend(),
                             [end](const QueuedView& q) { return q.order < end; });
    if (last == list.views.rend()) break;
    QueuedView queued = *last;
    list.views.erase(std::next(last).base());
    // A view freed without leaving the list is never touched.
    if (platform::liveObjectSerial(static_cast<platform::NSObject*>(queued.view)) != queued.serial)
      continue;
    SwellMetalSurface* surface = queued.surface;
    const RECT pending = surface->m_metal_in_needref_rect;
    surface->m_metal_in_needref_list = false;
    surface->m_metal_in_needref_rect = {};
    Ref<platform::NSView> keep(queued.view);
    surface->swellDrawMetal(&pending);
  }
  list.flushing = false;
}

void SWELL_Metal_FlushTimerProc(HWND, UINT, UINT_PTR, DWORD) {
  SWELL_Metal_FlushNeedRefresh();
}
