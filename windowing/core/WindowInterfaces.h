#pragma once

// The small interfaces through which the windowing layer asks an object whether it
// "answers" a message of the layer's own, reached with dynamic_cast.

#include <optional>
#include <vector>

#include "platform/objects/Color.h"
#include "platform/objects/Object.h"
#include "windowing/Win32Types.h"
#include "windowing/WindowHandles.h"

namespace platform {
class NSView;
class NSTableColumn;
}

// The message entry of window objects: where SendMessage and every other delivery of
// the layer hand a message to a window procedure.
class SwellMessageEntry {
 public:
  virtual ~SwellMessageEntry() = default;
  virtual LRESULT onSwellMessage(UINT msg, WPARAM wParam, LPARAM lParam) = 0;
};

// The per-window state of a window object: procedures, user and extra data, text, menu,
// destroy state and timers.
class SwellWindowObject {
 public:
  virtual ~SwellWindowObject() = default;
  virtual WNDPROC getSwellWindowProc() const = 0;
  virtual void setSwellWindowProc(WNDPROC proc) = 0;
  virtual DLGPROC getSwellDialogProc() const = 0;
  virtual void setSwellDialogProc(DLGPROC proc) = 0;
  virtual LONG_PTR getSwellUserData() const = 0;
  virtual void setSwellUserData(LONG_PTR data) = 0;
  virtual LONG_PTR getSwellExtraData(int index) const = 0;
  virtual void setSwellExtraData(int index, LONG_PTR value) = 0;
  virtual HMENU swellGetMenu() const = 0;
  virtual void swellSetMenu(HMENU menu) = 0;
  virtual bool swellHasBeenDestroyed() const = 0;
  // Posted messages are delivered only while this answers true.
  virtual bool swellCanPostMessage() const = 0;
  virtual bool swellCapChangeNotify() const = 0;
  virtual const char* onSwellGetText() const = 0;
  virtual void onSwellSetText(const char* text) = 0;
  // A window timer fired.
  virtual void SWELL_Timer(UINT_PTR id) = 0;
};

// The extras of the layer's top-level windows: an owner, owned windows and the
// bookkeeping done when they are destroyed.
class SwellTopLevelWindow {
 public:
  virtual ~SwellTopLevelWindow() = default;
  virtual void swellAddOwnedWindow(platform::NSObject* window) = 0;
  virtual void swellRemoveOwnedWindow(platform::NSObject* window) = 0;
  virtual void swellDestroyAllOwnedWindows() = 0;
  virtual platform::NSObject* swellGetOwner() const = 0;
  virtual void swellSetOwner(platform::NSObject* owner) = 0;
  virtual void swellDoDestroyStuff() = 0;
  virtual void swellResetOwnedWindowLevels() {}
  virtual int swellGetWantRaiseAmount() const { return 0; }
  virtual void swellSetWantRaiseAmount(int amount) {}
  // Modeless windows become key when first shown after a dialog procedure asked for it.
  virtual void swellSetWantInitialKeyWindowOnShow(bool want) {}
  virtual bool swellWantInitialKeyWindowOnShow() const { return false; }
};

// A window that carries a modal result (the dialog box).
class SwellModalResultHolder {
 public:
  virtual ~SwellModalResultHolder() = default;
  virtual void swellSetModalRetVal(int value) = 0;
  virtual int swellGetModalRetVal() const = 0;
  virtual bool swellHasModalRetVal() const = 0;
};

// The radio flags of the layer's buttons: 1 an automatic radio button, 2 the first of
// a group (created with WS_GROUP).
class SwellRadioButton {
 public:
  static constexpr int kRadioButton = 1;
  static constexpr int kRadioGroupStart = 2;

  virtual ~SwellRadioButton() = default;
  virtual int swellGetRadioFlags() const = 0;
  virtual void swellSetRadioFlags(int flags) = 0;
};

// A control that keeps the Win32 style bits it was created with (the window-long
// functions read and write them; the visible bit is never stored).
class SwellStyleHolder {
 public:
  virtual ~SwellStyleHolder() = default;
  virtual LONG swellGetStyle() const = 0;
  virtual void swellSetStyle(LONG style) = 0;
};

// The layer's group box and etched lines: the etch mode, 0 for a group box.
class SwellEtchBox {
 public:
  virtual ~SwellEtchBox() = default;
  virtual int swellIsEtchBox() const = 0;
};

// A control of the layer that names its Win32 class (GetClassName).
class SwellClassNamed {
 public:
  virtual ~SwellClassNamed() = default;
  virtual const char* swellGetClass() const = 0;
};

// The action a table or outline view sends its window on a double click.
inline constexpr int kSwellDoubleClickAction = 20;

// A list view of the layer as the window object sees it when it reports the table's
// selection changes, clicks and cell display to its procedure.
class SwellListViewReports {
 public:
  virtual ~SwellListViewReports() = default;
  // Non-zero for the list-box form.
  virtual int getSwellNotificationMode() const = 0;
  // The logical index of a column (its place in the list's own column list), -1 when
  // the list does not hold it.
  virtual int swellColumnIndex(const platform::NSTableColumn* column) const = 0;
  virtual bool swellHasColumnList() const = 0;
  // The item data of a row, 0 when there is no such row.
  virtual LPARAM swellItemParam(int row) = 0;
  // While raised, the table's own selection changes are the list's to report. Each list
  // keeps its own count, so a handler that selects in another list still hears it.
  virtual bool swellSelectionReportsSuppressed() const = 0;
  virtual void swellSuppressSelectionReports(bool raise) = 0;
  // Selection colours: 0 background with focus, 1 its text, 2 background without
  // focus, 3 its text.
  virtual const std::vector<platform::NSColor>& swellSelectionColors() const = 0;
  virtual std::optional<platform::NSColor> swellTextColor() const = 0;
};

namespace swell {

// A colour of the list and tree view calls: red in bits 16-23, green 8-15, blue 0-7;
// opaque.
inline platform::NSColor colorFromRGB(COLORREF color) {
  return {((color >> 16) & 0xFF) / 255.0, ((color >> 8) & 0xFF) / 255.0, (color & 0xFF) / 255.0, 1};
}

// A view, or a top-level window standing for its content view.
platform::NSView* viewForHandle(HWND hwnd);

}  // namespace swell
