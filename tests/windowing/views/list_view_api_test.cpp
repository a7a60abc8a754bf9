#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

#include "framework/FailingRealloc.h"
#include "platform/core/ScrollView.h"
#include "platform/drawing/GraphicsContext.h"
#include "support/ListViewFixture.h"

using Notes = std::vector<std::string>;

namespace {

class ListViewApiTest : public testsupport::ListViewTest {
 protected:
  std::string text(int row, int column, int capacity = 64) {
    std::vector<char> buffer(static_cast<std::size_t>(std::max(capacity, 1)), '?');
    ListView_GetItemText(item(kReport), row, column, buffer.data(), capacity);
    return capacity > 0 ? std::string(buffer.data()) : std::string();
  }
  // The owner-data list with one column 100 points wide.
  HWND ownerDataWithAColumn() {
    HWND lv = item(kOwnerData);
    LVCOLUMN column;
    column.mask = LVCF_WIDTH;
    column.cx = 100;
    ListView_InsertColumn(lv, 0, &column);
    return lv;
  }
  std::string selected(int id) {
    std::string out;
    for (int i = ListView_GetNextItem(item(id), -1, LVNI_SELECTED); i >= 0;
         i = ListView_GetNextItem(item(id), i, LVNI_SELECTED))
      out += std::to_string(i);
    return out;
  }
};

int byParamDescendingTens(LPARAM a, LPARAM b, LPARAM) {
  return static_cast<int>(b / 10 - a / 10);
}

TEST_F(ListViewApiTest, RowsKeepTheirSelectionThroughInsertsDeletesAndSorts) {
  fillReport(4);
  HWND lv = item(kReport);
  ListView_SetItemState(lv, 2, LVIS_SELECTED, LVIS_SELECTED);
  LVITEM front;
  front.mask = LVIF_TEXT | LVIF_PARAM;
  front.pszText = const_cast<char*>("new");
  front.lParam = 91;
  EXPECT_EQ(ListView_InsertItem(lv, &front), 0);
  EXPECT_EQ(selected(kReport), "3");
  // No item, or a sub-item, is no row.
  EXPECT_EQ(ListView_InsertItem(lv, nullptr), -1);
  front.iSubItem = 1;
  EXPECT_EQ(ListView_InsertItem(lv, &front), -1);
  EXPECT_TRUE(ListView_DeleteItem(lv, 1));
  EXPECT_EQ(selected(kReport), "2");
  EXPECT_FALSE(ListView_DeleteItem(lv, 9));
  // Item data now 91, 101, 102, 103: sorting by tens descending keeps equals in order.
  ListView_SortItems(lv, byParamDescendingTens, 0);
  EXPECT_EQ(text(0, 0), "r1");
  EXPECT_EQ(text(1, 0), "r2");
  EXPECT_EQ(text(3, 0), "new");
  EXPECT_EQ(selected(kReport), "1");
  ListView_SortItems(lv, nullptr, 0);
  EXPECT_TRUE(h.logged("no comparison"));
  EXPECT_EQ(ListView_GetItemCount(lv), 4);
}

TEST_F(ListViewApiTest, SelectingAllNotifiesEachChangedRowOnce) {
  fillReport(3);
  HWND lv = item(kReport);
  ListView_SetItemState(lv, 1, LVIS_SELECTED, LVIS_SELECTED);
  take();
  ListView_SetItemState(lv, -1, LVIS_SELECTED, LVIS_SELECTED);
  EXPECT_EQ(take(), (Notes{"N-101 i0 s0", "N-101 i2 s0"}));
  ListView_SetItemState(lv, -1, 0, LVIS_SELECTED);
  EXPECT_EQ(take().size(), 3u);
  // A single-selection list box selects nothing for "all" and says nothing.
  for (const char* s : {"x", "y"})
    SendMessage(item(kSingleBox), LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(s));
  ListView_SetItemState(item(kSingleBox), -1, LVIS_SELECTED, LVIS_SELECTED);
  EXPECT_EQ(take(), Notes{});
  EXPECT_EQ(SendMessage(item(kSingleBox), LB_GETSELCOUNT, 0, 0), 0);
}

TEST_F(ListViewApiTest, AHandlerSelectingInAnotherListStillHearsThatOne) {
  fillReport(3);
  for (const char* s : {"x", "y"})
    SendMessage(item(kListBox), LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(s));
  bool once = false;
  log.answer([&](HWND, UINT msg, WPARAM, LPARAM l) -> std::optional<LRESULT> {
    if (msg != WM_NOTIFY) return std::nullopt;
    auto* nm = reinterpret_cast<NMLISTVIEW*>(l);
    if (nm->hdr.code != LVN_ITEMCHANGED) return 0;
    notes.push_back(std::to_string(nm->hdr.idFrom) + " i" + std::to_string(nm->iItem));
    if (!once) {
      once = true;
      ListView_SetItemState(item(kListBox), 1, LVIS_SELECTED, LVIS_SELECTED);
      // Selecting again in the list being reported is not reported again.
      ListView_SetItemState(item(kReport), 0, LVIS_SELECTED, LVIS_SELECTED);
    }
    return 0;
  });
  ListView_SetItemState(item(kReport), 2, LVIS_SELECTED, LVIS_SELECTED);
  EXPECT_EQ(take(), (Notes{"201 i2", "202 i1"}));
}

TEST_F(ListViewApiTest, TextsAreCopiedWholeAndColumnsKeepTheirOwn) {
  fillReport(2);
  HWND lv = item(kReport);
  ListView_SetItemText(lv, 0, 2, "\xC3\xA9t\xC3\xA9");  // "été"
  EXPECT_EQ(text(0, 1), "b0");
  EXPECT_EQ(text(0, 2), "\xC3\xA9t\xC3\xA9");
  EXPECT_EQ(text(0, 2, 4), "\xC3\xA9t");  // cut before a partial character
  EXPECT_EQ(text(0, 2, 2), "");
  EXPECT_EQ(text(0, 2, 1), "");
  EXPECT_EQ(text(1, 2), "");
  LVITEM none;
  none.mask = LVIF_TEXT;
  none.pszText = nullptr;
  none.cchTextMax = 5;
  EXPECT_TRUE(ListView_GetItem(lv, &none));
  ListView_SetItemText(lv, 0, 3, "beyond");  // no such column
  EXPECT_EQ(text(0, 3), "");
  EXPECT_TRUE(ListView_DeleteColumn(lv, 1));
  EXPECT_EQ(text(0, 1), "\xC3\xA9t\xC3\xA9");
  EXPECT_EQ(Header_GetItemCount(lv), 2);
  LVCOLUMN column;
  EXPECT_EQ(ListView_InsertColumn(lv, 1, &column), 1);
  EXPECT_EQ(text(0, 1), "");
  EXPECT_EQ(text(0, 2), "\xC3\xA9t\xC3\xA9");
}

int byParamDescending(LPARAM a, LPARAM b, LPARAM) {
  return static_cast<int>(b - a);
}

// The list keeps every row's texts in one store: texts replaced over and over keep its
// memory bounded, and its compaction keeps each row's texts through sorts, deletes and a
// column inserted in the middle.
TEST_F(ListViewApiTest, TextsSurviveSortsDeletesAndReplacementsInBoundedMemory) {
  constexpr int kRows = 30;
  fillReport(kRows);
  HWND lv = item(kReport);
  std::vector<std::vector<std::string>> expected;
  for (int i = 0; i < kRows; ++i) {
    ListView_SetItemText(lv, i, 2, ("c" + std::to_string(i)).c_str());
    expected.push_back({"r" + std::to_string(i), "b" + std::to_string(i), "c" + std::to_string(i)});
  }
  ListView_SortItems(lv, byParamDescending, 0);
  std::reverse(expected.begin(), expected.end());
  for (int row = kRows - 1; row >= 0; row -= 3) {
    ASSERT_TRUE(ListView_DeleteItem(lv, row));
    expected.erase(expected.begin() + row);
  }
  const std::string longText(200, 'x');
  for (int n = 0; n < 2000; ++n)
    ListView_SetItemText(lv, n % 2, 1 + n % 2, (longText + std::to_string(n)).c_str());
  expected[0][1] = longText + "1998";
  expected[1][2] = longText + "1999";
  EXPECT_LT(list(kReport)->m_items.storedBytes(), 64u * 1024);
  LVCOLUMN middle;
  ASSERT_EQ(ListView_InsertColumn(lv, 1, &middle), 1);
  for (std::vector<std::string>& texts : expected)
    texts.insert(texts.begin() + 1, "");
  // A row added after the column takes room of its own, next to the rows' moved texts.
  LVITEM last;
  last.mask = LVIF_TEXT;
  last.iItem = kRows;
  last.pszText = const_cast<char*>("last");
  ASSERT_EQ(ListView_InsertItem(lv, &last), static_cast<int>(expected.size()));
  ListView_SetItemText(lv, static_cast<int>(expected.size()), 3, "z");
  expected.push_back({"last", "", "", "z"});
  ASSERT_EQ(ListView_GetItemCount(lv), static_cast<int>(expected.size()));
  for (int row = 0; row < static_cast<int>(expected.size()); ++row)
    for (int column = 0; column < 4; ++column)
      EXPECT_EQ(text(row, column, 256),
                expected[static_cast<std::size_t>(row)][static_cast<std::size_t>(column)])
          << row << "," << column;
}

// A row or text the list cannot have memory for is refused whole: no row half made, no
// text lost.
TEST_F(ListViewApiTest, WithoutMemoryARowOrTextIsRefusedAndNothingIsLost) {
  fillReport(2);
  HWND lv = item(kReport);
  const std::string big(8192, 'y');
  {
    FailingRealloc failing(4096);
    LVITEM row;
    row.mask = LVIF_TEXT;
    row.iItem = 1;
    row.pszText = const_cast<char*>(big.c_str());
    EXPECT_EQ(ListView_InsertItem(lv, &row), -1);
    ListView_SetItemText(lv, 0, 1, big.c_str());
    EXPECT_EQ(SendMessage(item(kListBox), LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(big.c_str())),
              LB_ERRSPACE);
  }
  EXPECT_TRUE(h.logged("no memory"));
  EXPECT_EQ(ListView_GetItemCount(lv), 2);
  EXPECT_EQ(SendMessage(item(kListBox), LB_GETCOUNT, 0, 0), 0);
  EXPECT_EQ(text(0, 0), "r0");
  EXPECT_EQ(text(0, 1), "b0");
  EXPECT_EQ(text(1, 0), "r1");
  EXPECT_EQ(text(1, 1), "b1");
}

TEST_F(ListViewApiTest, ColumnsOrderWidthsAndSortIndicators) {
  fillReport(1);
  HWND lv = item(kReport);
  const int order[] = {2, 0, 1};
  EXPECT_TRUE(ListView_SetColumnOrderArray(lv, 3, order));
  int back[3] = {};
  EXPECT_TRUE(ListView_GetColumnOrderArray(lv, 3, back));
  EXPECT_EQ(std::vector<int>(back, back + 3), std::vector<int>(order, order + 3));
  const int repeated[] = {0, 0, 1};
  EXPECT_FALSE(ListView_SetColumnOrderArray(lv, 3, repeated));
  int untouched[2] = {7, 7};
  EXPECT_FALSE(ListView_GetColumnOrderArray(lv, 2, untouched));
  EXPECT_EQ(untouched[0], 7);
  ListView_SetColumnWidth(lv, 1, 0);
  EXPECT_EQ(ListView_GetColumnWidth(lv, 1), 0);
  ListView_SetColumnWidth(lv, 1, 45);
  EXPECT_EQ(ListView_GetColumnWidth(lv, 1), 45);
  HDITEM hd;
  hd.mask = HDI_FORMAT;
  hd.fmt = HDF_SORTDOWN;
  EXPECT_TRUE(Header_SetItem(lv, 2, &hd));
  hd.fmt = 0;
  EXPECT_TRUE(Header_GetItem(lv, 2, &hd));
  EXPECT_EQ(hd.fmt, HDF_SORTDOWN);
  EXPECT_EQ(SWELL_GetListViewHeaderHeight(lv), 23);
  EXPECT_EQ(SWELL_GetListViewHeaderHeight(item(kListBox)), 0);
  // A negative index inserts at the front.
  LVCOLUMN first;
  first.pszText = const_cast<char*>("first");
  EXPECT_EQ(ListView_InsertColumn(lv, -3, &first), 0);
  EXPECT_EQ(list(kReport)->logicalColumn(0)->headerCell()->stringValue(), "first");
}

TEST_F(ListViewApiTest, HitTestsAndRectanglesFollowTheRowPitch) {
  fillReport(3);
  HWND lv = item(kReport);
  RECT r;
  EXPECT_TRUE(ListView_GetItemRect(lv, 1, &r, 0));
  // A row of 17 points and 2 of spacing, widened by the spacing once more.
  EXPECT_EQ(r.top, 19);
  EXPECT_EQ(r.bottom, 40);
  EXPECT_FALSE(ListView_GetItemRect(lv, 3, &r, 0));
  EXPECT_FALSE(ListView_GetSubItemRect(lv, 0, 3, 0, &r));
  EXPECT_FALSE(ListView_GetItemRect(lv, 0, nullptr, 0));
  struct Probe {
    POINT pt;
    UINT flags;
    int item;
  };
  const Probe probes[] = {
      {{-5, 10}, LVHT_TOLEFT, -1},
      {{10, 28}, LVHT_ONITEMLABEL, 1},
      {{10, 80}, LVHT_NOWHERE, -1},
      {{10, -1}, LVHT_ABOVE, -1},
  };
  for (const Probe& probe : probes) {
    LVHITTESTINFO info;
    info.pt = probe.pt;
    EXPECT_EQ(ListView_HitTest(lv, &info), probe.item) << probe.pt.x << "," << probe.pt.y;
    EXPECT_EQ(info.flags, probe.flags) << probe.pt.x << "," << probe.pt.y;
  }
  EXPECT_EQ(ListView_HitTest(lv, nullptr), -1);
  LVHITTESTINFO sub;
  sub.pt = {70, 28};
  EXPECT_EQ(ListView_SubItemHitTest(lv, &sub), 1);
  EXPECT_EQ(sub.iSubItem, 1);
  EXPECT_GT(ListView_GetCountPerPage(lv), 0);
  EXPECT_EQ(ListView_GetTopIndex(lv), 0);
  EXPECT_TRUE(ListView_Scroll(lv, 0, 40));
  POINT origin{5, 5};
  EXPECT_TRUE(SWELL_ListView_GetScrollOrigin(lv, &origin));
  EXPECT_EQ(origin.x, 0);
  EXPECT_EQ(origin.y, 0);
  EXPECT_FALSE(SWELL_ListView_GetScrollOrigin(dlg, &origin));
}

// The rows that fit come from the visible height alone, so a report list tells them before
// it has a column, and the same after.
TEST_F(ListViewApiTest, TheRowsPerPageNeedNoColumns) {
  HWND lv = item(kReport);
  const platform::NSRect shown = list(kReport)->enclosingScrollView()->contentView()->bounds();
  const int fit = static_cast<int>(shown.size.height / std::trunc(list(kReport)->rowHeight()));
  ASSERT_GT(fit, 0);
  EXPECT_EQ(ListView_GetCountPerPage(lv), fit);
  fillReport(0);
  EXPECT_EQ(ListView_GetCountPerPage(lv), fit);
}

TEST_F(ListViewApiTest, ListBoxMessagesFindSortAndCopy) {
  HWND box = item(kSingleBox);
  auto add = [&](UINT msg, WPARAM at, const char* s) {
    return SendMessage(box, msg, at, reinterpret_cast<LPARAM>(s));
  };
  EXPECT_EQ(add(LB_ADDSTRING, 0, "b"), 0);
  EXPECT_EQ(add(LB_INSERTSTRING, static_cast<WPARAM>(-1), "d"), 1);
  EXPECT_EQ(add(LB_INSERTSTRING, 0, "a"), 0);
  EXPECT_EQ(add(LB_FINDSTRINGEXACT, 2, "D"), 2);
  EXPECT_EQ(add(LB_FINDSTRINGEXACT, 0, "A"), 0);
  EXPECT_EQ(add(LB_FINDSTRINGEXACT, 0, nullptr), LB_ERR);
  EXPECT_EQ(SendMessage(box, LB_GETTEXT, 1, 0), LB_ERR);
  char buffer[8] = "zzz";
  EXPECT_EQ(SendMessage(box, LB_GETTEXT, 9, reinterpret_cast<LPARAM>(buffer)), LB_ERR);
  EXPECT_STREQ(buffer, "");
  EXPECT_EQ(SendMessage(box, LB_GETTEXT, 1, reinterpret_cast<LPARAM>(buffer)), 1);
  EXPECT_STREQ(buffer, "b");
  EXPECT_EQ(SendMessage(box, LB_GETTEXTLEN, 7, 0), LB_ERR);
  SendMessage(box, LB_SETITEMDATA, 1, 55);
  EXPECT_EQ(SendMessage(box, LB_GETITEMDATA, 1, 0), 55);
  SendMessage(box, LB_SETCURSEL, 2, 0);
  EXPECT_EQ(SendMessage(box, LB_GETCURSEL, 0, 0), 2);
  EXPECT_EQ(take(), Notes{});
  SendMessage(box, LB_DELETESTRING, 0, 0);
  EXPECT_EQ(SendMessage(box, LB_GETCURSEL, 0, 0), 1);
  SendMessage(box, LB_RESETCONTENT, 0, 0);
  EXPECT_EQ(SendMessage(box, LB_GETCOUNT, 0, 0), 0);
  // A sorted list box puts an equal text before the one the search meets.
  SWELL_MakeSetCurParms(dlg, false, false, 1, 1, 0, 0);
  HWND sorted = SWELL_MakeListBox(205, 0, 0, 50, 50, LBS_SORT);
  for (const char* s : {"a", "m", "z"})
    SendMessage(sorted, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(s));
  EXPECT_EQ(SendMessage(sorted, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>("m")), 1);
  char cls[32] = {};
  GetClassName(sorted, cls, sizeof cls);
  EXPECT_STREQ(cls, "SysListView32_LB");
}

TEST_F(ListViewApiTest, OwnerDataIsAskedOnlyForShownRowsAndEndsInItsBuffer) {
  HWND lv = ownerDataWithAColumn();
  ListView_SetItemCount(lv, 100000);
  ownerDataRowsAsked.clear();
  h.runUntilIdle();
  ASSERT_FALSE(ownerDataRowsAsked.empty());
  EXPECT_LT(*std::max_element(ownerDataRowsAsked.begin(), ownerDataRowsAsked.end()), 10);
  char buffer[8];
  ListView_GetItemText(lv, 5, 0, buffer, sizeof buffer);
  EXPECT_STREQ(buffer, "xxxxxxx");
  std::string shown =
      list(kOwnerData)->tableViewObjectValue(nullptr, list(kOwnerData)->logicalColumn(0), 3);
  EXPECT_EQ(shown.size(), 1023u);
  LVITEM row;
  row.mask = LVIF_TEXT;
  EXPECT_EQ(ListView_InsertItem(lv, &row), -1);
  EXPECT_EQ(ListView_GetItemCount(lv), 100000);
}

}  // namespace

