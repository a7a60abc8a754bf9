#include "platform/core/DragAndDrop.h"

#include <algorithm>

#include "platform/core/Pasteboard.h"
#include "platform/core/View.h"
#include "platform/core/Window.h"

namespace platform {

void NSDraggingDestination::registerForDraggedTypes(const std::vector<std::string>& types) {
  for (const auto& t : types)
    if (std::find(mDraggedTypes.begin(), mDraggedTypes.end(), t) == mDraggedTypes.end())
      mDraggedTypes.push_back(t);
}

namespace {

bool takesAnyOf(NSDraggingDestination* destination, const std::vector<std::string>& offered) {
  for (const auto& t : destination->registeredDraggedTypes())
    if (std::find(offered.begin(), offered.end(), t) != offered.end()) return true;
  return false;
}

}  // namespace

NSDragOperation NSPerformDrop(NSWindow* window, NSPoint location, NSPasteboard& pasteboard,
                              NSObject* source) {
  if (!window || !isLiveObject(window) || !window->contentView()) return NSDragOperationNone;
  Ref<NSWindow> keep(window);
  std::vector<std::string> offered = pasteboard.types();
  NSView* hit = window->contentView()->hitTest(location);
  for (NSView* v = hit; v; v = v->superview()) {
    auto* destination = dynamic_cast<NSDraggingDestination*>(v);
    if (!destination || !takesAnyOf(destination, offered)) continue;
    Ref<NSView> keepView(v);
    NSDraggingInfo info{&pasteboard, window, location, source};
    NSDragOperation op = destination->draggingEntered(info);
    if (op == NSDragOperationNone) {
      destination->draggingExited(&info);
      return NSDragOperationNone;
    }
    return destination->performDragOperation(info) ? op : NSDragOperationNone;
  }
  return NSDragOperationNone;
}

}  // namespace platform
