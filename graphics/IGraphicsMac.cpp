#include "graphics/IGraphicsMac.h"

#include <strings.h>
#include <sys/stat.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <string>

#include "base/Log.h"
#include "base/Utf8.h"
#include "graphics/IGraphicsMacView.h"
#include "graphics/IPopupMenuControlBase.h"
#include "platform/core/Cursor.h"
#include "platform/core/Pasteboard.h"
#include "platform/core/View.h"
#include "platform/core/Window.h"
#include "platform/panels/ColorPanel.h"
#include "platform/system/Workspace.h"

namespace iplug {
namespace igraphics {

namespace {

platform::NSColor ToNSColor(const IColor& c) {
  // Components outside 0..255 are clamped rather than handed to the chooser as they are.
  auto unit = [](int v) { return std::clamp(v, 0, 255) / 255.0; };
  return platform::NSColor::colorWithRGBA(unit(c.R), unit(c.G), unit(c.B), unit(c.A));
}

// False for a colour with a component that is not a number.
bool FromNSColor(const platform::NSColor& c, IColor& out) {
  const double parts[] = {c.alpha, c.red, c.green, c.blue};
  int bytes[4];
  for (int i = 0; i < 4; ++i) {
    if (!std::isfinite(parts[i])) return false;
    bytes[i] = static_cast<int>(std::lround(std::clamp(parts[i], 0.0, 1.0) * 255.0));
  }
  out = IColor(bytes[0], bytes[1], bytes[2], bytes[3]);
  return true;
}

platform::NSCursor* CursorForNumber(int cursor) {
  using platform::NSCursor;
  // Shapes the platform does not have (busy, help, diagonal resize) fall back to the arrow.
  switch (static_cast<ECursor>(cursor)) {
    case ECursor::IBEAM:
      return NSCursor::IBeamCursor();
    case ECursor::CROSS:
      return NSCursor::crosshairCursor();
    case ECursor::UPARROW:
    case ECursor::SIZENS:
      return NSCursor::resizeUpDownCursor();
    case ECursor::SIZEWE:
      return NSCursor::resizeLeftRightCursor();
    case ECursor::SIZE:
    case ECursor::SIZEALL:
      return NSCursor::openHandCursor();
    case ECursor::INO:
      return NSCursor::operationNotAllowedCursor();
    case ECursor::HAND:
      return NSCursor::pointingHandCursor();
    default:
      return NSCursor::arrowCursor();
  }
}

bool StartsWithNoCase(const char* text, const char* prefix) {
  return strncasecmp(text, prefix, std::strlen(prefix)) == 0;
}

}  // namespace

IGraphicsMac::IGraphicsMac(IEditorDelegate& dlg, int w, int h, int fps, float scale)
    : IGraphicsNanoVG(dlg, w, h, fps, scale) {}

IGraphicsMac::~IGraphicsMac() {
  CloseWindow();
}

// --- The view ---

void* IGraphicsMac::OpenWindow(void* parent) {
  CloseWindow();
  platform::NSObject* object = platform::liveObject(parent);
  platform::NSView* parentView = nullptr;
  if (auto* window = dynamic_cast<platform::NSWindow*>(object)) {
    if (!window->contentView()) {
      // A window made without content gets a plain content view to hold the editor.
      const platform::NSRect content = window->contentRect();
      platform::Ref<platform::NSView> fill =
          platform::Ref<platform::NSView>::adopt(new platform::NSView(
              platform::NSMakeRect(0, 0, content.size.width, content.size.height)));
      window->setContentView(fill.get());
    }
    parentView = window->contentView();
  } else {
    parentView = dynamic_cast<platform::NSView*>(object);
  }
  if (!parentView) {
    base::warn("graphics", "OpenWindow: the parent is not a live view or window; nothing opened");
    return nullptr;
  }

  auto view = platform::Ref<IGraphicsMacView>::adopt(new IGraphicsMacView(this));
  // The editor sits at the top left of its parent whichever way the parent's y runs.
  const platform::NSRect pb = parentView->bounds();
  const double top = parentView->isFlipped()
                         ? pb.origin.y
                         : pb.origin.y + pb.size.height - view->frame().size.height;
  view->setFrameOrigin({pb.origin.x, top});
  parentView->addSubview(view.get());
  mView = view;
  if (platform::NSWindow* window = view->window()) window->makeFirstResponder(view.get());

  view->StartRedrawTimer(FPS());
  SetAllControlsDirty();
  UpdateTooltips();
  return view.get();
}

void IGraphicsMac::CloseWindow() {
  // A pointer hidden by a drag in progress is given back: nothing else would show it again.
  if (mCursorHiddenByUs) HideMouseCursor(false, false);
  if (!mView) return;
  platform::Ref<IGraphicsMacView> view = std::move(mView);
  mView.reset();
  mTooltipsPending = false;
  view->Detach();
  view->removeFromSuperview();
}

void IGraphicsMac::OnViewFrame() {
  // Tooltips asked for while a popup menu covered the controls are registered once it is gone.
  if (mTooltipsPending && !PopupMenuShowing()) UpdateTooltips();
}

// --- Pointer ---

void IGraphicsMac::HideMouseCursor(bool hide, bool lock) {
  // The platform counts hides; only a change of state reaches it, so one show always undoes
  // any number of hides.
  if (hide && !mCursorHiddenByUs) {
    platform::NSCursor::hide();
    mCursorHiddenByUs = true;
  } else if (!hide && mCursorHiddenByUs) {
    platform::NSCursor::unhide();
    mCursorHiddenByUs = false;
  }
  if (mView) mView->SetPointerLocked(hide && lock);
  IGraphicsNanoVG::HideMouseCursor(hide, lock);
}

void IGraphicsMac::SetMouseCursor(int cursor) {
  if (cursor < 0 || cursor >= static_cast<int>(ECursor::kNumCursors)) {
    base::warn("graphics", "SetMouseCursor: no pointer shape %d; using the arrow", cursor);
    cursor = static_cast<int>(ECursor::ARROW);
  }
  CursorForNumber(cursor)->set();
  IGraphicsNanoVG::SetMouseCursor(cursor);
}

// --- Clipboard ---

bool IGraphicsMac::GetTextFromClipboard(WDL_String& str) {
  const std::optional<std::string> text =
      platform::NSPasteboard::generalPasteboard().stringForType(platform::NSPasteboardTypeString);
  if (!text) {
    str.Set("");
    return false;
  }
  if (base::isValidUtf8(text->c_str())) {
    str.Set(text->c_str());
  } else {
    // Another program's bytes may not be UTF-8; the controls only take well-formed text.
    str.Set(base::sanitizeUtf8(text->c_str()).c_str());
  }
  return true;
}

bool IGraphicsMac::SetTextInClipboard(const char* str) {
  if (!str) {
    base::warn("graphics", "SetTextInClipboard: no text; clipboard unchanged");
    return false;
  }
  if (!base::isValidUtf8(str)) {
    base::warn("graphics",
               "SetTextInClipboard: text is not well-formed UTF-8; clipboard unchanged");
    return false;
  }
  platform::NSPasteboard& pb = platform::NSPasteboard::generalPasteboard();
  pb.declareTypes({platform::NSPasteboardTypeString});
  return pb.setString(str, platform::NSPasteboardTypeString);
}

// --- Tooltips ---

bool IGraphicsMac::PopupMenuShowing() const {
  const IPopupMenuControlBase* popup = GetPopupMenuControl();
  return popup && popup->GetExpanded();
}

void IGraphicsMac::UpdateTooltips() {
  if (!mView) return;
  mView->ClearToolTips();
  mView->setToolTip("");
  mTooltipsPending = PopupMenuShowing();
  if (mTooltipsPending) return;
  ForAllControlsFunc([this](IControl* control) {
    if (!control->IsHidden()) mView->AddToolTip(control->GetTargetRECT(), control->GetTooltip());
  });
}

// --- Addresses ---

bool IGraphicsMac::IsWebAddress(const char* url) {
  return url &&
         (StartsWithNoCase(url, kWebSchemePrefix) || StartsWithNoCase(url, kSecureWebSchemePrefix));
}

bool IGraphicsMac::OpenURL(const char* url, const char* msgWindowTitle, const char* confirmMsg,
                           const char* errMsgOnFailure) {
  if (!url || !*url) {
    base::warn("graphics", "OpenURL: no address");
    return false;
  }
  platform::NSWorkspace& workspace = platform::NSWorkspace::sharedWorkspace();
  bool opened = false;
  if (IsWebAddress(url)) {
    opened = workspace.openURL(url);
  } else {
    // The handler is started in the background and cannot report a missing file: check here.
    struct stat st;
    if (stat(url, &st) != 0)
      base::warn("graphics", "OpenURL: no file \"%s\"", url);
    else
      opened = workspace.openFile(url);
  }
  if (!opened && errMsgOnFailure && *errMsgOnFailure)
    base::warn("graphics", "OpenURL: %s", errMsgOnFailure);
  return opened;
}

// --- Colour chooser ---

bool IGraphicsMac::PromptForColor(const IColor& color, const char* str,
                                  IColorPickerHandlerFunc func) {
  platform::NSColorPanel* panel = platform::NSColorPanel::sharedColorPanel();
  panel->setTitle(str ? str : "");
  panel->setShowsAlpha(true);
  // The chooser's loop counts as an event of the editor: closed from it, the editor waits.
  DispatchScope scope(*this);
  const std::optional<platform::NSColor> answer = panel->runModal(ToNSColor(color));
  // Cancelled, or the editor closed while the chooser was up: the completion is not called.
  if (!answer || IsClosed()) return false;
  IColor picked;
  if (!FromNSColor(*answer, picked)) {
    base::warn("graphics",
               "PromptForColor: the chooser answered a colour that is not a number; ignored");
    return false;
  }
  if (func) func(picked);
  return true;
}

}  // namespace igraphics
}  // namespace iplug
