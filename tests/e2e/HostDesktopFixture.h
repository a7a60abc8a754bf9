#pragma once

// The program as a user meets it: started on an X server of the test's own with a JACK server
// of its own, driven with xdotool by the names of its windows, with real time between press and
// release. Every step waits for what it needs (a window, a menu, a file) up to a limit and
// retries an action whose effect does not show, so a loaded machine slows a test down instead
// of failing it.

#include <gtest/gtest.h>
#include <sys/types.h>

#include <chrono>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <memory>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "support/JackServer.h"
#include "testbed/XvfbServer.h"

namespace e2e {

using Clock = std::chrono::steady_clock;
using std::chrono::milliseconds;

// How long a step may take before the test gives up on it, and how long one try of an action
// waits for its effect before the action is made again.
inline constexpr milliseconds kStepLimit{20000};
inline constexpr milliseconds kTryLimit{3000};

// The port name the program knows its device by.
inline constexpr const char* kDevicePort = "Tellmar-Audio Corvane Brisko";

// The main window's menu bar runs above its content; "File" is its first title.
inline constexpr int kMenuBarHeight = 22;
inline constexpr int kFileTitleX = 16;
// Menu windows: a one-point border, then items 20 points high.
inline constexpr int kMenuBorder = 1;
inline constexpr int kMenuItemHeight = 20;

// "Preferences", in dialog points (dialog units times 1.5): the input and output lists, OK.
inline constexpr int kInputListX = 23, kInputListY = 60;
inline constexpr int kOutputListX = 23, kOutputListY = 105;
inline constexpr int kOkX = 165, kOkY = 158, kOkWidth = 75, kOkHeight = 21;

// A window's place and size on the X screen.
struct Placement {
  int x = 0, y = 0, width = 0, height = 0;
};

// The line of the application's monitor in the main window, in window points (the editor lies
// under the menu bar).
inline constexpr Placement kMonitorLine{160, kMenuBarHeight + 270, 410, 30};

// Polls `done` until it holds or the limit passes; whether it held.
bool waitUntil(const std::function<bool()>& done, milliseconds limit = kStepLimit);

std::string readFile(const std::filesystem::path& path);

// What a JACK tool prints (`jack_lsp -c`), run as a process of its own on the test's server and
// ended when it takes longer than a few seconds; "" when it prints nothing. The test asks JACK
// through such tools rather than through clients of its own: JACK's client library cancels a
// client's notification thread wherever it is as the client closes, and one cancelled while it
// handles a notification leaves the library's lock taken. The process that closed it then waits
// forever at its next JACK call, and so does the server once that process's other clients stop
// reading what it sends them, the program's calls with it. A tool's client is its only one.
std::string askJack(const std::string& command);

// The program, started with its own settings folder; its output goes to a log file.
class HostProcess {
 public:
  struct Options {
    std::string display;
    std::filesystem::path configHome;  // XDG_CONFIG_HOME
    std::filesystem::path log;
  };
  explicit HostProcess(const Options& options);
  ~HostProcess();
  HostProcess(const HostProcess&) = delete;
  HostProcess& operator=(const HostProcess&) = delete;

  pid_t pid() const { return mPid; }
  // Whether the program has ended by itself; its status is then kept for stop().
  bool ended();
  // Sends the program SIGTERM and returns at once.
  void quit();
  // Ends the program with SIGTERM; its exit status, or -1 when it had to be killed or died
  // of a signal.
  int stop();
  std::string log() const;
  bool logged(const std::string& text) const { return log().find(text) != std::string::npos; }

 private:
  std::filesystem::path mLog;
  pid_t mPid = -1;
  int mStatus = -1;
};

// One test: an X server, a JACK server and a settings folder of its own; the program is
// started by the test, once or more. Skips when Xvfb or jackd cannot start.
class HostDesktopTest : public ::testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;

  // Starts the program (a running one is stopped first) and waits for its main window.
  ::testing::AssertionResult startHost();
  HostProcess& host() { return *mHost; }
  const std::string& mainWindow() const { return mMain; }
  // The settings folder of the program and its settings file.
  std::filesystem::path settingsFolder() const;
  std::filesystem::path settingsFile() const { return settingsFolder() / "settings.ini"; }
  // Writes the settings file before the program starts.
  void writeSettings(const std::string& text) const;

  // An X client command run on the test's display; its standard output.
  std::string run(const std::string& command) const;
  // The visible window whose title is exactly this, "" when none; waitForWindow waits for it.
  std::string findWindow(const std::string& title) const;
  std::string waitForWindow(const std::string& title, milliseconds limit = kStepLimit) const;
  std::set<std::string> shownWindows() const;
  // A window of the program that was not shown before (a menu), "" when none shows in time.
  std::string waitForNewWindow(const std::set<std::string>& before,
                               milliseconds limit = kStepLimit) const;
  Placement placementOf(const std::string& window) const;

  // The pointer in window points: moved there, then the left button pressed, released, or
  // pressed and released after a hand's pause.
  void press(const std::string& window, int x, int y) const;
  void release(const std::string& window, int x, int y) const;
  void click(const std::string& window, int x, int y) const;
  // Clicks until `done` holds, giving each click kTryLimit to show its effect; false when
  // the step limit passes first.
  bool clickUntil(const std::string& window, int x, int y, const std::function<bool()>& done) const;
  // Opens the main window's menu whose title lies at x of the bar and chooses its item of that
  // index, until a window of that title shows; that window, or "".
  std::string chooseFromMenu(int titleX, int item, const std::string& windowTitle);

  // Picks an item of a drop-down list as a hand does: pressed on the list, its menu opens, and
  // the button is let go on the item. Whether the menu opened and closed again.
  bool pickFromList(const std::string& dialog, int x, int y, int item) const;
  // The entry the program lists for a JACK port named `port`, and its place in the lists
  // (after "off"), as the MIDI library lists the MIDI ports that put data out (for the input
  // list) or take it in (for the output list), in the server's order; "" and -1 when no such
  // port exists.
  enum class Listed { Input, Output };
  static std::pair<std::string, int> listedPort(const std::string& port,
                                                Listed list = Listed::Input);

  // Saves a picture of the window under e2e-screenshots and tells whether it shows more than
  // one colour.
  ::testing::AssertionResult photograph(const std::string& window, const std::string& name) const;
  // The pixels of that part of the window as the screen shows them; empty when no picture
  // could be taken.
  std::vector<std::uint32_t> pixelsOf(const std::string& window, const Placement& area) const;

  std::unique_ptr<testbed::XvfbServer> xvfb;
  std::unique_ptr<testsupport::JackServer> jack;
  std::filesystem::path folder;  // the test's own: XDG_CONFIG_HOME and the program's log

 private:
  std::unique_ptr<HostProcess> mHost;
  std::string mMain;
};

}  // namespace e2e
