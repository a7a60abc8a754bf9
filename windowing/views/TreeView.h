#pragma once

#include <optional>
#include <vector>

#include "platform/core/OutlineView.h"
#include "windowing/Win32Types.h"
#include "windowing/core/WindowInterfaces.h"
#include "windowing/views/TreeItem.h"
#include "windowing/views/ViewColors.h"

// The tree view ("SysTreeView32") over an outline view, and its Win32 functions. An
// HTREEITEM is the record of one item; every function first finds it in the tree, so a
// stale or foreign handle is refused instead of followed.

using HTREEITEM = TreeItemRec*;
// The special item handles.
inline const HTREEITEM TVI_ROOT = reinterpret_cast<HTREEITEM>(0xFFFF0000);
inline const HTREEITEM TVI_FIRST = reinterpret_cast<HTREEITEM>(0xFFFF0001);
inline const HTREEITEM TVI_LAST = reinterpret_cast<HTREEITEM>(0xFFFF0002);
inline const HTREEITEM TVI_SORT = reinterpret_cast<HTREEITEM>(0xFFFF0003);

inline constexpr UINT TVIF_TEXT = 0x0001;
inline constexpr UINT TVIF_PARAM = 0x0004;
inline constexpr UINT TVIF_HANDLE = 0x0010;
inline constexpr UINT TVIF_CHILDREN = 0x0040;
inline constexpr UINT TVIS_SELECTED = 0x0002;
inline constexpr UINT TVIS_EXPANDED = 0x0020;
inline constexpr UINT TVE_COLLAPSE = 1;
inline constexpr UINT TVE_EXPAND = 2;
inline constexpr UINT TVE_TOGGLE = 3;
inline constexpr UINT TVHT_NOWHERE = 1;
inline constexpr LONG TVS_DISABLEDRAGDROP = 0x0010;

inline constexpr UINT TVN_SELCHANGED = static_cast<UINT>(-402);
inline constexpr UINT TVN_ITEMEXPANDING = static_cast<UINT>(-405);
inline constexpr UINT TVN_BEGINDRAG = static_cast<UINT>(-407);

struct TVITEM {
  UINT mask = 0;
  HTREEITEM hItem = nullptr;
  UINT state = 0;
  UINT stateMask = 0;
  char* pszText = nullptr;
  int cchTextMax = 0;
  int iImage = 0;
  int iSelectedImage = 0;
  int cChildren = 0;
  LPARAM lParam = 0;
};

struct TVINSERTSTRUCT {
  HTREEITEM hParent = nullptr;
  HTREEITEM hInsertAfter = nullptr;
  TVITEM item;
};

struct TVHITTESTINFO {
  POINT pt;
  UINT flags = 0;
  HTREEITEM hItem = nullptr;
};

// What tree notifications carry: the action (2 expand, 1 collapse, 0 otherwise) and the
// item concerned in itemNew (its handle and parameter); the rest is zero.
struct NMTREEVIEW {
  NMHDR hdr;
  UINT action = 0;
  TVITEM itemOld;
  TVITEM itemNew;
  POINT ptDrag;
};

// The drop answers a parent gives to WM_MOUSEMOVE while it steers a drag: refuse, at the
// end, or (from this value up) before the item whose handle it is.
inline constexpr LRESULT kTreeDropRefused = -1;
inline constexpr LRESULT kTreeDropAtEnd = -2;
inline constexpr LRESULT kTreeDropFirstHandle = 0x10000;

