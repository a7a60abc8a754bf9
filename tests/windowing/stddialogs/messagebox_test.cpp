#include <gtest/gtest.h>

#include <string>
#include <thread>
#include <vector>

#include "platform/core/Button.h"
#include "platform/panels/Alert.h"
#include "support/PanelAnswers.h"
#include "support/WindowTest.h"
#include "windowing/Win32.h"

using platform::NSAlertPanel;
using testsupport::PanelAnswers;

namespace {

constexpr std::uint16_t kReturnKey = 36, kEscapeKey = 53;

class MessageBoxTest : public testsupport::WindowTest {
 protected:
  // What the alert of the last MessageBox showed: title, message, and the titles of its
  // default, alternate and other buttons ("" where none is shown).
  struct Shown {
    std::string title, message;
    std::vector<std::string> buttons;
  };

  // Runs MessageBox with the type and answers its alert with the action.
  int run(UINT type, const std::function<void(NSAlertPanel*)>& act, const char* text = "text",
          const char* caption = "caption") {
    answers.add([this, act](platform::NSWindow* w) {
      auto* alert = dynamic_cast<NSAlertPanel*>(w);
      ASSERT_NE(alert, nullptr);
      shown = {alert->title(), alert->message(), {}};
      for (platform::NSModalResponse which :
           {platform::NSAlertDefaultReturn, platform::NSAlertAlternateReturn,
            platform::NSAlertOtherReturn}) {
        platform::NSButton* b = alert->button(which);
        shown.buttons.push_back(b ? b->title() : "");
      }
      act(alert);
    });
    return MessageBox(nullptr, text, caption, type);
  }

  std::function<void(NSAlertPanel*)> press(platform::NSModalResponse which) {
    return [this, which](NSAlertPanel* alert) {
      ASSERT_NE(alert->button(which), nullptr);
      testsupport::clickView(h, alert->button(which));
    };
  }
  std::function<void(NSAlertPanel*)> key(std::uint16_t code, const char* characters) {
    return [this, code, characters](NSAlertPanel* alert) { h.key(alert, code, characters); };
  }

  PanelAnswers answers{h};
  Shown shown;
};

}  // namespace

// Every button set with every default flag: the buttons shown in their places, and the id
// each press, Return, Escape and an aborted run answer.
TEST_F(MessageBoxTest, EveryButtonSetShowsItsButtonsAndAnswersTheirIds) {
  struct Row {
    UINT type;
    std::vector<std::string> buttons;  // default, alternate, other
    std::vector<int> ids;              // answered by each of them
    int escape, aborted;
  };
  const std::vector<Row> rows = {
      {0, {"OK", "", ""}, {1, 0, 0}, 0, 0},
      {9 | 0x300, {"OK", "", ""}, {1, 0, 0}, 0, 0},
      {1, {"OK", "Cancel", ""}, {1, 2, 0}, 2, 2},
      {1 | 0x200, {"OK", "Cancel", ""}, {1, 2, 0}, 2, 2},
      {1 | 0x300, {"Cancel", "OK", ""}, {2, 1, 0}, 2, 2},
      {2, {"Abort", "Ignore", "Retry"}, {3, 5, 4}, 0, 0},
      {2 | 0x100, {"Retry", "Abort", "Ignore"}, {4, 3, 5}, 0, 0},
      {2 | 0x300, {"Ignore", "Retry", "Abort"}, {5, 4, 3}, 0, 0},
      {3, {"Yes", "Cancel", "No"}, {6, 2, 7}, 2, 2},
      {3 | 0x100, {"No", "Yes", "Cancel"}, {7, 6, 2}, 2, 2},
      {3 | 0x200, {"Cancel", "No", "Yes"}, {2, 7, 6}, 2, 2},
      {4 | 0x200, {"Yes", "No", ""}, {6, 7, 0}, 0, 0},
      {4 | 0x100, {"No", "Yes", ""}, {7, 6, 0}, 0, 0},
      {5, {"Retry", "Cancel", ""}, {4, 2, 0}, 2, 2},
      {5 | 0x300, {"Cancel", "Retry", ""}, {2, 4, 0}, 2, 2},
  };
  const platform::NSModalResponse places[] = {platform::NSAlertDefaultReturn,
                                              platform::NSAlertAlternateReturn,
                                              platform::NSAlertOtherReturn};
  for (const Row& row : rows) {
    SCOPED_TRACE(row.type);
    for (int i = 0; i < 3; ++i) {
      if (row.buttons[i].empty()) continue;
      EXPECT_EQ(run(row.type, press(places[i])), row.ids[i]);
    }
    EXPECT_EQ(shown.buttons, row.buttons);
    EXPECT_EQ(run(row.type, key(kReturnKey, "\r")), row.ids[0]);
    // Escape presses Cancel; without one the alert stays until a button ends it.
    EXPECT_EQ(run(row.type,
                  [&](NSAlertPanel* alert) {
                    h.key(alert, kEscapeKey, "\x1b");
                    if (!row.escape) h.key(alert, kReturnKey, "\r");
                  }),
              row.escape ? row.escape : row.ids[0]);
    EXPECT_EQ(run(row.type, [](NSAlertPanel*) { platform::NSApp()->abortModal(); }), row.aborted);
  }
  EXPECT_EQ(answers.pending(), 0u);
  EXPECT_FALSE(h.watchdogFired());
}

TEST_F(MessageBoxTest, ShowsTextAndCaptionAsTheyStandAndNullAsEmpty) {
  EXPECT_EQ(run(0, press(platform::NSAlertDefaultReturn), "100% %s %n\nsecond line", "Warn %d"),
            IDOK);
  EXPECT_EQ(shown.title, "Warn %d");
  EXPECT_EQ(shown.message, "100% %s %n\nsecond line");
  EXPECT_EQ(run(0, press(platform::NSAlertDefaultReturn), nullptr, nullptr), IDOK);
  EXPECT_EQ(shown.title, "");
  EXPECT_EQ(shown.message, "");
  // The alert is gone once answered.
  EXPECT_EQ(platform::NSApp()->modalWindow(), nullptr);
  for (platform::NSWindow* w : platform::NSApp()->windows())
    EXPECT_FALSE(dynamic_cast<NSAlertPanel*>(w) && w->isVisible());
}

TEST_F(MessageBoxTest, OffTheMainThreadNothingIsShown) {
  int result = -1;
  std::thread([&] { result = MessageBox(nullptr, "text", "caption", MB_YESNO); }).join();
  EXPECT_EQ(result, 0);
  EXPECT_EQ(answers.answered(), 0);
  EXPECT_TRUE(h.logged("off the main thread"));
}

TEST_F(MessageBoxTest, FoundByName) {
  EXPECT_EQ(SWELL_GetAPIFunctionByName("MessageBox"), reinterpret_cast<void*>(&MessageBox));
}
