#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <string>
#include <thread>
#include <vector>

#include "platform/system/Workspace.h"
#include "support/TempFiles.h"
#include "views_support.h"

namespace {

using Argv = std::vector<std::string>;

// Records what the workspace would start instead of starting it.
class ShellExecuteTest : public testsupport::WindowTest {
 protected:
  void SetUp() override {
    mPrevious = platform::NSWorkspace::sharedWorkspace().setLauncher([this](const Argv& argv) {
      launched.push_back(argv);
      return true;
    });
    app = dir.file("Player.app");
    testsupport::writeFile(app, "#!/bin/sh\n");
    chmod(app.c_str(), 0755);
    notApp = dir.file("Plain.app");
    testsupport::writeFile(notApp, "");
  }
  void TearDown() override {
    platform::NSWorkspace::sharedWorkspace().setLauncher(std::move(mPrevious));
  }
  testsupport::TempDir dir;
  std::string app, notApp;
  std::vector<Argv> launched;

 private:
  platform::NSWorkspace::Launcher mPrevious;
};

TEST_F(ShellExecuteTest, EachKindOfTargetOpensTheWayItShould) {
  struct Row {
    const char* file;
    const char* parameters;
    BOOL result;
    Argv argv;  // empty: nothing started
  };
  const Row rows[] = {
      {"HTTPS://example.org/a b", nullptr, TRUE, {"xdg-open", "HTTPS://example.org/a b"}},
      {"notepad", "/home/me/read me.txt", TRUE, {"xdg-open", "/home/me/read me.txt"}},
      {"NOTEPAD.EXE", "/home/me/x.txt", TRUE, {"xdg-open", "/home/me/x.txt"}},
      {"explorer.exe", "/select,\"/home/me/sets/one.syx\"", TRUE, {"xdg-open", "/home/me/sets"}},
      {"/select,\"C:\\sets\\one.syx\"", nullptr, TRUE, {"xdg-open", "C:\\sets"}},
      {"/select,\"noslash\"", nullptr, FALSE, {}},
      {"explorer.exe", "explorer.exe", FALSE, {}},
      {nullptr, nullptr, FALSE, {}},
      {"/home/me/manual.pdf", "", TRUE, {"xdg-open", "/home/me/manual.pdf"}},
      {"-n", nullptr, FALSE, {}},  // would be read as an option
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.file ? row.file : "(null)");
    launched.clear();
    EXPECT_EQ(ShellExecute(nullptr, "open", row.file, row.parameters, nullptr, 0), row.result);
    if (row.argv.empty()) {
      EXPECT_TRUE(launched.empty());
    } else {
      EXPECT_EQ(launched, std::vector<Argv>{row.argv});
    }
  }
}

TEST_F(ShellExecuteTest, ApplicationsStartOnlyWhenTheyAreExecutableFiles) {
  EXPECT_TRUE(ShellExecute(nullptr, "", app.c_str(), nullptr, nullptr, 0));
  EXPECT_TRUE(ShellExecute(nullptr, "", app.c_str(), "/home/me/song.mid", nullptr, 0));
  EXPECT_EQ(launched, (std::vector<Argv>{{app}, {app, "/home/me/song.mid"}}));
  launched.clear();
  EXPECT_FALSE(ShellExecute(nullptr, "", notApp.c_str(), nullptr, nullptr, 0));
  EXPECT_FALSE(ShellExecute(nullptr, "", dir.file("Missing.app").c_str(), nullptr, nullptr, 0));
  EXPECT_FALSE(ShellExecute(nullptr, "", dir.path().c_str(), "/home/me/x", nullptr, 0));
  EXPECT_TRUE(launched.empty());
  EXPECT_TRUE(h.logged("is not an application"));
}

// The real launcher: xdg-open, found on PATH, started without a shell.
TEST_F(ShellExecuteTest, TheDesktopOpenerGetsTheNameWhole) {
  platform::NSWorkspace::sharedWorkspace().setLauncher({});
  const std::string out = dir.file("argv.txt");
  const std::string opener = dir.file("xdg-open");
  testsupport::writeFile(opener, "#!/bin/sh\nfor a in \"$@\"; do printf '%s\\n' \"$a\"; done > '" +
                                     out + ".part'\nmv '" + out + ".part' '" + out + "'\n");
  chmod(opener.c_str(), 0755);
  const char* oldPath = std::getenv("PATH");
  const std::string saved = oldPath ? oldPath : "";
  setenv("PATH", (dir.path() + ":" + saved).c_str(), 1);
  const std::string name = dir.file("my \"set\"; rm -rf x.syx");
  const BOOL opened = ShellExecute(nullptr, "open", name.c_str(), nullptr, nullptr, 0);
  setenv("PATH", saved.c_str(), 1);
  ASSERT_TRUE(opened);
  // The child runs on its own; wait for its answer (not a timing check).
  for (int i = 0; i < 500 && access(out.c_str(), F_OK) != 0; ++i)
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
  EXPECT_EQ(testsupport::readFile(out), name + "\n");
}

class FocusRectTest : public testsupport::ViewsTest {};

TEST_F(FocusRectTest, TheOverlayRidesAboveTheWindowAndGoesAway) {
  void* overlay = nullptr;
  SWELL_DrawFocusRect(window, nullptr, nullptr);  // no handle: nothing
  RECT r{10, 20, 110, 40};
  SWELL_DrawFocusRect(window, &r, &overlay);
  auto* w = platform::liveObjectAs<platform::NSWindow>(overlay);
  ASSERT_NE(w, nullptr);
  EXPECT_EQ(w->parentWindow(), nsWindow());
  EXPECT_EQ(w->styleMask(), platform::NSWindowStyleMaskBorderless);
  EXPECT_EQ(w->alphaValue(), 0.5);
  EXPECT_TRUE(w->ignoresMouseEvents());
  EXPECT_EQ(w->frame().size, (platform::NSSize{100, 20}));
  POINT a{10, 20}, b{110, 40};
  ClientToScreen(window, &a);
  ClientToScreen(window, &b);
  EXPECT_EQ(w->frame().origin, (platform::NSPoint{static_cast<double>(std::min(a.x, b.x)),
                                                  static_cast<double>(std::min(a.y, b.y))}));
  // Clicks pass through it to the window below.
  POINT middle{60, 30};
  ClientToScreen(window, &middle);
  EXPECT_EQ(WindowFromPoint(middle), window);
  // Moving keeps the overlay; a null rectangle closes it.
  r.right = 60;
  SWELL_DrawFocusRect(window, &r, &overlay);
  EXPECT_EQ(overlay, w);
  EXPECT_EQ(w->frame().size.width, 50);
  SWELL_DrawFocusRect(window, nullptr, &overlay);
  EXPECT_EQ(overlay, nullptr);
  EXPECT_TRUE(nsWindow()->childWindows().empty());
  // Without a window it floats at its own level.
  SWELL_DrawFocusRect(nullptr, &r, &overlay);
  auto* floating = platform::liveObjectAs<platform::NSWindow>(overlay);
  ASSERT_NE(floating, nullptr);
  EXPECT_EQ(floating->level(), 101);
  EXPECT_EQ(floating->parentWindow(), nullptr);
  SWELL_DrawFocusRect(nullptr, nullptr, &overlay);
}

}  // namespace
