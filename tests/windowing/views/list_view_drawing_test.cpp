#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <set>
#include <string>
#include <vector>

#include "platform/core/ScrollView.h"
#include "support/ListViewFixture.h"

using testsupport::PlatformHarness;
using Notes = std::vector<std::string>;

namespace {

constexpr std::uint32_t kRed = 0xFFFF0000;
constexpr std::uint32_t kWhite = 0xFFFFFFFF;

class ListViewDrawingTest : public testsupport::ListViewTest {
 protected:
  // A point of a row's first logical column, `dx` from the cell's left edge, in list
  // coordinates.
  platform::NSPoint cellLeft(int row, double dx) const {
    Swell_vCorvaneBrisko_listview* lv = list(kReport);
    platform::NSRect r = lv->frameOfCellAtColumn(lv->getColumnPos(0), row);
    return {r.minX() + dx, r.midY()};
  }
  std::uint32_t pixel(platform::NSPoint inList) const {
    platform::NSPoint p = list(kReport)->convertPointToView(inList, nullptr);
    return PlatformHarness::pixelAt(window(), p.x, p.y);
  }
  // The cells drawn since the last look, as the parent's custom-draw notes name them.
  Notes drawn() {
    Notes out;
    for (const std::string& note : take())
      if (note.starts_with("draw")) out.push_back(note);
    return out;
  }
};

TEST_F(ListViewDrawingTest, StatusImagesDrawOnlyEntriesThatExist) {
  fillReport(4);
  HWND lv = item(kReport);
  std::vector<std::uint32_t> pixels(16 * 16, kRed);
  HBITMAP red = CreateBitmap(16, 16, 1, 32, pixels.data());
  HIMAGELIST images = ImageList_CreateEx();
  ASSERT_EQ(ImageList_Add(images, red, nullptr), 1);
  ASSERT_EQ(ImageList_Add(images, red, nullptr), 2);
  DeleteObject(red);
  ImageList_Remove(images, 1);
  ListView_SetImageList(lv, images, LVSIL_STATE);
  // Image numbers count from 1: the red entry, the removed one, one past the end, none.
  const int numbers[] = {1, 2, 9, 0};
  for (int row = 0; row < 4; ++row)
    ListView_SetItemState(lv, row, static_cast<UINT>(numbers[row]) << 16, LVIS_STATEIMAGEMASK);
  h.runUntilIdle();
  for (int row = 0; row < 4; ++row) {
    EXPECT_EQ(pixel(cellLeft(row, 8)), row == 0 ? kRed : kWhite) << "row " << row;
    EXPECT_EQ(ListView_GetItemState(lv, row, LVIS_STATEIMAGEMASK), static_cast<UINT>(numbers[row])
                                                                       << 16);
  }
  // A press on the image slot (as wide as a row is high) is on the state icon.
  const double rowHeight = list(kReport)->rowHeight();
  for (auto [dx, flags] :
       {std::pair{4.0, LVHT_ONITEMSTATEICON}, std::pair{rowHeight + 4, LVHT_ONITEMLABEL}}) {
    platform::NSPoint p = cellLeft(0, dx);
    LVHITTESTINFO info;
    info.pt = {static_cast<LONG>(p.x), static_cast<LONG>(p.y)};
    EXPECT_EQ(ListView_HitTest(lv, &info), 0);
    EXPECT_EQ(info.flags, flags) << dx;
  }
  ListView_SetImageList(lv, nullptr, LVSIL_STATE);
  ImageList_Destroy(images);
}

TEST_F(ListViewDrawingTest, RedrawOffDrawsNothingUntilOneRedrawWhenOn) {
  fillReport(3);
  HWND lv = item(kReport);
  noteCustomDraw = true;
  h.runUntilIdle();
  take();
  // Off twice, then on once: a switch, not a count.
  SendMessage(lv, WM_SETREDRAW, 0, 0);
  SendMessage(lv, WM_SETREDRAW, 0, 0);
  ListView_SetItemText(lv, 0, 1, "changed");
  LVITEM row;
  row.mask = LVIF_TEXT;
  row.iItem = 3;
  row.pszText = const_cast<char*>("r3");
  ListView_InsertItem(lv, &row);
  ListView_SetItemState(lv, 1, LVIS_SELECTED, LVIS_SELECTED);
  h.runUntilIdle();
  EXPECT_EQ(drawn(), Notes{});
  SendMessage(lv, WM_SETREDRAW, 1, 0);
  h.runUntilIdle();
  // Every cell of the four rows, each once.
  Notes cells = drawn();
  EXPECT_EQ(cells.size(), 12u);
  EXPECT_EQ(std::set<std::string>(cells.begin(), cells.end()).size(), 12u);
  ListView_SetItemText(lv, 0, 1, "again");
  h.runUntilIdle();
  EXPECT_FALSE(drawn().empty());
}

TEST_F(ListViewDrawingTest, TheWheelScrollsByRowsAndStopsAtBothEnds) {
  fillReport(30);
  Swell_vCorvaneBrisko_listview* lv = list(kReport);
  auto top = [&] { return lv->visibleRect().minY(); };
  const double pitch = lv->rowPitch();
  const double bottom = 30 * pitch - lv->visibleRect().size.height;
  ASSERT_GT(bottom, 3 * pitch);
  // A step down (a negative delta) shows later rows; no number is no step.
  struct Step {
    double dy;
    double top;
  };
  const Step steps[] = {{-2, 2 * pitch},
                        {-1, 3 * pitch},
                        {5, 0},
                        {-100, bottom},
                        {-1, bottom},
                        {1, bottom - pitch},
                        {std::nan(""), bottom - pitch}};
  for (const Step& step : steps) {
    const platform::NSRect shown = lv->visibleRect();
    h.scroll(window(), lv->convertPointToView({shown.midX(), shown.midY()}, nullptr), 0, step.dy);
    h.runUntilIdle();
    EXPECT_EQ(top(), step.top) << "after " << step.dy;
  }
  EXPECT_EQ(ListView_GetTopIndex(item(kReport)), static_cast<int>((bottom - pitch) / pitch));
}

}  // namespace
