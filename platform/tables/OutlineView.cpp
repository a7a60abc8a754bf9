#include "platform/tables/OutlineView.h"

#include <algorithm>
#include <cmath>

#include "base/Finite.h"
#include "platform/core/ControlDrawing.h"
#include "platform/core/Pasteboard.h"
#include "platform/core/ScrollView.h"
#include "platform/core/Window.h"
#include "platform/display/Event.h"
#include "platform/drawing/GraphicsContext.h"

namespace platform {

namespace {

constexpr double kTriangleSize = 8;
constexpr NSColor kTriangleColor = {0.35, 0.35, 0.35, 1};

}  // namespace

// One loaded item: whether it expands, is expanded, its children once loaded, and its
// row when the rows were last laid out.
struct NSOutlineView::Node {
  NSObject* item = nullptr;
  Node* parent = nullptr;
  bool expandable = false;
  bool expanded = false;
  bool loaded = false;
  long row = -1;
  std::vector<std::unique_ptr<Node>> children;
};

class NSOutlineView::UserAction {
 public:
  explicit UserAction(NSOutlineView* view, bool raise = true) : mView(raise ? view : nullptr) {
    if (mView) ++mView->mUserActions;
  }
  ~UserAction() {
    if (mView) --mView->mUserActions;
  }
  UserAction(const UserAction&) = delete;
  UserAction& operator=(const UserAction&) = delete;

