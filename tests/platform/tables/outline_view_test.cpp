#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "platform/core/Pasteboard.h"
#include "platform/core/ScrollView.h"
#include "platform/core/Window.h"
#include "platform/tables/OutlineView.h"
#include "support/PlatformHarness.h"

using namespace platform;

namespace {

// An item of the test's hierarchy.
class Item : public NSObject {
 public:
  explicit Item(std::string name) : name(std::move(name)) {}
  std::string name;
  std::vector<Ref<Item>> children;
  bool expandable = false;

  Item* add(const std::string& childName, bool canExpand = false) {
    children.push_back(Ref<Item>::adopt(new Item(childName)));
    children.back()->expandable = canExpand;
    return children.back().get();
  }
};

// The hierarchy under a root, the texts the outline asked for, and the selection
// changes it reported.
class Tree : public NSObject, public NSOutlineViewDataSource, public NSOutlineViewDelegate {
 public:
  Item root{"root"};
  std::multiset<std::string> textsAsked;
  int selectionReports = 0;

  static Item* itemOf(NSObject* item) { return static_cast<Item*>(item); }
  Item& parentOf(NSObject* item) { return item ? *itemOf(item) : root; }

  int outlineViewNumberOfChildrenOfItem(NSOutlineView*, NSObject* item) override {
    return static_cast<int>(parentOf(item).children.size());
  }
  NSObject* outlineViewChildOfItem(NSOutlineView*, int index, NSObject* item) override {
    return parentOf(item).children[static_cast<std::size_t>(index)].get();
  }
  bool outlineViewIsItemExpandable(NSOutlineView*, NSObject* item) override {
    return itemOf(item)->expandable;
  }
  std::string outlineViewTextOfItem(NSOutlineView*, NSObject* item) override {
    textsAsked.insert(itemOf(item)->name);
    return itemOf(item)->name;
  }
  void outlineViewSelectionDidChange(NSOutlineView*) override { ++selectionReports; }

  // Dragging: the items go on the drag pasteboard as a type of the test's, each proposal is
  // answered with `answer`, and every step is logged by item name and child index.
  std::string dragLog;
  NSDragOperation answer = NSDragOperationMove;
  static std::string nameOf(NSObject* item) { return item ? itemOf(item)->name : "root"; }
  bool outlineViewWriteItems(NSOutlineView*, const std::vector<NSObject*>& items,
                             NSPasteboard& board) override {
    dragLog += "write " + nameOf(items.at(0)) + "; ";
    board.declareTypes({"test.item"});
    return true;
  }
  NSDragOperation outlineViewValidateDrop(NSOutlineView*, const NSDraggingInfo&, NSObject*& item,
                                          int& index) override {
    dragLog += "propose " + nameOf(item) + " " + std::to_string(index) + "; ";
    return answer;
  }
  bool outlineViewAcceptDrop(NSOutlineView*, const NSDraggingInfo&, NSObject* item,
                             int index) override {
    dragLog += "accept " + nameOf(item) + " " + std::to_string(index) + "; ";
    return true;
  }
  void outlineViewDraggingSessionEnded(NSOutlineView*, NSPoint, NSDragOperation done) override {
    dragLog += "ended " + std::to_string(done);
  }
};

class OutlineViewTest : public ::testing::Test {
 protected:
  testsupport::PlatformHarness h;
  Ref<Tree> tree = Ref<Tree>::adopt(new Tree);
  NSWindow* w = nullptr;
  NSOutlineView* outline = nullptr;
  Item *a = nullptr, *a1 = nullptr, *a2 = nullptr, *b = nullptr, *c = nullptr;

  // a (a1, a2), b, c, collapsed, in a scroll view 100 points high.
  void SetUp() override {
    a = tree->root.add("a", true);
    a1 = a->add("a1");
    a2 = a->add("a2");
    b = tree->root.add("b");
    c = tree->root.add("c");
    w = new NSWindow(NSMakeRect(100, 100, 300, 200), NSWindowStyleMaskTitled);
    Ref<NSView> content = Ref<NSView>::adopt(new NSView);
    w->setContentView(content.get());
    auto scroll = Ref<NSScrollView>::adopt(new NSScrollView(NSMakeRect(0, 0, 200, 100)));
    content->addSubview(scroll.get());
    auto view = Ref<NSOutlineView>::adopt(new NSOutlineView);
    outline = view.get();
    outline->setDataSource(tree.get());
    outline->setOutlineDelegate(tree.get());
    scroll->setDocumentView(outline);
    outline->setColumnWidth(200);
    w->makeKeyAndOrderFront();
    h.runUntilIdle();
  }
  void TearDown() override { w->close(); }

