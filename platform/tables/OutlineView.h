#pragma once

#include <memory>
#include <optional>
#include <string>
#include <unordered_map>
#include <vector>

#include "platform/core/DragAndDrop.h"
#include "platform/objects/Color.h"
#include "platform/tables/TableView.h"

namespace platform {

class NSOutlineView;
class NSPasteboard;

// The child index of a drop onto an item rather than between its children.
inline constexpr int NSOutlineViewDropOnItemIndex = -1;

// What an outline view shows: items are the data source's objects (null is the root),
// asked for when the outline loads them; the outline never retains them.
class NSOutlineViewDataSource {
 public:
  virtual ~NSOutlineViewDataSource() = default;
  virtual int outlineViewNumberOfChildrenOfItem(NSOutlineView* view, NSObject* item) = 0;
  virtual NSObject* outlineViewChildOfItem(NSOutlineView* view, int index, NSObject* item) = 0;
  virtual bool outlineViewIsItemExpandable(NSOutlineView* view, NSObject* item) = 0;
  virtual std::string outlineViewTextOfItem(NSOutlineView* view, NSObject* item) = 0;

  // Dragging items inside the outline. A drag starts when the items can be written to
  // the drag pasteboard; while it moves, each proposal (a parent and a child index) is
  // validated (the source may move it); a release where the last validation named an
  // operation is accepted.
  virtual bool outlineViewWriteItems(NSOutlineView* view, const std::vector<NSObject*>& items,
                                     NSPasteboard& pasteboard) {
    return false;
  }
  virtual void outlineViewDraggingSessionWillBegin(NSOutlineView* view, NSPoint screenPoint,
                                                   const std::vector<NSObject*>& items) {}
  virtual NSDragOperation outlineViewValidateDrop(NSOutlineView* view, const NSDraggingInfo& info,
                                                  NSObject*& item, int& childIndex) {
    return NSDragOperationNone;
  }
  virtual bool outlineViewAcceptDrop(NSOutlineView* view, const NSDraggingInfo& info,
                                     NSObject* item, int childIndex) {
    return false;
  }
  virtual void outlineViewDraggingSessionEnded(NSOutlineView* view, NSPoint screenPoint,
                                               NSDragOperation operation) {}
};

class NSOutlineViewDelegate {
 public:
  virtual ~NSOutlineViewDelegate() = default;
  virtual void outlineViewItemWillExpand(NSOutlineView* view, NSObject* item) {}
  virtual void outlineViewItemWillCollapse(NSOutlineView* view, NSObject* item) {}
  // A click changed the selection (the program's own changes are not reported).
  virtual void outlineViewSelectionDidChange(NSOutlineView* view) {}
  // The colour of an item's text, about to be drawn.
  virtual void outlineViewWillDisplayItem(NSOutlineView* view, NSObject* item, NSColor& textColor) {
  }
  virtual void outlineViewDoubleClick(NSOutlineView* view, int row) {}
};

// A table whose rows come from a hierarchy: one row per shown item, in the outline
// column, indented by its level with a disclosure triangle for items that can expand.
// Geometry, drawing through the column's cell, scrolling and the selection (as index
// ranges) are the table's; the outline keeps the loaded items, and moves the selection
// with its rows as items open, close, come and go, so a selected item stays selected
// wherever its row goes. Single selection; an empty selection is allowed. A click on a
// triangle expands or collapses; a click on a row selects it; a press dragged further
// than a few points starts an in-process drag of the row's item (see the data source).
class NSOutlineView : public NSTableView, public NSDraggingDestination {
 public:
  static constexpr double kRowHeight = kDefaultRowHeight;
  static constexpr double kIntercellHeight = kDefaultIntercellSpacing.height;
  static constexpr double kDefaultIndentation = 16;
  static constexpr double kDragThreshold = 3;

  explicit NSOutlineView(const NSRect& frame = {});
  ~NSOutlineView() override;

  NSOutlineViewDataSource* dataSource() const { return mDataSource; }
  void setDataSource(NSOutlineViewDataSource* source);
  NSOutlineViewDelegate* outlineDelegate() const { return mDelegate; }
  void setOutlineDelegate(NSOutlineViewDelegate* delegate) { mDelegate = delegate; }
  // The column that shows the hierarchy.
  NSTableColumn* outlineTableColumn() const { return mOutlineColumn.get(); }

