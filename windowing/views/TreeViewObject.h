#pragma once

#include <optional>
#include <vector>

#include "platform/tables/OutlineView.h"
#include "windowing/Win32Types.h"
#include "windowing/core/DirtyMarking.h"
#include "windowing/core/WindowInterfaces.h"
#include "windowing/views/TreeItem.h"
#include "windowing/views/TreeView.h"
#include "windowing/views/ViewColors.h"

// The view object of a tree view: an outline view over the item records, which is its own
// data source and delegate and tells its parent window of clicks, expansion, selection and drags.

class Swell_vCorvaneBrisko_treeview : public SwellDirtyMarking<platform::NSOutlineView>,
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
