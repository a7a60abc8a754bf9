#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <set>
#include <string>
#include <vector>

#include "platform/core/ScrollView.h"
#include "platform/core/Window.h"
#include "platform/objects/IndexSet.h"
#include "platform/tables/TableView.h"
#include "support/PlatformHarness.h"

using namespace platform;

namespace {

std::string describe(const NSIndexSet& set) {
  std::string out;
  for (const NSIndexSet::Range& r : set.ranges()) {
    if (!out.empty()) out += ",";
    out += std::to_string(r.first);
    if (r.end - r.first > 1) out += "-" + std::to_string(r.end - 1);
  }
  return out;
}

TEST(IndexSetTest, KeepsDisjointRangesThroughEveryEdit) {
  struct Step {
    const char* what;
    std::function<void(NSIndexSet&)> edit;
    const char* expected;
  };
  NSIndexSet set;
  const Step steps[] = {
      {"add 3..5", [](NSIndexSet& s) { s.addIndexesInRange(3, 3); }, "3-5"},
      {"add touching 6", [](NSIndexSet& s) { s.addIndex(6); }, "3-6"},
      {"add apart", [](NSIndexSet& s) { s.addIndexesInRange(10, 2); }, "3-6,10-11"},
      {"bridge both", [](NSIndexSet& s) { s.addIndexesInRange(7, 3); }, "3-11"},
      {"remove middle", [](NSIndexSet& s) { s.removeIndexesInRange(5, 2); }, "3-4,7-11"},
      {"open a gap at 8", [](NSIndexSet& s) { s.shiftIndexesStartingAtIndex(8, 2); },
       "3-4,7,10-13"},
      {"close it again", [](NSIndexSet& s) { s.shiftIndexesStartingAtIndex(10, -2); }, "3-4,7-11"},
      {"close over indexes", [](NSIndexSet& s) { s.shiftIndexesStartingAtIndex(7, -2); }, "3-9"},
      {"shift below zero stops at zero",
       [](NSIndexSet& s) { s.shiftIndexesStartingAtIndex(2, -5); }, "1-7"},
      {"remove past the end",
       [](NSIndexSet& s) { s.removeIndexesInRange(4, NSIndexSet::NSNotFound); }, "1-3"},
  };
  for (const Step& step : steps) {
    step.edit(set);
    EXPECT_EQ(describe(set), step.expected) << step.what;
  }
  EXPECT_EQ(set.count(), 3u);
  EXPECT_TRUE(set.containsIndex(3));
  EXPECT_FALSE(set.containsIndex(4));
  EXPECT_EQ(set.indexGreaterThanIndex(1), 2u);
  EXPECT_EQ(set.indexGreaterThanIndex(3), NSIndexSet::NSNotFound);
}

// Rows "r0", "r1"... from a count; records which rows were asked for and what the table
// told its delegate and target.
class Rows : public NSObject,
             public NSTableViewDataSource,
             public NSTableViewDelegate,
             public ActionTarget {
 public:
  long count = 0;
  std::set<long> asked;
  int countQueries = 0;
  std::vector<std::string> events;

  long numberOfRowsInTableView(NSTableView*) override {
    ++countQueries;
    return count;
  }
  std::string tableViewObjectValue(NSTableView*, NSTableColumn* column, long row) override {
    asked.insert(row);
    return column->identifier() + std::to_string(row);
  }
  void tableViewSelectionDidChange(NSTableView* t) override {
    events.push_back("selection " + describe(t->selectedRowIndexes()));
  }
  void tableViewDidClickTableColumn(NSTableView* t, NSTableColumn* c) override {
    events.push_back("column " + c->identifier());
  }
  void performAction(int action, NSObject* sender) override {
    auto* t = static_cast<NSTableView*>(sender);
    events.push_back("double " + std::to_string(t->clickedRow()) + "," +
                     std::to_string(t->clickedColumn()));
  }
};

constexpr int kDoubleAction = 9;
constexpr NSRect kScrollFrame = {{10, 10}, {300, 200}};

class TableViewTest : public ::testing::Test {
 protected:
  testsupport::PlatformHarness h;
  Ref<Rows> rows = Ref<Rows>::adopt(new Rows);
  NSWindow* w = nullptr;
  NSScrollView* scroll = nullptr;
  NSTableView* table = nullptr;

