#pragma once

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/Color.h"
#include "platform/Control.h"
#include "platform/DragAndDrop.h"

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

// A list of items in a hierarchy, one row per shown item on a fixed row pitch, each row
// indented by its level with a disclosure triangle for items that can expand. Single
// selection, kept by item so that it follows its row as rows come and go; an empty
// selection is allowed. A click on a triangle expands or collapses; a click on a row
// selects it; a press dragged further than a few points starts an in-process drag of
// the row's item (see the data source).
class NSOutlineView : public NSControl, public NSDraggingDestination {
 public:
  static constexpr double kRowHeight = 17;
  static constexpr double kIntercellHeight = 2;
  static constexpr double kDefaultIndentation = 16;
  static constexpr double kDragThreshold = 3;

  explicit NSOutlineView(const NSRect& frame = {});
  ~NSOutlineView() override;

  bool isFlipped() const override { return true; }

  NSOutlineViewDataSource* dataSource() const { return mDataSource; }
  void setDataSource(NSOutlineViewDataSource* source);
  NSOutlineViewDelegate* outlineDelegate() const { return mDelegate; }
  void setOutlineDelegate(NSOutlineViewDelegate* delegate) { mDelegate = delegate; }

  // Forgets what was loaded and asks the data source again; expanded items stay
  // expanded when they are still there.
  void reloadData();
  // Asks again whether the item expands and, with children, for its children.
  void reloadItem(NSObject* item, bool reloadChildren);
  // The data source has one more child of parent at index, or one fewer.
  void insertItemAtIndex(int index, NSObject* parent);
  void removeItemAtIndex(int index, NSObject* parent);

  void expandItem(NSObject* item);
  void collapseItem(NSObject* item);
  bool isItemExpanded(NSObject* item) const;
  bool isExpandable(NSObject* item) const;

  int numberOfRows() const;
  // -1 when the item has no row (unknown, or under a collapsed item).
  int rowForItem(NSObject* item) const;
  NSObject* itemAtRow(int row) const;
  int levelForRow(int row) const;
  NSObject* parentForItem(NSObject* item) const;
  NSRect rectOfRow(int row) const;
  // -1 off the rows.
  int rowAtPoint(NSPoint point) const;
  // The triangle's square at the start of a row's indentation.
  NSRect frameOfOutlineCellAtRow(int row) const;

  double rowHeight() const { return kRowHeight; }
  double indentationPerLevel() const { return mIndentation; }
  void setIndentationPerLevel(double indentation);
  double columnWidth() const { return mColumnWidth; }
  void setColumnWidth(double width);

  int selectedRow() const { return rowForItem(mSelected); }
  NSObject* selectedItem() const { return mSelected; }
  // Selects the row alone (-1 or out of range: nothing); the delegate is not told.
  void selectRow(int row);
  void deselectAll() { selectRow(-1); }
  void scrollRowToVisible(int row);

  std::optional<NSColor> backgroundColor() const { return mBackground; }
  void setBackgroundColor(std::optional<NSColor> color);

  // The drag under way, if any.
  bool isDragging() const { return mDrag.active; }

  void mouseDown(const NSEvent& e) override;
  void mouseDragged(const NSEvent& e) override;
  void mouseUp(const NSEvent& e) override;
  // The outline's own: a right press is not passed on to the views around it.
  void rightMouseDown(const NSEvent& e) override {}
  void drawRect(const NSRect& dirtyRect) override;
  NSSize fittingSize() const override;

 protected:
  // Fills a selected row's background; a subclass may paint its own colours.
  virtual void drawSelectionHighlight(CGContext* cg, const NSRect& rowRect);

 private:
  struct Node;
  struct Row {
    Node* node;
    int level;
  };
  Node* findNode(NSObject* item) const;
  Node* nodeOrRoot(NSObject* item) const;
  void loadChildren(Node* node);
  void rowsChanged();
  const std::vector<Row>& rows() const;
  void resizeToRows();
  void setExpanded(NSObject* item, bool expanded, bool notify);
  void clickSelect(int row);
  void updateDrag(const NSEvent& e);
  void endDrag(const NSEvent& e);

  NSOutlineViewDataSource* mDataSource = nullptr;
  NSOutlineViewDelegate* mDelegate = nullptr;
  std::unique_ptr<Node> mRoot;
  mutable std::vector<Row> mRows;
  mutable bool mRowsValid = false;
  NSObject* mSelected = nullptr;
  double mIndentation = kDefaultIndentation;
  double mColumnWidth = 0;
  std::optional<NSColor> mBackground;

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
