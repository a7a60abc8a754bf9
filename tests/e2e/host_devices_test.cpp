// The program keeps the user's devices as a user meets it: a remembered device that is absent,
// a settings folder that cannot be written, a JACK server that goes away and comes back, and one
// that starts only after the program.

#include <gtest/gtest.h>
#include <rtmidi/RtMidi.h>

#include <chrono>
#include <memory>
#include <string>
#include <vector>

#include "HostDesktopFixture.h"
#include "host/IPlugAPPHost.h"
#include "support/ReadOnlyFolder.h"

namespace e2e {
namespace {

// The settings of a user whose device is not plugged in, as that user's editor left them.
constexpr const char* kAbsentDeviceSettings =
    "[audio]\nbuffer=256\nindev=default\noutdev=default\nsr=48000\n\n"
    "[midi]\nindev=Gone device\noutdev=off\n\n";

// Waits until the JACK port of that full name is connected to another port: `jack_lsp -c` lists
// each port's connections on indented lines under it.
bool waitForConnection(const std::string& port) {
  return waitUntil([&] {
    const std::string listing = askJack("jack_lsp -c");
    const std::size_t at = listing.find(port + "\n   ");
    return at != std::string::npos && (at == 0 || listing[at - 1] == '\n');
  });
}

TEST_F(HostDesktopTest, OkWithAnAbsentDeviceLeavesTheSettingsAsTheyWere) {
  writeSettings(kAbsentDeviceSettings);
  ASSERT_TRUE(startHost());
  const std::string preferences = chooseFromMenu(kFileTitleX, 0, "Preferences");
  ASSERT_FALSE(preferences.empty()) << "File > Preferences... showed no dialog";
  EXPECT_TRUE(photograph(preferences, "preferences-absent-device.png"));
  EXPECT_TRUE(clickUntil(preferences, kOkX + kOkWidth / 2, kOkY + kOkHeight / 2,
                         [&] { return findWindow("Preferences").empty(); }));
  EXPECT_EQ(host().stop(), 0);
  EXPECT_EQ(readFile(settingsFile()), kAbsentDeviceSettings);
}

TEST_F(HostDesktopTest, AChoiceTheFolderDoesNotTakeIsReportedAndTheDialogStaysOpen) {
  writeSettings(kAbsentDeviceSettings);
  testsupport::ReadOnlyFolder locked(settingsFolder());
  if (!locked.ok()) GTEST_SKIP() << locked.whyNot();
  ASSERT_TRUE(startHost());
  const std::string preferences = chooseFromMenu(kFileTitleX, 0, "Preferences");
  ASSERT_FALSE(preferences.empty()) << "File > Preferences... showed no dialog";
  // "off", the first entry, in place of the absent device.
  ASSERT_TRUE(pickFromList(preferences, kInputListX + kMenuItemHeight,
                           kInputListY + kMenuItemHeight / 2, 0));
  std::string alert;
  EXPECT_TRUE(clickUntil(preferences, kOkX + kOkWidth / 2, kOkY + kOkHeight / 2, [&] {
    return !(alert = findWindow(host::kSettingsNotSavedTitle)).empty();
  }));
  EXPECT_TRUE(photograph(alert, "settings-not-saved.png"));
  EXPECT_FALSE(findWindow("Preferences").empty());
  EXPECT_TRUE(host().logged("cannot write the MIDI devices chosen to " + settingsFile().string()));
  // A quit request ends the alert, the dialog and the program in turn.
  EXPECT_EQ(host().stop(), 0);
  EXPECT_EQ(readFile(settingsFile()), kAbsentDeviceSettings);
}

TEST_F(HostDesktopTest, AJackServerThatGoesAndComesBackGetsTheRememberedDeviceBack) {
  auto device = std::make_unique<RtMidiOut>(RtMidi::UNIX_JACK, "device");
  device->openVirtualPort(kDevicePort);
  const std::string entry = listedPort(kDevicePort).first;
  ASSERT_FALSE(entry.empty());
  writeSettings("[midi]\nindev=" + entry + "\noutdev=off\n");
  ASSERT_TRUE(startHost());
  ASSERT_TRUE(waitForConnection(entry)) << "the device was not connected";

  const auto timesLogged = [&](const std::string& text) {
    const std::string log = host().log();
    int times = 0;
    for (auto at = log.find(text); at != std::string::npos; at = log.find(text, at + 1))
      ++times;
    return times;
  };
  jack->kill();
  device.reset();
  ASSERT_TRUE(waitUntil([&] { return timesLogged("the JACK server went away") == 1; }))
      << host().log();
  EXPECT_TRUE(photograph(mainWindow(), "jack-gone.png"));

  // A server that goes away again as the program reopens its clients is noticed too.
  ASSERT_TRUE(jack->start()) << jack->whyNot();
  ASSERT_TRUE(waitUntil([&] { return host().logged("the JACK server answers again"); }))
      << host().log();
  jack->kill();
  ASSERT_TRUE(waitUntil([&] { return timesLogged("the JACK server went away") == 2; }))
      << host().log();

  // "Preferences", open while the server is away, lists the device marked absent; as the server
  // and the device come back its box loses the marker.
  const std::string preferences = chooseFromMenu(kFileTitleX, 0, "Preferences");
  ASSERT_FALSE(preferences.empty()) << "File > Preferences... showed no dialog";
  EXPECT_TRUE(photograph(preferences, "preferences-jack-gone.png"));
  const Placement inputBox{kInputListX + 4, kInputListY + 3, 230, 16};
  const auto absentBox = pixelsOf(preferences, inputBox);
  ASSERT_FALSE(absentBox.empty());

  ASSERT_TRUE(jack->start()) << jack->whyNot();
  device = std::make_unique<RtMidiOut>(RtMidi::UNIX_JACK, "device");
  device->openVirtualPort(kDevicePort);
  EXPECT_TRUE(waitForConnection(entry)) << "the device was not connected again\n" << host().log();
  EXPECT_EQ(timesLogged("the JACK server answers again"), 2);
  EXPECT_TRUE(waitUntil([&] {
    const auto now = pixelsOf(preferences, inputBox);
    return !now.empty() && now != absentBox;
  })) << "the open \"Preferences\" still shows the device absent";
  EXPECT_TRUE(photograph(preferences, "preferences-jack-back.png"));
  EXPECT_TRUE(waitUntil([&] {
    if (findWindow("Preferences").empty()) return true;
    run("xdotool key Escape");
    return false;
  })) << "Escape did not cancel \"Preferences\"";

  // A quit signal as the server goes away closes the ports and the stream within a second all
  // the same, waiting for no server. The exit after that has the step limit: in the sanitizer
  // build the leak check scans the whole process as it exits, which takes a fifth of a second on
  // an idle machine and a second on a loaded one.
  host().quit();
  jack->kill();
  EXPECT_TRUE(
      waitUntil([&] { return host().logged("ports and stream closed"); }, std::chrono::seconds(1)))
      << host().log();
  EXPECT_EQ(host().stop(), 0) << host().log();
}

// Started with no JACK server, the program runs on ALSA and says so; a server started then is
// taken up without a restart: the remembered device is connected, "Preferences" lists the JACK
// ports and takes a choice, and MIDI from the device reaches the monitor. A device that goes away
// and comes back is shown on the monitor line each time.
TEST_F(HostDesktopTest, AJackServerStartedAfterTheProgramIsTakenUpWithoutARestart) {
  const std::string output = "monitor:monitor in";
  writeSettings("[midi]\nindev=off\noutdev=" + output + "\n");
  jack->kill();
  ASSERT_TRUE(startHost());
  ASSERT_TRUE(waitUntil([&] { return host().logged("no JACK server answers"); })) << host().log();
  // Without a sound card the stream does not start on ALSA either: an alert says so and why.
  if (host().logged("the audio stream did not start")) {
    const std::string alert = waitForWindow(host::kSoundcardMessageTitle);
    ASSERT_FALSE(alert.empty()) << "no alert about the audio stream";
    EXPECT_TRUE(photograph(alert, "no-jack-alert.png"));
    EXPECT_TRUE(waitUntil([&] {
      if (findWindow(host::kSoundcardMessageTitle).empty()) return true;
      run("xdotool key Return");
      return false;
    })) << "the alert did not close on Return";
  }
  EXPECT_TRUE(photograph(mainWindow(), "no-jack.png"));
  auto line = pixelsOf(mainWindow(), kMonitorLine);
  const auto lineChanges = [&] {
    return waitUntil([&] {
      const auto now = pixelsOf(mainWindow(), kMonitorLine);
      if (now.empty() || now == line) return false;
      line = now;
      return true;
    });
  };

  ASSERT_TRUE(jack->start()) << jack->whyNot();
  RtMidiIn monitor(RtMidi::UNIX_JACK, "monitor");
  monitor.openVirtualPort("monitor in");
  auto device = std::make_unique<RtMidiOut>(RtMidi::UNIX_JACK, "device");
  device->openVirtualPort(kDevicePort);
  EXPECT_TRUE(waitForConnection(output)) << "the remembered device was not connected\n"
                                         << host().log();
  EXPECT_TRUE(host().logged("a JACK server answers")) << host().log();
  EXPECT_TRUE(lineChanges()) << "the monitor line did not change as JACK was taken up";

  const auto [entry, item] = listedPort(kDevicePort);
  ASSERT_GT(item, 0);
  const std::string preferences = chooseFromMenu(kFileTitleX, 0, "Preferences");
  ASSERT_FALSE(preferences.empty()) << "File > Preferences... showed no dialog";
  ASSERT_TRUE(pickFromList(preferences, kInputListX + kMenuItemHeight,
                           kInputListY + kMenuItemHeight / 2, item));
  EXPECT_TRUE(photograph(preferences, "preferences-jack-later.png"));
  EXPECT_TRUE(clickUntil(preferences, kOkX + kOkWidth / 2, kOkY + kOkHeight / 2,
                         [&] { return findWindow("Preferences").empty(); }));
  EXPECT_TRUE(waitForConnection(entry)) << "the device chosen was not connected\n" << host().log();

  const std::vector<unsigned char> noteOn{0x90, 0x3C, 0x64};
  line = pixelsOf(mainWindow(), kMonitorLine);
  device->sendMessage(&noteOn);
  EXPECT_TRUE(lineChanges()) << "the note did not show on the monitor line";
  EXPECT_TRUE(photograph(mainWindow(), "jack-taken-up.png"));

  // The device goes away and comes back: the monitor line says so each time.
  device.reset();
  EXPECT_TRUE(waitUntil([&] { return host().logged("went away"); })) << host().log();
  EXPECT_TRUE(lineChanges()) << "the monitor line did not tell of the device going away";
  EXPECT_TRUE(photograph(mainWindow(), "device-gone.png"));
  device = std::make_unique<RtMidiOut>(RtMidi::UNIX_JACK, "device");
  device->openVirtualPort(kDevicePort);
  EXPECT_TRUE(waitForConnection(entry)) << "the device was not connected again\n" << host().log();
  EXPECT_TRUE(lineChanges()) << "the monitor line did not tell of the device coming back";
  EXPECT_TRUE(photograph(mainWindow(), "device-back.png"));
  EXPECT_EQ(host().stop(), 0) << host().log();
  // The test's clients close once their server has gone, not while it still tells them of the
  // program's clients leaving (see askJack).
  jack->kill();
}

}  // namespace
}  // namespace e2e
