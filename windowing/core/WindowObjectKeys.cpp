#include "windowing/core/EventSupport.h"
#include "windowing/core/WindowObject.h"

using platform::NSEvent;
using platform::Ref;

// A key reaches the procedure first; what it leaves (no procedure, destroyed, or the
// answer that means not handled) goes on up the responder chain.
void Swell_vCorvaneBrisko_hwnd::keyDown(const NSEvent& e) {
  Ref<platform::NSView> keep(this);
  if (canDeliver()) {
    int flags = 0;
    int key = swell::macKeyToWindowsKey(e, &flags);
    LRESULT answer = onSwellMessage(WM_KEYDOWN, static_cast<WPARAM>(key), flags);
    if (answer != kSwellKeyNotHandled) return;
  }
  NSView::keyDown(e);
}

void Swell_vCorvaneBrisko_hwnd::keyUp(const NSEvent& e) {
  Ref<platform::NSView> keep(this);
  if (canDeliver()) {
    int flags = 0;
    int key = swell::macKeyToWindowsKey(e, &flags);
    LRESULT answer = onSwellMessage(WM_KEYUP, static_cast<WPARAM>(key), flags);
    if (answer != kSwellKeyNotHandled) return;
  }
  NSView::keyUp(e);
}
