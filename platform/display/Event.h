#pragma once

#include <cstdint>
#include <functional>
#include <string>

#include "platform/objects/Geometry.h"

namespace platform {

class NSWindow;

// Event type numbers are the platform's, so tables written against them apply as is.
enum NSEventType : int {
  NSEventTypeLeftMouseDown = 1,
  NSEventTypeLeftMouseUp = 2,
  NSEventTypeRightMouseDown = 3,
  NSEventTypeRightMouseUp = 4,
  NSEventTypeMouseMoved = 5,
  NSEventTypeLeftMouseDragged = 6,
  NSEventTypeRightMouseDragged = 7,
  NSEventTypeMouseEntered = 8,
  NSEventTypeMouseExited = 9,
  NSEventTypeKeyDown = 10,
  NSEventTypeKeyUp = 11,
  NSEventTypeFlagsChanged = 12,
  NSEventTypeAppKitDefined = 13,
  NSEventTypeSystemDefined = 14,
  NSEventTypeApplicationDefined = 15,
  NSEventTypePeriodic = 16,
  NSEventTypeRotate = 18,
  NSEventTypeScrollWheel = 22,
  NSEventTypeOtherMouseDown = 25,
  NSEventTypeOtherMouseUp = 26,
  NSEventTypeOtherMouseDragged = 27,
  NSEventTypeMagnify = 30,
  NSEventTypeSwipe = 31,
};

using NSEventMask = std::uint64_t;
inline constexpr NSEventMask NSEventMaskAny = ~NSEventMask{0};
inline constexpr NSEventMask NSEventMaskFromType(NSEventType type) {
  return NSEventMask{1} << static_cast<int>(type);
}

// Modifier masks.
inline constexpr std::uint64_t NSEventModifierFlagCapsLock = 1u << 16;
inline constexpr std::uint64_t NSEventModifierFlagShift = 1u << 17;
inline constexpr std::uint64_t NSEventModifierFlagControl = 1u << 18;
inline constexpr std::uint64_t NSEventModifierFlagOption = 1u << 19;
inline constexpr std::uint64_t NSEventModifierFlagCommand = 1u << 20;

// The key code of a key the platform has no code for (0 is the A key).
inline constexpr std::uint16_t kNoKeyCode = 0xFFFF;
// The platform's key codes that callers name.
inline constexpr std::uint16_t kVK_Return = 36;
inline constexpr std::uint16_t kVK_Tab = 48;
inline constexpr std::uint16_t kVK_Space = 49;
inline constexpr std::uint16_t kVK_Escape = 53;
inline constexpr std::uint16_t kVK_ANSI_KeypadEnter = 76;
inline constexpr std::uint16_t kVK_Home = 115;
inline constexpr std::uint16_t kVK_PageUp = 116;
inline constexpr std::uint16_t kVK_End = 119;
inline constexpr std::uint16_t kVK_PageDown = 121;
inline constexpr std::uint16_t kVK_LeftArrow = 123;
inline constexpr std::uint16_t kVK_RightArrow = 124;
inline constexpr std::uint16_t kVK_DownArrow = 125;
inline constexpr std::uint16_t kVK_UpArrow = 126;
// Modifiers that make a key a command rather than a key for the control with the focus.
inline constexpr std::uint64_t kCommandKeyModifiers =
    NSEventModifierFlagControl | NSEventModifierFlagOption | NSEventModifierFlagCommand;

// Subtypes of application-kit events.
enum NSEventSubtype : int {
  NSEventSubtypeApplicationActivated = 1,
  NSEventSubtypeApplicationDeactivated = 2,
};

// An input or application event, passed by value. The window is not retained: the
// application checks it against the live-object registry before dispatching.
struct NSEvent {
  NSEventType type = NSEventTypeApplicationDefined;
  NSWindow* window = nullptr;
  NSPoint locationInWindow;  // window coordinates, y up
  std::uint64_t modifierFlags = 0;
  int clickCount = 0;
  int buttonNumber = 0;
  std::uint16_t keyCode = 0;  // the platform's key codes
  std::string characters;     // UTF-8
  std::string charactersIgnoringModifiers;
  bool isARepeat = false;
  double deltaX = 0;
  double deltaY = 0;
  double deltaZ = 0;
  double magnification = 0;
  double rotation = 0;
  double timestamp = 0;  // seconds on the one clock
  int subtype = 0;
  std::int64_t data1 = 0;
  std::int64_t data2 = 0;
  // An application-defined event may carry work that sendEvent runs in queue order.
  std::function<void()> action;

  bool isMouseEvent() const;
  bool isKeyEvent() const { return type == NSEventTypeKeyDown || type == NSEventTypeKeyUp; }
  // Mouse, key, scroll and gesture events: what a modal loop keeps from other windows.
  bool isInputEvent() const;

  // The pointer in screen coordinates (y up) and the buttons held (bit 0 left, bit 1
  // right, bit 2 other), as of the last mouse event the application dispatched: a press
  // sets a button, its release or any move without a button (a release may be lost with
  // its window) clears it.
  static NSPoint mouseLocation();
  static unsigned pressedMouseButtons();
  // The modifier keys held, as of the last input event the application dispatched.
  static std::uint64_t currentModifierFlags();
  // Called by the application for each mouse event it dispatches (and by tests).
  static void noteMouseEvent(const NSEvent& event, NSPoint screenLocation);
  static void noteModifierFlags(std::uint64_t flags);
  // Moves the pointer the layer reports (a warp of the pointer, headless).
  static void setMouseLocation(NSPoint screenLocation);
};

}  // namespace platform
