#pragma once

#include <string>
#include <vector>

#include "platform/objects/Geometry.h"
#include "platform/objects/Object.h"

namespace platform {

class NSPasteboard;
class NSView;
class NSWindow;

using NSDragOperation = unsigned;
inline constexpr NSDragOperation NSDragOperationNone = 0;
inline constexpr NSDragOperation NSDragOperationCopy = 1;
inline constexpr NSDragOperation NSDragOperationLink = 2;
inline constexpr NSDragOperation NSDragOperationGeneric = 4;
inline constexpr NSDragOperation NSDragOperationPrivate = 8;
inline constexpr NSDragOperation NSDragOperationMove = 16;

// What a drop target learns of a drag: what is dragged (on the drag pasteboard), where
// the pointer is in the destination window (y up), and the view it started from when
// the drag began in this application (null otherwise; not retained).
struct NSDraggingInfo {
  NSPasteboard* draggingPasteboard = nullptr;
  NSWindow* draggingDestinationWindow = nullptr;
  NSPoint draggingLocation;
  NSObject* draggingSource = nullptr;
};

// A view that takes drops of the types it registered. The drag entering, moving over
// it and leaving it, and the drop itself reach these methods.
class NSDraggingDestination {
 public:
  virtual ~NSDraggingDestination() = default;
  virtual NSDragOperation draggingEntered(const NSDraggingInfo& info) { return 0; }
  virtual NSDragOperation draggingUpdated(const NSDraggingInfo& info) {
    return draggingEntered(info);
  }
  virtual void draggingExited(const NSDraggingInfo* info) {}
  virtual bool wantsPeriodicDraggingUpdates() const { return true; }
  virtual bool performDragOperation(const NSDraggingInfo& info) { return false; }

  void registerForDraggedTypes(const std::vector<std::string>& types);
  void unregisterDraggedTypes() { mDraggedTypes.clear(); }
  const std::vector<std::string>& registeredDraggedTypes() const { return mDraggedTypes; }

 private:
  std::vector<std::string> mDraggedTypes;
};

// A drop at a point of a window's content (window coordinates): the deepest shown view
// under the point that registered for a type on the drag pasteboard is asked whether
// it takes the drag and, when it names an operation, performs the drop. Returns the
// operation done, NSDragOperationNone when nobody took it.
NSDragOperation NSPerformDrop(NSWindow* window, NSPoint location, NSPasteboard& pasteboard,
                              NSObject* source);

}  // namespace platform
