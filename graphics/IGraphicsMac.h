#pragma once

// The graphics context in its desktop form: it draws with Cairo (IGraphicsNanoVG) and lives in
// a platform view that shows the drawn frames, turns the view's input into IGraphics events and
// redraws on a run-loop timer. Clipboard, pointer, addresses, the colour chooser, tooltips and
// native popup menus go through the platform layer.

#include <functional>

#include "graphics/IGraphicsNanoVG.h"
#include "platform/objects/Object.h"

namespace platform {
class NSMenu;
}

namespace iplug {
namespace igraphics {

class IGraphicsMacView;

class IGraphicsMac : public IGraphicsNanoVG {
 public:
  // The text that marks a web address when it starts an address given to OpenURL.
  static constexpr const char* kWebSchemePrefix = "http://";
  static constexpr const char* kSecureWebSchemePrefix = "https://";

  IGraphicsMac(IEditorDelegate& dlg, int w, int h, int fps = 60, float scale = 1.f);
  ~IGraphicsMac() override;

  // --- The view ---
  // Makes the view, places it at the top left of the parent (a platform::NSView, or a
  // platform::NSWindow whose content view takes it), starts the redraw timer and has every
  // control drawn on the first frame. Returns the view, or null when the parent is not a live
  // view or window. An open view is closed first.
  void* OpenWindow(void* parent);
  // Shows a pointer hidden by the editor again, stops the timer and takes the view out of its
  // parent. The destructor closes too.
  void CloseWindow();
  bool WindowIsOpen() const { return static_cast<bool>(mView); }
  IGraphicsMacView* GetView() const { return mView.get(); }

  // --- Platform services ---
  void HideMouseCursor(bool hide = true, bool lock = true) override;
  // Unknown numbers give the arrow.
  void SetMouseCursor(int cursor = 0) override;
  // False (and an empty str) when the clipboard holds no text.
  bool GetTextFromClipboard(WDL_String& str) override;
  // Replaces the clipboard's text; false for a null or ill-formed UTF-8 text, which leaves the
  // clipboard as it was.
  bool SetTextInClipboard(const char* str) override;
  // Registers each shown control's tooltip over its target rectangle; none while the popup-menu
  // control is showing, since its panels cover the controls.
  void UpdateTooltips() override;

  // Opens a web address (a text that starts with the web scheme prefix) or else a file path with
  // the desktop's handler, without a shell. The window title and confirmation text are not shown
  // (the handler opens without asking); the error text is reported when opening fails. Returns
  // whether it opened.
  bool OpenURL(const char* url, const char* msgWindowTitle = nullptr,
               const char* confirmMsg = nullptr, const char* errMsgOnFailure = nullptr) override;
  // Runs the colour chooser titled str from the start colour; when the user picks a colour the
  // completion is called with it and true returned; a cancel calls nothing and returns false.
  bool PromptForColor(const IColor& color, const char* str = "",
                      IColorPickerHandlerFunc func = nullptr) override;

  // Whether a text names a web address rather than a file (the prefix counts at the start only).
  static bool IsWebAddress(const char* url);

  // --- Native popup menus ---
  // The platform menu of a popup menu: one entry per item, its text numbered by the menu's
  // prefix style; a separator item gives a separator; an item with a submenu an entry holding
  // that submenu, built the same way. Every other entry is set in one level when indented,
  // disabled when disabled and on when checked; its tag is the item's index.
  static platform::Ref<platform::NSMenu> BuildNSMenu(const IPopupMenu& menu);

 protected:
  // The in-interface popup-menu control stays the default (attached on the first menu); once
  // the application removes it, menus are native.
  bool HasPlatformPopupMenu() const override { return PopupMenuControlWasRemoved(); }
  // Pops the platform menu up below bounds and returns when it closes: the menu holding the
  // chosen item with its chosen index set, or the menu itself with -1. The answering menu's
  // completion function runs first, as after a choice in the popup-menu control.
  IPopupMenu* CreatePlatformPopupMenu(IPopupMenu& menu, const IRECT& bounds) override;

 private:
  friend class IGraphicsMacView;
  // Called by the view after each frame of its timer.
  void OnViewFrame();
  bool PopupMenuShowing() const;

  platform::Ref<IGraphicsMacView> mView;
  bool mCursorHiddenByUs = false;
  // Tooltips were asked for while the popup menu showed; they are registered when it is gone.
  bool mTooltipsPending = false;
};

}  // namespace igraphics
}  // namespace iplug
