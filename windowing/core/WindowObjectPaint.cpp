#include <algorithm>
#include <utility>

#include "platform/core/Window.h"
#include "platform/drawing/GraphicsContext.h"
#include "platform/drawing/Metal.h"
#include "windowing/core/Painting.h"
#include "windowing/core/WindowApi.h"
#include "windowing/core/WindowObject.h"
#include "windowing/drawing/DrawingContext.h"
#include "windowing/drawing/GLSurfaces.h"

using platform::NSRect;
using platform::NSView;
using platform::Ref;

namespace {
constexpr std::uint8_t kOwnContentDirty = 1;
constexpr std::uint8_t kDescendantDirty = 2;

bool sameRect(const RECT& a, const RECT& b) {
  return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}
}  // namespace

bool Swell_vCorvaneBrisko_hwnd::swellAddDirtyBits(std::uint8_t bits) {
  bool added = (m_isdirty & bits) != bits;
  m_isdirty |= bits;
  return added;
}

void Swell_vCorvaneBrisko_hwnd::drawRect(const NSRect& dirtyRect) {
  // A Metal view shows the frames its layer was given; it paints only from its refresh.
  if (swellWantsMetal()) return;
  platform::CGContext* context = platform::NSGraphicsContext::currentContext();
  if (!context) return;
  Ref<NSView> keep(this);
  HDC hdc = SWELL_CreateGfxContextForNSContext(context);
  SWELL_PaintWindow(this, hdc, false, dirtyRect);
  SWELL_DeleteGfxContext(hdc);
  m_isdirty = 0;
}

void SWELL_PaintWindow(Swell_vCorvaneBrisko_hwnd* view, HDC hdc, bool metal, const NSRect& rect) {
  if (view && platform::isLiveObject(view)) view->swellPaint(hdc, metal, rect);
}

void Swell_vCorvaneBrisko_hwnd::swellPaint(HDC hdc, bool metal, const NSRect& rect) {
  if (m_hashaddestroy) return;
  Ref<NSView> keep(this);
  HWND hwnd = self();
  m_paintctx_hdc = hdc;
  m_paintctx_rect = rect;
  m_paintctx_used = false;
  swell::beginPaintGL(hdc, this);

  // The window procedure may take a non-client border off the window rectangle.
  RECT windowRect{};
  GetWindowRect(hwnd, &windowRect);
  if (windowRect.top > windowRect.bottom) std::swap(windowRect.top, windowRect.bottom);
  NCCALCSIZE_PARAMS params{};
  params.rgrc[0] = windowRect;
  onSwellMessage(WM_NCCALCSIZE, 0, reinterpret_cast<LPARAM>(&params));
  if (!metal) onSwellMessage(WM_NCPAINT, 1, 0);

  const RECT& client = params.rgrc[0];
  NSRect paint = rect;
  paint.origin.x -= static_cast<double>(client.left) - windowRect.left;
  paint.origin.y -= static_cast<double>(client.top) - windowRect.top;
  m_paintctx_rect = paint;
  if (paint.size.width >= 1 && paint.size.height >= 1 && !m_hashaddestroy) {
    platform::CGContext* context = SWELL_GetCtxGC(hdc);
    if (!metal && !sameRect(client, windowRect) && context) {
      RECT clip{};
      GetClientRect(hwnd, &clip);
      context->saveGState();
      context->clipToRect(platform::NSMakeRect(clip.left, clip.top, clip.right - clip.left,
                                               clip.bottom - clip.top));
      onSwellMessage(WM_PAINT, reinterpret_cast<WPARAM>(hdc), 0);
      context->restoreGState();
    } else {
      onSwellMessage(WM_PAINT, reinterpret_cast<WPARAM>(hdc), 0);
    }
  }
  if (metal) onSwellMessage(WM_NCPAINT, 1, 0);
  swell::endPaintGL(hdc);
  m_paintctx_hdc = nullptr;
}

RECT Swell_vCorvaneBrisko_hwnd::metalClientRect() {
  RECT r{};
  GetClientRect(self(), &r);
  return r;
}

void Swell_vCorvaneBrisko_hwnd::metalPaint(HDC hdc, const NSRect& rect) {
  SWELL_PaintWindow(this, hdc, true, rect);
}

platform::CALayer* Swell_vCorvaneBrisko_hwnd::makeBackingLayer() {
  if (m_use_metal > 0) return new platform::CAMetalLayer;
  return NSView::makeBackingLayer();
}

void Swell_vCorvaneBrisko_hwnd::viewDidHide() {
  if (canDeliver()) onSwellMessage(WM_SHOWWINDOW, 0, 0);
  if (swellWantsMetal()) SWELL_RemoveFromMetalRefreshList(this);
}

void Swell_vCorvaneBrisko_hwnd::viewDidUnhide() {
  if (canDeliver()) onSwellMessage(WM_SHOWWINDOW, 1, 0);
  if (!swellWantsMetal()) return;
  // Shown again: one whole frame now, whatever was queued meanwhile included.
  SWELL_RemoveFromMetalRefreshList(this);
  swellDrawMetal(nullptr);
}

void Swell_vCorvaneBrisko_hwnd::setFrame(const NSRect& frame) {
  Ref<NSView> keep(this);
  NSView::setFrame(frame);
  // A content view is only ever sized by its window, which reports size changes itself.
  if (window() && window()->contentView() == this) return;
  // Every placement of a child is reported, whether or not the size changed.
  if (canDeliver()) onSwellMessage(WM_SIZE, 0, 0);
  if (HWND parent = GetParent(self())) InvalidateRect(parent, nullptr, 0);
}

void Swell_vCorvaneBrisko_hwnd::didAddSubview(NSView* subview) {
  for (NSView* v = this; v; v = v->superview()) {
    auto* object = dynamic_cast<Swell_vCorvaneBrisko_hwnd*>(v);
    if (!object) continue;
    if (!object->swellAddDirtyBits(kDescendantDirty)) break;
  }
}

void Swell_vCorvaneBrisko_hwnd::willRemoveSubview(NSView* subview) {
  m_isdirty = kOwnContentDirty | kDescendantDirty;
  setNeedsDisplay(true);
  for (NSView* v = superview(); v; v = v->superview()) {
    v->setNeedsDisplay(true);
    auto* object = dynamic_cast<Swell_vCorvaneBrisko_hwnd*>(v);
    if (object && !object->swellAddDirtyBits(kOwnContentDirty | kDescendantDirty)) break;
  }
}
