#include <string>
#include <vector>

#include "platform/core/Pasteboard.h"
#include "platform/core/Window.h"
#include "windowing/core/DropFiles.h"
#include "windowing/core/EventSupport.h"
#include "windowing/core/WindowObject.h"
#include "windowing/core/detail/WindowApiRules.h"
#include "windowing/kernel/Kernel.h"

using platform::NSDraggingInfo;
using platform::NSView;
using platform::Ref;

namespace {
// While a drag from a window lands in the same window, the window must not take the
// dropped file as the document it represents.
constexpr const char* kDisableWindowRepre = "SWELL_DisableWindowRepre";
}  // namespace

platform::NSDragOperation Swell_vCorvaneBrisko_hwnd::draggingEntered(const NSDraggingInfo&) {
  return m_supports_ddrop && canDeliver() ? platform::NSDragOperationGeneric
                                          : platform::NSDragOperationNone;
}

platform::NSDragOperation Swell_vCorvaneBrisko_hwnd::draggingUpdated(const NSDraggingInfo& info) {
  return draggingEntered(info);
}

bool Swell_vCorvaneBrisko_hwnd::swellExtendedDragOp(const NSDraggingInfo& info, HDROP* retGlob) {
  // Only a live window that takes files may take a drop: another would swallow the
  // files that a window around it accepts.
  if (!info.draggingPasteboard || !m_supports_ddrop || !canDeliver()) return false;
  platform::NSPasteboard& board = *info.draggingPasteboard;
  std::vector<std::string> paths = board.propertyListForType(platform::NSFilenamesPboardType);
  std::vector<std::string> promised = board.propertyListForType(platform::NSFilesPromisePboardType);
  if (!promised.empty()) {
    // Promised files do not exist yet: they can be listed for a caller that asks, but
    // not dropped.
    if (!retGlob) return false;
    for (const auto& type : promised)
      paths.push_back("tmp." + type);
  }
  if (paths.empty()) return false;
  platform::NSPoint p = convertPointFromView(info.draggingLocation, nullptr);
  HDROP block =
      swell::makeDropBlock(paths, {swell::roundCoordinate(p.x), swell::roundCoordinate(p.y)});
  if (!block) return false;
  if (retGlob) {
    *retGlob = block;
    return true;
  }
  Ref<NSView> keep(this);
  onSwellMessage(WM_DROPFILES, reinterpret_cast<WPARAM>(block), 0);
  GlobalFree(block);
  return true;
}

bool Swell_vCorvaneBrisko_hwnd::performDragOperation(const NSDraggingInfo& info) {
  Ref<NSView> keep(this);
  platform::NSWindow* w = window();
  auto* content = w ? dynamic_cast<Swell_vCorvaneBrisko_hwnd*>(w->contentView()) : nullptr;
  Ref<NSView> keepContent(content);
  auto* source = dynamic_cast<NSView*>(
      info.draggingSource && platform::isLiveObject(info.draggingSource) ? info.draggingSource
                                                                         : nullptr);
  bool fromSameWindow = source && w && source->window() == w;
  if (fromSameWindow && content)
    content->swellSetProp(kDisableWindowRepre, reinterpret_cast<HANDLE>(1));

  bool taken = false;
  NSView* hit = w && w->contentView() ? w->contentView()->hitTest(info.draggingLocation) : nullptr;
  if (hit && hit != this && hit->isDescendantOf(this)) {
    std::vector<Ref<NSView>> chain;
    for (NSView* v = hit; v && v != this; v = v->superview())
      chain.emplace_back(v);
    for (auto& v : chain) {
      auto* object = dynamic_cast<Swell_vCorvaneBrisko_hwnd*>(v.get());
      if (object && object->swellExtendedDragOp(info, nullptr)) {
        taken = true;
        break;
      }
    }
  }
  if (!taken) taken = swellExtendedDragOp(info, nullptr);

  if (fromSameWindow && content && platform::isLiveObject(content))
    content->swellGetProp(kDisableWindowRepre, true);
  return taken;
}
