#include "platform/OutlineView.h"

#include <algorithm>
#include <cmath>

#include "platform/ControlDrawing.h"
#include "platform/Event.h"
#include "platform/GraphicsContext.h"
#include "platform/Pasteboard.h"
#include "platform/ScrollView.h"
#include "platform/Window.h"

namespace platform {

namespace {

constexpr double kRowPitch = NSOutlineView::kRowHeight + NSOutlineView::kIntercellHeight;
constexpr double kTextGap = 2;
constexpr double kTriangleSize = 8;

}  // namespace

// One loaded item: whether it expands, is expanded, and its children once loaded.
struct NSOutlineView::Node {
  NSObject* item = nullptr;
  Node* parent = nullptr;
  bool expandable = false;
  bool expanded = false;
  bool loaded = false;
  std::vector<std::unique_ptr<Node>> children;

  bool contains(const NSObject* other) const {
    if (item == other) return true;
    for (const auto& child : children)
      if (child->contains(other)) return true;
    return false;
  }
};

NSOutlineView::NSOutlineView(const NSRect& frame) : NSControl(frame), mRoot(new Node) {
  mRoot->expanded = true;
}

NSOutlineView::~NSOutlineView() = default;

void NSOutlineView::setDataSource(NSOutlineViewDataSource* source) {
  mDataSource = source;
  reloadData();
}

NSOutlineView::Node* NSOutlineView::findNode(NSObject* item) const {
  if (!item) return nullptr;
  std::vector<Node*> pending{mRoot.get()};
  while (!pending.empty()) {
    Node* node = pending.back();
    pending.pop_back();
    for (const auto& child : node->children) {
      if (child->item == item) return child.get();
      pending.push_back(child.get());
    }
  }
  return nullptr;
}

NSOutlineView::Node* NSOutlineView::nodeOrRoot(NSObject* item) const {
  return item ? findNode(item) : mRoot.get();
}

void NSOutlineView::loadChildren(Node* node) {
  if (node->loaded || !mDataSource) return;
  node->loaded = true;
  NSObject* parentItem = node == mRoot.get() ? nullptr : node->item;
  const int count = std::max(0, mDataSource->outlineViewNumberOfChildrenOfItem(this, parentItem));
  for (int i = 0; i < count; ++i) {
    auto child = std::make_unique<Node>();
    child->item = mDataSource->outlineViewChildOfItem(this, i, parentItem);
    child->parent = node;
    child->expandable = mDataSource->outlineViewIsItemExpandable(this, child->item);
    node->children.push_back(std::move(child));
  }
}

void NSOutlineView::reloadData() {
  std::vector<NSObject*> expanded;
  std::vector<Node*> pending{mRoot.get()};
  while (!pending.empty()) {
    Node* node = pending.back();
    pending.pop_back();
    for (const auto& child : node->children) {
      if (child->expanded) expanded.push_back(child->item);
      pending.push_back(child.get());
    }
  }
  mRoot = std::make_unique<Node>();
  mRoot->expanded = true;
  loadChildren(mRoot.get());
  // Expanded items that are still there open again, parents before their children.
  for (NSObject* item : expanded)
    if (Node* node = findNode(item); node && node->expandable) {
      node->expanded = true;
      loadChildren(node);
    }
  if (!findNode(mSelected)) mSelected = nullptr;
  rowsChanged();
}

void NSOutlineView::reloadItem(NSObject* item, bool reloadChildren) {
  Node* node = findNode(item);
  if (!node || !mDataSource) return;
  node->expandable = mDataSource->outlineViewIsItemExpandable(this, item);
  if (!node->expandable) node->expanded = false;
  if (reloadChildren || !node->expandable) {
    if (node->contains(mSelected) && mSelected != item) mSelected = nullptr;
    node->children.clear();
    node->loaded = false;
    if (node->expanded) loadChildren(node);
  }
  rowsChanged();
}

void NSOutlineView::insertItemAtIndex(int index, NSObject* parent) {
  Node* node = nodeOrRoot(parent);
  if (!node || !mDataSource) return;
  // Children not loaded yet are asked for when the parent opens.
  if (node->loaded) {
    const int count = static_cast<int>(node->children.size());
    index = std::clamp(index, 0, count);
    auto child = std::make_unique<Node>();
    child->item = mDataSource->outlineViewChildOfItem(this, index, parent);
    child->parent = node;
    child->expandable = mDataSource->outlineViewIsItemExpandable(this, child->item);
    node->children.insert(node->children.begin() + index, std::move(child));
  }
  rowsChanged();
}

void NSOutlineView::removeItemAtIndex(int index, NSObject* parent) {
  Node* node = nodeOrRoot(parent);
  if (!node || !node->loaded || index < 0 || index >= static_cast<int>(node->children.size()))
    return;
  if (node->children[static_cast<std::size_t>(index)]->contains(mSelected)) mSelected = nullptr;
  node->children.erase(node->children.begin() + index);
  rowsChanged();
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
  node->expanded = expanded;
  bool selectionLost = false;
  if (expanded) {
    loadChildren(node);
  } else if (mSelected && mSelected != item && node->contains(mSelected)) {
    mSelected = nullptr;
    selectionLost = true;
  }
  rowsChanged();
  if (selectionLost && userAction && mDelegate) mDelegate->outlineViewSelectionDidChange(this);
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
  resizeToRows();
  setNeedsDisplay(true);
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
    mRows.push_back({node, level});
    if (!node->expanded) continue;
    for (auto it = node->children.rbegin(); it != node->children.rend(); ++it)
      pending.emplace_back(it->get(), level + 1);
  }
  mRowsValid = true;
  return mRows;
}

