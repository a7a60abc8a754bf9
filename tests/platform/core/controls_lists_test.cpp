#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>
#include <vector>

#include "base/Utf8.h"
#include "platform/core/ComboBox.h"
#include "platform/core/ControlDrawing.h"
#include "platform/core/MenuWindow.h"
#include "platform/core/PopUpButton.h"
#include "platform/core/Slider.h"
#include "platform/core/Window.h"
#include "platform/objects/Screen.h"
#include "support/ControlWindowTest.h"

using namespace platform;

namespace {

using ListControlsTest = testsupport::ControlWindowTest;

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

  // A press on the arrow shows the list below the field, as wide as the field and in its
  // font: a choice selects, acts and closes; a dismissal only closes.
  h.menus().add({"blue", ""});
  h.click(w, {10 + 150 - 5, 112});
  h.runUntilIdle();
  EXPECT_FALSE(combo->isPopUpVisible());
  EXPECT_EQ(combo->stringValue(), "blue");
  EXPECT_EQ(h.menus().lastScreenPoint(), w->convertPointToScreen({10, 100}));
  h.click(w, {10 + 150 - 5, 112});
  h.runUntilIdle();
  EXPECT_EQ(h.menus().popped(), (std::vector<std::vector<std::string>>{{"black", "red", "blue"},
                                                                       {"black", "red", "blue"}}));
  EXPECT_EQ(rec->take(),
            (Events{"pop up", "selection 2", "action 3", "dismiss", "pop up", "dismiss"}));
  combo->popUp();
  EXPECT_TRUE(combo->isPopUpVisible());
  combo->dismiss();
  rec->take();
  h.click(w, {20, 112});
  h.runUntilIdle();
  EXPECT_EQ(combo->currentEditor(), w->firstResponder());
  rec->take();

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
  // A range wider than a double can count still maps the bar's ends to its ends.
  const double most = std::numeric_limits<double>::max();
  slider->setMinValue(-most);
  slider->setMaxValue(most);
  EXPECT_EQ(slider->valueForWindowPoint({20, 20}), -most);
  EXPECT_EQ(slider->valueForWindowPoint({20, 150}), most);
}

// The keys step a focused slider by a line or a page toward where they point: Up raises a
// vertical slider (its maximum is at the top), Left always lowers; a range narrower than a
// unit steps in tenths; a disabled slider leaves the keys alone.
TEST_F(ListControlsTest, TheKeysMoveAFocusedSliderTheWayTheyPoint) {
  struct Row {
    NSRect frame;
    double max;
    bool enabled;
    std::uint16_t key;
    double value;  // from the middle of the range
  };
  const Row rows[] = {
      {NSMakeRect(10, 10, 21, 150), 10, true, kVK_UpArrow, 6},
      {NSMakeRect(10, 10, 21, 150), 10, true, kVK_PageDown, 3},
      {NSMakeRect(10, 10, 21, 150), 10, true, kVK_LeftArrow, 4},
      {NSMakeRect(10, 10, 150, 21), 12, true, kVK_PageUp, 4},
      {NSMakeRect(10, 10, 150, 21), 0.5, true, kVK_RightArrow, 0.3},
      {NSMakeRect(10, 10, 150, 21), 10, false, kVK_RightArrow, 5},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.key);
    auto* slider = add(new NSSlider(row.frame));
    slider->setMaxValue(row.max);
    slider->setDoubleValue(row.max / 2);
    w->makeFirstResponder(slider);
    slider->setEnabled(row.enabled);
    h.key(w, row.key, "");
    h.runUntilIdle();
    EXPECT_DOUBLE_EQ(slider->doubleValue(), row.value);
    EXPECT_EQ(rec->take(), row.enabled ? Events{"action 3"} : Events{});
    slider->removeFromSuperview();
  }
}

}  // namespace

