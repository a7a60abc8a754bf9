#include "platform/core/DragSession.h"

#include <algorithm>
#include <mutex>
#include <vector>

#include "base/Log.h"
#include "platform/core/Application.h"
#include "platform/core/Pasteboard.h"
#include "platform/core/View.h"
#include "platform/core/Window.h"
#include "platform/system/Clock.h"

namespace platform {

namespace {

// A drag whose pointer sends nothing for this long is taken as abandoned: the button
// was let go where this application could not see it.
constexpr double kAbandonedDragMs = 10 * 60 * 1000;

constexpr NSEventMask kTrackedEvents =
    NSEventMaskFromType(NSEventTypeLeftMouseDragged) | NSEventMaskFromType(NSEventTypeLeftMouseUp) |
    NSEventMaskFromType(NSEventTypeMouseMoved) | NSEventMaskFromType(NSEventTypeKeyDown);

bool gDragging = false;  // main thread only

std::mutex gFolderMutex;
std::string& outsideFolder() {
  static auto* folder = new std::string;
  return *folder;
}

// The drop outside every window: promised files are written into the folder by the
// source; files and text are taken as copied there.
NSDragOperation dropOutside(NSPasteboard& board, NSDraggingSource* source) {
  std::string folder;
  {
    std::lock_guard<std::mutex> lock(gFolderMutex);
    folder = outsideFolder();
  }
  if (folder.empty()) return NSDragOperationNone;
  if (board.hasType(NSFilesPromisePboardType)) {
    if (!source) return NSDragOperationNone;
    return source->namesOfPromisedFilesDroppedAtDestination(folder).empty() ? NSDragOperationNone
                                                                            : NSDragOperationCopy;
  }
  return board.types().empty() ? NSDragOperationNone : NSDragOperationCopy;
}

}  // namespace

NSDragOperation NSRunDrag(NSView* sourceView, NSDraggingSource* source) {
  NSApplication* app = NSApp();
  if (!app || gDragging) {
    base::warn("platform", "NSRunDrag: %s", app ? "a drag is running already" : "no application");
    return NSDragOperationNone;
  }
  gDragging = true;
  Ref<NSView> keepSource(sourceView);
  NSPasteboard& board = NSPasteboard::pasteboardWithName(NSPasteboardNameDrag);
  std::optional<NSEvent> release;
  // Escape cancels the drag; other keys typed meanwhile are the windows' after it.
  std::vector<NSEvent> keys;
  for (;;) {
    auto e = app->nextEvent(kTrackedEvents, nowMs() + kAbandonedDragMs, NSEventTrackingRunLoopMode,
                            true);
    if (!e) break;
    if (e->type == NSEventTypeKeyDown) {
      if (e->keyCode == kVK_Escape) break;
      keys.push_back(std::move(*e));
      continue;
    }
    if (e->window && !isLiveObject(e->window)) {
      // Released over a window closed meanwhile: the drag ends there, dropping nothing,
      // rather than waiting for the next click to drop.
      if (e->type == NSEventTypeLeftMouseUp) break;
      continue;
    }
    NSPoint screen =
        e->window ? e->window->convertPointToScreen(e->locationInWindow) : e->locationInWindow;
    NSEvent::noteMouseEvent(*e, screen);
    if (e->type == NSEventTypeLeftMouseUp) {
      release = std::move(e);
      break;
    }
  }
  NSDragOperation operation = NSDragOperationNone;
  if (release) {
    // A release outside every window has no window; its location is on the screen.
    operation = release->window
                    ? NSPerformDrop(release->window, release->locationInWindow, board, sourceView)
                    : dropOutside(board, source);
  }
  gDragging = false;
  // At the front of the queue, in the order they were typed.
  for (auto it = keys.rbegin(); it != keys.rend(); ++it)
    app->postEvent(std::move(*it), true);
  if (source) source->draggedImageEnded(operation);
  return operation;
}

NSDragOperation NSDragPromisedFiles(NSView* sourceView, NSDraggingSource* source,
                                    const std::vector<std::string>& types) {
  NSPasteboard& board = NSPasteboard::pasteboardWithName(NSPasteboardNameDrag);
  board.declareTypes({NSFilesPromisePboardType});
  board.setPropertyList(types, NSFilesPromisePboardType);
  return NSRunDrag(sourceView, source);
}

bool NSIsDragging() {
  return gDragging;
}

void NSSetOutsideDropFolder(const std::string& folder) {
  std::lock_guard<std::mutex> lock(gFolderMutex);
  outsideFolder() = folder;
}

}  // namespace platform
