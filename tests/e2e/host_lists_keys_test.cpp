// "Preferences" as a user meets it, on a bare X server and under a window manager that frames
// the windows: its drop-down lists clicked, dragged and walked with the keys with a person's
// timing (a list clicked takes the keyboard, whose arrows step through it), the dialog driven
// from the keyboard, the program ended by a signal while a list is
// open; and no X request of the program refused on the way.

#include <gtest/gtest.h>
#include <rtmidi/RtMidi.h>

#include <chrono>
#include <memory>
#include <set>
#include <string>
#include <thread>

#include "HostDesktopFixture.h"
#include "testbed/WindowManager.h"

namespace e2e {
namespace {

// The two lists of "Preferences", in dialog points (dialog units times 1.5): a point inside
// each box, left of its text.
constexpr int kListX = 43;
constexpr int kInputListY = 69, kOutputListY = 114;
// How long a hand holds the button in a click, and how long a list must then stay up.
constexpr const char* kClickHold = "0.12";
constexpr auto kStaysOpen = std::chrono::milliseconds(700);

// With the parameter set, openbox frames the windows before the program starts.
class HostListsAndKeysTest : public HostDesktopTest, public ::testing::WithParamInterface<bool> {
 protected:
  void SetUp() override {
    HostDesktopTest::SetUp();
    if (IsSkipped() || !GetParam()) return;
    windowManager = std::make_unique<testbed::WindowManager>(xvfb->display());
    if (!windowManager->running())
      GTEST_SKIP() << "no window manager for this test: " << windowManager->whyNot();
  }

  static int rowY(int row) { return kMenuBorder + row * kMenuItemHeight + kMenuItemHeight / 2; }

  // The list window that a click (press, a hand's hold, release) on a box of the dialog
  // opens, when it shows and stays up; "" otherwise.
  std::string clickOpen(const std::string& dialog, int y) {
    const std::set<std::string> before = shownWindows();
    run("xdotool mousemove --window " + dialog + " " + std::to_string(kListX) + " " +
        std::to_string(y) + " mousedown 1 sleep " + kClickHold + " mouseup 1");
    const std::string list = waitForNewWindow(before);
    std::this_thread::sleep_for(kStaysOpen);
    return !list.empty() && shownWindows().count(list) ? list : "";
  }
  bool closes(const std::string& window) {
    return waitUntil([&] { return !shownWindows().count(window); });
  }
  std::string key(const std::string& keys) { return run("xdotool key --delay 150 " + keys); }
  std::string preferences() { return chooseFromMenu(kFileTitleX, 0, "Preferences"); }

