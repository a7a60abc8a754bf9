#pragma once

#include <string>
#include <vector>

#include "platform/core/DragAndDrop.h"
#include "platform/objects/Geometry.h"

namespace platform {

class NSPasteboard;
class NSView;

// What the source of a drag this application starts is asked. Promised files are
// written by the source where the drop lands; it answers their names.
class NSDraggingSource {
 public:
  virtual ~NSDraggingSource() = default;
  virtual std::vector<std::string> namesOfPromisedFilesDroppedAtDestination(
      const std::string& folder) {
    return {};
  }
  // The drag is over: the operation done, NSDragOperationNone when nobody took it.
  virtual void draggedImageEnded(NSDragOperation operation) {}
};

// A drag started in this application runs in process: the drag pasteboard holds what
// is dragged (files, text, promised files); a tracking loop takes the application's
// mouse events until the button goes up; the drop then goes to the window under the
// pointer through the windows' drop path (NSPerformDrop). A drop outside every window
// lands in the outside drop folder when one is set (promised files are written there
// by the source) and is refused otherwise. Dragging between applications needs a
// display backend.

// Drags what the drag pasteboard holds from a view. Returns the operation done.
NSDragOperation NSRunDrag(NSView* sourceView, NSDraggingSource* source);
// Declares files of the given types as promised on the drag pasteboard and drags them.
NSDragOperation NSDragPromisedFiles(NSView* sourceView, NSDraggingSource* source,
                                    const std::vector<std::string>& types);
// True while a drag runs.
bool NSIsDragging();

// The folder a drop outside every window lands in (empty: such a drop is refused).
void NSSetOutsideDropFolder(const std::string& folder);

}  // namespace platform