// The plain looks draw something where each control is and nothing outside.
TEST_F(ListControlsTest, ControlsDrawInsideTheirFrames) {
  auto* check = add(new NSButton(NSMakeRect(10, 10, 120, 20)));
  check->setButtonType(NSButtonTypeSwitch);
  check->setTitle("Check");
  check->setState(NSControlStateValueOn);
  auto* field = add(new NSTextField(NSMakeRect(10, 60, 150, 24)));
  field->setStringValue("text");
  field->setBackgroundColor(NSColor::colorWithRGBA(1, 0, 0, 1));
  add(new NSSlider(NSMakeRect(10, 120, 200, 21)));
  std::uint32_t face = testsupport::PlatformHarness::pixelAt(w, 250, 180);
  EXPECT_EQ(testsupport::PlatformHarness::pixelAt(w, 150, 80), 0xFFFF0000u);  // background
  EXPECT_NE(testsupport::PlatformHarness::pixelAt(w, 18, 20), face);          // the check mark
  EXPECT_NE(testsupport::PlatformHarness::pixelAt(w, 100, 130), face);        // the bar
  EXPECT_EQ(testsupport::PlatformHarness::pixelAt(w, 250, 40), face);
  EXPECT_TRUE(testsupport::PlatformHarness::renderPNG(w, ::testing::TempDir() + "controls.png"));
}

// The pop-up call: the tracker's answer by title path, the chosen item's action sent
// before the call returns, disabled and dismissed choices giving nothing.
TEST_F(ListControlsTest, PoppedUpMenusReturnTheChosenItemAfterSendingItsAction) {
  struct Row {
    std::string answer;
    std::string chosen;  // "" for none
    Events events;
  };
  const Row rows[] = {
      {"One", "One", {"action 5"}},
      {"Sub/Deep", "Deep", {"action 6"}},
      {"Off", "", {}},  // disabled
      {"", "", {}},     // dismissed
      {"Nowhere", "", {}},
  };
  Ref<NSMenu> menu = Ref<NSMenu>::adopt(new NSMenu);
  auto addItem = [&](NSMenu* m, const char* title, int action) {
    Ref<NSMenuItem> item = Ref<NSMenuItem>::adopt(new NSMenuItem(title, action));
    item->setTarget(rec.get());
    m->addItem(item.get());
    return item.get();
  };
  addItem(menu.get(), "One", 5);
  addItem(menu.get(), "Off", 7)->setEnabled(false);
  Ref<NSMenu> sub = Ref<NSMenu>::adopt(new NSMenu("Sub"));
  addItem(sub.get(), "Deep", 6);
  addItem(menu.get(), "Sub", 0)->setSubmenu(sub.get());
  for (const Row& row : rows) {
    SCOPED_TRACE(row.answer);
    rec->events.clear();
    h.menus().add({row.answer});
    Ref<NSMenuItem> chosen = menu->popUpMenu({5, 5}, content);
    EXPECT_EQ(chosen ? chosen->title() : "", row.chosen);
    EXPECT_EQ(rec->events, row.events);
    EXPECT_FALSE(menu->isOpen());
  }
  EXPECT_EQ(h.menus().popped().size(), std::size(rows));
  EXPECT_EQ(h.menus().popped()[0], (std::vector<std::string>{"One", "Off", "Sub"}));
}

