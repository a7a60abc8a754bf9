// The program as a user meets it: started on an X server with a JACK server and a MIDI device
// port, driven with xdotool through its menu and "Preferences", photographed with ImageMagick.

#include <gtest/gtest.h>
#include <rtmidi/RtMidi.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <functional>
#include <set>
#include <string>

#include "HostDesktopFixture.h"
#include "host/AppResources.h"

namespace e2e {
namespace {

TEST_F(HostDesktopTest, PreferencesFromTheFileMenuPicksTheDeviceAndRemembersIt) {
  RtMidiOut device(RtMidi::UNIX_JACK, "device");
  device.openVirtualPort(kDevicePort);
  const auto [entry, item] = listedPort(kDevicePort);
  const std::string deviceEntry = entry;
  const int deviceItem = item;
  ASSERT_GT(deviceItem, 0);

  ASSERT_TRUE(startHost());
  EXPECT_TRUE(photograph(mainWindow(), "main-window.png"));

  // File, then "Preferences...", its first item.
  const std::string preferences = chooseFromMenu(kFileTitleX, 0, "Preferences");
  ASSERT_FALSE(preferences.empty()) << "File > Preferences... showed no dialog";
  // Over the main window that owns it, as far as the screen's left edge allows: both windows
  // leave their title bars out of the X window alike, so the centres compare directly.
  Placement prefsPlace;
  ASSERT_TRUE(waitUntil([&] { return (prefsPlace = placementOf(preferences)).width > 0; }));
  const Placement mainPlace = placementOf(mainWindow());
  const double mainCentreX = mainPlace.x + mainPlace.width / 2.0;
  EXPECT_NEAR(prefsPlace.x, std::max(0.0, mainCentreX - prefsPlace.width / 2.0), 1);
  EXPECT_NEAR(prefsPlace.y + prefsPlace.height / 2.0, mainPlace.y + mainPlace.height / 2.0, 1);

  ASSERT_TRUE(pickFromList(preferences, kInputListX + kMenuItemHeight,
                           kInputListY + kMenuItemHeight / 2, deviceItem));
  EXPECT_TRUE(photograph(preferences, "preferences.png"));
  EXPECT_TRUE(clickUntil(preferences, kOkX + kOkWidth / 2, kOkY + kOkHeight / 2,
                         [&] { return findWindow("Preferences").empty(); }));

  EXPECT_TRUE(waitUntil([&] {
    return readFile(settingsFile()).find("indev=" + deviceEntry) != std::string::npos;
  })) << readFile(settingsFile());
  EXPECT_EQ(host().stop(), 0);
}

// The menus without the mouse, as a person at the keyboard reaches them: F10 opens File, Alt
// with a title's letter that title's menu, where an item's letter chooses it; Ctrl+, opens
// "Preferences" and Ctrl+Q quits as File > Quit does.
TEST_F(HostDesktopTest, TheKeysReachTheMenusPreferencesAndQuit) {
  ASSERT_TRUE(startHost());
  // Keys go to the window that has the focus once it is shown: a key sent before is sent
  // again until its effect shows.
  const auto keyUntil = [&](const std::string& keys, const std::function<bool()>& done) {
    return waitUntil([&] {
      run("xdotool key --delay 150 " + keys);
      return waitUntil(done, kTryLimit);
    });
  };
  std::set<std::string> before;
  std::string menu;
  const auto opens = [&] { return !(menu = waitForNewWindow(before, milliseconds(0))).empty(); };
  const auto closed = [&] { return !shownWindows().count(menu); };
  const auto preferences = [&] { return !findWindow("Preferences").empty(); };
  const auto preferencesClosed = [&] { return findWindow("Preferences").empty(); };

  before = shownWindows();
  ASSERT_TRUE(keyUntil("F10", opens)) << "F10 opened no menu";
  EXPECT_TRUE(photograph(menu, "file-menu-by-f10.png"));
  EXPECT_TRUE(keyUntil("Escape", closed));
  before = shownWindows();
  ASSERT_TRUE(keyUntil("alt+h", opens)) << "Alt+H opened no menu";
  EXPECT_TRUE(keyUntil("Escape", closed));
  before = shownWindows();
  ASSERT_TRUE(keyUntil("alt+f", opens)) << "Alt+F opened no menu";
  EXPECT_TRUE(keyUntil("p", preferences)) << "P in File chose no \"Preferences...\"";
  EXPECT_TRUE(keyUntil("Escape", preferencesClosed));
  EXPECT_TRUE(keyUntil("ctrl+comma", preferences)) << "Ctrl+, opened no \"Preferences\"";
  EXPECT_TRUE(keyUntil("Escape", preferencesClosed));
  EXPECT_TRUE(keyUntil("ctrl+q", [&] { return host().ended(); })) << "Ctrl+Q did not quit";
  EXPECT_EQ(host().stop(), 0);
  EXPECT_TRUE(host().logged("main window closed")) << host().log();
}

// A display that does not answer: the program says so and ends with a failure, instead of
// running with no window anyone can reach.
TEST(HostWithoutDisplay, ADisplayThatDoesNotAnswerEndsTheProgramWithAFailure) {
  const std::filesystem::path folder =
      std::filesystem::path(::testing::TempDir()) / ("e2e-no-display-" + std::to_string(getpid()));
  std::filesystem::create_directories(folder);
  HostProcess program({":9999", folder, folder / "host.log"});
  EXPECT_TRUE(waitUntil([&] { return program.ended(); }));
  EXPECT_EQ(program.stop(), 1);
  EXPECT_TRUE(program.logged("the X server \":9999\" does not answer")) << program.log();
  std::filesystem::remove_all(folder);
}

}  // namespace
}  // namespace e2e