class Swell_vCorvaneBrisko_treeview : public platform::NSOutlineView,
                                      public platform::NSOutlineViewDataSource,
                                      public platform::NSOutlineViewDelegate,
                                      public SwellStyleHolder,
                                      public SwellViewColors {
 public:
  // The pasteboard type of a drag inside a tree.
  static constexpr const char* kDragType = "swell_treeview";

  explicit Swell_vCorvaneBrisko_treeview(const platform::NSRect& frame = {});
  ~Swell_vCorvaneBrisko_treeview() override;

  const char* swellGetClass() const { return "SysTreeView32"; }
  LONG swellGetStyle() const override { return style; }
  void swellSetStyle(LONG value) override { style = value; }
  void setNeedsDisplay(bool needs) override;
  void setNeedsDisplayInRect(const platform::NSRect& rect) override;

  // The item records, found before use: parent (null at the root) and index.
  std::vector<TreeItemRec*>& items() { return m_items; }
  bool findItem(const TreeItemRec* item, TreeItemRec** parent, int* index) const;
  TreeItemRec* selectedRecord() const { return TreeItemRec::fromHolder(selectedItem()); }
  // Selects the item's row alone (null: none) and tells the parent, unless this tree is
  // telling it already.
  void selectAndNotify(TreeItemRec* item);
  // Text and selection colours, set through the list-view colour functions.
  const std::vector<platform::NSColor>& swellSelectionColors() const override {
    return m_selColors;
  }
  void swellSetSelectionColors(std::vector<platform::NSColor> colors) override;
  void swellSetTextColor(platform::NSColor color) override;

  // The outline's questions about the records.
  int outlineViewNumberOfChildrenOfItem(platform::NSOutlineView*,
                                        platform::NSObject* item) override;
  platform::NSObject* outlineViewChildOfItem(platform::NSOutlineView*, int index,
                                             platform::NSObject* item) override;
  bool outlineViewIsItemExpandable(platform::NSOutlineView*, platform::NSObject* item) override;
  std::string outlineViewTextOfItem(platform::NSOutlineView*, platform::NSObject* item) override;

  // Notifications to the parent window.
  void outlineViewItemWillExpand(platform::NSOutlineView*, platform::NSObject* item) override;
  void outlineViewItemWillCollapse(platform::NSOutlineView*, platform::NSObject* item) override;
  void outlineViewSelectionDidChange(platform::NSOutlineView*) override;
  void outlineViewWillDisplayItem(platform::NSOutlineView*, platform::NSObject* item,
                                  platform::NSColor& textColor) override;
  void outlineViewDoubleClick(platform::NSOutlineView*, int row) override;

  // A drag inside the tree, steered by the parent window while it holds the capture.
  bool outlineViewWriteItems(platform::NSOutlineView*,
                             const std::vector<platform::NSObject*>& items,
                             platform::NSPasteboard& pasteboard) override;
  void outlineViewDraggingSessionWillBegin(platform::NSOutlineView*, platform::NSPoint screenPoint,
                                           const std::vector<platform::NSObject*>& items) override;
  platform::NSDragOperation outlineViewValidateDrop(platform::NSOutlineView*,
                                                    const platform::NSDraggingInfo& info,
                                                    platform::NSObject*& item,
                                                    int& childIndex) override;
  bool outlineViewAcceptDrop(platform::NSOutlineView*, const platform::NSDraggingInfo& info,
                             platform::NSObject* item, int childIndex) override;
  void outlineViewDraggingSessionEnded(platform::NSOutlineView*, platform::NSPoint screenPoint,
                                       platform::NSDragOperation operation) override;

  // Presses send NM_CLICK first; a Control-click with right-click emulation on, and a
  // right-button release, are right clicks: NM_RCLICK, then WM_CONTEXTMENU unless
  // the parent answered it.
  void mouseDown(const platform::NSEvent& e) override;
  void mouseUp(const platform::NSEvent& e) override;
  void mouseDragged(const platform::NSEvent& e) override;
  void rightMouseUp(const platform::NSEvent& e) override;

 protected:
  void drawSelectionHighlight(platform::CGContext* cg, const platform::NSRect& rowRect) override;

 private:
  HWND self() const { return swell::handleFromObject(this); }
  HWND parentWindow() const;
  LRESULT notify(UINT code, const TreeItemRec* item = nullptr, UINT action = 0);
  // The clicks' notifications carry the header alone.
  LRESULT notifyHeaderOnly(UINT code);
  bool parentHoldsCapture() const;
  // The drag point in the parent's client coordinates, as a mouse message carries it.
  LPARAM parentPoint(const platform::NSDraggingInfo& info) const;
  LPARAM parentPoint(platform::NSPoint screen) const;
  bool hasFocus() const;

  bool m_fakerightmouse = false;
  LONG style = 0;                     // TVS_DISABLEDRAGDROP forbids dragging
  std::vector<TreeItemRec*> m_items;  // owned
  std::optional<platform::NSColor> m_fgColor;
  std::vector<platform::NSColor> m_selColors;
  bool m_notifyingSelection = false;
};

HTREEITEM TreeView_InsertItem(HWND tree, TVINSERTSTRUCT* insert);
BOOL TreeView_DeleteItem(HWND tree, HTREEITEM item);
BOOL TreeView_DeleteAllItems(HWND tree);
BOOL TreeView_Expand(HWND tree, HTREEITEM item, UINT action);
BOOL TreeView_EnsureVisible(HWND tree, HTREEITEM item);
BOOL TreeView_GetItem(HWND tree, TVITEM* item);
BOOL TreeView_SetItem(HWND tree, TVITEM* item);
HTREEITEM TreeView_GetSelection(HWND tree);
BOOL TreeView_SelectItem(HWND tree, HTREEITEM item);
HTREEITEM TreeView_HitTest(HWND tree, TVHITTESTINFO* info);
HTREEITEM TreeView_GetRoot(HWND tree);
HTREEITEM TreeView_GetParent(HWND tree, HTREEITEM item);
HTREEITEM TreeView_GetChild(HWND tree, HTREEITEM item);
HTREEITEM TreeView_GetNextSibling(HWND tree, HTREEITEM item);
BOOL TreeView_SetIndent(HWND tree, int indent);
void TreeView_SetBkColor(HWND tree, int color);
void TreeView_SetTextColor(HWND tree, int color);
