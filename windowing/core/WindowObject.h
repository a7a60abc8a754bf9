#pragma once

#include <cstdint>
#include <string>

#include "platform/core/ComboBox.h"
#include "platform/core/DragAndDrop.h"
#include "platform/core/Menu.h"
#include "platform/core/TextDelegates.h"
#include "platform/core/View.h"
#include "platform/tables/TableView.h"
#include "windowing/core/WindowInterfaces.h"
#include "windowing/core/detail/WindowProps.h"
#include "windowing/drawing/MetalSurface.h"
#include "windowing/drawing/WindowContexts.h"

// The view object behind every window handle that has a window procedure: a child
// window or dialog, or the content view of a top-level window. It delivers messages to
// its procedure through onSwellMessage with the three-state destroy sequence (0 live,
// 1 inside WM_DESTROY, 2 destroyed) and keeps the per-window data of the layer.
class Swell_vCorvaneBrisko_hwnd : public platform::NSView,
                                  public SwellMessageEntry,
                                  public SwellWindowObject,
                                  public platform::NSDraggingDestination,
                                  public platform::ActionTarget,
                                  public platform::NSMenuDelegate,
                                  public platform::NSComboBoxDelegate,
                                  public platform::NSControlTextEditingDelegate,
                                  public platform::NSTextDelegate,
                                  public platform::NSTableViewDelegate,
                                  public SwellDrawingSurface,
                                  public SwellMetalSurface {
 public:
  static constexpr int kTextCapacity = 1024;  // 1023 bytes of text and the NUL
  static constexpr int kExtraBytes = 256;     // addressed by byte index, one word per 8

  Swell_vCorvaneBrisko_hwnd();
  // Completes creation: frame and flags from the resource (or a bare 300 x 200 window),
  // placement in the parent, then the resource's create function and WM_INITDIALOG,
  // or WM_CREATE for a bare window. Returns this, held by the parent and the creator.
  Swell_vCorvaneBrisko_hwnd* initChild(const SWELL_DialogResourceIndex* resstate,
                                       platform::NSObject* parent, DLGPROC dlgproc, LPARAM param);

  LRESULT onSwellMessage(UINT msg, WPARAM wParam, LPARAM lParam) override;

  WNDPROC getSwellWindowProc() const override { return m_wndproc; }
  void setSwellWindowProc(WNDPROC proc) override { m_wndproc = proc; }
  DLGPROC getSwellDialogProc() const override { return m_dlgproc; }
  void setSwellDialogProc(DLGPROC proc) override { m_dlgproc = proc; }
  LONG_PTR getSwellUserData() const override { return m_userdata; }
  void setSwellUserData(LONG_PTR data) override { m_userdata = data; }
  LONG_PTR getSwellExtraData(int index) const override;
  void setSwellExtraData(int index, LONG_PTR value) override;
  long tag() const override { return static_cast<long>(m_tag); }
  void setTag(long tag) { m_tag = tag; }
  HMENU swellGetMenu() const override { return m_menu; }
  void swellSetMenu(HMENU menu) override;
  bool swellHasBeenDestroyed() const override { return m_hashaddestroy != 0; }
  bool swellCanPostMessage() const override { return m_hashaddestroy == 0; }
  bool swellCapChangeNotify() const override { return true; }
  const char* onSwellGetText() const override { return m_titlestr; }
  void onSwellSetText(const char* text) override;
  void SWELL_Timer(UINT_PTR id) override;

  // Null until a class name is set.
  const char* getSwellClass() const { return m_hasclassname ? m_classname.c_str() : nullptr; }
  // The name is copied: callers pass names from buffers that do not outlive the call.
  void setSwellClass(const char* name);
  // The owner a content view had before it moved into another view, so that it can
  // return to it when it becomes top-level again (not retained; checked before use).
  platform::NSObject* swellGetLastTopLevelOwner() const;
  void swellSetLastTopLevelOwner(platform::NSObject* owner) { m_lastTopLevelOwner = owner; }
  unsigned swellCreateWindowFlags() const { return m_create_windowflags; }
  void setSwellCreateWindowFlags(unsigned flags) { m_create_windowflags = flags; }
  void swellSetExtendedStyle(LONG style);
  LONG swellGetExtendedStyle() const { return m_supports_ddrop ? WS_EX_ACCEPTFILES : 0; }
  int destroyState() const { return m_hashaddestroy; }
  // Whether the window may draw its children without an intermediate surface.
  void setAllowNoMiddleMan(bool allow) { m_allow_nomiddleman = allow ? 1 : 0; }

  // 1 enabled, 0 disabled, -1 enabled but focusable only as its window's content view.
  void setEnabled(bool enabled) { m_enabled = enabled ? 1 : 0; }
  void setEnabledSwellNoFocus() { m_enabled = -1; }
  int enabledState() const { return m_enabled; }
  bool acceptsFirstResponder() const override;
  bool becomeFirstResponder() override;
  bool acceptsFirstMouse(const platform::NSEvent* event) override;

  bool isFlipped() const override { return m_flip != 0; }
  void setFlipped(bool flip) { m_flip = flip ? 1 : 0; }
  bool isOpaque() const override { return m_isopaque != 0; }
  void setOpaque(bool opaque) { m_isopaque = opaque ? 1 : 0; }

  BOOL swellSetProp(const char* name, HANDLE data) { return m_props.set(name, data); }
  HANDLE swellGetProp(const char* name, bool remove) { return m_props.get(name, remove); }
  int swellEnumProps(PROPENUMPROCEX proc, LPARAM lParam);

  // Fills a PAINTSTRUCT while a paint is in progress; false otherwise.
  bool getSwellPaintInfo(PAINTSTRUCT* ps);
  HDC swellPaintContext() const override { return m_paintctx_hdc; }
  // Paints the view through WM_PAINT with a drawing context over the current context.
  void drawRect(const platform::NSRect& dirtyRect) override;
  // The paint sequence: WM_NCCALCSIZE, WM_NCPAINT and WM_PAINT with the given context.
  void swellPaint(HDC hdc, bool metal, const platform::NSRect& rect);
  // Dirty marks: 1 own content, 2 a descendant must be drawn. Adding bits answers
  // whether any of them was new.
  std::uint8_t dirtyState() const { return m_isdirty; }
  bool swellAddDirtyBits(std::uint8_t bits);
  // The Metal surface's view, client area and paint; a Metal view's backing layer.
  platform::NSView* metalView() override { return this; }
  RECT metalClientRect() override;
  void metalPaint(HDC hdc, const platform::NSRect& rect) override;
  platform::CALayer* makeBackingLayer() override;

  // Input events become messages to the window procedure.
  void mouseDown(const platform::NSEvent& e) override;
  void mouseUp(const platform::NSEvent& e) override;
  void mouseDragged(const platform::NSEvent& e) override;
  void mouseMoved(const platform::NSEvent& e) override;
  void rightMouseDown(const platform::NSEvent& e) override;
  void rightMouseUp(const platform::NSEvent& e) override;
  void rightMouseDragged(const platform::NSEvent& e) override;
  void otherMouseDown(const platform::NSEvent& e) override;
  void otherMouseUp(const platform::NSEvent& e) override;
  void otherMouseDragged(const platform::NSEvent& e) override;
  void scrollWheel(const platform::NSEvent& e) override;
  void keyDown(const platform::NSEvent& e) override;
  void keyUp(const platform::NSEvent& e) override;
  void magnifyWithEvent(const platform::NSEvent& e) override;
  void rotateWithEvent(const platform::NSEvent& e) override;
  void swipeWithEvent(const platform::NSEvent& e) override;
  bool isFakeRightMouse() const { return m_isfakerightmouse != 0; }

  // Showing, hiding, sizing and the subview tree.
  void viewDidHide() override;
  void viewDidUnhide() override;
  void setFrame(const platform::NSRect& frame) override;
  void didAddSubview(platform::NSView* subview) override;
  void willRemoveSubview(platform::NSView* subview) override;

  // Commands and notifications of the controls and menus that target this window.
  void performAction(int action, platform::NSObject* sender) override;
  void onSwellCommand(platform::NSObject* sender);
  void menuNeedsUpdate(platform::NSMenu* menu) override;
  void comboBoxWillPopUp(platform::NSComboBox* comboBox) override;
  void comboBoxWillDismiss(platform::NSComboBox* comboBox) override;
  void comboBoxSelectionDidChange(platform::NSComboBox* comboBox) override;
  void controlTextDidChange(platform::NSControl* control) override;
  void controlTextDidEndEditing(platform::NSControl* control) override;
  void textDidEndEditing(platform::NSText* text) override;
  // Tables: selection changes, column clicks, double clicks and the colours of cells.
  void tableViewSelectionDidChange(platform::NSTableView* table) override;
  void tableViewDidClickTableColumn(platform::NSTableView* table,
                                    platform::NSTableColumn* column) override;
  void tableViewWillDisplayCell(platform::NSTableView* table, platform::NSCell* cell,
                                platform::NSTableColumn* column, long row) override;
  void swellOnControlDoubleClick(platform::NSObject* sender);

  // Dropped files.
  platform::NSDragOperation draggingEntered(const platform::NSDraggingInfo& info) override;
  platform::NSDragOperation draggingUpdated(const platform::NSDraggingInfo& info) override;
  void draggingExited(const platform::NSDraggingInfo* info) override {}
  bool wantsPeriodicDraggingUpdates() const override { return false; }
  bool performDragOperation(const platform::NSDraggingInfo& info) override;
  // Builds the drop block of a drag. With retGlob the block is handed to the caller
  // (promised files listed by their types); otherwise it goes to the procedure as
  // WM_DROPFILES and is freed. False when there was nothing to drop.
  bool swellExtendedDragOp(const platform::NSDraggingInfo& info, HDROP* retGlob);

 protected:
  void dealloc() override;

 private:
  LRESULT callWindowProc(UINT msg, WPARAM wParam, LPARAM lParam);
  // Whether events and notifications may reach the procedure now.
  bool canDeliver() const { return m_wndproc && !m_hashaddestroy; }
  void sendButtonMessage(UINT msg, const platform::NSEvent& e);
  void sendCommand(long id, WORD code, platform::NSObject* control);
  LRESULT sendNotify(const NMHDR& header);
  void sendGesture(DWORD id, std::uint64_t beginArgument, std::uint64_t endArgument,
                   platform::NSPoint beginScreen, platform::NSPoint endScreen);
  LRESULT runDestroySequence(WPARAM wParam, LPARAM lParam);
  void dropCaptureAndPostedMessages();
  HWND self() { return swell::handleFromObject(this); }

  int m_enabled = 1;
  DLGPROC m_dlgproc = nullptr;
  WNDPROC m_wndproc = nullptr;
  LONG_PTR m_userdata = 0;
  LONG_PTR m_extradata[kExtraBytes / 8] = {};
  LONG_PTR m_tag = 0;
  int m_isfakerightmouse = 0;
  std::int8_t m_hashaddestroy = 0;
  HMENU m_menu = nullptr;  // owned
  std::int8_t m_flip = 0;
  bool m_supports_ddrop = false;
  bool m_paintctx_used = false;
  HDC m_paintctx_hdc = nullptr;
  WindowPropList m_props;
  platform::NSRect m_paintctx_rect;
  std::int8_t m_isopaque = 0;
  char m_titlestr[kTextCapacity] = {};
  unsigned m_create_windowflags = 0;
  std::uint8_t m_isdirty = 3;
  std::int8_t m_allow_nomiddleman = 1;
  platform::NSObject* m_lastTopLevelOwner = nullptr;
  std::string m_classname;
  bool m_hasclassname = false;
};

// Sends a mouse message the way a click, drag or wheel step makes it: to the view
// holding the capture when that is another view object of the same window, after a
// WM_NCHITTEST that may turn it into its non-client form; WM_SETCURSOR follows moves
// and releases. Returns the procedure's answer, 0 for a null view, -1 when the view
// cannot receive messages.
LRESULT SWELL_SendMouseMessage(Swell_vCorvaneBrisko_hwnd* view, UINT msg,
                               const platform::NSEvent& event);
// The paint sequence of a view object with a drawing context over a rectangle.
void SWELL_PaintWindow(Swell_vCorvaneBrisko_hwnd* view, HDC hdc, bool metal,
                       const platform::NSRect& rect);
