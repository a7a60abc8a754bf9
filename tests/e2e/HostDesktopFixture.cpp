#include "HostDesktopFixture.h"

#include <cairo.h>
#include <fcntl.h>
#include <signal.h>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <thread>
#include <vector>

#include "host/AppResources.h"

namespace e2e {

namespace fs = std::filesystem;

namespace {

constexpr milliseconds kPoll{100};
// How long a hand holds the button down in a click.
constexpr const char* kClickHoldSeconds = "0.08";

std::vector<std::string> lines(const std::string& text) {
  std::vector<std::string> out;
  std::istringstream in(text);
  for (std::string line; std::getline(in, line);)
    if (!line.empty()) out.push_back(line);
  return out;
}

// What a shell command line prints on standard output.
std::string standardOutput(const std::string& line) {
  std::string out;
  if (FILE* pipe = popen(line.c_str(), "r")) {
    char buffer[256];
    while (std::fgets(buffer, sizeof buffer, pipe))
      out += buffer;
    pclose(pipe);
  }
  return out;
}

std::string pointAt(const std::string& window, int x, int y) {
  return "xdotool mousemove --window " + window + " " + std::to_string(x) + " " + std::to_string(y);
}

// Whether a PNG shows more than one colour; why not, when it does not.
::testing::AssertionResult varied(const std::string& path) {
  cairo_surface_t* image = cairo_image_surface_create_from_png(path.c_str());
  if (cairo_surface_status(image) != CAIRO_STATUS_SUCCESS) {
    cairo_surface_destroy(image);
    return ::testing::AssertionFailure() << "no picture at " << path;
  }
  cairo_surface_flush(image);
  const int width = cairo_image_surface_get_width(image);
  const int height = cairo_image_surface_get_height(image);
  const int stride = cairo_image_surface_get_stride(image);
  const unsigned char* data = cairo_image_surface_get_data(image);
  const auto pixel = [&](int px, int py) {
    return reinterpret_cast<const std::uint32_t*>(data + py * stride)[px];
  };
  bool more = false;
  for (int py = 0; py < height && !more; ++py)
    for (int px = 0; px < width && !more; ++px)
      more = pixel(px, py) != pixel(0, 0);
  cairo_surface_destroy(image);
  if (!more)
    return ::testing::AssertionFailure()
           << path << " (" << width << "x" << height << ") is a single colour";
  return ::testing::AssertionSuccess();
}

}  // namespace

bool waitUntil(const std::function<bool()>& done, milliseconds limit) {
  const Clock::time_point deadline = Clock::now() + limit;
  for (;;) {
    if (done()) return true;
    if (Clock::now() >= deadline) return false;
    std::this_thread::sleep_for(kPoll);
  }
}

std::string readFile(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

std::string askJack(const std::string& command) {
  return standardOutput("timeout -s KILL 5 " + command + " 2>/dev/null");
}

HostProcess::HostProcess(const Options& options) : mLog(options.log) {
  mPid = fork();
  if (mPid != 0) return;
  prctl(PR_SET_PDEATHSIG, SIGKILL);
  setenv("DISPLAY", options.display.c_str(), 1);
  setenv("XDG_CONFIG_HOME", options.configHome.c_str(), 1);
  const int log = open(mLog.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
  if (log >= 0) {
    dup2(log, STDOUT_FILENO);
    dup2(log, STDERR_FILENO);
  }
  execl(HOST_PROGRAM, HOST_PROGRAM, static_cast<char*>(nullptr));
  _exit(127);
}

HostProcess::~HostProcess() {
  stop();
}

bool HostProcess::ended() {
  if (mPid <= 0) return true;
  int status = 0;
  if (waitpid(mPid, &status, WNOHANG) != mPid) return false;
  mPid = -1;
  mStatus = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  return true;
}

void HostProcess::quit() {
  if (!ended()) kill(mPid, SIGTERM);
}

int HostProcess::stop() {
  if (ended()) return mStatus;
  kill(mPid, SIGTERM);
  if (!waitUntil([&] { return ended(); })) {
    kill(mPid, SIGKILL);
    waitpid(mPid, nullptr, 0);
    mPid = -1;
    mStatus = -1;
  }
  return mStatus;
}

std::string HostProcess::log() const {
  return readFile(mLog);
}

void HostDesktopTest::SetUp() {
  xvfb = std::make_unique<testbed::XvfbServer>();
  if (!xvfb->running()) GTEST_SKIP() << "no X server for this test: " << xvfb->whyNot();
  jack = std::make_unique<testsupport::JackServer>();
  if (!jack->running()) GTEST_SKIP() << "no JACK server for this test: " << jack->whyNot();
  folder = fs::path(::testing::TempDir()) /
           ("e2e-" + std::to_string(getpid()) + "-" +
            ::testing::UnitTest::GetInstance()->current_test_info()->name());
  fs::remove_all(folder);
  fs::create_directories(folder);
}

void HostDesktopTest::TearDown() {
  if (mHost) {
    const int status = mHost->stop();
    if (HasFailure())
      std::printf("the program's log (exit status %d):\n%s\n", status, mHost->log().c_str());
    mHost.reset();
  }
  std::error_code ignored;
  if (!folder.empty()) fs::remove_all(folder, ignored);
}

::testing::AssertionResult HostDesktopTest::startHost() {
  mHost.reset();
  mMain.clear();
  mHost = std::make_unique<HostProcess>(
      HostProcess::Options{xvfb->display(), folder, folder / "host.log"});
  mMain = waitForWindow(host::kAppName);
  if (mMain.empty()) return ::testing::AssertionFailure() << "the main window did not show";
  return ::testing::AssertionSuccess();
}

fs::path HostDesktopTest::settingsFolder() const {
  return folder / host::kAppName;
}

void HostDesktopTest::writeSettings(const std::string& text) const {
  fs::create_directories(settingsFolder());
  std::ofstream(settingsFile(), std::ios::binary) << text;
}

std::string HostDesktopTest::run(const std::string& command) const {
  return standardOutput("DISPLAY=" + xvfb->display() + " " + command + " 2>/dev/null");
}

std::string HostDesktopTest::findWindow(const std::string& title) const {
  const auto found = lines(run("xdotool search --onlyvisible --name '^" + title + "$'"));
  return found.empty() ? "" : found.front();
}

std::string HostDesktopTest::waitForWindow(const std::string& title, milliseconds limit) const {
  std::string window;
  waitUntil([&] { return !(window = findWindow(title)).empty(); }, limit);
  return window;
}

std::set<std::string> HostDesktopTest::shownWindows() const {
  if (!mHost) return {};
  const auto found =
      lines(run("xdotool search --onlyvisible --pid " + std::to_string(mHost->pid())));
  return {found.begin(), found.end()};
}

std::string HostDesktopTest::waitForNewWindow(const std::set<std::string>& before,
                                              milliseconds limit) const {
  std::string window;
  waitUntil(
      [&] {
        for (const std::string& w : shownWindows())
          if (!before.count(w)) return !(window = w).empty();
        return false;
      },
      limit);
  return window;
}

Placement HostDesktopTest::placementOf(const std::string& window) const {
  Placement p;
  for (const std::string& line : lines(run("xdotool getwindowgeometry --shell " + window))) {
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

void HostDesktopTest::press(const std::string& window, int x, int y) const {
  run(pointAt(window, x, y) + " mousedown 1");
}

void HostDesktopTest::release(const std::string& window, int x, int y) const {
  run(pointAt(window, x, y) + " mouseup 1");
}

void HostDesktopTest::click(const std::string& window, int x, int y) const {
  run(pointAt(window, x, y) + " mousedown 1 sleep " + kClickHoldSeconds + " mouseup 1");
}

bool HostDesktopTest::clickUntil(const std::string& window, int x, int y,
                                 const std::function<bool()>& done) const {
  const Clock::time_point deadline = Clock::now() + kStepLimit;
  while (Clock::now() < deadline) {
    if (done()) return true;
    click(window, x, y);
    if (waitUntil(done, kTryLimit)) return true;
  }
  return done();
}

std::string HostDesktopTest::chooseFromMenu(int titleX, int item, const std::string& windowTitle) {
  const Clock::time_point deadline = Clock::now() + kStepLimit;
  std::string menu;
  while (Clock::now() < deadline) {
    if (std::string target = findWindow(windowTitle); !target.empty()) return target;
    // The menu from the last round may have closed without its item being taken.
    const std::set<std::string> shown = shownWindows();
    if (menu.empty() || !shown.count(menu)) {
      click(mMain, titleX, kMenuBarHeight / 2);
      menu = waitForNewWindow(shown, kTryLimit);
      if (menu.empty()) continue;
    }
    click(menu, kMenuItemHeight, kMenuBorder + item * kMenuItemHeight + kMenuItemHeight / 2);
    if (std::string target = waitForWindow(windowTitle, kTryLimit); !target.empty()) return target;
  }
  return findWindow(windowTitle);
}

bool HostDesktopTest::pickFromList(const std::string& dialog, int x, int y, int item) const {
  const std::set<std::string> before = shownWindows();
  press(dialog, x, y);
  const std::string list = waitForNewWindow(before);
  if (list.empty()) {
    release(dialog, x, y);
    return false;
  }
  release(list, kMenuItemHeight, kMenuBorder + item * kMenuItemHeight + kMenuItemHeight / 2);
  return waitUntil([&] { return !shownWindows().count(list); });
}

std::pair<std::string, int> HostDesktopTest::listedPort(const std::string& port, Listed list) {
  // The input list shows the ports that put data out, the output list those that take it in.
  const std::string direction =
      list == Listed::Input ? "properties: output," : "properties: input,";
  // Each port's name, then its properties and its type on indented lines.
  const std::vector<std::string> listing = lines(askJack("jack_lsp -p -t"));
  int listed = 0;
  for (std::size_t i = 0; i < listing.size(); ++i) {
    if (listing[i].front() == '\t') continue;
    bool shown = false, midi = false;
    for (std::size_t j = i + 1; j < listing.size() && listing[j].front() == '\t'; ++j) {
      shown = shown || listing[j].find(direction) != std::string::npos;
      midi = midi || listing[j] == "\t8 bit raw midi";
    }
    if (!shown || !midi) continue;
    ++listed;
    if (listing[i].find(port) != std::string::npos) return {listing[i], listed};
  }
  return {"", -1};
}

::testing::AssertionResult HostDesktopTest::photograph(const std::string& window,
                                                       const std::string& name) const {
  const fs::path shots = fs::current_path() / "e2e-screenshots";
  fs::create_directories(shots);
  const std::string path = (shots / name).string();
  // A window just shown may not have been drawn yet.
  ::testing::AssertionResult result = ::testing::AssertionFailure();
  waitUntil([&] {
    run("import -window " + window + " " + path);
    return static_cast<bool>(result = varied(path));
  });
  std::printf("screenshot: %s\n", path.c_str());
  return result;
}

std::vector<std::uint32_t> HostDesktopTest::pixelsOf(const std::string& window,
                                                     const Placement& area) const {
  const fs::path path = folder / "region.png";
  run("import -window " + window + " " + path.string());
  std::vector<std::uint32_t> pixels;
  cairo_surface_t* image = cairo_image_surface_create_from_png(path.c_str());
  if (cairo_surface_status(image) == CAIRO_STATUS_SUCCESS &&
      area.x + area.width <= cairo_image_surface_get_width(image) &&
      area.y + area.height <= cairo_image_surface_get_height(image)) {
    cairo_surface_flush(image);
    const unsigned char* data = cairo_image_surface_get_data(image);
    const int stride = cairo_image_surface_get_stride(image);
    for (int py = area.y; py < area.y + area.height; ++py)
      for (int px = area.x; px < area.x + area.width; ++px)
        pixels.push_back(reinterpret_cast<const std::uint32_t*>(data + py * stride)[px]);
  }
  cairo_surface_destroy(image);
  return pixels;
}

}  // namespace e2e
