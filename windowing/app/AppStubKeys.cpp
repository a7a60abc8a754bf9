#include <cstdint>

#include "platform/Clock.h"
#include "platform/Text.h"
#include "platform/TextField.h"
#include "platform/TextView.h"
#include "platform/Window.h"
#include "windowing/app/detail/AppController.h"
#include "windowing/core/EventSupport.h"
#include "windowing/core/Keyboard.h"
#include "windowing/core/SendMessage.h"
#include "windowing/core/WindowApi.h"
#include "windowing/core/WindowInterfaces.h"

using platform::NSEvent;
using platform::NSView;
using platform::NSWindow;
using platform::Ref;

namespace {

// How long a held key's repeat waits for the next one to arrive.
constexpr double kRepeatPeekMs = 3;

// Whether the next key-down waiting in the queue is another auto-repeat of the same
// key: then this repeat is stale and only the newest counts. Only repeats collapse, so
// quick typing of the same letter twice and every key-up get through.
bool superseded(platform::NSApplication* app, const NSEvent& e) {
  if (e.type != platform::NSEventTypeKeyDown || !e.isARepeat) return false;
  auto next =
      app->nextEvent(platform::NSEventMaskFromType(platform::NSEventTypeKeyDown),
                     platform::nowMs() + kRepeatPeekMs, platform::NSDefaultRunLoopMode, false);
  return next && next->isARepeat &&
         static_cast<std::uint16_t>(next->keyCode) == static_cast<std::uint16_t>(e.keyCode);
}

// The text field whose field editor a text view is: an ancestor below the content view.
bool insideTextField(const NSView* text, const NSView* content) {
  for (const NSView* v = text->superview(); v && v != content; v = v->superview())
    if (dynamic_cast<const platform::NSTextField*>(v)) return true;
  return false;
}

void sendCommand(NSView* content, int id) {
  SendMessage(swell::handleFromObject(content), WM_COMMAND, static_cast<WPARAM>(id), 0);
}

}  // namespace

void SWELLApplication::sendEvent(const NSEvent& e) {
  if (!e.isKeyEvent()) {
    NSApplication::sendEvent(e);
    return;
  }
  if (e.window && !platform::isLiveObject(e.window)) return;
  if (superseded(this, e)) return;
  // Looking for the next repeat runs the run loop: a timer may have closed the window.
  if (e.window && !platform::isLiveObject(e.window)) return;
  routeKey(e);
}

void SWELLApplication::routeKey(const NSEvent& e) {
  NSWindow* modal = modalWindow();
  Ref<NSWindow> window(e.window);
  Ref<NSView> focus(window ? dynamic_cast<NSView*>(window->firstResponder()) : nullptr);
  if (!modal) {
    if (window && !focus) {
      NSApplication::sendEvent(e);
      return;
    }
    int flags = 0;
    MSG msg;
    msg.hwnd = swell::handleFromObject(focus.get());
    msg.message = e.type == platform::NSEventTypeKeyDown ? WM_KEYDOWN : WM_KEYUP;
    msg.wParam = static_cast<WPARAM>(SWELL_MacKeyToWindowsKey(const_cast<NSEvent*>(&e), &flags));
    msg.lParam = flags;
    if (AppMainProc && AppMainProc(SWELLAPP_PROCESSMESSAGE, reinterpret_cast<INT_PTR>(&msg),
                                   reinterpret_cast<INT_PTR>(&e)) > 0)
      return;
    // The callback may have closed the window.
    if (window && !platform::isLiveObject(window.get())) return;
  }
  NSView* content = window ? window->contentView() : nullptr;
  Ref<NSView> keepContent(content);
  // A dialog whose window itself holds the focus (no control took it) answers its keys too.
  NSView* keyView = focus ? focus.get() : content;
  if (e.type == platform::NSEventTypeKeyDown && keyView && content &&
      dynamic_cast<SwellMessageEntry*>(content) && dialogShortcut(e, keyView, content))
    return;
  NSApplication::sendEvent(e);
}

bool SWELLApplication::dialogShortcut(const NSEvent& e, NSView* focus, NSView* content) {
  int flags = 0;
  int key = SWELL_MacKeyToWindowsKey(const_cast<NSEvent*>(&e), &flags);
  int modifiers = flags & ~FVIRTKEY;
  auto* text = dynamic_cast<platform::NSText*>(focus);
  auto* textView = dynamic_cast<platform::NSTextView*>(focus);

  if (modifiers == FCONTROL && (key == 'C' || key == 'X' || key == 'V')) {
    if (!text) return false;
    if (key == 'C')
      text->copy();
    else if (key == 'X')
      text->cut();
    else
      text->paste();
    return true;
  }
  if (key == VK_ESCAPE && (modifiers & ~FSHIFT) == 0) {
    if (!textView ||
        (!(modifiers & FSHIFT) && (!textView->isEditable() || insideTextField(textView, content))))
      sendCommand(content, IDCANCEL);
    else
      SetFocus(swell::handleFromObject(content));
    return true;
  }
  if (modifiers == FCONTROL && key == 'W') {
    sendCommand(content, IDCANCEL);
    return true;
  }
  if (key == VK_RETURN && modifiers == 0) {
    // A multi-line text takes its Return itself.
    if (textView && textView->isEditable() &&
        (!insideTextField(textView, content) || textView->superview() == content))
      return false;
    if (int id = SWELL_GetDefaultButtonID(swell::handleFromObject(content), true))
      sendCommand(content, id);
    else
      SetFocus(swell::handleFromObject(content));
    return true;
  }
  return false;
}
