#include "platform/core/Window.h"

#include <algorithm>
#include <cmath>
#include <utility>

#include "base/Finite.h"
#include "base/Log.h"
#include "platform/core/Application.h"
#include "platform/core/TextField.h"
#include "platform/core/TextView.h"
#include "platform/core/View.h"
#include "platform/display/DisplayBackend.h"
#include "platform/drawing/GraphicsContext.h"
#include "platform/drawing/ImageDecoder.h"
#include "platform/drawing/Layer.h"

namespace platform {

namespace {
int gNextWindowNumber = 1;
const NSColor kFocusRing{0.25, 0.46, 0.85, 0.85};
}  // namespace

NSWindow::NSWindow(const NSRect& contentRect, NSWindowStyleMask style)
    : mStyle(style),
      mNumber(gNextWindowNumber++),
      mFrame(frameRectForContentRect(contentRect, style)) {
  NSApp()->registerWindow(this);
}

void NSWindow::dealloc() {
  Ref<NSWindow> keep(this);
  for (NSWindow* child : std::vector<NSWindow*>(mChildren))
    removeChildWindow(child);
  if (mParent) mParent->removeChildWindow(this);
  if (mTrackingView) {
    mTrackingView->release();
    mTrackingView = nullptr;
  }
  if (NSView* view = std::exchange(mMouseView, nullptr)) view->release();
  setContentView(nullptr);
  setDefaultButtonCell(nullptr);
  if (NSMenu* bar = std::exchange(mMenuBar, nullptr)) bar->release();
  if (NSText* editor = std::exchange(mFieldEditor, nullptr)) {
    editor->removeFromSuperview();
    editor->release();
  }
  NSApp()->unregisterWindow(this);
  displayBackend().windowClosed(this);
  discardBackingStore();
  NSResponder::dealloc();
}

void NSWindow::setDefaultButtonCell(NSObject* cell) {
  if (cell == mDefaultButtonCell) return;
  if (cell) cell->retain();
  if (NSObject* old = std::exchange(mDefaultButtonCell, cell)) old->release();
}

NSRect NSWindow::frameRectForContentRect(const NSRect& content, NSWindowStyleMask style) {
  double bar = (style & NSWindowStyleMaskTitled) ? kTitleBarHeight : 0;
  return NSMakeRect(content.origin.x, content.origin.y, content.size.width,
                    content.size.height + bar);
}

NSRect NSWindow::frameRectForContentRect(const NSRect& content) const {
  NSRect frame = frameRectForContentRect(content, mStyle);
  frame.size.height += menuBarHeight();
  return frame;
}

NSRect NSWindow::contentRectForFrameRect(const NSRect& frame) const {
  double bar = ((mStyle & NSWindowStyleMaskTitled) ? kTitleBarHeight : 0) + menuBarHeight();
  return NSMakeRect(frame.origin.x, frame.origin.y, frame.size.width,
                    std::max(0.0, frame.size.height - bar));
}

void NSWindow::setStyleMask(NSWindowStyleMask style) {
  NSRect content = contentRect();
  mStyle = style;
  setFrame(frameRectForContentRect(content), false);
  displayBackend().windowAttributesChanged(this);
}

void NSWindow::setMinSize(NSSize size) {
  mMinSize = size;
  displayBackend().windowAttributesChanged(this);
}

void NSWindow::setMaxSize(NSSize size) {
  mMaxSize = size;
  displayBackend().windowAttributesChanged(this);
}

void NSWindow::setTitle(std::string title) {
  mTitle = std::move(title);
  displayBackend().windowAttributesChanged(this);
}

void NSWindow::setFrame(const NSRect& frame, bool display) {
  // A frame that is no number would reach the content view, the delegate and the display.
  if (!base::isFinite(frame.origin.x, frame.origin.y, frame.size.width, frame.size.height)) {
    base::warn("platform", "NSWindow: a frame that is no number refused");
    return;
  }
  NSRect old = mFrame;
  mFrame = frame;
  layoutContentView();
  if (old != frame) displayBackend().windowFrameChanged(this);
  if (old.size != frame.size && mDelegate) mDelegate->windowDidResize(this);
  if (old.origin != frame.origin && mDelegate) mDelegate->windowDidMove(this);
  if (display) displayIfNeeded();
}

void NSWindow::setFrameOrigin(NSPoint origin) {
  setFrame({origin, mFrame.size}, false);
}

void NSWindow::setContentSize(NSSize size) {
  NSRect content = contentRect();
  // The top edge stays where it is, as a window grows downwards on screen.
  double top = content.maxY();
  setFrame(frameRectForContentRect(
               NSMakeRect(content.origin.x, top - size.height, size.width, size.height)),
           false);
}

void NSWindow::resizeByUser(NSSize size) {
  NSSize lo = minSize(), hi = maxSize();
  size.width = std::clamp(size.width, lo.width, std::max(lo.width, hi.width));
  size.height = std::clamp(size.height, lo.height, std::max(lo.height, hi.height));
  setContentSize(size);
}

void NSWindow::layoutContentView() {
  if (!mContentView) return;
  NSRect content = contentRect();
  mContentView->setFrame(NSMakeRect(0, 0, content.size.width, content.size.height));
}

void NSWindow::setContentView(NSView* view) {
  if (view == mContentView) return;
  if (view) {
    view->retain();
    view->removeFromSuperview();
    if (view->window() && view->window()->contentView() == view)
      view->window()->setContentView(nullptr);
  }
  if (NSView* old = mContentView) {
    mContentView = nullptr;
    old->setNextResponder(nullptr);
    old->setWindowRecursive(nullptr);
    old->release();
  }
  mContentView = view;
  if (view) {
    view->setNextResponder(this);
    view->setWindowRecursive(this);
    layoutContentView();
    view->setNeedsDisplay(true);
  }
}

void NSWindow::forgetView(NSView* view) {
  if (mFirstResponder == view) mFirstResponder = nullptr;
  if (mTrackingView == view) {
    mTrackingView = nullptr;
    view->release();
  }
  if (mMouseView == view) {
    mMouseView = nullptr;
    view->release();
  }
}

void NSWindow::setMouseView(NSView* view, const NSEvent& e) {
  if (view == mMouseView) return;
  NSView* old = std::exchange(mMouseView, view);
  if (view) view->retain();
  if (old) {
    old->mouseExited(e);
    old->release();
  }
  // The exit may have moved the pointer's view on again.
  if (view && mMouseView == view) view->mouseEntered(e);
}

void NSWindow::endPressIfReleased(std::uint64_t press, std::uint64_t releasesBefore) {
  // A loop the press or its drag ran (a menu's, a drag session's) took the release: the
  // press is over, and the pointer's comings and goings are the window's again. A press
  // that came meanwhile (in a loop that dispatched events) is a press of its own.
  if (!mTrackingView || mPresses != press || NSApp()->mReleasesTaken == releasesBefore) return;
  std::exchange(mTrackingView, nullptr)->release();
  if (mExitAfterRelease) mouseLeftWindow();
}

void NSWindow::mouseLeftWindow(const NSEvent* event) {
  mExitAfterRelease = false;
  if (!mMouseView) return;
  NSEvent exit;
  exit.type = NSEventTypeMouseExited;
  exit.window = this;
  setMouseView(nullptr, event && event->type == NSEventTypeMouseExited ? *event : exit);
}

NSResponder* NSWindow::firstResponder() const {
  return mFirstResponder ? mFirstResponder : const_cast<NSWindow*>(this);
}

bool NSWindow::makeFirstResponder(NSResponder* responder) {
  NSResponder* target = responder == this ? nullptr : responder;
  if (target == mFirstResponder) return true;
  if (auto* view = dynamic_cast<NSView*>(target); view && view->window() != this) return false;
  // The ring leaves the control losing the focus and goes round the one taking it.
  Ref<NSView> ringBefore(focusedKeyView());
  const bool made = changeFirstResponder(target);
  if (ringBefore && ringBefore->window() == this) ringBefore->setNeedsDisplay(true);
  focusRingNeedsDisplay();
  return made;
}

bool NSWindow::changeFirstResponder(NSResponder* target) {
  if (mFirstResponder && !mFirstResponder->resignFirstResponder()) return false;
  mFirstResponder = nullptr;
  if (!target) return true;
  if (!target->acceptsFirstResponder()) return false;
  Ref<NSObject> keep(target);
  if (!target->becomeFirstResponder()) return false;
  // A responder may hand the role on while becoming it (a text field to its field
  // editor); the one that took it last keeps it.
  if (!mFirstResponder) mFirstResponder = target;
  return true;
}

namespace {

void collectKeyViews(NSView* view, std::vector<NSView*>& loop) {
  for (NSView* sub : view->subviews()) {
    if (sub->isHidden()) continue;
    if (sub->canBecomeKeyView()) loop.push_back(sub);
    // A text field's subview is its field editor, which stands for the field.
    if (!dynamic_cast<NSTextField*>(sub)) collectKeyViews(sub, loop);
  }
}

}  // namespace

std::vector<NSView*> NSWindow::keyViewLoop() const {
  std::vector<NSView*> loop;
  if (!mContentView) return loop;
  collectKeyViews(mContentView, loop);
  if (mAutorecalculatesKeyViewLoop) {
    // Reading order: rows from the top (window coordinates run up), then left to right.
    auto place = [](const NSView* v) {
      const NSRect r = v->convertRectToView(v->bounds(), nullptr);
      return std::make_pair(-std::round(r.maxY()), std::round(r.minX()));
    };
    std::stable_sort(loop.begin(), loop.end(),
                     [&](const NSView* a, const NSView* b) { return place(a) < place(b); });
  }
  return loop;
}

NSView* NSWindow::focusedKeyView() const {
  auto* view = dynamic_cast<NSView*>(mFirstResponder);
  if (!view || view == mContentView) return nullptr;
  for (NSView* v = view; v && v != mContentView; v = v->superview())
    if (dynamic_cast<NSTextField*>(v)) return v;
  return view;
}

void NSWindow::selectNextKeyView() {
  selectKeyView(1);
}

void NSWindow::selectPreviousKeyView() {
  selectKeyView(-1);
}

void NSWindow::selectKeyView(int step) {
  Ref<NSWindow> keep(this);
  const std::vector<NSView*> loop = keyViewLoop();
  const int count = static_cast<int>(loop.size());
  if (count == 0) return;
  std::vector<Ref<NSView>> held(loop.begin(), loop.end());
  NSView* focused = focusedKeyView();
  auto at = std::find(loop.begin(), loop.end(), focused);
  int i = at == loop.end() ? -1 : static_cast<int>(at - loop.begin());
  for (int tries = 0; tries < count; ++tries) {
    i = i < 0 ? (step > 0 ? 0 : count - 1) : (i + step + count) % count;
    if (held[i]->window() == this && makeFirstResponder(held[i].get())) return;
  }
}

void NSWindow::keyDown(const NSEvent& e) {
  if (e.keyCode == kVK_Tab && !(e.modifierFlags & kCommandKeyModifiers)) {
    if (e.modifierFlags & NSEventModifierFlagShift)
      selectPreviousKeyView();
    else
      selectNextKeyView();
    return;
  }
  NSResponder::keyDown(e);
}

void NSWindow::focusRingNeedsDisplay() {
  if (NSView* view = focusedKeyView(); view && view->showsFocusRing()) view->setNeedsDisplay(true);
}

void NSWindow::drawFocusRing(cairo_t* cr) {
  NSView* view = isKeyWindow() ? focusedKeyView() : nullptr;
  if (!view || !view->showsFocusRing() || view->isHiddenOrHasHiddenAncestor()) return;
  // Inside the control's edges, so that marking the control redraws the whole ring.
  const NSRect r = view->convertRectToView(view->bounds(), nullptr);
  if (r.size.width < 4 || r.size.height < 4) return;
  cairo_rectangle(cr, r.origin.x + 1, r.origin.y + 1, r.size.width - 2, r.size.height - 2);
  cairo_set_source_rgba(cr, kFocusRing.red, kFocusRing.green, kFocusRing.blue, kFocusRing.alpha);
  cairo_set_line_width(cr, 2);
  cairo_stroke(cr);
}

NSText* NSWindow::fieldEditor(bool create, NSObject* forObject) {
  if (!mFieldEditor && create) {
    auto* editor = new NSTextView;
    editor->setFieldEditor(true);
    mFieldEditor = editor;
  }
  return mFieldEditor;
}

bool NSWindow::isKeyWindow() const {
  return NSApp()->keyWindow() == this;
}

bool NSWindow::isMainWindow() const {
  return NSApp()->mainWindow() == this;
}

bool NSWindow::canBecomeKeyWindow() const {
  return (mStyle & (NSWindowStyleMaskTitled | NSWindowStyleMaskResizable)) != 0;
}

bool NSWindow::canBecomeMainWindow() const {
  return canBecomeKeyWindow();
}

void NSWindow::becomeKeyWindow() {
  if (mDelegate) mDelegate->windowDidBecomeKey(this);
}

void NSWindow::resignKeyWindow() {
  if (mDelegate) mDelegate->windowDidResignKey(this);
}

void NSWindow::makeKeyWindow() {
  if (!canBecomeKeyWindow()) return;
  reopenIfClosed();
  NSApp()->setKeyWindow(this);
}

void NSWindow::makeMainWindow() {
  if (mClosed || !canBecomeMainWindow()) return;
  NSApp()->setMainWindowInternal(this);
}

void NSWindow::makeKeyAndOrderFront() {
  orderFront();
  makeKeyWindow();
  if (canBecomeMainWindow()) makeMainWindow();
}

bool NSWindow::isVisible() const {
  const auto& ordered = NSApp()->mOrdered;
  return std::find(ordered.begin(), ordered.end(), this) != ordered.end();
}

void NSWindow::reopenIfClosed() {
  // A closed window that is still held can be shown again.
  if (!mClosed) return;
  mClosed = false;
  NSApp()->registerWindow(this);
}

void NSWindow::orderFront() {
  reopenIfClosed();
  mMiniaturized = false;
  NSApp()->orderWindow(this, NSWindowAbove);
}

void NSWindow::orderBack() {
  reopenIfClosed();
  NSApp()->orderWindow(this, NSWindowBelow);
}

void NSWindow::orderOut() {
  Ref<NSWindow> keep(this);
  mouseLeftWindow();
  for (NSWindow* child : std::vector<NSWindow*>(mChildren))
    child->orderOut();
  NSApp()->orderWindow(this, NSWindowOut);
}

void NSWindow::setLevel(int level) {
  mLevel = level;
  displayBackend().windowAttributesChanged(this);
  if (isVisible()) NSApp()->orderWindow(this, NSWindowAbove);
}

void NSWindow::addChildWindow(NSWindow* child, NSWindowOrderingMode place) {
  if (!child || child == this || child->mParent == this) return;
  if (child->mParent) child->mParent->removeChildWindow(child);
  mChildren.push_back(child);
  child->mParent = this;
  displayBackend().windowAttributesChanged(child);
  if (isVisible()) child->orderFront();
}

void NSWindow::removeChildWindow(NSWindow* child) {
  auto it = std::find(mChildren.begin(), mChildren.end(), child);
  if (it == mChildren.end()) return;
  mChildren.erase(it);
  child->mParent = nullptr;
  displayBackend().windowAttributesChanged(child);
}

void NSWindow::performClose() {
  Ref<NSWindow> keep(this);
  if (mDelegate && !mDelegate->windowShouldClose(this)) return;
  close();
}

void NSWindow::close() {
  if (mClosed) return;
  Ref<NSWindow> keep(this);
  if (mDelegate) mDelegate->windowWillClose(this);
  orderOut();
  for (NSWindow* child : std::vector<NSWindow*>(mChildren))
    removeChildWindow(child);
  if (mParent) mParent->removeChildWindow(this);
  mClosed = true;
  NSApp()->windowClosed(this);
  if (mReleasedWhenClosed) release();
}

void NSWindow::miniaturize() {
  mouseLeftWindow();
  mMiniaturized = true;
  NSApp()->orderWindow(this, NSWindowOut);
}

void NSWindow::deminiaturize() {
  if (!mMiniaturized) return;
  orderFront();
}

void NSWindow::sendEvent(const NSEvent& e) {
  Ref<NSWindow> keep(this);
  Ref<NSView> content(mContentView);
  NSView* hit = content ? content->hitTest(e.locationInWindow) : nullptr;
  Ref<NSView> hitRef(hit);
  switch (e.type) {
    case NSEventTypeLeftMouseDown:
    case NSEventTypeRightMouseDown:
    case NSEventTypeOtherMouseDown: {
      bool wasKey = isKeyWindow();
      if (!wasKey && canBecomeKeyWindow()) makeKeyAndOrderFront();
      if (mMenuBar && NSPointInRect(e.locationInWindow, menuBarRect())) {
        if (e.type == NSEventTypeLeftMouseDown) trackMenuBar(e);
        return;
      }
      setMouseView(hit, e);
      if (!hit) return;
      // A click that only brings the window forward reaches the view when it asks
      // for the first mouse.
      if (!wasKey && e.type == NSEventTypeLeftMouseDown && !hit->acceptsFirstMouse(&e)) return;
      if (e.type == NSEventTypeLeftMouseDown && hit->acceptsFirstResponder() &&
          hit->becomesFirstResponderOnClick())
        makeFirstResponder(hit);
      if (mTrackingView) mTrackingView->release();
      mTrackingView = hit;
      hit->retain();
      const std::uint64_t releases = NSApp()->mReleasesTaken, press = ++mPresses;
      if (e.type == NSEventTypeLeftMouseDown)
        hit->mouseDown(e);
      else if (e.type == NSEventTypeRightMouseDown)
        hit->rightMouseDown(e);
      else
        hit->otherMouseDown(e);
      endPressIfReleased(press, releases);
      return;
    }
    case NSEventTypeLeftMouseDragged:
    case NSEventTypeRightMouseDragged:
    case NSEventTypeOtherMouseDragged:
    case NSEventTypeLeftMouseUp:
    case NSEventTypeRightMouseUp:
    case NSEventTypeOtherMouseUp: {
      Ref<NSView> target(mTrackingView ? mTrackingView : hit);
      bool up = e.type == NSEventTypeLeftMouseUp || e.type == NSEventTypeRightMouseUp ||
                e.type == NSEventTypeOtherMouseUp;
      if (up && mTrackingView) {
        mTrackingView->release();
        mTrackingView = nullptr;
      }
      const std::uint64_t releases = NSApp()->mReleasesTaken, press = mPresses;
      if (target) {
        switch (e.type) {
          case NSEventTypeLeftMouseDragged:
            target->mouseDragged(e);
            break;
          case NSEventTypeRightMouseDragged:
            target->rightMouseDragged(e);
            break;
          case NSEventTypeOtherMouseDragged:
            target->otherMouseDragged(e);
            break;
          case NSEventTypeLeftMouseUp:
            target->mouseUp(e);
            break;
          case NSEventTypeRightMouseUp:
            target->rightMouseUp(e);
            break;
          default:
            target->otherMouseUp(e);
            break;
        }
      }
      if (!up) endPressIfReleased(press, releases);
      // A drag keeps its view however far the pointer goes; its hover ends at the release.
      if (up && !mTrackingView) {
        if (mExitAfterRelease)
          mouseLeftWindow();
        else
          setMouseView(hit, e);
      }
      return;
    }
    case NSEventTypeMouseMoved:
      setMouseView(hit, e);
      if (hit && mAcceptsMouseMoved) hit->mouseMoved(e);
      return;
    case NSEventTypeMouseEntered:
      if (!mTrackingView) setMouseView(hit, e);
      mExitAfterRelease = false;
      return;
    case NSEventTypeMouseExited:
      if (mTrackingView)
        mExitAfterRelease = true;
      else
        mouseLeftWindow(&e);
      return;
    case NSEventTypeScrollWheel:
      if (hit) hit->scrollWheel(e);
      return;
    case NSEventTypeMagnify:
      if (hit) hit->magnifyWithEvent(e);
      return;
    case NSEventTypeRotate:
      if (hit) hit->rotateWithEvent(e);
      return;
    case NSEventTypeSwipe:
      if (hit) hit->swipeWithEvent(e);
      return;
    case NSEventTypeKeyDown:
    case NSEventTypeKeyUp: {
      Ref<NSObject> responder(firstResponder());
      auto* r = static_cast<NSResponder*>(responder.get());
      if (e.type == NSEventTypeKeyDown)
        r->keyDown(e);
      else
        r->keyUp(e);
      return;
    }
    default:
      return;
  }
}

void NSWindow::setBackgroundColor(NSColor color) {
  mBackground = color;
  if (mContentView) mContentView->setNeedsDisplay(true);
}

void NSWindow::setAlphaValue(double alpha) {
  // Not a number would reach the compositor; out of range is limited.
  if (!std::isfinite(alpha)) return;
  mAlpha = std::clamp(alpha, 0.0, 1.0);
}

void NSWindow::setBackingScaleFactor(double scale) {
  if (!(scale > 0) || !std::isfinite(scale) || scale == mBackingScale) return;
  mBackingScale = scale;
  if (mBacking) cairo_surface_destroy(mBacking);
  mBacking = nullptr;
  if (mContentView) mContentView->setNeedsDisplay(true);
}

NSPoint NSWindow::convertPointToScreen(NSPoint p) const {
  return {p.x + mFrame.origin.x, p.y + mFrame.origin.y};
}

NSPoint NSWindow::convertPointFromScreen(NSPoint p) const {
  return {p.x - mFrame.origin.x, p.y - mFrame.origin.y};
}

NSRect NSWindow::convertRectToScreen(const NSRect& r) const {
  return NSOffsetRect(r, mFrame.origin.x, mFrame.origin.y);
}

NSRect NSWindow::convertRectFromScreen(const NSRect& r) const {
  return NSOffsetRect(r, -mFrame.origin.x, -mFrame.origin.y);
}

cairo_surface_t* NSWindow::backingStore() {
  NSRect content = drawnRect();
  // Pixels Cairo can hold: a window larger than that draws its top left part only, a
  // size that is no number draws nothing.
  auto pixels = [this](double points) {
    const double count = std::ceil(points * mBackingScale);
    return count > 0 ? static_cast<int>(std::min(count, static_cast<double>(kMaxImageSide))) : 0;
  };
  int w = pixels(content.size.width);
  int h = pixels(content.size.height);
  if (mBacking && (cairo_image_surface_get_width(mBacking) != w ||
                   cairo_image_surface_get_height(mBacking) != h)) {
    cairo_surface_destroy(mBacking);
    mBacking = nullptr;
  }
  if (!mBacking) {
    mBacking = displayBackend().createBackingStore(this, w, h);
    if (!mBacking) mBacking = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, w, h);
    if (mContentView) mContentView->setNeedsDisplay(true);
  }
  return mBacking;
}