 private:
  NSOutlineView* mView;
};

NSOutlineView::NSOutlineView(const NSRect& frame)
    : NSTableView(frame),
      mOutlineColumn(Ref<NSTableColumn>::adopt(new NSTableColumn("outline"))),
      mRoot(new Node) {
  mRoot->expanded = true;
  mRoot->loaded = true;
  mOutlineColumn->setEditable(false);
  mOutlineColumn->setMinWidth(0);
  addTableColumn(mOutlineColumn.get());
  setAllowsMultipleSelection(false);
  // The rows show what lies behind them until a background colour is set.
  setBackgroundColor(NSColor::clearColor());
}

NSOutlineView::~NSOutlineView() = default;

void NSOutlineView::setDataSource(NSOutlineViewDataSource* source) {
  mDataSource = source;
  reloadData();
}

NSOutlineView::Node* NSOutlineView::findNode(NSObject* item) const {
  if (!item) return nullptr;
  auto it = mNodes.find(item);
  return it == mNodes.end() ? nullptr : it->second;
}

NSOutlineView::Node* NSOutlineView::nodeOrRoot(NSObject* item) const {
  return item ? findNode(item) : mRoot.get();
}

std::unique_ptr<NSOutlineView::Node> NSOutlineView::makeNode(NSObject* item, Node* parent) {
  auto node = std::make_unique<Node>();
  node->item = item;
  node->parent = parent;
  node->expandable = mDataSource && mDataSource->outlineViewIsItemExpandable(this, item);
  if (item) mNodes[item] = node.get();
  return node;
}

void NSOutlineView::loadChildren(Node* node) {
  if (node->loaded || !mDataSource) return;
  node->loaded = true;
  NSObject* parentItem = node == mRoot.get() ? nullptr : node->item;
  const int count = std::max(0, mDataSource->outlineViewNumberOfChildrenOfItem(this, parentItem));
  for (int i = 0; i < count; ++i)
    node->children.push_back(
        makeNode(mDataSource->outlineViewChildOfItem(this, i, parentItem), node));
}

void NSOutlineView::forgetChildren(Node* node) {
  std::vector<Node*> pending{node};
  while (!pending.empty()) {
    Node* next = pending.back();
    pending.pop_back();
    for (const auto& child : next->children) {
      auto it = mNodes.find(child->item);
      if (it != mNodes.end() && it->second == child.get()) mNodes.erase(it);
      pending.push_back(child.get());
    }
  }
}

long NSOutlineView::shownDescendants(const Node* node) const {
  if (!node->expanded) return 0;
  long count = 0;
  for (const auto& child : node->children)
    count += 1 + shownDescendants(child.get());
  return count;
}

long NSOutlineView::rowOfNode(const Node* node) const {
  if (!node || node == mRoot.get()) return -1;
  const auto& all = rows();
  const long row = node->row;
  return row >= 0 && row < static_cast<long>(all.size()) &&
                 all[static_cast<std::size_t>(row)].node == node
             ? row
             : -1;
}

NSOutlineView::ShownState NSOutlineView::shownState(const Node* node, long firstRow,
                                                    long rowCount) const {
  ShownState state;
  std::vector<const Node*> pending{node};
  while (!pending.empty()) {
    const Node* next = pending.back();
    pending.pop_back();
    for (const auto& child : next->children) {
      if (child->expanded) state.expanded.push_back(child->item);
      pending.push_back(child.get());
    }
  }
  for (long row = firstRow; row < firstRow + rowCount; ++row)
    if (isRowSelected(row))
      if (NSObject* item = itemAtRow(row)) state.selected.push_back(item);
  return state;
}

void NSOutlineView::restoreShownState(const ShownState& state, NSIndexSet selection,
                                      long selectedRow) {
  // Expanded items that are still there open again; a parent opened later loads its
  // children then, so the order does not matter.
  for (bool opened = true; opened;) {
    opened = false;
    for (NSObject* item : state.expanded)
      if (Node* node = findNode(item); node && node->expandable && !node->expanded) {
        node->expanded = true;
        loadChildren(node);
        opened = true;
      }
  }
  rowsChanged();
  for (NSObject* item : state.selected)
    if (int row = rowForItem(item); row >= 0) {
      selection.addIndex(static_cast<std::size_t>(row));
      selectedRow = row;
    }
  setSelection(std::move(selection), selectedRow);
}

void NSOutlineView::reloadData() {
  const ShownState state =
      mRoot ? shownState(mRoot.get(), 0, static_cast<long>(rows().size())) : ShownState{};
  mNodes.clear();
  mRoot = std::make_unique<Node>();
  mRoot->expanded = true;
  loadChildren(mRoot.get());
  restoreShownState(state, {}, -1);
}

void NSOutlineView::reloadItem(NSObject* item, bool reloadChildren) {
  Node* node = findNode(item);
  if (!node || !mDataSource) return;
  const long row = rowOfNode(node);
  const long before = shownDescendants(node);
  node->expandable = mDataSource->outlineViewIsItemExpandable(this, item);
  if (!node->expandable) node->expanded = false;
  const bool childrenGone = reloadChildren || !node->expandable;
  // The items under it that are still there afterwards stay expanded and selected.
  const ShownState state =
      childrenGone && row >= 0 ? shownState(node, row + 1, before) : ShownState{};
  if (childrenGone) {
    forgetChildren(node);
    node->children.clear();
    node->loaded = false;
    if (node->expanded) loadChildren(node);
  }
  const long after = shownDescendants(node);
  rowsChanged();
  if (row < 0 || (!childrenGone && before == after)) return;
  // The old rows go, the new ones come; the rows after them keep their selection.
  removeRows(row + 1, before);
  insertRows(row + 1, after);
  restoreShownState(state, selectedRowIndexes(), selectedRow());
}

void NSOutlineView::insertItemAtIndex(int index, NSObject* parent) {
  Node* node = nodeOrRoot(parent);
  if (!node || !mDataSource) return;
  // Children not loaded yet are asked for when the parent opens.
  if (!node->loaded) {
    rowsChanged();
    return;
  }
  const int count = static_cast<int>(node->children.size());
  index = std::clamp(index, 0, count);
  Node* child =
      node->children
          .insert(node->children.begin() + index,
                  makeNode(mDataSource->outlineViewChildOfItem(this, index, parent), node))
          ->get();
  rowsChanged();
  if (long row = rowOfNode(child); row >= 0) insertRows(row, 1);
}

void NSOutlineView::removeItemAtIndex(int index, NSObject* parent) {
  Node* node = nodeOrRoot(parent);
  if (!node || !node->loaded || index < 0 || index >= static_cast<int>(node->children.size()))
    return;
  Node* child = node->children[static_cast<std::size_t>(index)].get();
  const long row = rowOfNode(child);
  const long count = 1 + shownDescendants(child);
  forgetChildren(child);
  if (auto it = mNodes.find(child->item); it != mNodes.end() && it->second == child)
    mNodes.erase(it);
  node->children.erase(node->children.begin() + index);
  rowsChanged();
  // Its rows go, and a selection in them with them, before anyone hears of it.
  if (row >= 0) removeRows(row, count);
}

void NSOutlineView::setExpanded(NSObject* item, bool expanded, bool userAction) {
  Node* node = findNode(item);
  if (!node || !node->expandable || node->expanded == expanded) return;
  Ref<NSOutlineView> keep(this);
  if (mDelegate) {
    if (expanded)
      mDelegate->outlineViewItemWillExpand(this, item);
    else
      mDelegate->outlineViewItemWillCollapse(this, item);
    // The delegate may have changed the items.
    node = findNode(item);
    if (!node || !node->expandable || node->expanded == expanded) return;
  }
  UserAction scope(this, userAction);
  const long row = rowOfNode(node);
  if (expanded) {
    node->expanded = true;
    loadChildren(node);
    rowsChanged();
    if (row >= 0) insertRows(row + 1, shownDescendants(node));
  } else {
    const long hidden = shownDescendants(node);
    node->expanded = false;
    rowsChanged();
    // A selection in the hidden rows goes; a click that hides it reports that.
    if (row >= 0) removeRows(row + 1, hidden);
  }
}

void NSOutlineView::expandItem(NSObject* item) {
  setExpanded(item, true, false);
}

void NSOutlineView::collapseItem(NSObject* item) {
  setExpanded(item, false, false);
}

bool NSOutlineView::isItemExpanded(NSObject* item) const {
  const Node* node = findNode(item);
  return node && node->expanded;
}

bool NSOutlineView::isExpandable(NSObject* item) const {
  const Node* node = findNode(item);
  return node && node->expandable;
}

void NSOutlineView::rowsChanged() {
  mRowsValid = false;
  markRowCountStale();
}

const std::vector<NSOutlineView::Row>& NSOutlineView::rows() const {
  if (mRowsValid) return mRows;
  mRows.clear();
  // Depth first, children in order, through expanded items only.
  std::vector<std::pair<Node*, int>> pending;
  for (auto it = mRoot->children.rbegin(); it != mRoot->children.rend(); ++it)
    pending.emplace_back(it->get(), 0);
  while (!pending.empty()) {
    auto [node, level] = pending.back();
    pending.pop_back();
    node->row = static_cast<long>(mRows.size());
    mRows.push_back({node, level});
    if (!node->expanded) continue;
    for (auto it = node->children.rbegin(); it != node->children.rend(); ++it)
      pending.emplace_back(it->get(), level + 1);
  }
  mRowsValid = true;
  return mRows;
}

long NSOutlineView::rowCountFromSource() {
  return static_cast<long>(rows().size());
}

std::string NSOutlineView::objectValueFromSource(NSTableColumn*, long row) {
  NSObject* item = itemAtRow(row);
  return mDataSource && item ? mDataSource->outlineViewTextOfItem(this, item) : std::string();
}

int NSOutlineView::rowForItem(NSObject* item) const {
  return static_cast<int>(rowOfNode(findNode(item)));
}

NSObject* NSOutlineView::itemAtRow(long row) const {
  const auto& all = rows();
  if (row < 0 || row >= static_cast<long>(all.size())) return nullptr;
  return all[static_cast<std::size_t>(row)].node->item;
}

int NSOutlineView::levelForRow(long row) const {
  const auto& all = rows();
  if (row < 0 || row >= static_cast<long>(all.size())) return -1;
  return all[static_cast<std::size_t>(row)].level;
}

NSObject* NSOutlineView::parentForItem(NSObject* item) const {
  const Node* node = findNode(item);
  return node && node->parent != mRoot.get() ? node->parent->item : nullptr;
}

NSRect NSOutlineView::frameOfOutlineCellAtRow(long row) {
  const Node* node = itemAtRow(row) ? rows()[static_cast<std::size_t>(row)].node : nullptr;
  if (!node || !node->expandable) return {};
  const NSRect r = rectOfRow(row);
  const NSRect column = rectOfColumn(columnIndexOf(mOutlineColumn.get()));
  if (r.isEmpty() || column.isEmpty()) return {};
  return NSMakeRect(column.origin.x + levelForRow(row) * mIndentation, r.origin.y, mIndentation,
                    r.size.height);
}

NSRect NSOutlineView::frameOfCellAtColumn(long column, long row) {
  NSRect cell = NSTableView::frameOfCellAtColumn(column, row);
  if (cell.isEmpty() || columnAt(column) != mOutlineColumn.get()) return cell;
  // The level's indentation and the triangle's square come first.
  const double indent = (levelForRow(row) + 1) * mIndentation;
  cell.origin.x += indent;
  cell.size.width = std::max(0.0, cell.size.width - indent);
  return cell;
}

void NSOutlineView::setIndentationPerLevel(double indentation) {
  if (!base::isFinite(indentation) || indentation < 0 || indentation == mIndentation) return;
  mIndentation = indentation;
  setNeedsDisplay(true);
}

void NSOutlineView::setColumnWidth(double width) {
  if (!base::isFinite(width) || width < 0) return;
  mColumnWidth = width;
  // The column and the spacing beside it fill the width.
  mOutlineColumn->setWidth(std::max(0.0, width - intercellSpacing().width));
}

void NSOutlineView::selectRow(long row) {
  if (itemAtRow(row))
    selectRowIndexes(NSIndexSet(static_cast<std::size_t>(row)), false);
  else
    deselectAll();
}

void NSOutlineView::selectionDidChange() {
  if (mUserActions > 0 && mDelegate) {
    Ref<NSOutlineView> keep(this);
    mDelegate->outlineViewSelectionDidChange(this);
  }
}

void NSOutlineView::mouseDown(const NSEvent& e) {
  if (!isEnabled()) return;
  Ref<NSOutlineView> keep(this);
  mDrag = {};
  const NSPoint p = convertPointFromView(e.locationInWindow, nullptr);
  const long row = rowAtPoint(p);
  if (row >= 0 && NSPointInRect(p, frameOfOutlineCellAtRow(row))) {
    NSObject* item = itemAtRow(row);
    setExpanded(item, !isItemExpanded(item), true);
    return;
  }
  {
    UserAction scope(this);
    NSTableView::mouseDown(e);
  }
  if (row >= 0 && e.clickCount >= 2 && mDelegate) {
    mDelegate->outlineViewDoubleClick(this, static_cast<int>(row));
    return;
  }
  mDrag.pressed = row >= 0;
  mDrag.start = p;
  mDrag.item = itemAtRow(row);
}

void NSOutlineView::mouseDragged(const NSEvent& e) {
  if (!mDrag.pressed || !mDataSource) return;
  Ref<NSOutlineView> keep(this);
  const NSPoint p = convertPointFromView(e.locationInWindow, nullptr);
  const NSPoint screen = window() ? window()->convertPointToScreen(e.locationInWindow) : p;
  if (!mDrag.active) {
    if (std::hypot(p.x - mDrag.start.x, p.y - mDrag.start.y) < kDragThreshold) return;
    // The pressed item left the outline meanwhile: there is nothing to drag.
    if (!findNode(mDrag.item)) {
      mDrag = {};
      return;
    }
    NSPasteboard& board = NSPasteboard::pasteboardWithName(NSPasteboardNameDrag);
    board.declareTypes({});
    const std::vector<NSObject*> items{mDrag.item};
    if (!mDataSource->outlineViewWriteItems(this, items, board)) {
      mDrag = {};
      return;
    }
    mDrag.active = true;
    mDataSource->outlineViewDraggingSessionWillBegin(this, screen, items);
    if (!mDrag.active) return;  // the source gave up
  }
  updateDrag(e);
}

void NSOutlineView::updateDrag(const NSEvent& e) {
  mDrag.operation = NSDragOperationNone;
  NSPasteboard& board = NSPasteboard::pasteboardWithName(NSPasteboardNameDrag);
  const bool wanted = std::any_of(registeredDraggedTypes().begin(), registeredDraggedTypes().end(),
                                  [&](const std::string& type) { return board.hasType(type); });
  const NSPoint p = convertPointFromView(e.locationInWindow, nullptr);
  if (!wanted || !NSPointInRect(p, visibleRect())) return;
  // The proposal: between rows, under the parent of the row the pointer is on, before
  // it in its upper half and after it in its lower half; below the rows, at the end.
  const long row = rowAtPoint(p);
  NSObject* target = nullptr;
  int index = static_cast<int>(mRoot->children.size());
  if (row >= 0) {
    Node* node = rows()[static_cast<std::size_t>(row)].node;
    const auto& siblings = node->parent->children;
    index = static_cast<int>(std::find_if(siblings.begin(), siblings.end(),
                                          [&](const auto& c) { return c.get() == node; }) -
                             siblings.begin());
    if (p.y > rectOfRow(row).midY()) ++index;
    target = node->parent == mRoot.get() ? nullptr : node->parent->item;
  }
  const NSDraggingInfo info{&board, window(), e.locationInWindow, this};
  mDrag.operation = mDataSource->outlineViewValidateDrop(this, info, target, index);
  mDrag.target = target;
  mDrag.childIndex = index;
}

void NSOutlineView::mouseUp(const NSEvent& e) {
  if (!mDrag.active) {
    mDrag = {};
    return;
  }
  Ref<NSOutlineView> keep(this);
  const NSPoint screen =
      window() ? window()->convertPointToScreen(e.locationInWindow) : e.locationInWindow;
  const DragState drag = mDrag;
  mDrag = {};
  NSDragOperation done = NSDragOperationNone;
  // The dragged item or the proposed parent left the outline during the drag: the source
  // is not asked to drop what it took away, or into it.
  const bool itemsThere = findNode(drag.item) && (!drag.target || findNode(drag.target));
  if (drag.operation != NSDragOperationNone && mDataSource && itemsThere) {
    NSPasteboard& board = NSPasteboard::pasteboardWithName(NSPasteboardNameDrag);
    const NSDraggingInfo info{&board, window(), e.locationInWindow, this};
    if (mDataSource->outlineViewAcceptDrop(this, info, drag.target, drag.childIndex))
      done = drag.operation;
  }
  if (mDataSource) mDataSource->outlineViewDraggingSessionEnded(this, screen, done);
}

NSSize NSOutlineView::fittingSize() const {
  return {mColumnWidth, static_cast<double>(rows().size()) * rowPitch()};
}

NSCell* NSOutlineView::preparedCellAtColumn(long column, long row) {
  NSCell* cell = NSTableView::preparedCellAtColumn(column, row);
  auto* text = dynamic_cast<NSTextFieldCell*>(cell);
  NSObject* item = itemAtRow(row);
  if (!text || !item) return cell;
  // One cell draws every row: each row starts from the default colour.
  NSColor color = NSColor::textColor();
  if (mDelegate) mDelegate->outlineViewWillDisplayItem(this, item, color);
  text->setTextColor(color);
  text->setFont(font());
  return cell;
}

void NSOutlineView::drawRow(long row, const NSRect& clip) {
  NSTableView::drawRow(row, clip);
  const NSRect triangle = frameOfOutlineCellAtRow(row);
  if (!triangle.isEmpty() && NSIntersectsRect(triangle, clip))
    drawDisclosureTriangle(row, triangle);
}

void NSOutlineView::drawDisclosureTriangle(long row, const NSRect& frame) {
  CGContext* cg = NSGraphicsContext::currentContext();
  if (!cg) return;
  const double cx = frame.midX(), cy = frame.midY(), s = kTriangleSize / 2;
  cg->setFillColor(kTriangleColor.red, kTriangleColor.green, kTriangleColor.blue,
                   kTriangleColor.alpha);
  cg->beginPath();
  if (isItemExpanded(itemAtRow(row))) {
    // Pointing down.
    cg->moveToPoint(cx - s, cy - s / 2);
    cg->addLineToPoint(cx + s, cy - s / 2);
    cg->addLineToPoint(cx, cy + s / 2);
  } else {
    // Pointing right.
    cg->moveToPoint(cx - s / 2, cy - s);
    cg->addLineToPoint(cx + s / 2, cy);
    cg->addLineToPoint(cx - s / 2, cy + s);
  }
  cg->closePath();
  cg->drawPath(CGPathDrawingMode::fill);
}

}  // namespace platform
