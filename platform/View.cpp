#include "platform/View.h"

#include <algorithm>
#include <utility>

#include "base/Finite.h"
#include "base/Log.h"
#include "platform/DisplayBackend.h"
#include "platform/GraphicsContext.h"
#include "platform/Layer.h"
#include "platform/Window.h"

namespace platform {

namespace {

// A frame that is no number would spoil the transform of every drawing in its window.
bool usableFrame(const NSRect& r) {
  if (base::isFinite(r.origin.x, r.origin.y, r.size.width, r.size.height)) return true;
  base::warn("platform", "NSView: a frame that is no number refused");
  return false;
}

}  // namespace

NSView::NSView(const NSRect& frame) : mFrame(usableFrame(frame) ? frame : NSRect{}) {}

void NSView::dealloc() {
  delete mFocus;
  mFocus = nullptr;
  // Subviews outlive their superview only if someone else holds them.
  std::vector<NSView*> subviews = std::move(mSubviews);
  mSubviews.clear();
  for (NSView* v : subviews) {
    v->mSuperview = nullptr;
    v->setNextResponder(nullptr);
    v->setWindowRecursive(nullptr);
    v->release();
  }
  if (mWindow) mWindow->forgetView(this);
  if (mLayer) std::exchange(mLayer, nullptr)->release();
  NSResponder::dealloc();
}

CALayer* NSView::layer() {
  if (!mLayer && mWantsLayer) mLayer = makeBackingLayer();
  return mLayer;
}

CALayer* NSView::makeBackingLayer() {
  return new CALayer;
}

void NSView::setFrame(const NSRect& frame) {
  if (frame == mFrame || !usableFrame(frame)) return;
  if (mSuperview) mSuperview->setNeedsDisplayInRect(mFrame);
  mFrame = frame;
  setNeedsDisplay(true);
}

void NSView::setFrameOrigin(NSPoint origin) {
  setFrame({origin, mFrame.size});
}

void NSView::setFrameSize(NSSize size) {
  setFrame({mFrame.origin, size});
}

void NSView::setBoundsOrigin(NSPoint origin) {
  if (!usableFrame({origin, {}})) return;
  mBoundsOrigin = origin;
  setNeedsDisplay(true);
}

void NSView::setHidden(bool hidden) {
  if (hidden == mHidden) return;
  if (hidden && mWindow) {
    // A hidden view cannot keep the keyboard focus.
    if (auto* fr = dynamic_cast<NSView*>(mWindow->firstResponder());
        fr && (fr == this || fr->isDescendantOf(this)))
      mWindow->makeFirstResponder(nullptr);
  }
  if (mSuperview) mSuperview->setNeedsDisplayInRect(mFrame);
  mHidden = hidden;
  if (!hidden) setNeedsDisplay(true);
  if (!mSuperview || !mSuperview->isHiddenOrHasHiddenAncestor()) notifyHidden(hidden);
}

void NSView::notifyHidden(bool hidden) {
  Ref<NSView> keep(this);
  if (hidden)
    viewDidHide();
  else
    viewDidUnhide();
  std::vector<Ref<NSView>> subs(mSubviews.begin(), mSubviews.end());
  for (auto& s : subs)
    if (!s->mHidden) s->notifyHidden(hidden);
}

bool NSView::canBecomeKeyView() const {
  return mWindow && acceptsFirstResponder() && !isHiddenOrHasHiddenAncestor();
}

bool NSView::isHiddenOrHasHiddenAncestor() const {
  for (const NSView* v = this; v; v = v->mSuperview)
    if (v->mHidden) return true;
  return false;
}

bool NSView::isDescendantOf(const NSView* view) const {
  for (const NSView* v = this; v; v = v->mSuperview)
    if (v == view) return true;
  return false;
}

void NSView::setWindowRecursive(NSWindow* window) {
  if (mWindow == window) return;
  if (mWindow) mWindow->forgetView(this);
  mWindow = window;
  for (NSView* v : mSubviews)
    v->setWindowRecursive(window);
  viewDidMoveToWindow();
}

void NSView::insertSubview(NSView* view, std::size_t index) {
  if (!view || view == this || isDescendantOf(view)) return;
  Ref<NSView> keep(view);
  if (view->mSuperview) view->removeFromSuperview();
  // A content view moving into a view leaves its window.
  if (view->mWindow && view->mWindow->contentView() == view) view->mWindow->setContentView(nullptr);
  index = std::min(index, mSubviews.size());
  mSubviews.insert(mSubviews.begin() + static_cast<long>(index), view);
  view->retain();
  view->mSuperview = this;
  view->setNextResponder(this);
  view->setWindowRecursive(mWindow);
  setNeedsDisplayInRect(view->mFrame);
  view->setNeedsDisplay(true);
  didAddSubview(view);
}

void NSView::addSubview(NSView* view) {
  insertSubview(view, mSubviews.size());
}

void NSView::addSubview(NSView* view, NSWindowOrderingMode place, NSView* relativeTo) {
  auto it = std::find(mSubviews.begin(), mSubviews.end(), relativeTo);
  if (!relativeTo || it == mSubviews.end()) {
    insertSubview(view, place == NSWindowBelow ? 0 : mSubviews.size());
    return;
  }
  // Removing the view first may shift the anchor; look it up again afterwards.
  Ref<NSView> keep(view);
  if (view && view->mSuperview == this) view->removeFromSuperview();
  it = std::find(mSubviews.begin(), mSubviews.end(), relativeTo);
  std::size_t index = static_cast<std::size_t>(it - mSubviews.begin());
  insertSubview(view, place == NSWindowBelow ? index : index + 1);
}

void NSView::moveSubview(NSView* subview, NSWindowOrderingMode place, NSView* relativeTo) {
  auto it = std::find(mSubviews.begin(), mSubviews.end(), subview);
  if (!subview || it == mSubviews.end() || subview == relativeTo) return;
  mSubviews.erase(it);
  auto anchor = std::find(mSubviews.begin(), mSubviews.end(), relativeTo);
  std::size_t index;
  if (anchor == mSubviews.end())
    index = place == NSWindowBelow ? 0 : mSubviews.size();
  else
    index = static_cast<std::size_t>(anchor - mSubviews.begin()) + (place == NSWindowBelow ? 0 : 1);
  mSubviews.insert(mSubviews.begin() + static_cast<long>(index), subview);
  setNeedsDisplayInRect(subview->mFrame);
}

void NSView::removeFromSuperview() {
  NSView* parent = mSuperview;
  if (!parent) return;
  Ref<NSView> keep(this);
  parent->willRemoveSubview(this);
  auto it = std::find(parent->mSubviews.begin(), parent->mSubviews.end(), this);
  if (it == parent->mSubviews.end()) return;
  parent->mSubviews.erase(it);
  if (mWindow) {
    if (auto* fr = dynamic_cast<NSView*>(mWindow->firstResponder());
        fr && (fr == this || fr->isDescendantOf(this)))
      mWindow->makeFirstResponder(nullptr);
  }
  parent->setNeedsDisplayInRect(mFrame);
  mSuperview = nullptr;
  setNextResponder(nullptr);
  setWindowRecursive(nullptr);
  release();
}

NSView::WindowTransform NSView::transformToWindow() const {
  WindowTransform t;
  for (const NSView* v = this; v; v = v->mSuperview) {
    // The content view sits in the window's own y-up coordinates; a view without
    // superview or window counts as in such a system too.
    bool parentFlipped = v->mSuperview ? v->mSuperview->isFlipped() : false;
    double x0 = v->mFrame.origin.x - v->mBoundsOrigin.x;
    double y0, sy;
    if (v->isFlipped() == parentFlipped) {
      y0 = v->mFrame.origin.y - v->mBoundsOrigin.y;
      sy = 1;
    } else {
      y0 = v->mFrame.origin.y + v->mFrame.size.height + v->mBoundsOrigin.y;
      sy = -1;
    }
    // Compose: the parent's map applied after this one.
    t = {x0 + t.tx, y0 + sy * t.ty, sy * t.sy};
  }
  return t;
}

NSPoint NSView::convertPointToView(NSPoint p, const NSView* to) const {
  WindowTransform t = transformToWindow();
  NSPoint w{t.tx + p.x, t.ty + t.sy * p.y};
  if (!to) return w;
  WindowTransform u = to->transformToWindow();
  return {w.x - u.tx, u.sy * (w.y - u.ty)};
}

NSPoint NSView::convertPointFromView(NSPoint p, const NSView* from) const {
  if (from) return from->convertPointToView(p, this);
  WindowTransform u = transformToWindow();
  return {p.x - u.tx, u.sy * (p.y - u.ty)};
}

NSRect NSView::convertRectToView(const NSRect& r, const NSView* to) const {
  return NSRectFromCorners(convertPointToView(r.origin, to),
                           convertPointToView({r.maxX(), r.maxY()}, to));
}

NSRect NSView::convertRectFromView(const NSRect& r, const NSView* from) const {
  return NSRectFromCorners(convertPointFromView(r.origin, from),
                           convertPointFromView({r.maxX(), r.maxY()}, from));
}

NSRect NSView::visibleRect() const {
  NSRect visible = bounds();
  for (const NSView* v = mSuperview; v; v = v->mSuperview)
    visible = NSIntersectionRect(visible, convertRectFromView(v->bounds(), v));
  return visible;
}

NSView* NSView::hitTest(NSPoint p) {
  if (mHidden) return nullptr;
  // The frame is in the superview's coordinates whatever its flippedness.
  if (!NSPointInRect(p, mFrame)) return nullptr;
  NSPoint local =
      mSuperview ? convertPointFromView(p, mSuperview) : convertPointFromView(p, nullptr);
  for (auto it = mSubviews.rbegin(); it != mSubviews.rend(); ++it)
    if (NSView* hit = (*it)->hitTest(local)) return hit;
  return this;
}

void NSView::setNeedsDisplay(bool needs) {
  if (needs)
    setNeedsDisplayInRect(bounds());
  else
    mDirty = {};
}

void NSView::setNeedsDisplayInRect(const NSRect& rect) {
  NSRect r = NSIntersectionRect(rect, bounds());
  if (r.isEmpty()) return;
  mDirty = NSUnionRect(mDirty, r);
}

void NSView::clearDirtyRecursive() {
  mDirty = {};
  for (NSView* v : mSubviews)
    v->clearDirtyRecursive();
}

void NSView::display() {
  if (mWindow) mWindow->drawRegion(convertRectToView(bounds(), nullptr));
}

void NSView::displayIfNeeded() {
  if (mWindow) mWindow->displayIfNeeded();
}

CGContext* NSView::lockFocusIfCanDraw() {
  if (mFocus || !mWindow || isHiddenOrHasHiddenAncestor()) return nullptr;
  const NSRect region = convertRectToView(visibleRect(), nullptr);
  cairo_surface_t* surface = region.isEmpty() ? nullptr : mWindow->backingStore();
  if (!surface) return nullptr;
  const double scale = mWindow->backingScaleFactor();
  // The backing store holds the menu bar above the content, as the display pass draws it.
  const double height = mWindow->drawnRect().size.height;
  cairo_t* cr = cairo_create(surface);
  // The display pass's placement: window coordinates y up, then the view's own.
  cairo_matrix_t base, local, combined;
  cairo_matrix_init(&base, scale, 0, 0, -scale, 0, height * scale);
  cairo_set_matrix(cr, &base);
  cairo_rectangle(cr, region.origin.x, region.origin.y, region.size.width, region.size.height);
  cairo_clip(cr);
  const WindowTransform t = transformToWindow();
  cairo_matrix_init(&local, 1, 0, 0, t.sy, t.tx, t.ty);
  cairo_matrix_multiply(&combined, &local, &base);
  cairo_set_matrix(cr, &combined);
  mFocus = new CGContext(cr);
  cairo_destroy(cr);
  mFocusRegion = region;
  return mFocus;
}

void NSView::unlockFocus() {
  if (!mFocus) return;
  delete mFocus;
  mFocus = nullptr;
  if (!mWindow) return;
  if (cairo_surface_t* surface = mWindow->backingStore()) cairo_surface_flush(surface);
  displayBackend().presentWindow(mWindow, mFocusRegion);
}

}  // namespace platform