// A long title in a closed drop-down (pop-up button or combo box) and in the rows of an open
// list shows its start from the left, an ellipsis where it is cut on a whole character, and an
// ending the program keeps whole, " (absent)" here; any other end, a parenthesis of the title's
// own included, is cut like the rest. The closed box draws the arrows of a list at its right end.
TEST_F(ListControlsTest, DropDownsShowTheStartOfLongTitlesAndKeepTheProgramsEnding) {
  struct Row {
    std::string title;
    double width;
    std::string start, end;  // what the shown title starts and ends with
  };
  controldrawing::keepEndingWhole(" (absent)");
  const std::string device = "Pro Max USB MIDI Interface:MIDI Port 1 (Editor, Librarian)";
  // Two ports of one interface, told apart only after the interface's name.
  const std::string port1 = "Brisko Pro Max USB MIDI Interface:MIDI Port 1 (Editor, Librarian)";
  const std::string port2 = "Brisko Pro Max USB MIDI Interface-01:MIDI Port 2 (Editor, Librarian)";
  std::string umlauts;
  for (int i = 0; i < 12; ++i)
    umlauts += "\u00c4\u00f6\u00fc\u00df";
  const Row rows[] = {
      {"Off", 180, "Off", "Off"},
      {device + " (absent)", 180, "Pro Max", "\u2026 (absent)"},
      // A kept ending wider than two thirds of the room is cut like the rest.
      {device + " (absent)", 70, "Pro", "\u2026"},
      {umlauts + " (absent)", 150, "\u00c4\u00f6\u00fc", "\u2026 (absent)"},
      {"(absent)", 120, "(absent)", "(absent)"},
      {port1, 270, "Brisko Pro Max USB MIDI Interface:MIDI", "\u2026"},
      {port2, 270, "Brisko Pro Max USB MIDI Interface-01:MIDI", "\u2026"},
      {port1 + " (absent)", 270, "Brisko Pro Max USB MIDI Interface", "\u2026 (absent)"},
  };
  const NSFont font = NSFont::systemFontOfSize(10);
  const auto expectShown = [](const std::string& shown, const Row& row, const char* where) {
    SCOPED_TRACE(where);
    EXPECT_TRUE(base::isValidUtf8(shown)) << shown;
    EXPECT_TRUE(shown.starts_with(row.start)) << shown;
    EXPECT_TRUE(shown.ends_with(row.end)) << shown;
  };
  // The pixels of a rectangle of the window (y up) that differ from a colour.
  const auto ink = [&](NSRect r, std::uint32_t paper) {
    int count = 0;
    for (double x = r.minX() + 0.5; x < r.maxX(); ++x)
      for (double y = r.minY() + 0.5; y < r.maxY(); ++y)
        count += testsupport::PlatformHarness::pixelAt(w, x, y) != paper;
    return count;
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.title);
    auto* pub = add(new NSPopUpButton(NSMakeRect(10, 10, row.width, 22)));
    pub->setFont(font);
    pub->addItemWithTitle(row.title);

    expectShown(pub->shownTitle(), row, "pop-up button");
    const std::uint32_t face = testsupport::PlatformHarness::pixelAt(w, 11.5, 11.5);
    const NSRect title = pub->titleRect();
    EXPECT_GT(ink(NSMakeRect(12, 14, 10, 14), face), 0) << "the title starts at the left";
    EXPECT_EQ(ink(NSMakeRect(10 + title.maxX() - 2, 12, 2, 18), face), 0)
        << "the title ends inside its room";
    EXPECT_GT(ink(NSMakeRect(10 + title.maxX(), 12, NSPopUpButton::kArrowWidth - 2, 18), face), 0)
        << "the arrows";

    auto* combo = add(new NSComboBox(NSMakeRect(10, 60, row.width, 24)));
    combo->setFont(font);
    combo->setStringValue(row.title);
    expectShown(combo->shownLines().front(), row, "combo box");
    const double arrowLeft = 10 + row.width - NSComboBox::kArrowWidth;
    const std::uint32_t arrowFace = testsupport::PlatformHarness::pixelAt(w, arrowLeft + 2.5, 61.5);
    EXPECT_GT(ink(NSMakeRect(arrowLeft + 2, 62, NSComboBox::kArrowWidth - 4, 20), arrowFace), 0)
        << "the arrow";

    // An open list as wide as the screen lets it be.
    NSScreen::setScreens({{NSMakeRect(0, 0, row.width, 600), NSMakeRect(0, 0, row.width, 600), 1}});
    auto list = Ref<NSMenu>::adopt(new NSMenu);
    list->setFont(font);
    list->addItem(Ref<NSMenuItem>::adopt(new NSMenuItem(row.title)).get());
    auto shown = Ref<NSMenuWindow>::adopt(new NSMenuWindow(list.get(), NSMakePoint(0, 500)));
    expectShown(shown->shownTitle(0), row, "list row");
    shown->close();
    NSScreen::resetToDefault();
    pub->removeFromSuperview();
    combo->removeFromSuperview();
  }
}

TEST_F(ListControlsTest, AClickOnAPopUpButtonPicksFromItsMenu) {
  auto* pub = add(new NSPopUpButton(NSMakeRect(10, 10, 120, 22)));
  for (const char* t : {"x", "y"})
    pub->addItemWithTitle(t);
  h.menus().add({"y", ""});
  h.click(w, {20, 20});
  h.runUntilIdle();
  EXPECT_EQ(pub->indexOfSelectedItem(), 1);
  h.click(w, {20, 20});
  h.runUntilIdle();
  EXPECT_EQ(pub->indexOfSelectedItem(), 1);
  EXPECT_EQ(rec->events, (Events{"action 3"}));
  EXPECT_EQ(h.menus().popped().size(), 2u);
}