void NSOutlineView::resizeToRows() {
  // Inside a clip view the outline is as tall as its rows, and at least as tall as what
  // shows, so that a click below the last row still reaches it.
  auto* clip = dynamic_cast<NSClipView*>(superview());
  if (!clip) return;
  const double height = std::max(numberOfRows() * kRowPitch, clip->frame().size.height);
  const double width = std::max(mColumnWidth, clip->frame().size.width);
  if (frame().size.height != height || frame().size.width != width)
    setFrameSize(NSMakeSize(width, height));
}

int NSOutlineView::numberOfRows() const {
  return static_cast<int>(rows().size());
}

int NSOutlineView::rowForItem(NSObject* item) const {
  if (!item) return -1;
  const auto& all = rows();
  for (std::size_t i = 0; i < all.size(); ++i)
    if (all[i].node->item == item) return static_cast<int>(i);
  return -1;
}

NSObject* NSOutlineView::itemAtRow(int row) const {
  if (row < 0 || row >= numberOfRows()) return nullptr;
  return rows()[static_cast<std::size_t>(row)].node->item;
}

int NSOutlineView::levelForRow(int row) const {
  if (row < 0 || row >= numberOfRows()) return -1;
  return rows()[static_cast<std::size_t>(row)].level;
}

NSObject* NSOutlineView::parentForItem(NSObject* item) const {
  const Node* node = findNode(item);
  return node && node->parent != mRoot.get() ? node->parent->item : nullptr;
}

NSRect NSOutlineView::rectOfRow(int row) const {
  if (row < 0 || row >= numberOfRows()) return {};
  return NSMakeRect(0, row * kRowPitch, bounds().size.width, kRowPitch);
}

int NSOutlineView::rowAtPoint(NSPoint point) const {
  if (!(point.y >= 0) || !(point.x >= 0) || !(point.x < bounds().size.width)) return -1;
  const double row = std::floor(point.y / kRowPitch);
  return row < numberOfRows() ? static_cast<int>(row) : -1;
}

NSRect NSOutlineView::frameOfOutlineCellAtRow(int row) const {
  if (row < 0 || row >= numberOfRows() || !rows()[static_cast<std::size_t>(row)].node->expandable)
    return {};
  const NSRect r = rectOfRow(row);
  return NSMakeRect(levelForRow(row) * mIndentation, r.origin.y, mIndentation, r.size.height);
}

void NSOutlineView::setIndentationPerLevel(double indentation) {
  if (!std::isfinite(indentation) || indentation < 0 || indentation == mIndentation) return;
  mIndentation = indentation;
  setNeedsDisplay(true);
}

void NSOutlineView::setColumnWidth(double width) {
  if (!std::isfinite(width) || width < 0) return;
  mColumnWidth = width;
  resizeToRows();
}

void NSOutlineView::selectRow(int row) {
  NSObject* item = itemAtRow(row);
  if (item == mSelected) return;
  mSelected = item;
  setNeedsDisplay(true);
}