  std::string shownRows() {
    std::string out;
    for (long row = 0; row < outline->numberOfRows(); ++row)
      out += (row ? " " : "") + Tree::itemOf(outline->itemAtRow(row))->name;
    return out;
  }
};

TEST_F(OutlineViewTest, TheSelectionFollowsItsItemAsRowsComeAndGo) {
  outline->selectRow(outline->rowForItem(b));
  struct Step {
    const char* what;
    std::function<void()> change;
    const char* rows;
    NSObject* selected;
  };
  Item* zero = nullptr;
  const Step steps[] = {
      {"expand above", [&] { outline->expandItem(a); }, "a a1 a2 b c", b},
      {"insert above",
       [&] {
         tree->root.children.insert(tree->root.children.begin(),
                                    Ref<Item>::adopt(new Item("zero")));
         zero = tree->root.children.front().get();
         outline->insertItemAtIndex(0, nullptr);
       },
       "zero a a1 a2 b c", b},
      {"collapse above", [&] { outline->collapseItem(a); }, "zero a b c", b},
      {"remove above",
       [&] {
         tree->root.children.erase(tree->root.children.begin());
         outline->removeItemAtIndex(0, nullptr);
       },
       "a b c", b},
      {"reload everything", [&] { outline->reloadData(); }, "a b c", b},
      {"reload an item's children: those still there stay expanded and selected",
       [&] {
         outline->expandItem(a);
         a1->expandable = true;
         a1->add("a1x");
         outline->reloadItem(a1, false);
         outline->expandItem(a1);
         outline->selectRow(outline->rowForItem(a2));
         outline->reloadItem(a, true);
       },
       "a a1 a1x a2 b c", a2},
      {"select inside, then collapse its parent",
       [&] {
         outline->expandItem(a);
         outline->selectRow(outline->rowForItem(a2));
         outline->collapseItem(a);
       },
       "a b c", nullptr},
      {"select, then remove it",
       [&] {
         outline->selectRow(outline->rowForItem(c));
         tree->root.children.pop_back();
         outline->removeItemAtIndex(2, nullptr);
       },
       "a b", nullptr},
  };
  for (const Step& step : steps) {
    step.change();
    EXPECT_EQ(shownRows(), step.rows) << step.what;
    EXPECT_EQ(outline->selectedItem(), step.selected) << step.what;
    EXPECT_EQ(outline->selectedRowIndexes().count(), step.selected ? 1u : 0u) << step.what;
  }
  // The program's own changes are not reported; a removed item's row is gone.
  EXPECT_EQ(tree->selectionReports, 0);
  EXPECT_EQ(outline->rowForItem(zero), -1);
  EXPECT_EQ(outline->itemAtRow(5), nullptr);
  EXPECT_EQ(outline->levelForRow(-1), -1);
}

TEST_F(OutlineViewTest, ClicksSelectAndOpenAndOnlyShownRowsAreAsked) {
  NSRect triangle = outline->frameOfOutlineCellAtRow(0);
  ASSERT_FALSE(triangle.isEmpty());
  EXPECT_TRUE(outline->frameOfOutlineCellAtRow(1).isEmpty());  // b does not expand
  h.click(w, outline->convertPointToView({triangle.midX(), triangle.midY()}, nullptr));
  h.runUntilIdle();
  EXPECT_TRUE(outline->isItemExpanded(a));
  EXPECT_EQ(tree->selectionReports, 0);
  // A child's cell starts one level further in, after its triangle's square.
  const double indent = outline->indentationPerLevel();
  EXPECT_EQ(outline->frameOfCellAtColumn(0, 1).minX() - outline->frameOfCellAtColumn(0, 0).minX(),
            indent);
  NSRect row = outline->rectOfRow(2);
  EXPECT_EQ(row.minY(), 2 * outline->rowPitch());
  h.click(w, outline->convertPointToView({row.midX(), row.midY()}, nullptr));
  h.runUntilIdle();
  EXPECT_EQ(outline->selectedItem(), a2);
  EXPECT_EQ(tree->selectionReports, 1);
  // Many more rows than show: only those drawn are asked for their text.
  for (int i = 0; i < 1000; ++i)
    tree->root.add("many");
  outline->reloadData();
  tree->textsAsked.clear();
  outline->scrollRowToVisible(500);
  h.runUntilIdle();
  const auto shown =
      static_cast<std::size_t>(outline->visibleRect().size.height / outline->rowPitch()) + 2;
  EXPECT_GT(tree->textsAsked.size(), 0u);
  EXPECT_LE(tree->textsAsked.size(), shown);
  EXPECT_EQ(outline->selectedItem(), a2);
}

// A row pressed and dragged further than a few points drags its item: each place it goes
// is proposed between rows under the parent of the row the pointer is on (before the row in
// its upper half, after it in its lower half; below the rows, at the end), and the release
// drops it where the source last agreed.
TEST_F(OutlineViewTest, DraggedRowsAreProposedBetweenRowsAndDroppedWhereTheSourceAgreed) {
  outline->registerForDraggedTypes({"test.item"});
  constexpr long kBelow = -1;
  struct Row {
    const char* name;
    bool expandA;
    long from, to;
    double toFraction;  // how far down the target row
    NSDragOperation answer;
    const char* log;
  };
  const Row rows[] = {
      {"the upper half of a row: before it", false, 2, 1, 0.25, NSDragOperationMove,
       "write c; propose root 1; accept root 1; ended 16"},
      {"the lower half of a child: after it, under its parent", true, 3, 1, 0.75,
       NSDragOperationCopy, "write b; propose a 1; accept a 1; ended 1"},
      {"below the rows: at the end", false, 1, kBelow, 0, NSDragOperationMove,
       "write b; propose root 3; accept root 3; ended 16"},
      {"a place the source refuses: no drop", false, 2, 0, 0.25, NSDragOperationNone,
       "write c; propose root 0; ended 0"},
      {"a move within the threshold: no drag", false, 2, 2, 0.6, NSDragOperationMove, ""},
  };
  for (const Row& r : rows) {
    SCOPED_TRACE(r.name);
    if (r.expandA)
      outline->expandItem(a);
    else
      outline->collapseItem(a);
    tree->dragLog.clear();
    tree->answer = r.answer;
    auto at = [&](long row, double fraction) {
      const NSRect rect =
          row == kBelow ? NSMakeRect(0, outline->numberOfRows() * outline->rowPitch(), 100, 10)
                        : outline->rectOfRow(row);
      return outline->convertPointToView({50, rect.minY() + fraction * rect.size.height}, nullptr);
    };
    h.drag(w, at(r.from, 0.5), at(r.to, r.toFraction), 1);
    h.runUntilIdle();
    EXPECT_EQ(tree->dragLog, r.log);
    EXPECT_FALSE(outline->isDragging());
  }
}

}  // namespace

