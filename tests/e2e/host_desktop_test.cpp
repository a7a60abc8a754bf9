// The program as a user meets it: started on an X server with a JACK server and a MIDI device
// port, driven with xdotool through its menu and "Preferences", photographed with ImageMagick.

#include <cairo.h>
#include <fcntl.h>
#include <gtest/gtest.h>
#include <rtmidi/RtMidi.h>
#include <signal.h>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <set>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "host/AppResources.h"
#include "support/JackServer.h"
#include "testbed/XvfbServer.h"

namespace {

namespace fs = std::filesystem;
using namespace std::chrono_literals;

constexpr const char* kDevicePort = "Tellmar-Audio Corvane Brisko";
// Seconds to wait for a window to show.
constexpr int kWindowLimitSeconds = 20;
// Time for the frames after an action to be drawn and presented.
constexpr auto kSettle = 700ms;
// The main window's menu bar runs above its content; "File" is its first title.
constexpr int kMenuBarHeight = 22;
constexpr int kFileTitleX = 16, kFileTitleY = kMenuBarHeight / 2;
// Menu windows: a one-point border, then items 20 points high.
constexpr int kMenuBorder = 1;
constexpr int kMenuItemHeight = 20;
// "Preferences": the input list and OK, in dialog points (dialog units times 1.5).
constexpr int kInputListX = 23, kInputListY = 60;
constexpr int kOkX = 165, kOkY = 158, kOkWidth = 75, kOkHeight = 21;

// An X client command run on the test's display; its standard output.
std::string run(const testbed::XvfbServer& x, const std::string& command) {
  const std::string line = "DISPLAY=" + x.display() + " " + command + " 2>/dev/null";
  std::string out;
  if (FILE* pipe = popen(line.c_str(), "r")) {
    char buffer[256];
    while (std::fgets(buffer, sizeof buffer, pipe))
      out += buffer;
    pclose(pipe);
  }
  return out;
}

std::vector<std::string> lines(const std::string& text) {
  std::vector<std::string> out;
  std::istringstream in(text);
  for (std::string line; std::getline(in, line);)
    if (!line.empty()) out.push_back(line);
  return out;
}

// The shown window whose title is exactly this, or "" when none shows in time.
std::string waitForWindow(const testbed::XvfbServer& x, const std::string& title) {
  const auto found =
      lines(run(x, "timeout " + std::to_string(kWindowLimitSeconds) +
                       " xdotool search --sync --onlyvisible --name '^" + title + "$'"));
  return found.empty() ? "" : found.front();
}

std::set<std::string> shownWindowsOf(const testbed::XvfbServer& x, pid_t pid) {
  const auto found = lines(run(x, "xdotool search --onlyvisible --pid " + std::to_string(pid)));
  return {found.begin(), found.end()};
}

// A window of the program that was not shown before (a menu), or "" when none shows in time.
std::string waitForNewWindow(const testbed::XvfbServer& x, pid_t pid,
                             const std::set<std::string>& before) {
  for (int i = 0; i < kWindowLimitSeconds * 10; ++i) {
    for (const std::string& w : shownWindowsOf(x, pid))
      if (!before.count(w)) return w;
    std::this_thread::sleep_for(100ms);
  }
  return "";
}

// A window's place and size on the X screen.
struct Placement {
  int x = 0, y = 0, width = 0, height = 0;
};

Placement placementOf(const testbed::XvfbServer& x, const std::string& window) {
  Placement p;
  for (const std::string& line : lines(run(x, "xdotool getwindowgeometry --shell " + window))) {
    const std::size_t equals = line.find('=');
    if (equals == std::string::npos) continue;
    const std::string name = line.substr(0, equals);
    const int value = std::atoi(line.c_str() + equals + 1);
    if (name == "X") p.x = value;
    if (name == "Y") p.y = value;
    if (name == "WIDTH") p.width = value;
    if (name == "HEIGHT") p.height = value;
  }
  return p;
}

// Moves the pointer to a point of the window, then presses, releases or clicks the left button.
void pointerIn(const testbed::XvfbServer& x, const std::string& window, int px, int py,
               const std::string& button) {
  run(x, "xdotool mousemove --window " + window + " " + std::to_string(px) + " " +
             std::to_string(py) + " " + button + " 1");
  std::this_thread::sleep_for(kSettle);
}

void clickIn(const testbed::XvfbServer& x, const std::string& window, int px, int py) {
  pointerIn(x, window, px, py, "click");
}

// Saves a picture of the window and tells whether it shows more than one colour.
::testing::AssertionResult photograph(const testbed::XvfbServer& x, const std::string& window,
                                      const std::string& path) {
  run(x, "import -window " + window + " " + path);
  cairo_surface_t* image = cairo_image_surface_create_from_png(path.c_str());
  if (cairo_surface_status(image) != CAIRO_STATUS_SUCCESS) {
    cairo_surface_destroy(image);
    return ::testing::AssertionFailure() << "no picture of window " << window << " at " << path;
  }
  cairo_surface_flush(image);
  const int width = cairo_image_surface_get_width(image);
  const int height = cairo_image_surface_get_height(image);
  const int stride = cairo_image_surface_get_stride(image);
  const unsigned char* data = cairo_image_surface_get_data(image);
  const auto pixel = [&](int px, int py) {
    return reinterpret_cast<const std::uint32_t*>(data + py * stride)[px];
  };
  bool varied = false;
  for (int py = 0; py < height && !varied; ++py)
    for (int px = 0; px < width && !varied; ++px)
      varied = pixel(px, py) != pixel(0, 0);
  cairo_surface_destroy(image);
  std::printf("screenshot: %s\n", path.c_str());
  if (!varied)
    return ::testing::AssertionFailure()
           << path << " (" << width << "x" << height << ") is a single colour";
  return ::testing::AssertionSuccess();
}

// The program, started on the test's display with its own settings folder; its output goes to
// a log file shown when the test fails.
class HostProcess {
 public:
  HostProcess(const testbed::XvfbServer& x, const fs::path& folder) : mLog(folder / "host.log") {
    mPid = fork();
    if (mPid == 0) {
      prctl(PR_SET_PDEATHSIG, SIGKILL);
      setenv("DISPLAY", x.display().c_str(), 1);
      setenv("XDG_CONFIG_HOME", folder.c_str(), 1);
      const int log = open(mLog.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
      if (log >= 0) {
        dup2(log, STDOUT_FILENO);
        dup2(log, STDERR_FILENO);
      }
      execl(HOST_PROGRAM, HOST_PROGRAM, static_cast<char*>(nullptr));
      _exit(127);
    }
  }
  ~HostProcess() { stop(); }
  pid_t pid() const { return mPid; }

  // Ends the program with SIGTERM; its exit status, or -1 when it had to be killed.
  int stop() {
    if (mPid <= 0) return mStatus;
    kill(mPid, SIGTERM);
    int status = 0;
    for (int i = 0; i < kWindowLimitSeconds * 10; ++i) {
      if (waitpid(mPid, &status, WNOHANG) == mPid) {
        mPid = -1;
        return mStatus = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
      }
      std::this_thread::sleep_for(100ms);
    }
    kill(mPid, SIGKILL);
    waitpid(mPid, nullptr, 0);
    mPid = -1;
    return mStatus = -1;
  }
  std::string log() const {
    std::ifstream in(mLog);
    return std::string(std::istreambuf_iterator<char>(in), {});
  }

 private:
  fs::path mLog;
  pid_t mPid = -1;
  int mStatus = -1;
};

std::string readFile(const fs::path& path) {
  std::ifstream in(path);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

TEST(HostDesktop, PreferencesFromTheFileMenuPicksTheDeviceAndRemembersIt) {
  testbed::XvfbServer x;
  if (!x.running()) GTEST_SKIP() << "no X server for this test: " << x.whyNot();
  testsupport::JackServer jack;
  if (!jack.running()) GTEST_SKIP() << "no JACK server for this test: " << jack.whyNot();
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

  const fs::path folder = fs::path(::testing::TempDir()) / ("e2e-" + std::to_string(getpid()));
  fs::remove_all(folder);
  fs::create_directories(folder);
  const fs::path shots = fs::current_path() / "e2e-screenshots";
  fs::create_directories(shots);
  HostProcess program(x, folder);
  const std::string main = waitForWindow(x, host::kAppName);
  ASSERT_FALSE(main.empty()) << program.log();
  std::this_thread::sleep_for(kSettle);
  EXPECT_TRUE(photograph(x, main, (shots / "main-window.png").string()));

  // File, then "Preferences...", its first item.
  std::set<std::string> before = shownWindowsOf(x, program.pid());
  clickIn(x, main, kFileTitleX, kFileTitleY);
  const std::string fileMenu = waitForNewWindow(x, program.pid(), before);
  ASSERT_FALSE(fileMenu.empty()) << "the File menu did not open\n" << program.log();
  EXPECT_TRUE(photograph(x, fileMenu, (shots / "file-menu.png").string()));
  clickIn(x, fileMenu, kMenuItemHeight, kMenuBorder + kMenuItemHeight / 2);
  const std::string preferences = waitForWindow(x, "Preferences");
  ASSERT_FALSE(preferences.empty()) << program.log();
  std::this_thread::sleep_for(kSettle);
  // Over the main window that owns it, as far as the screen's left edge allows: both windows
  // leave their title bars out of the X window alike, so the centres compare directly.
  const Placement mainPlace = placementOf(x, main), prefsPlace = placementOf(x, preferences);
  ASSERT_GT(prefsPlace.width, 0);
  const double mainCentreX = mainPlace.x + mainPlace.width / 2.0;
  EXPECT_NEAR(prefsPlace.x, std::max(0.0, mainCentreX - prefsPlace.width / 2.0), 1);
  EXPECT_NEAR(prefsPlace.y + prefsPlace.height / 2.0, mainPlace.y + mainPlace.height / 2.0, 1);

  // The device in the input list: pressed, the list's menu opens, and the button is let go on
  // the device's item.
  before = shownWindowsOf(x, program.pid());
  pointerIn(x, preferences, kInputListX + kMenuItemHeight, kInputListY + kMenuItemHeight / 2,
            "mousedown");
  const std::string listMenu = waitForNewWindow(x, program.pid(), before);
  ASSERT_FALSE(listMenu.empty()) << "the input list did not open\n" << program.log();
  pointerIn(x, listMenu, kMenuItemHeight,
            kMenuBorder + deviceItem * kMenuItemHeight + kMenuItemHeight / 2, "mouseup");
  EXPECT_TRUE(photograph(x, preferences, (shots / "preferences.png").string()));
  clickIn(x, preferences, kOkX + kOkWidth / 2, kOkY + kOkHeight / 2);

  const fs::path settings = folder / host::kAppName / "settings.ini";
  std::string written;
  for (int i = 0; i < kWindowLimitSeconds * 10; ++i) {
    written = readFile(settings);
    if (written.find("indev=" + deviceEntry) != std::string::npos) break;
    std::this_thread::sleep_for(100ms);
  }
  EXPECT_NE(written.find("indev=" + deviceEntry), std::string::npos) << written;
  EXPECT_EQ(program.stop(), 0) << program.log();
  fs::remove_all(folder);
}

}  // namespace
