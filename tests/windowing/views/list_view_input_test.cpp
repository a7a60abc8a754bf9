#include <gtest/gtest.h>

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "support/ListViewFixture.h"

using platform::NSEventModifierFlagCommand;
using platform::NSEventModifierFlagControl;
using platform::NSEventModifierFlagShift;
using Notes = std::vector<std::string>;

namespace {

constexpr std::uint16_t kHome = platform::kVK_Home, kEnd = platform::kVK_End,
                        kDown = platform::kVK_DownArrow, kUp = platform::kVK_UpArrow;

class ListViewInputTest : public testsupport::ListViewTest {};

TEST_F(ListViewInputTest, PressesReachTheParentAsTheirNotifications) {
  fillReport(5);
  struct Press {
    const char* what;
    std::function<void()> act;
    Notes expected;
  };
  const Press presses[] = {
      {"click", [&] { h.click(window(), cell(kReport, 1)); }, {"N-101 i1 s0", "N-2 i1 s0"}},
      {"shift click",
       [&] { h.click(window(), cell(kReport, 3, 1), NSEventModifierFlagShift); },
       {"N-101 i3 s0", "N-2 i3 s1"}},
      {"command click takes a row out of the range",
       [&] { h.click(window(), cell(kReport, 2), NSEventModifierFlagCommand); },
       {"N-101 i3 s0", "N-2 i2 s0"}},
      {"right click on an unselected row",
       [&] { h.rightClick(window(), cell(kReport, 4)); },
       {"N-101 i4 s0", "N-5 i4 s0", "menu"}},
      {"double click",
       [&] {
         h.click(window(), cell(kReport, 0, 1));
         h.click(window(), cell(kReport, 0, 1), 0, 2);
       },
       {"N-101 i0 s0", "N-2 i0 s1", "N-3 i0 s1", "N-2 i0 s1"}},
      {"header click", [&] { h.click(window(), header(kReport, 2)); }, {"N-108 i-1 s2"}},
      // The keys of the list with the focus move its selection as a click does.
      {"Down", [&] { h.key(window(), kDown, ""); }, {"N-101 i1 s0"}},
      {"End", [&] { h.key(window(), kEnd, ""); }, {"N-101 i4 s0"}},
      {"Down past the last row", [&] { h.key(window(), kDown, ""); }, {}},
      {"Up", [&] { h.key(window(), kUp, ""); }, {"N-101 i3 s0"}},
      {"Home", [&] { h.key(window(), kHome, ""); }, {"N-101 i0 s0"}},
  };
  for (const Press& press : presses) {
    press.act();
    h.runUntilIdle();
    EXPECT_EQ(take(), press.expected) << press.what;
  }
  EXPECT_EQ(ListView_GetSelectedCount(item(kReport)), 1);
}

TEST_F(ListViewInputTest, ARightClickAnsweredByTheParentOpensNoMenu) {
  fillReport(3);
  rightClickAnswer = 1;
  h.rightClick(window(), cell(kReport, 2));
  h.runUntilIdle();
  EXPECT_EQ(take(), (Notes{"N-101 i2 s0", "N-5 i2 s0"}));
}

TEST_F(ListViewInputTest, AControlClickIsARightClickWhenEmulated) {
  fillReport(3);
  SWELL_EnableRightClickEmulate(1);
  h.click(window(), cell(kReport, 1), NSEventModifierFlagControl);
  h.runUntilIdle();
  SWELL_EnableRightClickEmulate(0);
  EXPECT_EQ(take(), (Notes{"N-101 i1 s0", "N-5 i1 s0", "menu"}));
}

TEST_F(ListViewInputTest, FourDragsBeginADragAndTheRestFollowThePointer) {
  fillReport(4);
  h.mouseDown(window(), cell(kReport, 2));
  platform::NSPoint p = cell(kReport, 2);
  for (int step = 1; step <= 5; ++step) {
    platform::NSEvent e;
    e.type = platform::NSEventTypeLeftMouseDragged;
    e.window = window();
    e.locationInWindow = {p.x + step, p.y};
    h.post(e);
  }
  h.mouseUp(window(), {p.x + 5, p.y});
  h.runUntilIdle();
  EXPECT_EQ(take(), (Notes{"N-101 i2 s0", "N-109 i2 s0", "move", "up"}));
}

TEST_F(ListViewInputTest, AFastClickColumnReportsAtThePressOnly) {
  fillReport(3);
  SWELL_SetListViewFastClickMask(item(kReport), 1 << 1);
  h.click(window(), cell(kReport, 1, 1));
  h.runUntilIdle();
  // A press right of the last column is in no column and has no fast-click bit.
  SWELL_SetListViewFastClickMask(item(kReport), static_cast<int>(1u << 31));
  platform::NSPoint beyond = cell(kReport, 2, 2);
  h.click(window(), {beyond.x + 40, beyond.y});
  h.runUntilIdle();
  EXPECT_EQ(take(), (Notes{"N-2 i1 s1", "N-101 i2 s0", "N-2 i2 s-1"}));
}

TEST_F(ListViewInputTest, ListBoxesReportSelectionAndDoubleClicksAsCommands) {
  for (const char* s : {"one", "two", "three"})
    SendMessage(item(kListBox), LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(s));
  h.runUntilIdle();
  h.click(window(), cell(kListBox, 0));
  h.click(window(), cell(kListBox, 2), NSEventModifierFlagShift);
  h.click(window(), cell(kListBox, 2), 0, 2);
  h.rightClick(window(), cell(kListBox, 1));
  h.runUntilIdle();
  EXPECT_EQ(take(), (Notes{"C1 202", "C1 202", "C1 202", "C2 202", "menu"}));
  EXPECT_EQ(SendMessage(item(kListBox), LB_GETSELCOUNT, 0, 0), 1);
  // The keys move the selection of the list box with the focus, none past either end.
  struct KeyStep {
    std::uint16_t key;
    Notes notes;
    LRESULT selected;
  };
  const KeyStep steps[] = {{kUp, {"C1 202"}, 1},  {kHome, {"C1 202"}, 0}, {kUp, {}, 0},
                           {kEnd, {"C1 202"}, 2}, {kDown, {}, 2},         {kUp, {"C1 202"}, 1},
                           {kDown, {"C1 202"}, 2}};
  for (const KeyStep& step : steps) {
    h.key(window(), step.key, "");
    h.runUntilIdle();
    EXPECT_EQ(take(), step.notes) << step.key;
    EXPECT_EQ(SendMessage(item(kListBox), LB_GETCURSEL, 0, 0), step.selected) << step.key;
  }
}

TEST_F(ListViewInputTest, CustomDrawColoursOneCellAndNotTheNext) {
  fillReport(2);
  Swell_vCorvaneBrisko_listview* lv = list(kReport);
  noteCustomDraw = true;
  customTextColor = 0xFF0000;
  auto* cell0 = static_cast<platform::NSTextFieldCell*>(lv->preparedCellAtColumn(0, 0));
  EXPECT_EQ(cell0->textColor(), (platform::NSColor{1, 0, 0, 1}));
  customTextColor = CLR_NONE;
  auto* cell1 = static_cast<platform::NSTextFieldCell*>(lv->preparedCellAtColumn(0, 1));
  EXPECT_EQ(cell1->textColor(), platform::NSColor::textColor());
  EXPECT_EQ(take(), (Notes{"draw i0 s0", "draw i1 s0"}));
  // A selected row's text colour is the second of the pair for the focus state.
  COLORREF colors[] = {0x000080, 0x00FF00, 0x808080, 0x0000FF};
  ListView_SetSelColors(item(kReport), colors, 4);
  ListView_SetItemState(item(kReport), 1, LVIS_SELECTED, LVIS_SELECTED);
  const std::pair<HWND, platform::NSColor> focus[] = {{item(kReport), {0, 1, 0, 1}},
                                                      {dlg, {0, 0, 1, 1}}};
  for (const auto& [focused, color] : focus) {
    SetFocus(focused);
    cell1 = static_cast<platform::NSTextFieldCell*>(lv->preparedCellAtColumn(0, 1));
    EXPECT_EQ(cell1->textColor(), color);
  }
  ListView_SetSelColors(item(kReport), colors, -1);
  EXPECT_EQ(lv->m_selColors.size(), 4u);
}

}  // namespace
