#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "platform/ComboBox.h"
#include "platform/PopUpButton.h"
#include "platform/Slider.h"
#include "platform/Window.h"
#include "support/ControlRecorders.h"
#include "support/PlatformHarness.h"

using namespace platform;
using testsupport::ControlRecorder;

namespace {

using Events = std::vector<std::string>;

class ListControlsTest : public ::testing::Test {
 protected:
  testsupport::PlatformHarness h;
  Ref<ControlRecorder> rec = Ref<ControlRecorder>::adopt(new ControlRecorder);
  NSWindow* w = nullptr;
  NSView* content = nullptr;

  void SetUp() override {
    w = new NSWindow(NSMakeRect(100, 100, 400, 300), NSWindowStyleMaskTitled);
    Ref<NSView> view = Ref<NSView>::adopt(new NSView);
    w->setContentView(view.get());
    content = view.get();
    w->makeKeyAndOrderFront();
  }
  void TearDown() override { w->close(); }

  template <class T>
  T* add(T* control) {
    control->setTarget(rec.get());
    control->setAction(3);
    content->addSubview(control);
    control->release();
    return control;
  }
};

TEST_F(ListControlsTest, PopUpSelectionFollowsItsItem) {
  auto* pub = add(new NSPopUpButton(NSMakeRect(10, 10, 120, 22)));
  pub->addItemWithTitle("b");
  // As on the platform, the first item added to a popup without selection is selected.
  EXPECT_EQ(pub->indexOfSelectedItem(), 0);
  EXPECT_EQ(pub->stringValue(), "b");
  pub->insertItemWithTitle("a", -5);  // clamped to the front
  pub->insertItemWithTitle("c", 99);  // clamped to the end
  EXPECT_EQ(pub->itemTitles(), (std::vector<std::string>{"a", "b", "c"}));
  EXPECT_EQ(pub->indexOfSelectedItem(), 1);
  EXPECT_EQ(pub->selectedItem()->state(), NSControlStateValueOn);
  pub->removeItemAtIndex(0);
  EXPECT_EQ(pub->indexOfSelectedItem(), 0);
  pub->removeItemAtIndex(0);
  EXPECT_EQ(pub->indexOfSelectedItem(), -1);
  EXPECT_EQ(pub->stringValue(), "");
  pub->selectItemAtIndex(0);
  pub->selectItemAtIndex(7);
  EXPECT_EQ(pub->indexOfSelectedItem(), -1);
  EXPECT_EQ(pub->itemAtIndex(0)->state(), NSControlStateValueOff);
  EXPECT_TRUE(rec->events.empty());
}

TEST_F(ListControlsTest, PickingAPopUpItemSendsTheActionUnlessItCannotBePicked) {
  auto* pub = add(new NSPopUpButton(NSMakeRect(10, 10, 120, 22)));
  for (const char* t : {"x", "y", "z"})
    pub->addItemWithTitle(t);
  pub->itemAtIndex(2)->setEnabled(false);
  EXPECT_TRUE(pub->selectItemByUser(1));
  EXPECT_FALSE(pub->selectItemByUser(2));
  EXPECT_FALSE(pub->selectItemByUser(3));
  pub->setEnabled(false);
  EXPECT_FALSE(pub->selectItemByUser(0));
  EXPECT_EQ(pub->indexOfSelectedItem(), 1);
  EXPECT_EQ(rec->take(), (Events{"action 3"}));
}

TEST_F(ListControlsTest, ComboBoxListSelectionAndItsCallbacks) {
  auto* combo = add(new NSComboBox(NSMakeRect(10, 100, 150, 24)));
  combo->setDelegate(rec.get());
  for (const char* t : {"red", "green", "blue"})
    combo->addItemWithObjectValue(t);
  combo->selectItemAtIndex(1);
  EXPECT_EQ(combo->stringValue(), "green");
  combo->selectItemAtIndex(9);  // ignored
  combo->insertItemWithObjectValue("black", 0);
  EXPECT_EQ(combo->indexOfSelectedItem(), 2);
  EXPECT_FALSE(combo->insertItemWithObjectValue("white", 9));
  EXPECT_TRUE(h.logged("insert index 9"));
  combo->removeItemAtIndex(2);
  EXPECT_EQ(combo->indexOfSelectedItem(), -1);
  EXPECT_EQ(rec->take(), (Events{"selection 1"}));

  // The arrow opens and closes the list; choosing from it selects, acts and closes.
  h.click(w, {10 + 150 - 5, 112});
  h.runUntilIdle();
  EXPECT_TRUE(combo->isPopUpVisible());
  EXPECT_TRUE(combo->chooseItemAtIndex(2));
  EXPECT_FALSE(combo->isPopUpVisible());
  EXPECT_EQ(combo->stringValue(), "blue");
  h.click(w, {10 + 150 - 5, 112});
  h.click(w, {10 + 150 - 5, 112});
  h.runUntilIdle();
  // The first click began editing the text; later clicks keep that edit going.
  EXPECT_EQ(combo->currentEditor(), w->firstResponder());
  EXPECT_EQ(rec->take(),
            (Events{"pop up", "selection 2", "action 3", "dismiss", "pop up", "dismiss"}));

  // Typing changes the text, not the selection.
  h.key(w, 0, "a", NSEventModifierFlagCommand);
  h.typeText(w, "x");
  h.runUntilIdle();
  EXPECT_EQ(combo->indexOfSelectedItem(), 2);
  EXPECT_EQ(rec->take(), (Events{"begin", "change x"}));
}

TEST_F(ListControlsTest, SliderFollowsThePointerWithinItsRange) {
  auto* slider = add(new NSSlider(NSMakeRect(10, 200, 220, 21)));
  slider->setMinValue(0);
  slider->setMaxValue(100);
  // The bar less half a knob at each end: x 20 is the minimum, x 220 the maximum.
  h.mouseDown(w, {120, 210});
  h.runUntilIdle();
  EXPECT_DOUBLE_EQ(slider->doubleValue(), 50);
  h.drag(w, {120, 210}, {400, 210}, 2);
  h.mouseUp(w, {400, 210});
  h.runUntilIdle();
  EXPECT_DOUBLE_EQ(slider->doubleValue(), 100);
  EXPECT_EQ(rec->take(), (Events{"action 3", "action 3"}));  // one per change: 50, then 100

  slider->setContinuous(false);
  h.mouseDown(w, {20, 210});
  h.drag(w, {20, 210}, {70, 210}, 3);
  h.mouseUp(w, {70, 210});
  h.runUntilIdle();
  EXPECT_DOUBLE_EQ(slider->doubleValue(), 25);
  EXPECT_EQ(rec->take(), (Events{"action 3"}));
}

TEST_F(ListControlsTest, SliderRefusesNonNumbersAndKeepsTheValueInRange) {
  auto* slider = add(new NSSlider(NSMakeRect(10, 10, 21, 150)));
  EXPECT_TRUE(slider->isVertical());
  slider->setMaxValue(10);
  slider->setDoubleValue(7);
  slider->setDoubleValue(std::nan(""));
  slider->setMaxValue(INFINITY);
  EXPECT_EQ(slider->doubleValue(), 7);
  EXPECT_EQ(slider->maxValue(), 10);
  EXPECT_TRUE(h.logged("refused"));
  slider->setMaxValue(5);
  EXPECT_EQ(slider->doubleValue(), 5);
  slider->setMinValue(8);  // a reversed range holds the minimum
  EXPECT_EQ(slider->doubleValue(), 8);
  slider->setMinValue(0);
  slider->setMaxValue(10);
  // Bottom to top: near the bottom is near the minimum.
  EXPECT_NEAR(slider->valueForWindowPoint({20, 20}), 0, 1e-9);
  EXPECT_NEAR(slider->valueForWindowPoint({20, 150}), 10, 1e-9);
  slider->setMinValue(-1e300);
  slider->setMaxValue(1e300);
  slider->setDoubleValue(1e300);
  EXPECT_EQ(slider->intValue(), INT32_MAX);
}

}  // namespace