namespace {

// Items that leave the outline while a row is pressed or dragged take no part in a drop: the
// source is never asked to write or accept an item it took away.
TEST_F(OutlineViewTest, ADragWhoseItemsLeftTheOutlineDropsNothing) {
  outline->registerForDraggedTypes({"test.item"});
  outline->expandItem(a);  // a a1 a2 b c
  // A row's point, or below the rows for -1.
  auto point = [&](long row, double fraction) {
    const double pitch = outline->rowPitch();
    const NSRect r = row < 0 ? NSMakeRect(0, outline->numberOfRows() * pitch, 100, pitch)
                             : outline->rectOfRow(row);
    return outline->convertPointToView({50, r.minY() + fraction * r.size.height}, nullptr);
  };
  auto removeRoot = [&](Item* item) {
    auto& all = tree->root.children;
    const auto at = std::find_if(all.begin(), all.end(), [&](auto& c) { return c.get() == item; });
    const int index = static_cast<int>(at - all.begin());
    all.erase(at);
    outline->removeItemAtIndex(index, nullptr);
  };
  struct Row {
    const char* name;
    long from, to;
    bool removeBeforeMoving;
    Item* removed;
    const char* log;
  };
  const Row rows[] = {
      {"the pressed item leaves before the drag starts", 3, 0, true, b, ""},
      {"the target's parent leaves during the drag", 3, 1, false, a,
       "write c; propose a 1; ended 0"},
      {"the dragged item leaves during the drag", 0, -1, false, c,
       "write c; propose root 1; ended 0"},
  };
  for (const Row& r : rows) {
    SCOPED_TRACE(r.name);
    Ref<Item> keep(r.removed);
    tree->dragLog.clear();
    NSEvent moved;
    moved.type = NSEventTypeLeftMouseDragged;
    moved.window = w;
    moved.locationInWindow = point(r.to, 0.75);
    h.mouseDown(w, point(r.from, 0.5));
    h.runUntilIdle();
    if (r.removeBeforeMoving) removeRoot(r.removed);
    h.post(moved);
    h.runUntilIdle();
    if (!r.removeBeforeMoving) removeRoot(r.removed);
    h.mouseUp(w, moved.locationInWindow);
    h.runUntilIdle();
    EXPECT_EQ(tree->dragLog, r.log);
    EXPECT_FALSE(outline->isDragging());
  }
}

}  // namespace