namespace {

void collectDirty(NSView* view, NSRect& region) {
  if (view->isHidden()) return;
  if (view->needsDisplay())
    region = NSUnionRect(region, view->convertRectToView(view->dirtyRect(), nullptr));
  for (NSView* sub : view->subviews())
    collectDirty(sub, region);
}

// Draws a view and its subviews where they meet the region (window coordinates), each
// clipped to its visible part and set up in its own coordinates.
void drawTree(NSView* view, cairo_t* cr, const cairo_matrix_t& base, const NSRect& clip) {
  if (view->isHidden()) return;
  NSRect inWindow = NSIntersectionRect(view->convertRectToView(view->bounds(), nullptr), clip);
  if (inWindow.isEmpty()) return;
  Ref<NSView> keep(view);
  NSView::WindowTransform t = view->transformToWindow();
  cairo_matrix_t local, combined;
  cairo_matrix_init(&local, 1, 0, 0, t.sy, t.tx, t.ty);
  cairo_matrix_multiply(&combined, &local, &base);
  NSRect dirty = view->convertRectFromView(inWindow, nullptr);
  cairo_save(cr);
  cairo_set_matrix(cr, &combined);
  cairo_rectangle(cr, dirty.origin.x, dirty.origin.y, dirty.size.width, dirty.size.height);
  cairo_clip(cr);
  {
    CGContext context(cr);
    NSGraphicsContext::Scope scope(&context);
    view->drawRect(dirty);
  }
  // What the view's layer holds (GL or Metal pixels) lies over what it drew.
  if (CALayer* layer = view->wantsLayer() ? view->layer() : nullptr) {
    cairo_set_matrix(cr, &base);
    layer->composite(cr, view->convertRectToView(view->bounds(), nullptr));
  }
  cairo_restore(cr);
  std::vector<Ref<NSView>> subs(view->subviews().begin(), view->subviews().end());
  for (auto& sub : subs)
    if (sub->superview() == view) drawTree(sub.get(), cr, base, inWindow);
}

}  // namespace

