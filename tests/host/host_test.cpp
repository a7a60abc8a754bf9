#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "HostFixture.h"
#include "base/detail/TestHooks.h"
#include "platform/core/Button.h"
#include "platform/core/PopUpButton.h"
#include "platform/core/View.h"
#include "platform/display/Event.h"
#include "platform/panels/Alert.h"
#include "support/ReadOnlyFolder.h"
#include "windowing/Win32.h"
#include "windowing/core/WindowInterfaces.h"

namespace hosttest {
namespace {

std::string readFile(const std::string& path) {
  std::ifstream in(path);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

// Remembered audio devices that do not start: the defaults instead, and once the main window
// stands the user is told in an alert, which names the cause when no JACK server answers.
TEST_F(HostTest, AnAudioDeviceThatDoesNotStartIsReportedInAnAlert) {
  std::filesystem::create_directories(config / host::kAppName);
  std::ofstream(settingsFile()) << "[audio]\noutdev=no such device\n";
  std::string shown;
  answers.add([&](platform::NSWindow* window) {
    auto* alert = dynamic_cast<platform::NSAlertPanel*>(window);
    ASSERT_NE(alert, nullptr);
    shown = alert->title() + ": " + alert->message();
    testsupport::clickView(h, alert->button(platform::NSAlertDefaultReturn));
  });
  start();
  const std::string cause =
      hostObject()->UsesJack() ? "" : std::string("\n\n") + host::kNoJackCause;
  EXPECT_EQ(shown,
            std::string(host::kSoundcardMessageTitle) + ": " + host::kSoundcardMessage + cause);
  EXPECT_TRUE(IsWindowVisible(host::MainWindow()));
}

// A quit request (Ctrl+C, SIGTERM) while a dialog is up ends the dialog first, as cancelled,
// then the program, through the same road as Quit.
TEST_F(HostTest, AQuitRequestEndsAnOpenDialogAndThenTheProgram) {
  start();
  withPreferences([&](HWND) {
    host::RequestQuit();
    h.advance(iplug::IPlugAPP::kTimerIntervalMs);
  });
  EXPECT_FALSE(h.logged("quitting on a signal"));
  h.advance(iplug::IPlugAPP::kTimerIntervalMs);
  EXPECT_TRUE(h.logged("quitting on a signal"));
}

// A fresh account has no configuration folder yet: it is made, and the defaults written.
TEST_F(HostTest, AMissingConfigurationFolderIsMadeWithTheFoldersAboveIt) {
  const std::filesystem::path fresh = config / "fresh" / "account";
  setenv("XDG_CONFIG_HOME", fresh.c_str(), 1);
  start();
  EXPECT_NE(readFile((fresh / host::kAppName / "settings.ini").string()).find("indev=off"),
            std::string::npos);
}

// Codes with no work answer 0; a key message without a window or MSG is not consumed;
// a menu command reaches the main window only when its low 16 bits name one.
TEST_F(HostTest, TheApplicationCallbackAnswersEveryCode) {
  base::LogCapture log;
  start();
  EXPECT_NE(readFile(settingsFile()).find("outdev=off"), std::string::npos);
  MSG noWindow;
  EXPECT_EQ(AppMainProc(SWELLAPP_PROCESSMESSAGE, 0, 0), 0);
  EXPECT_EQ(AppMainProc(SWELLAPP_PROCESSMESSAGE, reinterpret_cast<INT_PTR>(&noWindow), 0), 0);
  EXPECT_EQ(AppMainProc(SWELLAPP_ACTIVATE, 1, 0), 0);
  EXPECT_EQ(AppMainProc(SWELLAPP_ONCOMMAND, 0x10000, 0), 0);
  EXPECT_FALSE(log.contains("demo: menu command"));
  EXPECT_EQ(AppMainProc(SWELLAPP_ONCOMMAND, 0x10000 | host::kCmdAbout, 0), 0);
  EXPECT_TRUE(log.contains("demo: menu command 40005"));
  // The menu from 40004 hangs on the main window.
  HMENU menu = GetMenu(host::MainWindow());
  ASSERT_NE(menu, nullptr);
  EXPECT_EQ(GetMenuItemCount(menu), 3);
}

// Escape and Return without modifiers go to the focused view and are consumed; other
// keys, key-ups and modified keys are left to the normal route.
TEST_F(HostTest, OnlyPlainEscapeAndReturnAreConsumed) {
  start();
  struct Row {
    UINT message;
    WPARAM key;
    LPARAM flags;
    INT_PTR consumed;
  };
  const Row rows[] = {
      {WM_KEYDOWN, VK_ESCAPE, FVIRTKEY, 1}, {WM_KEYDOWN, VK_RETURN, FVIRTKEY, 1},
      {WM_KEYDOWN, VK_RETURN, 0, 1},        {WM_KEYDOWN, VK_ESCAPE, FVIRTKEY | FSHIFT, 0},
      {WM_KEYUP, VK_ESCAPE, FVIRTKEY, 0},   {WM_KEYDOWN, 'A', 0, 0},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.key);
    MSG msg;
    msg.hwnd = host::MainWindow();
    msg.message = row.message;
    msg.wParam = row.key;
    msg.lParam = row.flags;
    platform::NSEvent event;
    event.type =
        row.message == WM_KEYDOWN ? platform::NSEventTypeKeyDown : platform::NSEventTypeKeyUp;
    EXPECT_EQ(AppMainProc(SWELLAPP_PROCESSMESSAGE, reinterpret_cast<INT_PTR>(&msg),
                          reinterpret_cast<INT_PTR>(&event)),
              row.consumed);
  }
}

// A remembered device that is absent keeps its place: it is listed under its name marked absent
// (a name longer than any fixed buffer, whole) and selected, and OK without a change leaves the
// file as it was, byte for byte. Only what the user changes is written, so what another
// instance stored meanwhile stays; Apply writes and keeps the dialog, Cancel writes nothing.
TEST_F(HostTest, PreferencesWriteOnlyWhatTheUserChanged) {
  const std::string longName(300, 'x');
  const std::string stored = "[midi]\nindev=" + longName + "\noutdev=" + longName + "\n";
  std::filesystem::create_directories(config / host::kAppName);
  std::ofstream(settingsFile()) << stored;
  start();
  EXPECT_EQ(hostObject()->Settings().midiInDev, longName);

  withPreferences([&](HWND dialog) {
    // Every control lies inside the dialog.
    auto* content = swell::objectFromHandleAs<platform::NSView>(dialog);
    for (int id : {IDOK, host::kApplyButton, IDCANCEL, host::kMidiInList, host::kMidiOutList}) {
      const platform::NSRect frame =
          swell::objectFromHandleAs<platform::NSView>(GetDlgItem(dialog, id))->frame();
      const platform::NSRect bounds = content->bounds();
      EXPECT_TRUE(frame.minX() >= bounds.minX() && frame.maxX() <= bounds.maxX() &&
                  frame.minY() >= bounds.minY() && frame.maxY() <= bounds.maxY())
          << id;
    }
    EXPECT_EQ(selection(dialog, host::kMidiInList), longName + host::kAbsentDeviceMark);
    // Cut to fit its box, the name keeps the marker whole.
    EXPECT_TRUE(
        swell::objectFromHandleAs<platform::NSPopUpButton>(GetDlgItem(dialog, host::kMidiInList))
            ->shownTitle()
            .ends_with("\u2026" + std::string(host::kAbsentDeviceMark)));
    SendMessage(dialog, WM_COMMAND, IDOK, 0);
  });
  EXPECT_EQ(readFile(settingsFile()), stored);

  // Another instance stores its output device meanwhile.
  std::ofstream(settingsFile()) << "[midi]\nindev=" << longName << "\noutdev=other\n";
  withPreferences([&](HWND dialog) {
    ASSERT_TRUE(pick(dialog, host::kMidiOutList, "off"));
    SendMessage(dialog, WM_COMMAND, IDCANCEL, 0);
  });
  withPreferences([&](HWND dialog) {
    ASSERT_TRUE(pick(dialog, host::kMidiInList, "off"));
    SendMessage(dialog, WM_COMMAND, host::kApplyButton, 0);
    EXPECT_TRUE(IsWindow(dialog));
    EXPECT_EQ(readFile(settingsFile()), "[midi]\nindev=off\noutdev=other\n\n");
    SendMessage(dialog, WM_COMMAND, IDOK, 0);
  });
  EXPECT_EQ(hostObject()->Settings().midiInDev, "off");
  EXPECT_EQ(hostObject()->Settings().midiOutDev, longName);
}

// A choice that cannot be stored is not passed off as stored: the user is told in an alert
// naming the file, the log says so, "Preferences" stays open, and the next OK, with nothing
// changed since, writes it once the folder takes it.
TEST_F(HostTest, AChoiceThatCannotBeStoredIsReportedAndStoredOnTheNextOk) {
  std::filesystem::create_directories(config / host::kAppName);
  std::ofstream(settingsFile()) << "[midi]\nindev=Gone device\noutdev=off\n";
  start();
  testsupport::ReadOnlyFolder locked(config / host::kAppName);
  if (!locked.ok()) GTEST_SKIP() << locked.whyNot();
  std::string told;
  withPreferences([&](HWND dialog) {
    answers.add([&](platform::NSWindow* window) {
      auto* alert = dynamic_cast<platform::NSAlertPanel*>(window);
      ASSERT_NE(alert, nullptr);
      told = alert->title() + ": " + alert->message();
      testsupport::clickView(h, alert->button(platform::NSAlertDefaultReturn));
    });
    ASSERT_TRUE(pick(dialog, host::kMidiInList, "off"));
    SendMessage(dialog, WM_COMMAND, IDOK, 0);
    EXPECT_TRUE(IsWindow(dialog));
    EXPECT_TRUE(h.logged("cannot write the MIDI devices chosen to " + settingsFile()));
    locked.restore();
    SendMessage(dialog, WM_COMMAND, IDOK, 0);
  });
  EXPECT_EQ(told, std::string(host::kSettingsNotSavedTitle) + ": " +
                      host::kSettingsNotSavedMessage + "\n" + settingsFile());
  EXPECT_EQ(readFile(settingsFile()), "[midi]\nindev=off\noutdev=off\n\n");
}

}  // namespace
}  // namespace hosttest