namespace {

// While redraw is off nothing of an owner-data list is drawn, whatever invalidates its
// window, so its parent is asked for no text and no custom drawing; turning redraw on draws
// it once.
TEST_F(ListViewApiTest, RedrawOffDrawsAndAsksNothingUntilItIsOnAgain) {
  HWND lv = ownerDataWithAColumn();
  noteCustomDraw = true;
  SendMessage(lv, WM_SETREDRAW, FALSE, 0);
  ListView_SetItemCount(lv, 20);
  ownerDataRowsAsked.clear();
  take();
  InvalidateRect(dlg, nullptr, TRUE);
  h.runUntilIdle();
  EXPECT_TRUE(
      testsupport::PlatformHarness::renderPNG(window(), ::testing::TempDir() + "redraw-off.png"));
  EXPECT_TRUE(ownerDataRowsAsked.empty());
  EXPECT_TRUE(take().empty());

  SendMessage(lv, WM_SETREDRAW, TRUE, 0);
  h.runUntilIdle();
  ASSERT_FALSE(ownerDataRowsAsked.empty());
  std::vector<int> rows = ownerDataRowsAsked;
  std::sort(rows.begin(), rows.end());
  EXPECT_EQ(std::adjacent_find(rows.begin(), rows.end()), rows.end()) << "each row drawn once";
  EXPECT_FALSE(take().empty());
}

TEST_F(ListViewApiTest, OwnerDrawnRowsAskTheParentWithARoundedRectangle) {
  SWELL_MakeSetCurParms(dlg, false, false, 1, 1, 0, 0);
  HWND box = SWELL_MakeListBox(206, 0, 0, 80, 60, LBS_OWNERDRAWFIXED);
  SendMessage(box, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>("drawn"));
  SendMessage(box, LB_SETITEMDATA, 0, 77);
  RECT drawn{};
  LPARAM data = 0;
  log.answer([&](HWND, UINT msg, WPARAM, LPARAM l) -> std::optional<LRESULT> {
    if (msg != WM_DRAWITEM) return std::nullopt;
    auto* dis = reinterpret_cast<DRAWITEMSTRUCT*>(l);
    drawn = dis->rcItem;
    data = static_cast<LPARAM>(dis->itemData);
    return 1;
  });
  platform::NSCell* cell = list(206)->logicalColumn(0)->dataCell();
  list(206)->tableViewObjectValue(list(206), list(206)->logicalColumn(0), 0);
  platform::CGContext* context = platform::CGContext::createBitmap(100, 100);
  {
    platform::NSGraphicsContext::Scope scope(context);
    cell->drawWithFrame(platform::NSMakeRect(10.4, 20.6, 30.2, 15.5), list(206));
  }
  delete context;
  EXPECT_EQ(drawn.left, 10);
  EXPECT_EQ(drawn.top, 21);
  EXPECT_EQ(drawn.right, 41);
  EXPECT_EQ(drawn.bottom, 36);
  EXPECT_EQ(data, 77);
}

}  // namespace