  std::unique_ptr<testbed::WindowManager> windowManager;
};

TEST_P(HostListsAndKeysTest, ListsFollowClicksDragsAndKeysAndASignalEndsThemAll) {
  // A device with a long name on both sides: its output feeds the program's input list and
  // its input its output list.
  const std::string name = std::string(kDevicePort) + " Foot Controller with a long port name";
  RtMidiOut deviceOut(RtMidi::UNIX_JACK, "device out");
  deviceOut.openVirtualPort(name + " out");
  RtMidiIn deviceIn(RtMidi::UNIX_JACK, "device in");
  deviceIn.openVirtualPort(name + " in");
  ASSERT_TRUE(startHost());

  // The dialog has the keyboard as it opens: Tab walks OK, Apply, Cancel, then the input
  // list, which Space opens and Escape closes; Return presses OK, changing nothing.
  std::string dialog = preferences();
  ASSERT_FALSE(dialog.empty()) << "File > Preferences... showed no dialog";
  const std::string settingsBefore = readFile(settingsFile());
  std::set<std::string> before = shownWindows();
  key("Tab Tab Tab space");
  std::string list = waitForNewWindow(before);
  ASSERT_FALSE(list.empty()) << "Tab and Space did not open the input list";
  key("Escape");
  EXPECT_TRUE(closes(list));
  key("Return");
  EXPECT_TRUE(closes(dialog)) << "Return did not press OK";
  EXPECT_TRUE(waitUntil([&] { return readFile(settingsFile()) == settingsBefore; }));

  // A click on a list leaves it open; a click on a row of it picks that row. A press on the
  // other list, dragged and let go on a row, picks that one. Return keeps both.
  dialog = preferences();
  ASSERT_FALSE(dialog.empty());
  list = clickOpen(dialog, kInputListY);
  ASSERT_FALSE(list.empty()) << "a click on the input list did not leave it open";
  const int inputRow = listedPort(name + " out").second;
  ASSERT_GT(inputRow, 0);
  click(list, kMenuItemHeight, rowY(inputRow));
  EXPECT_TRUE(closes(list));
  before = shownWindows();
  press(dialog, kListX, kOutputListY);
  list = waitForNewWindow(before);
  ASSERT_FALSE(list.empty()) << "a press on the output list did not open it";
  const int outputRow = listedPort(name + " in", Listed::Output).second;
  ASSERT_GT(outputRow, 0);
  run("xdotool mousemove --window " + list + " " + std::to_string(kMenuItemHeight) + " " +
      std::to_string(rowY(outputRow)) + " sleep 0.2 mouseup 1");
  EXPECT_TRUE(closes(list));
  key("Return");
  EXPECT_TRUE(closes(dialog));
  EXPECT_TRUE(waitUntil([&] {
    const std::string settings = readFile(settingsFile());
    return settings.find("indev=device out:" + name + " out") != std::string::npos &&
           settings.find("outdev=device in:" + name + " in") != std::string::npos;
  })) << readFile(settingsFile());

  // A click on a list gives it the keyboard: Escape closes the list and Space opens it again,
  // the dialog staying up; Up, Down and Home then step through the closed list, Home to "off",
  // which Return keeps.
  dialog = preferences();
  ASSERT_FALSE(dialog.empty());
  list = clickOpen(dialog, kInputListY);
  ASSERT_FALSE(list.empty());
  key("Escape");
  EXPECT_TRUE(closes(list));
  before = shownWindows();
  key("space");
  list = waitForNewWindow(before);
  ASSERT_FALSE(list.empty()) << "Space after a click on the input list did not open it";
  key("Escape");
  EXPECT_TRUE(closes(list));
  key("Up Down Home");
  key("Return");
  EXPECT_TRUE(closes(dialog));
  EXPECT_TRUE(waitUntil([&] {
    const std::string settings = readFile(settingsFile());
    return settings.find("indev=off") != std::string::npos &&
           settings.find("indev=device out:") == std::string::npos &&
           settings.find("outdev=device in:" + name + " in") != std::string::npos;
  })) << readFile(settingsFile());

  // Escape cancels the dialog.
  const std::string settingsPicked = readFile(settingsFile());
  dialog = preferences();
  ASSERT_FALSE(dialog.empty());
  key("Escape");
  EXPECT_TRUE(closes(dialog)) << "Escape did not cancel the dialog";

  // A quit signal while a list is open ends the program within a second, as usual.
  dialog = preferences();
  ASSERT_FALSE(dialog.empty());
  ASSERT_FALSE(clickOpen(dialog, kInputListY).empty());
  const auto signalled = std::chrono::steady_clock::now();
  EXPECT_EQ(host().stop(), 0);
  EXPECT_LT(std::chrono::steady_clock::now() - signalled, std::chrono::seconds(1));
  EXPECT_EQ(readFile(settingsFile()), settingsPicked);
  EXPECT_FALSE(host().logged("X error")) << host().log();
}

INSTANTIATE_TEST_SUITE_P(WindowManager, HostListsAndKeysTest, ::testing::Values(false, true),
                         [](const auto& param) { return param.param ? "Framed" : "Bare"; });

}  // namespace
}  // namespace e2e
