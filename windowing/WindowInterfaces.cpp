#include "windowing/WindowInterfaces.h"

#include "platform/View.h"
#include "platform/Window.h"

namespace swell {

platform::NSView* viewForHandle(HWND hwnd) {
  platform::NSObject* object = objectFromHandle(hwnd);
  if (auto* view = dynamic_cast<platform::NSView*>(object)) return view;
  if (auto* window = dynamic_cast<platform::NSWindow*>(object)) return window->contentView();
  return nullptr;
}

}  // namespace swell
