// A window's event dispatch: mouse events to the view under the pointer (or the one that
// took the press), keys to the first responder, and the view under the pointer kept with
// its entries and exits.

#include <cstdint>
#include <utility>

#include "platform/core/Application.h"
#include "platform/core/View.h"
#include "platform/core/Window.h"

namespace platform {

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
      if (performMenuBarKey(e)) return;
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

}  // namespace platform
