// The program as a user meets it: started on an X server with a JACK server and a MIDI device
// port, driven with xdotool through its menu and "Preferences", photographed with ImageMagick.

#include <gtest/gtest.h>
#include <rtmidi/RtMidi.h>

#include <algorithm>
#include <set>
#include <string>

#include "HostDesktopFixture.h"
#include "host/AppResources.h"

namespace e2e {
namespace {

// "Preferences": the input list and OK, in dialog points (dialog units times 1.5).
constexpr int kInputListX = 23, kInputListY = 60;
constexpr int kOkX = 165, kOkY = 158, kOkWidth = 75, kOkHeight = 21;

TEST_F(HostDesktopTest, PreferencesFromTheFileMenuPicksTheDeviceAndRemembersIt) {
  RtMidiOut device(RtMidi::UNIX_JACK, "device");
  device.openVirtualPort(kDevicePort);
  // The program lists the ports in the server's order, after its "off" entry.
  RtMidiIn lister(RtMidi::UNIX_JACK, "lister");
  int deviceItem = -1;
  std::string deviceEntry;
  for (unsigned i = 0; i < lister.getPortCount(); ++i)
    if (lister.getPortName(i).find(kDevicePort) != std::string::npos) {
      deviceItem = static_cast<int>(i) + 1;
      deviceEntry = lister.getPortName(i);
    }
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

  // The device in the input list: pressed, the list's menu opens, and the button is let go on
  // the device's item.
  const std::set<std::string> before = shownWindows();
  press(preferences, kInputListX + kMenuItemHeight, kInputListY + kMenuItemHeight / 2);
  const std::string listMenu = waitForNewWindow(before);
  ASSERT_FALSE(listMenu.empty()) << "the input list did not open";
  release(listMenu, kMenuItemHeight,
          kMenuBorder + deviceItem * kMenuItemHeight + kMenuItemHeight / 2);
  EXPECT_TRUE(waitUntil([&] { return !shownWindows().count(listMenu); }));
  EXPECT_TRUE(photograph(preferences, "preferences.png"));
  EXPECT_TRUE(clickUntil(preferences, kOkX + kOkWidth / 2, kOkY + kOkHeight / 2,
                         [&] { return findWindow("Preferences").empty(); }));

  EXPECT_TRUE(waitUntil([&] {
    return readFile(settingsFile()).find("indev=" + deviceEntry) != std::string::npos;
  })) << readFile(settingsFile());
  EXPECT_EQ(host().stop(), 0);
}

}  // namespace
}  // namespace e2e
