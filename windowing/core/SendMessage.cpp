#include "windowing/core/SendMessage.h"

#include "platform/View.h"
#include "platform/Window.h"
#include "windowing/core/ControlEmulation.h"
#include "windowing/core/MessageWords.h"
#include "windowing/core/WindowApi.h"
#include "windowing/core/WindowInterfaces.h"

namespace {
// Installed and read on the main thread, as every native control lives there.
swell::ControlMessageEmulation gEmulation = nullptr;
}  // namespace

void swell::setControlMessageEmulation(ControlMessageEmulation emulation) {
  gEmulation = emulation;
}

void swell::notifyEditFocus(platform::NSView* control) {
  HWND self = swell::handleFromObject(control);
  if (HWND parent = GetParent(self))
    SendMessage(parent, WM_COMMAND, swell::makeWParam(control->tag(), EN_SETFOCUS),
                reinterpret_cast<LPARAM>(self));
}

LRESULT SendMessage(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  platform::NSObject* object = swell::objectFromHandle(hwnd);
  if (!object) return 0;
  platform::Ref<platform::NSObject> keep(object);
  if (auto* entry = dynamic_cast<SwellMessageEntry*>(object))
    return entry->onSwellMessage(msg, wParam, lParam);
  LRESULT emulated = 0;
  if (gEmulation && gEmulation(object, msg, wParam, lParam, &emulated)) return emulated;
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