  // Forgets what was loaded and asks the data source again; expanded items stay
  // expanded, and selected items selected, when they are still there.
  void reloadData() override;
  // Asks again whether the item expands and, with children, for its children.
  void reloadItem(NSObject* item, bool reloadChildren);
  // The data source has one more child of parent at index, or one fewer.
  void insertItemAtIndex(int index, NSObject* parent);
  void removeItemAtIndex(int index, NSObject* parent);

  void expandItem(NSObject* item);
  void collapseItem(NSObject* item);
  bool isItemExpanded(NSObject* item) const;
  bool isExpandable(NSObject* item) const;

  // -1 when the item has no row (unknown, or under a collapsed item).
  int rowForItem(NSObject* item) const;
  NSObject* itemAtRow(long row) const;
  int levelForRow(long row) const;
  NSObject* parentForItem(NSObject* item) const;
  // The triangle's square at the start of a row's indentation; empty for an item that
  // cannot expand.
  NSRect frameOfOutlineCellAtRow(long row);
  // The outline column's cells start after their row's indentation and triangle.
  NSRect frameOfCellAtColumn(long column, long row) override;

  double indentationPerLevel() const { return mIndentation; }
  void setIndentationPerLevel(double indentation);
  // The width of the rows' column, spacing included.
  double columnWidth() const { return mColumnWidth; }
  void setColumnWidth(double width);

  NSObject* selectedItem() const { return itemAtRow(selectedRow()); }
  // Selects the row alone (-1 or out of range: nothing); the delegate is not told.
  void selectRow(long row);

  // The drag under way, if any.
  bool isDragging() const { return mDrag.active; }

  void mouseDown(const NSEvent& e) override;
  void mouseDragged(const NSEvent& e) override;
  void mouseUp(const NSEvent& e) override;
  // The outline's own: a right press is not passed on to the views around it.
  void rightMouseDown(const NSEvent& e) override {}
  NSCell* preparedCellAtColumn(long column, long row) override;
  void drawRow(long row, const NSRect& clip) override;
  NSSize fittingSize() const override;

 protected:
  // Only a click's changes are told to the delegate, not the program's own.
  void selectionDidChange() override;
  long rowCountFromSource() override;
  std::string objectValueFromSource(NSTableColumn* column, long row) override;

 private:
  struct Node;
  struct Row {
    Node* node;
    int level;
  };
  // Raised while a click is handled: selection changes then come from the user.
  class UserAction;

  Node* findNode(NSObject* item) const;
  Node* nodeOrRoot(NSObject* item) const;
  std::unique_ptr<Node> makeNode(NSObject* item, Node* parent);
  void loadChildren(Node* node);
  // Drops a node's descendants from the index of items.
  void forgetChildren(Node* node);
  // What a reload keeps of the items under a node: those expanded, and those selected in
  // the node's rows (from firstRow, so many).
  struct ShownState {
    std::vector<NSObject*> expanded;
    std::vector<NSObject*> selected;
  };
  ShownState shownState(const Node* node, long firstRow, long rowCount) const;
  // Opens the expanded items again and adds the rows of the selected ones still there to
  // the selection (the program's own change).
  void restoreShownState(const ShownState& state, NSIndexSet selection, long selectedRow);
  // The rows under an item while it is expanded (the item's own row not counted).
  long shownDescendants(const Node* node) const;
  long rowOfNode(const Node* node) const;
  void rowsChanged();
  const std::vector<Row>& rows() const;
  void setExpanded(NSObject* item, bool expanded, bool userAction);
  void drawDisclosureTriangle(long row, const NSRect& frame);
  void updateDrag(const NSEvent& e);

  NSOutlineViewDataSource* mDataSource = nullptr;
  NSOutlineViewDelegate* mDelegate = nullptr;
  Ref<NSTableColumn> mOutlineColumn;
  std::unique_ptr<Node> mRoot;
  std::unordered_map<const NSObject*, Node*> mNodes;  // every loaded item
  mutable std::vector<Row> mRows;
  mutable bool mRowsValid = false;
  double mIndentation = kDefaultIndentation;
  double mColumnWidth = 0;
  int mUserActions = 0;

  struct DragState {
    bool pressed = false;
    bool active = false;
    NSPoint start;
    NSObject* item = nullptr;
    NSObject* target = nullptr;
    int childIndex = 0;
    NSDragOperation operation = NSDragOperationNone;
  };
  DragState mDrag;
};

}  // namespace platform