  void SetUp() override {
    w = new NSWindow(NSMakeRect(100, 100, 400, 300), NSWindowStyleMaskTitled);
    Ref<NSView> content = Ref<NSView>::adopt(new NSView);
    w->setContentView(content.get());
    scroll = new NSScrollView(kScrollFrame);
    content->addSubview(scroll);
    scroll->release();
    table = new NSTableView;
    for (auto [name, width] : {std::pair{"a", 100.0}, std::pair{"b", 80.0}}) {
      auto* column = new NSTableColumn(name);
      column->setWidth(width);
      table->addTableColumn(column);
      column->release();
    }
    table->setDataSource(rows.get());
    table->setDelegate(rows.get());
    table->setTarget(rows.get());
    table->setDoubleAction(kDoubleAction);
    table->setAllowsMultipleSelection(true);
    scroll->setDocumentView(table);
    table->release();
    rows->count = 10;
    w->makeKeyAndOrderFront();
    h.runUntilIdle();
  }
  void TearDown() override { w->close(); }

  // The middle of a row's cell in a column, in window coordinates.
  NSPoint cellPoint(long row, long column) {
    NSRect cell = table->frameOfCellAtColumn(column, row);
    return table->convertPointToView(NSMakePoint(cell.midX(), cell.midY()), nullptr);
  }
  NSPoint headerPoint(long column) {
    NSTableHeaderView* header = table->headerView();
    NSRect r = header->headerRectOfColumn(column);
    return header->convertPointToView(NSMakePoint(r.midX(), r.midY()), nullptr);
  }
};

TEST_F(TableViewTest, GeometryIsArithmeticOnTheRowPitch) {
  EXPECT_EQ(NSTableView::kDefaultRowHeight, 17);
  EXPECT_EQ(NSTableView::kDefaultIntercellSpacing, (NSSize{3, 2}));
  EXPECT_EQ(NSTableHeaderView::kHeight, 23);
  EXPECT_EQ(table->rowPitch(), 19);
  // The header sits above the clip view inside the scroll view.
  EXPECT_EQ(table->headerView()->superview(), scroll);
  EXPECT_EQ(scroll->contentView()->frame(), NSMakeRect(0, 0, 300, 177));
  EXPECT_EQ(table->rectOfRow(2), NSMakeRect(0, 38, 300, 19));
  EXPECT_EQ(table->rectOfColumn(1), NSMakeRect(103, 0, 83, 190));
  EXPECT_EQ(table->frameOfCellAtColumn(1, 2), NSMakeRect(104.5, 39, 80, 17));
  EXPECT_EQ(table->rowAtPoint({5, 56.9}), 2);
  EXPECT_EQ(table->rowAtPoint({5, 57}), 3);
  EXPECT_EQ(table->rowAtPoint({5, 190}), -1);
  EXPECT_EQ(table->columnAtPoint({102.9, 0}), 0);
  EXPECT_EQ(table->columnAtPoint({190, 0}), -1);
  table->tableColumns()[0]->setHidden(true);
  EXPECT_EQ(table->columnAtPoint({5, 0}), 1);
  EXPECT_TRUE(table->rectOfColumn(0).isEmpty());
  table->setRowHeight(0);
  EXPECT_EQ(table->rowHeight(), 1);
}

TEST_F(TableViewTest, ClicksSelectWithShiftRangesAndCommandToggles) {
  struct Click {
    long row;
    std::uint64_t modifiers;
    int clicks;
    const char* selection;
    std::vector<std::string> events;
  };
  // Eight rows leave room below them for a click on no row.
  rows->count = 8;
  table->reloadData();
  const std::uint64_t shift = NSEventModifierFlagShift, command = NSEventModifierFlagCommand;
  const Click clicks[] = {
      {1, 0, 1, "1", {"selection 1"}},
      {3, shift, 1, "1-3", {"selection 1-3"}},
      {2, command, 1, "1,3", {"selection 1,3"}},
      {6, command, 1, "1,3,6", {"selection 1,3,6"}},
      {6, 0, 1, "6", {"selection 6"}},
      {6, 0, 2, "6", {"double 6,0"}},
      {-1, 0, 1, "", {"selection "}},
  };
  ASSERT_TRUE(w->isKeyWindow());
  ASSERT_EQ(w->contentView()->hitTest(cellPoint(1, 0)), table);
  for (const Click& c : clicks) {
    NSPoint p = c.row >= 0 ? cellPoint(c.row, 0) : NSMakePoint(50, 15);
    h.click(w, p, c.modifiers, c.clicks);
    h.runUntilIdle();
    EXPECT_EQ(describe(table->selectedRowIndexes()), c.selection) << "row " << c.row;
    EXPECT_EQ(rows->events, c.events) << "row " << c.row;
    rows->events.clear();
  }
}

TEST_F(TableViewTest, SingleSelectionKeepsOneRow) {
  table->setAllowsMultipleSelection(false);
  h.click(w, cellPoint(2, 1));
  h.click(w, cellPoint(4, 1), NSEventModifierFlagShift);
  h.click(w, cellPoint(5, 1), NSEventModifierFlagCommand);
  h.runUntilIdle();
  EXPECT_EQ(describe(table->selectedRowIndexes()), "5");
  EXPECT_EQ(table->selectedRow(), 5);
  table->selectAll();
  EXPECT_EQ(table->numberOfSelectedRows(), 1);
  table->setAllowsEmptySelection(false);
  h.click(w, cellPoint(5, 1), NSEventModifierFlagCommand);
  h.runUntilIdle();
  EXPECT_EQ(table->selectedRow(), 5);
}

TEST_F(TableViewTest, AMillionRowsAskOnlyForTheRowsThatShow) {
  rows->count = 1000000;
  rows->asked.clear();
  int queries = rows->countQueries;
  table->reloadData();
  table->reloadData();
  EXPECT_EQ(rows->countQueries, queries) << "a reload asks nothing until it is needed";
  table->scrollRowToVisible(500000);
  h.runUntilIdle();
  ASSERT_FALSE(rows->asked.empty());
  // 177 points of rows show: ten rows, each asked for both columns.
  EXPECT_GE(*rows->asked.begin(), 500000 - 10);
  EXPECT_EQ(*rows->asked.rbegin(), 500000);
  EXPECT_LE(rows->asked.size(), 11u);
  table->selectAll();
  table->insertRows(10, 1);
  EXPECT_EQ(table->selectedRowIndexes().ranges().size(), 2u);
  EXPECT_FALSE(table->isRowSelected(10));
  EXPECT_EQ(table->selectedRow(), 1000000);
  table->removeRows(5, 6);
  EXPECT_EQ(describe(table->selectedRowIndexes()), "0-999994");
}

TEST_F(TableViewTest, HeaderClicksReportAndReorderColumns) {
  h.click(w, headerPoint(1));
  h.runUntilIdle();
  EXPECT_EQ(rows->events, (std::vector<std::string>{"column b"}));
  h.mouseDown(w, headerPoint(0));
  h.mouseUp(w, headerPoint(1));
  h.runUntilIdle();
  EXPECT_EQ(table->tableColumns()[0]->identifier(), "b");
  EXPECT_EQ(table->columnWithIdentifier("a"), 1);
  rows->events.clear();
  h.click(w, headerPoint(0));
  h.click(w, headerPoint(0), 0, 2);
  h.runUntilIdle();
  EXPECT_EQ(rows->events, (std::vector<std::string>{"column b", "double -1,0"}));
}

// The wheel scrolls a row a step, never past the rows or the columns; a click then lands on
// the row that shows under the pointer, and one on the titles, which follow the scroll
// sideways, on the column that shows there.
TEST_F(TableViewTest, TheWheelScrollsWithinTheTableAndClicksHitWhatShows) {
  rows->count = 100;
  table->reloadData();
  auto* wide = new NSTableColumn("c");
  wide->setWidth(300);  // the columns: a 0..103, b 103..186, c 186..489
  table->addTableColumn(wide);
  wide->release();
  const double pitch = table->rowPitch(), bottom = 100 * pitch - 177;
  struct Step {
    double dx, dy;
    long row;            // the row under the top left of the rows (window 20, 177.5)
    const char* column;  // the title at the left of the titles (window 15, 198.5)
  } steps[] = {
      {0, 2, 0, "a"},  // up from the top: nothing moves
      {0, -3, 3, "a"},
      {-100, -1000, static_cast<long>((bottom + 9.5) / pitch), "c"},
  };
  const std::uint32_t face = testsupport::PlatformHarness::pixelAt(w, 250, 170);
  for (const Step& step : steps) {
    h.scroll(w, {150, 100}, step.dx, step.dy);
    h.click(w, {20, 177.5});
    h.click(w, {15, 198.5});
    h.runUntilIdle();
    EXPECT_EQ(table->selectedRow(), step.row);
    ASSERT_FALSE(rows->events.empty());
    EXPECT_EQ(rows->events.back(), std::string("column ") + step.column);
    // The selected row is drawn where it shows: at the top, and not in the row below.
    EXPECT_NE(testsupport::PlatformHarness::pixelAt(w, 250, 180), face);
    EXPECT_EQ(testsupport::PlatformHarness::pixelAt(w, 250, 160), face);
  }
  EXPECT_EQ(table->visibleRect(), NSMakeRect(489 - 300, bottom, 300, 177));
}

// The rows' background fills what the clip view shows below the header, as the scroll view
// grows and shrinks: a click on the empty part below the rows is the table's.
TEST_F(TableViewTest, TheTableFillsItsScrollViewAsItsSizeChanges) {
  rows->count = 3;
  table->reloadData();
  table->selectRowIndexes(NSIndexSet(1), false);
  const struct {
    NSSize scroll, table;
  } sizes[] = {{{360, 260}, {360, 237}}, {{200, 100}, {200, 77}}, {{300, 200}, {300, 177}}};
  for (const auto& size : sizes) {
    scroll->setFrameSize(size.scroll);
    EXPECT_EQ(table->frame().size, size.table);
  }
  h.click(w, {250, 20});
  h.runUntilIdle();
  EXPECT_EQ(table->selectedRow(), -1);
}

TEST_F(TableViewTest, SortIndicatorsAreThePlatformsImages) {
  Ref<NSImage> up = Ref<NSImage>::adopt(NSImage::imageNamed("NSAscendingSortIndicator"));
  Ref<NSImage> down = Ref<NSImage>::adopt(NSImage::imageNamed("NSDescendingSortIndicator"));
  ASSERT_TRUE(up && down);
  EXPECT_NE(up.get(), down.get());
  EXPECT_EQ(up->size(), (NSSize{9, 9}));
  NSTableColumn* column = table->tableColumns()[1];
  table->setIndicatorImage(up.get(), column);
  EXPECT_EQ(table->indicatorImageInTableColumn(column), up.get());
  table->setIndicatorImage(nullptr, column);
  EXPECT_EQ(table->indicatorImageInTableColumn(column), nullptr);
}

TEST_F(TableViewTest, SelectedRowsAreDrawnHighlighted) {
  table->selectRowIndexes(NSIndexSet(3), false);
  h.runUntilIdle();
  NSRect cell = table->frameOfCellAtColumn(1, 3);
  NSPoint p = table->convertPointToView(NSMakePoint(cell.maxX() - 2, cell.midY()), nullptr);
  EXPECT_EQ(testsupport::PlatformHarness::pixelAt(w, p.x, p.y), 0xFFB3D7FFu);
  NSPoint plain = cellPoint(4, 1);
  EXPECT_EQ(testsupport::PlatformHarness::pixelAt(w, plain.x + 30, plain.y), 0xFFFFFFFFu);
}

TEST(CellTest, TextIsPlacedInsideItsDrawingRectangle) {
  Ref<NSTextFieldCell> cell = Ref<NSTextFieldCell>::adopt(new NSTextFieldCell("text"));
  EXPECT_EQ(cell->drawingRectForBounds(NSMakeRect(10, 20, 50, 17)), NSMakeRect(12, 20, 46, 17));
  EXPECT_EQ(cell->drawingRectForBounds(NSMakeRect(0, 0, 3, 17)).size.width, 0);
  EXPECT_GT(cell->cellSize().width, 4);
  EXPECT_TRUE(cell->highlightColorWithFrame({}, nullptr).has_value());
}

// The scroll view lays out the clip view below its document's header and beside its
// scrollers; a header the document no longer shows, or a document that has none, leaves.
TEST_F(TableViewTest, TheScrollViewShowsOnlyTheHeaderOfTheDocumentItShows) {
  const double header = NSTableHeaderView::kHeight, bar = NSScrollView::kScrollerWidth;
  auto clipFrame = [&] { return scroll->contentView()->frame(); };
  auto shown = [&] { return scroll->subviews(); };
  EXPECT_EQ(shown(), (std::vector<NSView*>{scroll->contentView(), table->headerView()}));
  EXPECT_EQ(table->headerView()->frame(), NSMakeRect(0, 200 - header, 300, header));
  const struct {
    bool vertical, horizontal;
    NSRect clip;
  } scrollers[] = {
      {true, false, NSMakeRect(0, 0, 300 - bar, 200 - header)},
      {false, true, NSMakeRect(0, bar, 300, 200 - header - bar)},
      {true, true, NSMakeRect(0, bar, 300 - bar, 200 - header - bar)},
      {false, false, NSMakeRect(0, 0, 300, 200 - header)},
  };
  for (const auto& s : scrollers) {
    scroll->setHasVerticalScroller(s.vertical);
    scroll->setHasHorizontalScroller(s.horizontal);
    EXPECT_EQ(clipFrame(), s.clip) << s.vertical << s.horizontal;
    EXPECT_EQ(table->frame().size.width, s.clip.size.width);
  }
  // No header, then a header of its own again.
  Ref<NSTableHeaderView> own(table->headerView());
  table->setHeaderView(nullptr);
  EXPECT_EQ(shown(), std::vector<NSView*>{scroll->contentView()});
  EXPECT_EQ(clipFrame(), NSMakeRect(0, 0, 300, 200));
  EXPECT_EQ(own->tableView(), nullptr);
  table->setHeaderView(own.get());
  EXPECT_EQ(own->tableView(), table);
  EXPECT_EQ(shown(), (std::vector<NSView*>{scroll->contentView(), own.get()}));
  // Another document without a header: the table's header goes with the table.
  Ref<NSTableView> keep(table);
  auto plain = Ref<NSView>::adopt(new NSView(NSMakeRect(0, 0, 500, 500)));
  scroll->setDocumentView(plain.get());
  EXPECT_EQ(shown(), std::vector<NSView*>{scroll->contentView()});
  EXPECT_EQ(clipFrame(), NSMakeRect(0, 0, 300, 200));
  EXPECT_EQ(table->superview(), nullptr);
  // A document taken out of its clip view is its document no more.
  plain->removeFromSuperview();
  EXPECT_EQ(scroll->documentView(), nullptr);
  scroll->setDocumentView(table);
  EXPECT_EQ(shown(), (std::vector<NSView*>{scroll->contentView(), own.get()}));
  // A frame that is no number leaves the layout as it was.
  scroll->setFrame(NSMakeRect(0, 0, std::nan(""), 10));
  EXPECT_EQ(clipFrame(), NSMakeRect(0, 0, 300, 200 - header));
}

// Rows inserted and removed, or gone when the data source is asked again, carry the
// selection with them; the delegate hears of it only when selected rows went.
TEST_F(TableViewTest, TheSelectionFollowsItsRowsAsRowsComeAndGo) {
  struct Step {
    const char* what;
    std::function<void()> act;
    const char* selection;
    long selectedRow;
    std::vector<std::string> events;
  } steps[] = {
      {"select 2 and 5",
       [&] {
         table->selectRowIndexes(NSIndexSet::range(2, 1), false);
         table->selectRowIndexes(NSIndexSet(5), true);
       },
       "2,5",
       5,
       {"selection 2", "selection 2,5"}},
      {"two rows in before 3",
       [&] {
         rows->count = 12;
         table->insertRows(3, 2);
       },
       "2,7",
       7,
       {}},
      {"row 0 out",
       [&] {
         rows->count = 11;
         table->removeRows(0, 1);
       },
       "1,6",
       6,
       {}},
      {"the selected row out",
       [&] {
         rows->count = 10;
         table->removeRows(6, 1);
       },
       "1",
       1,
       {"selection 1"}},
      {"rows out of range are ignored",
       [&] {
         table->removeRows(-1, 3);
         table->insertRows(2, 0);
       },
       "1",
       1,
       {}},
      {"select 1-8",
       [&] { table->selectRowIndexes(NSIndexSet::range(1, 8), false); },
       "1-8",
       8,
       {"selection 1-8"}},
      {"the source shrinks to 5",
       [&] {
         rows->count = 5;
         table->reloadData();
         table->numberOfRows();
       },
       "1-4",
       -1,
       {"selection 1-4"}},
      {"and to none",
       [&] {
         rows->count = 0;
         table->reloadData();
         table->numberOfRows();
       },
       "",
       -1,
       {"selection "}},
  };
  for (const Step& step : steps) {
    rows->events.clear();
    step.act();
    EXPECT_EQ(describe(table->selectedRowIndexes()), step.selection) << step.what;
    EXPECT_EQ(table->selectedRow(), step.selectedRow) << step.what;
    EXPECT_EQ(rows->events, step.events) << step.what;
  }
}

// Columns taken out leave the table's arithmetic and its header; spacing and the grid
// lines stay inside what shows, and spacing that is no number is refused.
TEST_F(TableViewTest, ColumnsLeaveCleanlyAndTheGridIsDrawnBetweenCells) {
  Ref<NSTableColumn> a(table->tableColumns()[0]);
  Ref<NSImage> up = Ref<NSImage>::adopt(NSImage::imageNamed("NSAscendingSortIndicator"));
  table->setIndicatorImage(up.get(), a.get());
  table->removeTableColumn(a.get());
  table->removeTableColumn(a.get());  // no longer there: nothing happens
  EXPECT_EQ(table->numberOfColumns(), 1);
  EXPECT_EQ(a->tableView(), nullptr);
  EXPECT_EQ(table->indicatorImageInTableColumn(a.get()), nullptr);
  EXPECT_EQ(table->columnWithIdentifier("a"), -1);
  EXPECT_EQ(table->columnAtPoint({10, 5}), 0);
  h.click(w, headerPoint(0));
  h.runUntilIdle();
  EXPECT_EQ(rows->events, std::vector<std::string>{"column b"});
  table->addTableColumn(a.get());
  EXPECT_EQ(table->columnWithIdentifier("a"), 1);

  table->setIntercellSpacing({4, 2});
  table->setIntercellSpacing({std::nan(""), 1});
  EXPECT_EQ(table->intercellSpacing(), (NSSize{4, 2}));
  const double pitch = table->rowPitch();
  EXPECT_EQ(table->frameOfCellAtColumn(0, 1), NSMakeRect(2, pitch + 1, 80, pitch - 2));
  table->setGridColor({1, 0, 0, 1});
  table->setGridStyleMask(NSTableViewSolidHorizontalGridLineMask |
                          NSTableViewSolidVerticalGridLineMask);
  h.runUntilIdle();
  // The line under row 0 and the one right of column 0, inside the table.
  const NSPoint under = table->convertPointToView({40, pitch - 0.5}, nullptr);
  const NSPoint right = table->convertPointToView({84 - 0.5, pitch * 2.5}, nullptr);
  EXPECT_EQ(testsupport::PlatformHarness::pixelAt(w, under.x, under.y), 0xFFFF0000u);
  EXPECT_EQ(testsupport::PlatformHarness::pixelAt(w, right.x, right.y), 0xFFFF0000u);

  // A narrow view scrolls sideways to a column and back.
  scroll->setFrameSize({100, 200});
  table->scrollColumnToVisible(1);
  EXPECT_EQ(scroll->contentView()->bounds().origin.x, 84);  // its left edge first
  table->scrollColumnToVisible(0);
  EXPECT_EQ(scroll->contentView()->bounds().origin.x, 0);
  table->scrollColumnToVisible(7);  // no such column
  EXPECT_EQ(scroll->contentView()->bounds().origin.x, 0);
}

}  // namespace
