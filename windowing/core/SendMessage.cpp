#include "windowing/core/SendMessage.h"

#include "platform/View.h"
#include "platform/Window.h"
#include "windowing/core/ControlEmulation.h"
#include "windowing/core/WindowInterfaces.h"

LRESULT SendMessage(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  platform::NSObject* object = swell::objectFromHandle(hwnd);
  if (!object) return 0;
  platform::Ref<platform::NSObject> keep(object);
  if (auto* entry = dynamic_cast<SwellMessageEntry*>(object))
    return entry->onSwellMessage(msg, wParam, lParam);
  LRESULT emulated = 0;
  if (swell::emulateControlMessage &&
      swell::emulateControlMessage(object, msg, wParam, lParam, &emulated))
    return emulated;
  // A content view stands for its window, and a window for its content view.
  if (auto* view = dynamic_cast<platform::NSView*>(object)) {
    platform::NSWindow* w = view->window();
    if (w && w->contentView() == view)
      if (auto* entry = dynamic_cast<SwellMessageEntry*>(w))
        return entry->onSwellMessage(msg, wParam, lParam);
  } else if (auto* window = dynamic_cast<platform::NSWindow*>(object)) {
    if (auto* entry = dynamic_cast<SwellMessageEntry*>(window->contentView()))
      return entry->onSwellMessage(msg, wParam, lParam);
  }
  return 0;
}
