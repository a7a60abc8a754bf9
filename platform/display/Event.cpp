#include "platform/display/Event.h"

#include <atomic>

#include "platform/display/detail/TestHooks.h"

namespace platform {

namespace {
// Read from any thread (GetAsyncKeyState), written on the main thread.
std::atomic<double> gMouseX{0}, gMouseY{0};
std::atomic<unsigned> gButtons{0};
std::atomic<std::uint64_t> gModifiers{0};

unsigned buttonBit(NSEventType type) {
  switch (type) {
    case NSEventTypeLeftMouseDown:
    case NSEventTypeLeftMouseUp:
    case NSEventTypeLeftMouseDragged:
      return 1;
    case NSEventTypeRightMouseDown:
    case NSEventTypeRightMouseUp:
    case NSEventTypeRightMouseDragged:
      return 2;
    case NSEventTypeOtherMouseDown:
    case NSEventTypeOtherMouseUp:
    case NSEventTypeOtherMouseDragged:
      return 4;
    default:
      return 0;
  }
}
}  // namespace

NSPoint NSEvent::mouseLocation() {
  return {gMouseX.load(), gMouseY.load()};
}

unsigned NSEvent::pressedMouseButtons() {
  return gButtons.load();
}

std::uint64_t NSEvent::currentModifierFlags() {
  return gModifiers.load();
}

void NSEvent::noteModifierFlags(std::uint64_t flags) {
  gModifiers.store(flags);
}

void NSEvent::setMouseLocation(NSPoint screen) {
  gMouseX.store(screen.x);
  gMouseY.store(screen.y);
}

void NSEvent::noteMouseEvent(const NSEvent& e, NSPoint screen) {
  gMouseX.store(screen.x);
  gMouseY.store(screen.y);
  unsigned bit = buttonBit(e.type);
  if (e.type == NSEventTypeLeftMouseDown || e.type == NSEventTypeRightMouseDown ||
      e.type == NSEventTypeOtherMouseDown)
    gButtons.fetch_or(bit);
  else if (e.type == NSEventTypeLeftMouseUp || e.type == NSEventTypeRightMouseUp ||
           e.type == NSEventTypeOtherMouseUp)
    gButtons.fetch_and(~bit);
  // A release can reach no window of the program (the one pressed in closed meanwhile): a
  // move says no button is held, a drag that its button is.
  else if (e.type == NSEventTypeMouseMoved)
    gButtons.store(0);
  else if (bit != 0)
    gButtons.fetch_or(bit);
}

void resetMouseStateForTesting() {
  gMouseX.store(0);
  gMouseY.store(0);
  gButtons.store(0);
  gModifiers.store(0);
}

bool NSEvent::isMouseEvent() const {
  switch (type) {
    case NSEventTypeLeftMouseDown:
    case NSEventTypeLeftMouseUp:
    case NSEventTypeRightMouseDown:
    case NSEventTypeRightMouseUp:
    case NSEventTypeMouseMoved:
    case NSEventTypeLeftMouseDragged:
    case NSEventTypeRightMouseDragged:
    case NSEventTypeMouseEntered:
    case NSEventTypeMouseExited:
    case NSEventTypeOtherMouseDown:
    case NSEventTypeOtherMouseUp:
    case NSEventTypeOtherMouseDragged:
      return true;
    default:
      return false;
  }
}

bool NSEvent::isInputEvent() const {
  switch (type) {
    case NSEventTypeKeyDown:
    case NSEventTypeKeyUp:
    case NSEventTypeFlagsChanged:
    case NSEventTypeScrollWheel:
    case NSEventTypeRotate:
    case NSEventTypeMagnify:
    case NSEventTypeSwipe:
      return true;
    default:
      return isMouseEvent();
  }
}

}  // namespace platform
