#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "platform/core/ComboBox.h"
#include "platform/core/PopUpButton.h"
#include "platform/core/Slider.h"
#include "platform/core/TextField.h"
#include "support/EventTest.h"
#include "windowing/controls/ControlClasses.h"
#include "windowing/core/ControlButton.h"
#include "windowing/core/ControlComboBox.h"
#include "windowing/core/ControlPopupButton.h"

using platform::NSMakeRect;
using testsupport::EventTest;
using testsupport::messagesMatch;
using testsupport::messagesOf;

namespace {

class CommandTest : public EventTest {
 protected:
  // A control inside the main window that targets it and has it as delegate, as the
  // layer's control factories make them.
  template <class T>
  T* add(T* control, int id, platform::NSRect frame) {
    control->setTag(id);
    control->setFrame(frame);
    control->setTarget(view(main));
    control->setDelegate(view(main));
    view(main)->addSubview(control);
    control->release();
    return control;
  }
  Swell_vCorvaneBrisko_button* radio(int id, double y, bool firstOfGroup) {
    auto* b = add(new Swell_vCorvaneBrisko_button, id, NSMakeRect(10, y, 80, 20));
    b->setButtonType(platform::NSButtonTypeRadio);
    b->swellSetRadioFlags(Swell_vCorvaneBrisko_button::kRadioButton |
                          (firstOfGroup ? Swell_vCorvaneBrisko_button::kRadioGroupStart : 0));
    return b;
  }
  static WPARAM command(int id, int code) { return (static_cast<WPARAM>(code) << 16) | id; }
  std::vector<testsupport::RecordedMessage> commands() const {
    std::vector<testsupport::RecordedMessage> out;
    for (const auto& m : messagesOf(log.messages(), main))
      if (m.msg == WM_COMMAND || m.msg == WM_HSCROLL) out.push_back(m);
    return out;
  }
};

TEST_F(CommandTest, ClickingAPushButtonSendsBnClicked) {
  auto* b = add(new Swell_vCorvaneBrisko_button, 1001, NSMakeRect(10, 10, 80, 20));
  h.click(window, b->convertPointToView({5, 5}, nullptr));
  h.runUntilIdle();
  ASSERT_EQ(commands().size(), 1u);
  EXPECT_EQ(commands()[0].wParam, command(1001, BN_CLICKED));
  EXPECT_EQ(commands()[0].lParam, reinterpret_cast<LPARAM>(b));
}

TEST_F(CommandTest, RadioGroupsAreDelimitedByButtonsMarkedFirstOfAGroup) {
  auto* a1 = radio(1, 10, true);
  auto* a2 = radio(2, 40, false);
  auto* a3 = radio(3, 70, false);
  auto* b1 = radio(4, 100, true);
  auto* b2 = radio(5, 130, false);
  for (auto* b : {a1, a3, b1, b2})
    b->setState(platform::NSControlStateValueOn);
  h.click(window, a2->convertPointToView({5, 5}, nullptr));
  h.runUntilIdle();
  EXPECT_EQ(a1->state(), platform::NSControlStateValueOff);
  EXPECT_EQ(a2->state(), platform::NSControlStateValueOn);
  EXPECT_EQ(a3->state(), platform::NSControlStateValueOff);
  // The next group is left alone.
  EXPECT_EQ(b1->state(), platform::NSControlStateValueOn);
  EXPECT_EQ(b2->state(), platform::NSControlStateValueOn);
  ASSERT_EQ(commands().size(), 1u);
  EXPECT_EQ(commands()[0].wParam, command(2, BN_CLICKED));
  // The first of a group only looks forward.
  log.clear();
  a1->setState(platform::NSControlStateValueOff);
  b1->setState(platform::NSControlStateValueOff);
  h.click(window, b1->convertPointToView({5, 5}, nullptr));
  h.runUntilIdle();
  EXPECT_EQ(b1->state(), platform::NSControlStateValueOn);
  EXPECT_EQ(b2->state(), platform::NSControlStateValueOff);
  EXPECT_EQ(a3->state(), platform::NSControlStateValueOff);
  EXPECT_EQ(a2->state(), platform::NSControlStateValueOn);
}

TEST_F(CommandTest, SlidersSendHScrollAndPopupsSelectionChanges) {
  auto* slider = add(new platform::NSSlider, 7, NSMakeRect(10, 10, 200, 20));
  slider->setMaxValue(100);
  slider->setDoubleValue(10);
  h.click(window, slider->convertPointToView({100, 10}, nullptr));
  h.runUntilIdle();
  ASSERT_FALSE(commands().empty());
  EXPECT_EQ(commands()[0].msg, WM_HSCROLL);
  EXPECT_EQ(commands()[0].wParam, 0u);
  EXPECT_EQ(commands()[0].lParam, reinterpret_cast<LPARAM>(slider));
  log.clear();
  auto* popup = add(new platform::NSPopUpButton, 8, NSMakeRect(10, 50, 100, 20));
  popup->addItemWithTitle("one");
  popup->addItemWithTitle("two");
  popup->selectItemByUser(1);
  ASSERT_EQ(commands().size(), 1u);
  EXPECT_EQ(commands()[0].wParam, command(8, CBN_SELCHANGE));
}

TEST_F(CommandTest, ComboBoxesReportOpeningClosingAndOnlyRealSelectionChanges) {
  auto* combo = add(new Swell_vCorvaneBrisko_cbox, 9, NSMakeRect(10, 10, 150, 22));
  combo->addItemWithObjectValue("alpha");
  combo->addItemWithObjectValue("beta");
  log.clear();
  combo->popUp();
  combo->chooseItemAtIndex(1);
  // The same choice again changes nothing and is not reported.
  combo->popUp();
  combo->chooseItemAtIndex(1);
  std::vector<WPARAM> got;
  for (const auto& m : commands())
    got.push_back(m.wParam);
  EXPECT_EQ(got, (std::vector<WPARAM>{command(9, CBN_DROPDOWN), command(9, CBN_SELCHANGE),
                                      command(9, CBN_CLOSEUP), command(9, CBN_DROPDOWN),
                                      command(9, CBN_CLOSEUP)}));
}

TEST_F(CommandTest, TypingInAFieldSendsEditChangeAndLeavingItKillFocus) {
  auto* field = add(new platform::NSTextField, 12, NSMakeRect(10, 10, 150, 22));
  auto* other = add(new platform::NSTextField, 13, NSMakeRect(10, 50, 150, 22));
  h.click(window, field->convertPointToView({5, 5}, nullptr));
  h.typeText(window, "ok");
  h.click(window, other->convertPointToView({5, 5}, nullptr));
  h.runUntilIdle();
  std::vector<WPARAM> got;
  for (const auto& m : commands())
    if ((m.wParam & 0xFFFF) == 12) got.push_back(m.wParam);
  EXPECT_EQ(got, (std::vector<WPARAM>{command(12, EN_CHANGE), command(12, EN_CHANGE),
                                      command(12, EN_KILLFOCUS)}));
  EXPECT_EQ(field->stringValue(), "ok");
}

// The keyboard through a dialog's controls: Tab and Shift+Tab move the focus top down
// whatever order the controls were made in, each edit field saying so as the focus enters
// (EN_SETFOCUS) and leaves it (EN_KILLFOCUS); Space presses the button with the focus.
TEST_F(CommandTest, TabMovesTheFocusThroughTheFieldsWithSetAndKillFocus) {
  add(new Swell_vCorvaneBrisko_button, 14, NSMakeRect(10, 90, 80, 22));
  add(new Swell_vCorvaneBrisko_textfield, 13, NSMakeRect(10, 50, 150, 22));
  add(new Swell_vCorvaneBrisko_textfield, 12, NSMakeRect(10, 10, 150, 22));
  constexpr std::uint16_t kTab = 48, kSpace = 49;
  struct Step {
    std::uint16_t key;
    std::uint64_t modifiers;
    std::vector<WPARAM> commands;
  } steps[] = {
      {kTab, 0, {command(12, EN_SETFOCUS)}},
      {kTab, 0, {command(12, EN_KILLFOCUS), command(13, EN_SETFOCUS)}},
      {kTab, 0, {command(13, EN_KILLFOCUS)}},
      {kSpace, 0, {command(14, BN_CLICKED)}},
      {kTab, platform::NSEventModifierFlagShift, {command(13, EN_SETFOCUS)}},
      {kTab,
       platform::NSEventModifierFlagShift,
       {command(13, EN_KILLFOCUS), command(12, EN_SETFOCUS)}},
      {kTab, platform::NSEventModifierFlagShift, {command(12, EN_KILLFOCUS)}},
  };
  for (const Step& step : steps) {
    log.clear();
    h.key(window, step.key, step.key == kSpace ? " " : "\t", step.modifiers);
    h.runUntilIdle();
    std::vector<WPARAM> got;
    for (const auto& m : commands())
      got.push_back(m.wParam);
    EXPECT_EQ(got, step.commands) << "key " << step.key;
  }
}

// The navigation keys on the control with the focus, as a person uses them: the editable combo
// box and the drop-down list step to the next or previous entry (none past either end) and tell
// their parent once, the new entry readable inside the notification; the drop-down list takes
// the focus from a click, so Space opens it; a trackbar takes the focus from the program, Tab
// and a click, and its keys move it within its range with WM_HSCROLL.
TEST_F(CommandTest, NavigationKeysStepTheFocusedControlAndItTellsItsParent) {
  constexpr int kCombo = 21, kDropDown = 22, kTrackbar = 23;
  auto* combo = add(new Swell_vCorvaneBrisko_cbox, kCombo, NSMakeRect(10, 10, 150, 22));
  auto* dropDown = add(new Swell_vCorvaneBrisko_pub, kDropDown, NSMakeRect(10, 50, 150, 22));
  auto* trackbar = add(new platform::NSSlider, kTrackbar, NSMakeRect(10, 90, 200, 21));
  for (int id : {kCombo, kDropDown})
    for (const char* s : {"a", "b", "c"})
      SWELL_CB_AddString(main, id, s);
  SWELL_TB_SetRange(main, kTrackbar, 0, 100);
  SWELL_TB_SetPos(main, kTrackbar, 50);
  // What the parent reads inside each notification.
  std::vector<std::string> heard;
  log.answer([&](HWND hwnd, UINT msg, WPARAM w, LPARAM l) -> std::optional<LRESULT> {
    auto control = reinterpret_cast<HWND>(l);
    if (hwnd != main || !control) return std::nullopt;
    if (msg == WM_COMMAND && (w >> 16) == CBN_SELCHANGE) {
      char text[16];
      GetDlgItemText(control, 0, text, sizeof text);
      heard.push_back(std::to_string(w & 0xFFFF) + " " +
                      std::to_string(SendMessage(control, CB_GETCURSEL, 0, 0)) + " " + text);
    } else if (msg == WM_HSCROLL) {
      heard.push_back("scroll " + std::to_string(SendMessage(control, TBM_GETPOS, 0, 0)));
    }
    return std::nullopt;
  });
  using namespace platform;  // the key codes
  struct Step {
    const char* what;
    std::function<void()> act;
    std::vector<std::string> heard;
    platform::NSView* focus;
  };
  auto press = [&](std::uint16_t key) { return [&, key] { h.key(window, key, ""); }; };
  const Step steps[] = {
      {"focus the combo box", [&] { SetFocus(swell::handleFromObject(combo)); }, {}, combo},
      {"Down from no entry", press(kVK_DownArrow), {"21 0 a"}, combo},
      {"Down", press(kVK_DownArrow), {"21 1 b"}, combo},
      {"Up", press(kVK_UpArrow), {"21 0 a"}, combo},
      {"Up past the first", press(kVK_UpArrow), {}, combo},
      {"End moves the caret only", press(kVK_End), {}, combo},
      {"click the drop-down list",
       [&] {
         h.menus().add({""});
         h.click(window, dropDown->convertPointToView({5, 5}, nullptr));
       },
       {},
       dropDown},
      {"Down", press(kVK_DownArrow), {"22 0 a"}, dropDown},
      {"End", press(kVK_End), {"22 2 c"}, dropDown},
      {"Down past the last", press(kVK_DownArrow), {}, dropDown},
      {"Up", press(kVK_UpArrow), {"22 1 b"}, dropDown},
      {"Home", press(kVK_Home), {"22 0 a"}, dropDown},
      {"Space opens the list",
       [&] {
         h.menus().add({"c"});
         h.key(window, kVK_Space, " ");
       },
       {"22 2 c"},
       dropDown},
      {"Tab to the trackbar", [&] { h.key(window, kVK_Tab, "\t"); }, {}, trackbar},
      {"Right", press(kVK_RightArrow), {"scroll 51"}, trackbar},
      {"Page Down", press(kVK_PageDown), {"scroll 71"}, trackbar},
      {"Up moves a horizontal trackbar down", press(kVK_UpArrow), {"scroll 70"}, trackbar},
      {"End", press(kVK_End), {"scroll 100"}, trackbar},
      {"Down past the maximum", press(kVK_DownArrow), {}, trackbar},
      {"Page Up", press(kVK_PageUp), {"scroll 80"}, trackbar},
      {"Home", press(kVK_Home), {"scroll 0"}, trackbar},
      {"Left past the minimum", press(kVK_LeftArrow), {}, trackbar},
      {"focus the combo box again", [&] { SetFocus(swell::handleFromObject(combo)); }, {}, combo},
      {"SetFocus on the trackbar",
       [&] { SetFocus(swell::handleFromObject(trackbar)); },
       {},
       trackbar},
      {"click the combo box's text",
       [&] {
         h.click(window, combo->convertPointToView({5, 5}, nullptr));
       },
       {},
       combo},
      {"click the trackbar",
       [&] {
         h.click(window, trackbar->convertPointToView({100, 10}, nullptr));
       },
       {"scroll 50"},
       trackbar},
  };
  for (const Step& step : steps) {
    heard.clear();
    step.act();
    h.runUntilIdle();
    EXPECT_EQ(heard, step.heard) << step.what;
    EXPECT_EQ(GetFocus(), swell::handleFromObject(step.focus)) << step.what;
  }
}

}  // namespace
