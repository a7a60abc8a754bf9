// A window's frame and content view: construction and release, the frame and content
// rectangles, the stored properties and the conversion of coordinates to the screen.

#include "platform/core/Window.h"

#include <algorithm>
#include <cmath>
#include <utility>

#include "base/Finite.h"
#include "base/Log.h"
#include "platform/core/Application.h"
#include "platform/core/Menu.h"
#include "platform/core/Text.h"
#include "platform/core/View.h"
#include "platform/display/DisplayBackend.h"

namespace platform {

namespace {
int gNextWindowNumber = 1;
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

void NSWindow::setBackgroundColor(NSColor color) {
  mBackground = color;
  if (mContentView) mContentView->setNeedsDisplay(true);
}

void NSWindow::setAlphaValue(double alpha) {
  // Not a number would reach the compositor; out of range is limited.
  if (!std::isfinite(alpha)) return;
  mAlpha = std::clamp(alpha, 0.0, 1.0);
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

}  // namespace platform
