#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <vector>

#include "platform/core/ProgressIndicator.h"
#include "platform/core/TabView.h"
#include "platform/core/Window.h"
#include "support/PlatformHarness.h"

using namespace platform;

namespace {

// A tab view that records the delegate's calls by tab index.
class RecordingTabView : public NSTabView, public NSTabViewDelegate {
 public:
  using NSTabView::NSTabView;
  void tabViewDidSelectTabViewItem(NSTabView*, NSTabViewItem* item) override {
    selected.push_back(indexOfTabViewItem(item));
  }
  std::vector<int> selected;
};

class TabViewTest : public ::testing::Test {
 protected:
  testsupport::PlatformHarness h;
  NSWindow* w = nullptr;
  RecordingTabView* tabs = nullptr;

  void SetUp() override {
    w = new NSWindow(NSMakeRect(100, 100, 300, 200), NSWindowStyleMaskTitled);
    auto content = Ref<NSView>::adopt(new NSView);
    w->setContentView(content.get());
    tabs = new RecordingTabView(NSMakeRect(10, 10, 280, 180));
    tabs->setDelegate(tabs);
    content->addSubview(tabs);
    tabs->release();
    w->makeKeyAndOrderFront();
  }
  void TearDown() override { w->close(); }
  NSTabViewItem* add(const char* label) {
    auto item = Ref<NSTabViewItem>::adopt(new NSTabViewItem(label));
    tabs->addTabViewItem(item.get());
    return item.get();
  }
};

TEST_F(TabViewTest, SelectionFollowsInsertsRemovalsAndClicks) {
  NSTabViewItem* first = add("First");
  NSTabViewItem* second = add("Second tab");
  add("Third");
  EXPECT_EQ(tabs->selected, std::vector<int>{0});  // only the first insert selects
  // A tab is as wide as its label with padding, left to right without overlap.
  const NSRect a = tabs->rectOfTabAtIndex(0), b = tabs->rectOfTabAtIndex(1);
  EXPECT_GT(b.minX(), a.maxX());
  EXPECT_GT(b.size.width, a.size.width);
  EXPECT_EQ(tabs->tabIndexAtPoint({b.midX(), b.midY()}), 1);
  EXPECT_EQ(tabs->tabIndexAtPoint({b.midX(), NSTabView::kTabHeight + 5}), -1);
  h.click(w, tabs->convertPointToView({b.midX(), b.midY()}, nullptr));
  h.runUntilIdle();
  EXPECT_EQ(tabs->selectedTabViewItem(), second);
  // Removing the selected tab selects the one that takes its place; the last goes quietly.
  tabs->selected.clear();
  tabs->removeTabViewItem(second);
  tabs->removeTabViewItem(first);
  EXPECT_EQ(tabs->selected, std::vector<int>{1});
  tabs->removeTabViewItem(tabs->tabViewItemAtIndex(0));
  EXPECT_EQ(tabs->indexOfSelectedTabViewItem(), -1);
  EXPECT_EQ(tabs->selectedTabViewItem(), nullptr);
  // An item already in a tab view is not inserted twice.
  NSTabViewItem* again = add("Again");
  tabs->insertTabViewItem(again, 0);
  EXPECT_EQ(tabs->numberOfTabViewItems(), 1);
}

TEST(ProgressIndicatorTest, FractionStaysWithinTheBarAndNonNumbersAreRefused) {
  testsupport::PlatformHarness h;
  auto bar = Ref<NSProgressIndicator>::adopt(new NSProgressIndicator);
  EXPECT_EQ(bar->fraction(), 0);  // indeterminate at first
  bar->setIndeterminate(false);
  struct Row {
    double min, max, value, fraction;
  };
  const double most = std::numeric_limits<double>::max();
  for (const Row& r :
       {Row{0, 100, 40, 0.4}, Row{0, 100, 140, 1}, Row{10, 10, 10, 0}, Row{50, 0, 20, 0},
        Row{-10, 10, 0, 0.5}, Row{-most, most, 0, 0.5}, Row{-most, most, most, 1}}) {
    bar->setMinValue(r.min);
    bar->setMaxValue(r.max);
    bar->setDoubleValue(r.value);
    EXPECT_DOUBLE_EQ(bar->fraction(), r.fraction) << r.min << " " << r.max << " " << r.value;
  }
  bar->setMinValue(-10);
  bar->setMaxValue(10);
  bar->setDoubleValue(0);
  bar->setDoubleValue(std::numeric_limits<double>::quiet_NaN());
  bar->setMaxValue(std::numeric_limits<double>::infinity());
  EXPECT_EQ(bar->doubleValue(), 0);
  EXPECT_EQ(bar->maxValue(), 10);
  EXPECT_TRUE(h.logged("refused"));
}

}  // namespace