void NSWindow::discardBackingStore() {
  if (mBacking) cairo_surface_destroy(mBacking);
  mBacking = nullptr;
  if (mContentView) mContentView->setNeedsDisplay(true);
}

bool NSWindow::viewsNeedDisplay() const {
  if (!mContentView) return false;
  if (mMenuBarDirty) return true;
  NSRect region;
  collectDirty(mContentView, region);
  return !region.isEmpty();
}

void NSWindow::drawRegion(const NSRect& region) {
  if (!mContentView) return;
  cairo_surface_t* surface = backingStore();
  NSRect content = drawnRect();
  NSRect r = NSIntersectionRect(region, NSMakeRect(0, 0, content.size.width, content.size.height));
  if (r.isEmpty()) return;
  Ref<NSWindow> keep(this);
  displayBackend().willDrawWindow(this);
  cairo_t* cr = cairo_create(surface);
  // Window coordinates are y up; the image's rows run down.
  cairo_matrix_t base;
  cairo_matrix_init(&base, mBackingScale, 0, 0, -mBackingScale, 0,
                    content.size.height * mBackingScale);
  cairo_set_matrix(cr, &base);
  cairo_rectangle(cr, r.origin.x, r.origin.y, r.size.width, r.size.height);
  cairo_set_operator(cr, CAIRO_OPERATOR_SOURCE);
  cairo_set_source_rgba(cr, mBackground.red, mBackground.green, mBackground.blue,
                        mBackground.alpha);
  cairo_fill(cr);
  cairo_set_operator(cr, CAIRO_OPERATOR_OVER);
  drawTree(mContentView, cr, base, r);
  cairo_save(cr);
  cairo_set_matrix(cr, &base);
  cairo_rectangle(cr, r.origin.x, r.origin.y, r.size.width, r.size.height);
  cairo_clip(cr);
  drawFocusRing(cr);
  cairo_restore(cr);
  if (mMenuBar && !NSIntersectionRect(r, menuBarRect()).isEmpty()) {
    cairo_set_matrix(cr, &base);
    drawMenuBar(cr);
    mMenuBarDirty = false;
  }
  cairo_destroy(cr);
  cairo_surface_flush(surface);
  if (mContentView) mContentView->clearDirtyRecursive();
  displayBackend().presentWindow(this, r);
}

void NSWindow::display() {
  NSRect content = drawnRect();
  drawRegion(NSMakeRect(0, 0, content.size.width, content.size.height));
}

void NSWindow::displayIfNeeded() {
  if (!mContentView) return;
  NSRect region;
  collectDirty(mContentView, region);
  if (mMenuBarDirty) region = NSUnionRect(region, menuBarRect());
  if (!region.isEmpty()) drawRegion(region);
}

}  // namespace platform
