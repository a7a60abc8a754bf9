#include "graphics/IGraphicsMacView.h"

#include <cairo.h>

#include <cmath>

#include "base/Finite.h"
#include "base/Log.h"
#include "graphics/CairoPainter.h"
#include "graphics/IGraphicsMac.h"
#include "graphics/IGraphicsMacInput.h"
#include "platform/core/RunLoop.h"
#include "platform/core/Window.h"
#include "platform/drawing/GraphicsContext.h"

namespace iplug {
namespace igraphics {

using platform::NSEvent;
using platform::NSRect;

namespace {
constexpr int kDefaultFPS = 60;

NSRect EditorFrame(const IGraphicsMac* g) {
  const double s = g ? g->GetDrawScale() : 1.0;
  return platform::NSMakeRect(0, 0, g ? g->Width() * s : 0, g ? g->Height() * s : 0);
}
}  // namespace

IGraphicsMacView::IGraphicsMacView(IGraphicsMac* graphics)
    : platform::NSView(EditorFrame(graphics)), mGraphics(graphics) {}

void IGraphicsMacView::dealloc() {
  StopRedrawTimer();
  mGraphics = nullptr;
  platform::NSView::dealloc();
}

void IGraphicsMacView::Detach() {
  StopRedrawTimer();
  mGraphics = nullptr;
  mToolTips.clear();
  setToolTip("");
}

// --- Redraw timer ---

void IGraphicsMacView::StartRedrawTimer(int fps) {
  StopRedrawTimer();
  if (fps <= 0) {
    base::warn("graphics", "IGraphicsMacView: %d frames per second cannot be timed; using %d", fps,
               kDefaultFPS);
    fps = kDefaultFPS;
  }
  // The timer holds no reference to the view: the view invalidates it before it goes.
  mTimer = platform::NSTimer::timerWithTimeInterval(1.0 / fps, true,
                                                    [this](platform::NSTimer*) { OnFrameTick(); });
  platform::NSRunLoop::mainRunLoop().addTimer(mTimer.get(), platform::NSRunLoopCommonModes);
}

void IGraphicsMacView::StopRedrawTimer() {
  if (mTimer) mTimer->invalidate();
  mTimer.reset();
}

void IGraphicsMacView::SyncScreenScale() {
  platform::NSWindow* w = window();
  if (!mGraphics || !w) return;
  const float scale = static_cast<float>(w->backingScaleFactor());
  if (scale > 0.f && scale != mGraphics->GetScreenScale()) mGraphics->SetScreenScale(scale);
}

NSRect IGraphicsMacView::ToViewRect(const IRECT& r) const {
  // Whole points outwards, so anti-aliased edges are copied too.
  const double s = mGraphics ? mGraphics->GetDrawScale() : 1.0;
  const double l = std::floor(r.L * s), t = std::floor(r.T * s);
  return platform::NSMakeRect(l, t, std::ceil(r.R * s) - l, std::ceil(r.B * s) - t);
}

void IGraphicsMacView::OnFrameTick() {
  if (!mGraphics) return;
  platform::Ref<platform::NSView> keep(this);
  // An animation's completion may close the editor: each step checks the view still has it.
  SyncScreenScale();
  if (!mGraphics) return;
  IRECTList rects;
  const bool dirty = mGraphics->IsDirty(rects);
  if (dirty && mGraphics) mGraphics->Draw(rects);
  if (mGraphics) mGraphics->OnViewFrame();
  if (!dirty || !mGraphics) return;
  for (int i = 0; i < rects.Size(); ++i)
    setNeedsDisplayInRect(ToViewRect(rects.Get(i)));
  // Presented at the end of the frame, as the platform would at the end of a loop pass.
  if (platform::NSWindow* w = window()) w->displayIfNeeded();
}

void IGraphicsMacView::drawRect(const NSRect& dirtyRect) {
  if (!mGraphics) return;
  platform::CGContext* context = platform::NSGraphicsContext::currentContext();
  cairo_surface_t* surface = mGraphics->GetPainter().GetSurface();
  if (!context || !surface) return;
  // The surface has screen scale x draw scale pixels per editor point, so screen scale pixels
  // per view point.
  const double pixelsPerPoint = mGraphics->GetScreenScale();
  // A region or scale that is no number would put the window's context in an error state for
  // everything drawn after it.
  if (!base::isFinite(dirtyRect.origin.x, dirtyRect.origin.y, dirtyRect.size.width,
                      dirtyRect.size.height, pixelsPerPoint) ||
      !(pixelsPerPoint > 0.0))
    return;
  cairo_t* cr = context->cairo();
  cairo_save(cr);
  cairo_rectangle(cr, dirtyRect.origin.x, dirtyRect.origin.y, dirtyRect.size.width,
                  dirtyRect.size.height);
  cairo_clip(cr);
  cairo_scale(cr, 1.0 / pixelsPerPoint, 1.0 / pixelsPerPoint);
  cairo_set_source_surface(cr, surface, 0, 0);
  cairo_paint(cr);
  cairo_restore(cr);
}

void IGraphicsMacView::viewDidMoveToWindow() {
  if (platform::NSWindow* w = window()) {
    w->setAcceptsMouseMovedEvents(true);
    SyncScreenScale();
  }
}

// --- Tooltips ---

void IGraphicsMacView::AddToolTip(const IRECT& bounds, const char* text) {
  // Rectangles without area (or with edges that are not numbers) can never be under the pointer.
  if (!text || !*text || !(bounds.W() > 0.f && bounds.H() > 0.f)) return;
  mToolTips.push_back({bounds, text});
}

const char* IGraphicsMacView::ToolTipAt(float x, float y) const {
  for (auto it = mToolTips.rbegin(); it != mToolTips.rend(); ++it) {
    if (it->bounds.Contains(x, y)) return it->text.c_str();
  }
  return nullptr;
}

// --- Mouse and keys ---

bool IGraphicsMacView::EventPosition(const NSEvent& e, float& x, float& y) {
  const platform::NSPoint p = convertPointFromView(e.locationInWindow, nullptr);
  const double s = mGraphics->GetDrawScale();
  x = static_cast<float>(p.x / s);
  y = static_cast<float>(p.y / s);
  if (base::isFinite(x, y)) return true;
  base::warn("graphics", "IGraphicsMacView: event at a position that is not a number; dropped");
  return false;
}

bool IGraphicsMacView::TrackPointer(const NSEvent& e, float& x, float& y, float& dX, float& dY) {
  if (mPointerLocked) {
    // A locked pointer stays put; the motion comes from the event (y down, like the view).
    const double s = mGraphics->GetDrawScale();
    dX = static_cast<float>(e.deltaX / s);
    dY = static_cast<float>(e.deltaY / s);
    x = mMouseX;
    y = mMouseY;
    if (base::isFinite(dX, dY)) return true;
    base::warn("graphics", "IGraphicsMacView: mouse motion that is not a number; dropped");
    return false;
  }
  if (!EventPosition(e, x, y)) return false;
  dX = x - mMouseX;
  dY = y - mMouseY;
  mMouseX = x;
  mMouseY = y;
  return true;
}

// The left and right buttons differ only in the button they report.

void IGraphicsMacView::Press(const NSEvent& e, const IMouseMod& mod, bool doubleClicks) {
  float x, y;
  if (!EventPosition(e, x, y)) return;
  platform::Ref<platform::NSView> keep(this);
  mMouseX = x;
  mMouseY = y;
  if (doubleClicks && e.clickCount > 1 && mGraphics->OnMouseDblClick(x, y, mod)) return;
  mGraphics->OnMouseDown(x, y, mod);
}

void IGraphicsMacView::Release(const NSEvent& e, const IMouseMod& mod) {
  float x, y, dX, dY;
  if (!TrackPointer(e, x, y, dX, dY)) return;
  platform::Ref<platform::NSView> keep(this);
  mGraphics->OnMouseUp(x, y, mod);
}

void IGraphicsMacView::Drag(const NSEvent& e, const IMouseMod& mod) {
  float x, y, dX, dY;
  if (!TrackPointer(e, x, y, dX, dY)) return;
  platform::Ref<platform::NSView> keep(this);
  mGraphics->OnMouseDrag(x, y, dX, dY, mod);
}

void IGraphicsMacView::mouseDown(const NSEvent& e) {
  if (!mGraphics) return platform::NSView::mouseDown(e);
  Press(e, MouseModFromEvent(e, true, false), true);
}

void IGraphicsMacView::rightMouseDown(const NSEvent& e) {
  if (!mGraphics) return platform::NSView::rightMouseDown(e);
  Press(e, MouseModFromEvent(e, false, true), false);
}

void IGraphicsMacView::mouseUp(const NSEvent& e) {
  if (!mGraphics) return platform::NSView::mouseUp(e);
  Release(e, MouseModFromEvent(e, true, false));
}

void IGraphicsMacView::rightMouseUp(const NSEvent& e) {
  if (!mGraphics) return platform::NSView::rightMouseUp(e);
  Release(e, MouseModFromEvent(e, false, true));
}

void IGraphicsMacView::mouseDragged(const NSEvent& e) {
  if (!mGraphics) return platform::NSView::mouseDragged(e);
  Drag(e, MouseModFromEvent(e, true, false));
}

void IGraphicsMacView::rightMouseDragged(const NSEvent& e) {
  if (!mGraphics) return platform::NSView::rightMouseDragged(e);
  Drag(e, MouseModFromEvent(e, false, true));
}

void IGraphicsMacView::mouseMoved(const NSEvent& e) {
  float x, y, dX, dY;
  if (!mGraphics) return platform::NSView::mouseMoved(e);
  if (!TrackPointer(e, x, y, dX, dY)) return;
  platform::Ref<platform::NSView> keep(this);
  // The platform shows the view's tooltip: the one registered under the pointer.
  const char* tip = ToolTipAt(x, y);
  setToolTip(tip ? tip : "");
  mGraphics->OnMouseOver(x, y, MouseModFromEvent(e, false, false));
}

void IGraphicsMacView::mouseExited(const NSEvent& e) {
  if (!mGraphics) return platform::NSView::mouseExited(e);
  platform::Ref<platform::NSView> keep(this);
  setToolTip("");
  mGraphics->OnMouseOut();
}

void IGraphicsMacView::scrollWheel(const NSEvent& e) {
  float x, y;
  if (!mGraphics) return platform::NSView::scrollWheel(e);
  if (!EventPosition(e, x, y)) return;
  platform::Ref<platform::NSView> keep(this);
  mGraphics->OnMouseWheel(x, y, MouseModFromEvent(e, false, false), static_cast<float>(e.deltaY));
}

void IGraphicsMacView::keyDown(const NSEvent& e) {
  if (!mGraphics) return platform::NSView::keyDown(e);
  platform::Ref<platform::NSView> keep(this);
  // A key no control takes goes on up the responder chain, to the window's own handling.
  if (!mGraphics->OnKeyDown(mMouseX, mMouseY, KeyPressFromEvent(e))) platform::NSView::keyDown(e);
}

void IGraphicsMacView::keyUp(const NSEvent& e) {
  if (!mGraphics) return platform::NSView::keyUp(e);
  platform::Ref<platform::NSView> keep(this);
  if (!mGraphics->OnKeyUp(mMouseX, mMouseY, KeyPressFromEvent(e))) platform::NSView::keyUp(e);
}

}  // namespace igraphics
}  // namespace iplug
