#include <gtest/gtest.h>

#include <climits>
#include <vector>

#include "platform/core/ProgressIndicator.h"
#include "platform/core/TabView.h"
#include "views_support.h"

using testsupport::Notification;

namespace {

class TabsTest : public testsupport::ViewsTest {
 protected:
  HWND tabs = nullptr;
  void SetUp() override {
    ViewsTest::SetUp();
    tabs = make("SysTabControl32", 100);
  }
  int insert(int index, const char* text) {
    TCITEM item;
    item.mask = TCIF_TEXT;
    item.pszText = const_cast<char*>(text);
    return TabCtrl_InsertItem(tabs, index, &item);
  }
  const Notification kSelChange() const { return {100, TCN_SELCHANGE, tabs}; }
};

TEST_F(TabsTest, MadeOneUnitHigherAndSixTallerAndInsertsWithoutNotifying) {
  ASSERT_NE(tabs, nullptr);
  EXPECT_EQ(viewOf(tabs)->frame().size.height, 106);
  EXPECT_EQ(viewOf(tabs)->frame().origin.y, 9);
  EXPECT_EQ(GetDlgItem(window, 100), tabs);
  // Positions are limited to 0..count; the first tab goes in selected, silently.
  EXPECT_EQ(insert(0, "Audio"), 0);
  EXPECT_EQ(insert(99, "MIDI"), 1);
  EXPECT_EQ(insert(-5, "First"), 0);
  EXPECT_EQ(TabCtrl_GetItemCount(tabs), 3);
  EXPECT_EQ(TabCtrl_GetCurSel(tabs), 1);  // "Audio" moved along
  TCITEM noText;
  EXPECT_EQ(TabCtrl_InsertItem(tabs, 0, &noText), -1);
  noText.mask = TCIF_TEXT;
  EXPECT_EQ(TabCtrl_InsertItem(tabs, 0, &noText), -1);
  EXPECT_EQ(TabCtrl_InsertItem(tabs, 0, nullptr), -1);
  EXPECT_TRUE(notifications.empty());
}

TEST_F(TabsTest, SelectionByProgramAndByClickNotifiesTheParent) {
  insert(0, "One");
  insert(1, "Two");
  insert(2, "Three");
  EXPECT_EQ(TabCtrl_SetCurSel(tabs, 5), 0);  // out of range: no change
  EXPECT_EQ(TabCtrl_SetCurSel(tabs, 2), 0);
  EXPECT_EQ(TabCtrl_SetCurSel(tabs, 2), 2);  // already selected: nothing sent
  EXPECT_EQ(notifications, std::vector<Notification>{kSelChange()});
  log.clear();
  auto* view = swell::objectFromHandleAs<platform::NSTabView>(tabs);
  const platform::NSRect tab = view->rectOfTabAtIndex(1);
  h.click(nsWindow(), inWindow(tabs, {tab.midX(), tab.midY()}));
  h.runUntilIdle();
  EXPECT_EQ(TabCtrl_GetCurSel(tabs), 1);
  EXPECT_TRUE(testsupport::messagesMatch(log.messages(), {{WM_NOTIFY, WPARAM{100}}}, {WM_NOTIFY}));
  EXPECT_EQ(notifications.back(), kSelChange());
  // Deleting the selected tab selects a neighbour, which is a change too.
  EXPECT_TRUE(TabCtrl_DeleteItem(tabs, 1));
  EXPECT_FALSE(TabCtrl_DeleteItem(tabs, 2));
  EXPECT_EQ(TabCtrl_GetItemCount(tabs), 2);
  EXPECT_EQ(notifications.size(), 3u);
}

TEST_F(TabsTest, AdjustRectMapsTheDisplayAreaBothWays) {
  RECT r{0, 0, 200, 100};
  ASSERT_TRUE(TabCtrl_AdjustRect(tabs, FALSE, &r));
  EXPECT_EQ((std::vector<LONG>{r.left, r.top, r.right, r.bottom}),
            (std::vector<LONG>{7, 26, 193, 97}));
  ASSERT_TRUE(TabCtrl_AdjustRect(tabs, TRUE, &r));
  EXPECT_EQ((std::vector<LONG>{r.left, r.top, r.right, r.bottom}),
            (std::vector<LONG>{0, 0, 200, 100}));
  EXPECT_FALSE(TabCtrl_AdjustRect(tabs, FALSE, nullptr));
}

TEST_F(TabsTest, ForeignHandlesGetTheFailureValues) {
  for (HWND other : {static_cast<HWND>(nullptr), window}) {
    RECT r{0, 0, 10, 10};
    TCITEM item;
    item.mask = TCIF_TEXT;
    item.pszText = const_cast<char*>("x");
    EXPECT_EQ(TabCtrl_GetItemCount(other), 0);
    EXPECT_EQ(TabCtrl_InsertItem(other, 0, &item), -1);
    EXPECT_FALSE(TabCtrl_DeleteItem(other, 0));
    EXPECT_EQ(TabCtrl_SetCurSel(other, 0), -1);
    EXPECT_EQ(TabCtrl_GetCurSel(other), 0);
    EXPECT_FALSE(TabCtrl_AdjustRect(other, FALSE, &r));
    EXPECT_EQ(r.right, 10);
  }
  EXPECT_TRUE(h.logged("is not a tab control"));
}

TEST_F(TabsTest, ProgressMessagesMoveTheBarBothWays) {
  HWND bar = make("msctls_progress32", 101, 0, 10, 120, 200, 12);
  ASSERT_NE(bar, nullptr);
  auto* indicator = swell::objectFromHandleAs<platform::NSProgressIndicator>(bar);
  EXPECT_FALSE(indicator->isIndeterminate());
  struct Step {
    UINT msg;
    WPARAM wParam;
    LPARAM lParam;
    double min, max, value;
  };
  const Step steps[] = {
      {PBM_SETRANGE, 0, LPARAM{100} << 16, 0, 100, 0},
      {PBM_SETPOS, 40, 0, 0, 100, 40},
      {PBM_DELTAPOS, 5, 0, 0, 100, 45},
      // A step back is a negative 32-bit number, not a jump towards 4294967295.
      {PBM_DELTAPOS, static_cast<WPARAM>(static_cast<std::uint32_t>(-1)), 0, 0, 100, 44},
      {PBM_SETPOS, static_cast<WPARAM>(static_cast<std::uint32_t>(-3)), 0, 0, 100, -3},
      {PBM_SETRANGE, 0, (LPARAM{0xFFFF} << 16) | 10, 10, 65535, -3},
      {WM_DESTROY, 7, 7, 10, 65535, -3},
      {PBM_SETRANGE + 10, 7, 7, 10, 65535, -3},
  };
  for (const Step& s : steps) {
    SCOPED_TRACE(s.msg);
    EXPECT_EQ(SendMessage(bar, s.msg, s.wParam, s.lParam), 0);
    EXPECT_EQ(indicator->minValue(), s.min);
    EXPECT_EQ(indicator->maxValue(), s.max);
    EXPECT_EQ(indicator->doubleValue(), s.value);
  }
  EXPECT_EQ(indicator->fraction(), 0);  // below the range shows empty
  SendMessage(bar, PBM_SETRANGE, 0, LPARAM{100} << 16);
  SendMessage(bar, PBM_SETPOS, 40, 0);
  EXPECT_DOUBLE_EQ(indicator->fraction(), 0.4);
}

}  // namespace