void NSOutlineView::scrollRowToVisible(int row) {
  auto* clip = dynamic_cast<NSClipView*>(superview());
  if (!clip || row < 0 || row >= numberOfRows()) return;
  const NSRect r = rectOfRow(row);
  const NSRect shown = clip->bounds();
  double top = shown.origin.y;
  if (r.minY() < top) top = r.minY();
  if (r.maxY() > top + shown.size.height) top = r.maxY() - shown.size.height;
  clip->setBoundsOrigin(NSMakePoint(shown.origin.x, std::max(0.0, top)));
  clip->setNeedsDisplay(true);
}

void NSOutlineView::setBackgroundColor(std::optional<NSColor> color) {
  mBackground = color;
  setNeedsDisplay(true);
}

void NSOutlineView::clickSelect(int row) {
  if (itemAtRow(row) == mSelected) return;
  selectRow(row);
  if (mDelegate) mDelegate->outlineViewSelectionDidChange(this);
}

void NSOutlineView::mouseDown(const NSEvent& e) {
  if (!isEnabled()) return;
  Ref<NSOutlineView> keep(this);
  mDrag = {};
  const NSPoint p = convertPointFromView(e.locationInWindow, nullptr);
  const int row = rowAtPoint(p);
  if (row >= 0 && NSPointInRect(p, frameOfOutlineCellAtRow(row))) {
    NSObject* item = itemAtRow(row);
    setExpanded(item, !isItemExpanded(item), true);
    return;
  }
  clickSelect(row);
  if (row >= 0 && e.clickCount >= 2 && mDelegate) {
    mDelegate->outlineViewDoubleClick(this, row);
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
  const int row = rowAtPoint(p);
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
  if (drag.operation != NSDragOperationNone && mDataSource) {
    NSPasteboard& board = NSPasteboard::pasteboardWithName(NSPasteboardNameDrag);
    const NSDraggingInfo info{&board, window(), e.locationInWindow, this};
    if (mDataSource->outlineViewAcceptDrop(this, info, drag.target, drag.childIndex))
      done = drag.operation;
  }
  if (mDataSource) mDataSource->outlineViewDraggingSessionEnded(this, screen, done);
}

NSSize NSOutlineView::fittingSize() const {
  return {mColumnWidth, numberOfRows() * kRowPitch};
}

void NSOutlineView::drawSelectionHighlight(CGContext* cg, const NSRect& rowRect) {
  controldrawing::fillRect(cg, rowRect, NSColor::selectedTextBackgroundColor());
}

void NSOutlineView::drawRect(const NSRect& dirtyRect) {
  controldrawing::topDown(this, [&](CGContext* cg) {
    if (mBackground) controldrawing::fillRect(cg, dirtyRect, *mBackground);
    // Only the rows the dirty rectangle touches are drawn and asked about.
    const int first = std::max(0, static_cast<int>(std::floor(dirtyRect.minY() / kRowPitch)));
    const int last =
        std::min(numberOfRows() - 1, static_cast<int>(std::floor(dirtyRect.maxY() / kRowPitch)));
    for (int row = first; row <= last; ++row) {
      const Row& entry = rows()[static_cast<std::size_t>(row)];
      const NSRect r = rectOfRow(row);
      if (entry.node->item == mSelected) drawSelectionHighlight(cg, r);
      const double indent = entry.level * mIndentation;
      if (entry.node->expandable) {
        const double cx = indent + mIndentation / 2, cy = r.midY(), s = kTriangleSize / 2;
        cg->setFillColor(0.35, 0.35, 0.35, 1);
        cg->beginPath();
        if (entry.node->expanded) {
          cg->moveToPoint(cx - s, cy - s / 2);
          cg->addLineToPoint(cx + s, cy - s / 2);
          cg->addLineToPoint(cx, cy + s / 2);
        } else {
          cg->moveToPoint(cx - s / 2, cy - s);
          cg->addLineToPoint(cx + s / 2, cy);
          cg->addLineToPoint(cx - s / 2, cy + s);
        }
        cg->closePath();
        cg->drawPath(CGPathDrawingMode::fill);
      }
      NSColor color = NSColor::textColor();
      if (mDelegate) mDelegate->outlineViewWillDisplayItem(this, entry.node->item, color);
      const std::string text =
          mDataSource ? mDataSource->outlineViewTextOfItem(this, entry.node->item) : std::string();
      const double textLeft = indent + mIndentation + kTextGap;
      controldrawing::drawText(
          cg, text,
          NSMakeRect(textLeft, r.origin.y, std::max(0.0, r.size.width - textLeft), kRowHeight),
          font(), color, NSTextAlignmentLeft);
    }
  });
}

}  // namespace platform
