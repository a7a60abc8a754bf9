#include "platform/core/Responder.h"

#include <cstdint>

namespace platform {

// Each handler hands the event up the chain; the end of the chain drops it.
#define PLATFORM_FORWARD(method)                              \
  void NSResponder::method(const NSEvent& e) {                \
    if (NSResponder* next = nextResponder()) next->method(e); \
  }
PLATFORM_FORWARD(mouseDown)
PLATFORM_FORWARD(mouseUp)
PLATFORM_FORWARD(mouseDragged)
PLATFORM_FORWARD(mouseMoved)
PLATFORM_FORWARD(mouseEntered)
PLATFORM_FORWARD(mouseExited)
PLATFORM_FORWARD(rightMouseDown)
PLATFORM_FORWARD(rightMouseUp)
PLATFORM_FORWARD(rightMouseDragged)
PLATFORM_FORWARD(otherMouseDown)
PLATFORM_FORWARD(otherMouseUp)
PLATFORM_FORWARD(otherMouseDragged)
PLATFORM_FORWARD(scrollWheel)
PLATFORM_FORWARD(keyDown)
PLATFORM_FORWARD(keyUp)
PLATFORM_FORWARD(magnifyWithEvent)
PLATFORM_FORWARD(rotateWithEvent)
PLATFORM_FORWARD(swipeWithEvent)
#undef PLATFORM_FORWARD

namespace {

// The navigation keys: each key's command and the step that takes it.
struct NavigationKey {
  std::uint16_t keyCode;
  NSKeyCommand command;
  bool (NSResponder::*step)();
};
constexpr NavigationKey kNavigationKeys[] = {
    {kVK_UpArrow, NSKeyCommand::MoveUp, &NSResponder::moveUp},
    {kVK_DownArrow, NSKeyCommand::MoveDown, &NSResponder::moveDown},
    {kVK_LeftArrow, NSKeyCommand::MoveLeft, &NSResponder::moveLeft},
    {kVK_RightArrow, NSKeyCommand::MoveRight, &NSResponder::moveRight},
    {kVK_Home, NSKeyCommand::MoveToBeginningOfDocument, &NSResponder::moveToBeginningOfDocument},
    {kVK_End, NSKeyCommand::MoveToEndOfDocument, &NSResponder::moveToEndOfDocument},
    {kVK_PageUp, NSKeyCommand::PageUp, &NSResponder::pageUp},
    {kVK_PageDown, NSKeyCommand::PageDown, &NSResponder::pageDown},
};

}  // namespace

NSKeyCommand keyCommandForEvent(const NSEvent& e) {
  if (e.type != NSEventTypeKeyDown || (e.modifierFlags & kCommandKeyModifiers))
    return NSKeyCommand::NoCommand;
  for (const NavigationKey& key : kNavigationKeys)
    if (key.keyCode == e.keyCode) return key.command;
  return NSKeyCommand::NoCommand;
}

bool NSResponder::doCommandBySelector(NSKeyCommand command) {
  for (const NavigationKey& key : kNavigationKeys)
    if (key.command == command) return (this->*key.step)();
  return false;
}

}  // namespace platform
