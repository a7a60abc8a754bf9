// X input as the platform's events: buttons, motion, wheel, crossing, keys, focus and the
// window manager's requests.

#include <cstdlib>

#include "platform/core/Application.h"
#include "platform/core/Window.h"
#include "platform/display/DisplayBackend.h"
#include "platform/x11/detail/X11Backend.h"

namespace platform::x11 {

namespace {

// Presses closer than this in time and space count as one multiple click.
constexpr Time kMultiClickMs = 500;
constexpr int kMultiClickDistancePx = 4;

constexpr unsigned kButtonLeft = 1;
constexpr unsigned kButtonMiddle = 2;
constexpr unsigned kButtonRight = 3;
constexpr unsigned kWheelUp = 4;
constexpr unsigned kWheelDown = 5;
constexpr unsigned kWheelLeft = 6;
constexpr unsigned kWheelRight = 7;

// Which modifier flag a modifier key holds.
std::uint64_t flagOfModifierKey(std::uint16_t keyCode) {
  switch (keyCode) {
    case 0x36:
    case 0x37:
      return NSEventModifierFlagCommand;
    case 0x38:
    case 0x3C:
      return NSEventModifierFlagShift;
    case 0x39:
      return NSEventModifierFlagCapsLock;
    case 0x3A:
    case 0x3D:
      return NSEventModifierFlagOption;
    case 0x3B:
    case 0x3E:
      return NSEventModifierFlagControl;
    default:
      return 0;
  }
}

}  // namespace

NSEvent X11Backend::inputEvent(NSEventType type, WindowRecord* record, int x, int y, unsigned state,
                               Time time) {
  NSEvent e;
  e.type = type;
  e.timestamp = timestampOf(time);
  e.window = record->window;
  double scale = record->window->backingScaleFactor();
  // X measures from the top left of the window (its menu bar, when it has one, above the
  // content); windows are y up.
  e.locationInWindow = {x / scale, record->window->drawnRect().size.height - y / scale};
  e.modifierFlags = modifierFlagsForXState(state);
  return e;
}

void X11Backend::handleButton(WindowRecord* record, const XButtonEvent& event, bool press) {
  unsigned button = event.button;
  if (button >= kWheelUp && button <= kWheelRight) {
    // One notch, one step: the release carries nothing.
    if (!press) return;
    NSEvent e =
        inputEvent(NSEventTypeScrollWheel, record, event.x, event.y, event.state, event.time);
    if (button == kWheelUp) e.deltaY = 1;
    if (button == kWheelDown) e.deltaY = -1;
    if (button == kWheelLeft) e.deltaX = 1;
    if (button == kWheelRight) e.deltaX = -1;
    post(std::move(e));
    return;
  }
  NSEventType type;
  int number;
  if (button == kButtonLeft) {
    type = press ? NSEventTypeLeftMouseDown : NSEventTypeLeftMouseUp;
    number = 0;
  } else if (button == kButtonRight) {
    type = press ? NSEventTypeRightMouseDown : NSEventTypeRightMouseUp;
    number = 1;
  } else {
    type = press ? NSEventTypeOtherMouseDown : NSEventTypeOtherMouseUp;
    // Middle is 2; the side buttons 8 and 9 follow as 3 and 4.
    number = button == kButtonMiddle ? 2 : static_cast<int>(button) - 5;
  }
  if (press) {
    ClickMemory& c = mClicks;
    bool continues = c.window == record->xid && c.button == button &&
                     event.time - c.time <= kMultiClickMs &&
                     std::abs(event.x_root - c.x) <= kMultiClickDistancePx &&
                     std::abs(event.y_root - c.y) <= kMultiClickDistancePx;
    c.count = continues ? c.count + 1 : 1;
    c.window = record->xid;
    c.button = button;
    c.time = event.time;
    c.x = event.x_root;
    c.y = event.y_root;
  }
  NSEvent e = inputEvent(type, record, event.x, event.y, event.state, event.time);
  e.buttonNumber = number;
  e.clickCount = mClicks.button == button ? mClicks.count : 1;
  mPointerRootX = event.x_root;
  mPointerRootY = event.y_root;
  post(std::move(e));
}

void X11Backend::handleMotion(WindowRecord* record, const XMotionEvent& event) {
  // Only the latest of a run of motions in the queue matters.
  XEvent next;
  if (XEventsQueued(mDisplay, QueuedAlready) > 0) {
    XPeekEvent(mDisplay, &next);
    if (next.type == MotionNotify && next.xmotion.window == event.window &&
        next.xmotion.state == event.state)
      return;
  }
  NSEventType type = NSEventTypeMouseMoved;
  if (event.state & Button1Mask)
    type = NSEventTypeLeftMouseDragged;
  else if (event.state & Button3Mask)
    type = NSEventTypeRightMouseDragged;
  else if (event.state & Button2Mask)
    type = NSEventTypeOtherMouseDragged;
  NSEvent e = inputEvent(type, record, event.x, event.y, event.state, event.time);
  // The button's number, as its press carried it.
  if (type == NSEventTypeRightMouseDragged) e.buttonNumber = 1;
  if (type == NSEventTypeOtherMouseDragged) e.buttonNumber = 2;
  // Deltas run down the screen, in points; from the last motion posted, so the motions
  // skipped above are counted in.
  const double scale = record->window->backingScaleFactor();
  e.deltaX = (event.x_root - mPointerRootX) / scale;
  e.deltaY = (event.y_root - mPointerRootY) / scale;
  mPointerRootX = event.x_root;
  mPointerRootY = event.y_root;
  post(std::move(e));
}

void X11Backend::handleCrossing(WindowRecord* record, const XCrossingEvent& event) {
  // Moving into a child of the window is no crossing of the window; grabs (a menu
  // opening) are not the pointer leaving.
  if (event.detail == NotifyInferior || event.mode != NotifyNormal) return;
  bool entered = event.type == EnterNotify;
  mPointerRootX = event.x_root;
  mPointerRootY = event.y_root;
  NSEvent e = inputEvent(entered ? NSEventTypeMouseEntered : NSEventTypeMouseExited, record,
                         event.x, event.y, event.state, event.time);
  post(std::move(e));
}

void X11Backend::handleKey(WindowRecord* record, XKeyEvent& event, bool press) {
  unsigned keycode = event.keycode;
  bool repeat = false;
  if (keycode < mKeysDown.size()) {
    repeat = press && mKeysDown[keycode];
    mKeysDown[keycode] = press;
  }
  std::uint16_t code = macKeyCodeForXKeycode(keycode).value_or(kNoKeyCode);
  if (isModifierKeyCode(code)) {
    // The state is as before the key; the flags say what holds after it.
    std::uint64_t flags = modifierFlagsForXState(event.state);
    std::uint64_t flag = flagOfModifierKey(code);
    if (flag != NSEventModifierFlagCapsLock) flags = press ? flags | flag : flags & ~flag;
    NSEvent e =
        inputEvent(NSEventTypeFlagsChanged, record, event.x, event.y, event.state, event.time);
    e.modifierFlags = flags;
    e.keyCode = code;
    post(std::move(e));
    return;
  }
  NSEvent e = inputEvent(press ? NSEventTypeKeyDown : NSEventTypeKeyUp, record, event.x, event.y,
                         event.state, event.time);
  e.keyCode = code;
  e.isARepeat = repeat;
  if (mKeys) {
    KeyTranslator::Characters chars =
        press ? mKeys->press(keycode, event.state) : mKeys->release(keycode, event.state);
    e.characters = std::move(chars.characters);
    e.charactersIgnoringModifiers = std::move(chars.ignoringModifiers);
  }
  mLastKeyState = event.state;
  post(std::move(e));
}

void X11Backend::handleFocus(WindowRecord* record, const XFocusChangeEvent& event) {
  // Focus moving inside the window or through the pointer, and grabs, change nothing.
  if (event.detail == NotifyInferior || event.detail == NotifyPointer || event.mode == NotifyGrab ||
      event.mode == NotifyUngrab)
    return;
  if (event.type == FocusIn) {
    bool stale = mFocusRequest != 0 && mFocusRequest != record->xid &&
                 steadyNowMs() - mFocusRequestMs < kFocusRequestLimitMs;
    if (mFocusRequest == record->xid) mFocusRequest = 0;
    postAction(record->window, [stale](NSWindow* w) {
      NSApp()->activateIgnoringOtherApps(false);
      if (!stale && w->isVisible() && w->canBecomeKeyWindow() && !w->isKeyWindow())
        w->makeKeyWindow();
    });
    return;
  }
  // The focus left this window: the program stays active when it went to another of
  // its windows (the server knows by the time this runs).
  NSEvent e;
  e.type = NSEventTypeApplicationDefined;
  e.action = [] {
    // The backend may have been replaced meanwhile.
    auto* self = dynamic_cast<X11Backend*>(&displayBackend());
    if (!self || self->mLost) return;
    Window focused;
    int revert;
    XGetInputFocus(self->mDisplay, &focused, &revert);
    if (!self->recordOf(focused)) NSApp()->deactivate();
  };
  post(std::move(e));
}

void X11Backend::handleClientMessage(WindowRecord* record, const XClientMessageEvent& event) {
  if (event.message_type == mWmProtocols && Atom(event.data.l[0]) == mWmDeleteWindow) {
    // The window manager's close button takes the close box's road.
    postAction(record->window, [](NSWindow* w) { w->performClose(); });
    return;
  }
  handleDnd(record, event);
}

}  // namespace platform::x11
