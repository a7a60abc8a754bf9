// A window's place among the application's windows: key and main status, ordering on
// screen and level, child windows, closing and miniaturizing.

#include <algorithm>
#include <vector>

#include "platform/core/Application.h"
#include "platform/core/Window.h"
#include "platform/display/DisplayBackend.h"

namespace platform {

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

}  // namespace platform
