#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <chrono>
#include <thread>

#include <string>
#include <vector>

#include "platform/core/Cursor.h"
#include "platform/core/Pasteboard.h"
#include "platform/objects/Screen.h"
#include "platform/panels/ColorPanel.h"
#include "platform/system/Workspace.h"
#include "support/PlatformHarness.h"
#include "support/TempFiles.h"

using namespace platform;

namespace {

TEST(NSPasteboard, DeclaringReplacesContentsAndDataIsKeptByType) {
  testsupport::PlatformHarness h;
  NSPasteboard& pb = NSPasteboard::generalPasteboard();
  long before = pb.changeCount();
  pb.declareTypes({NSPasteboardTypeString, "com.example.custom"});
  EXPECT_EQ(pb.changeCount(), before + 1);
  EXPECT_TRUE(pb.setString("hello"));
  EXPECT_TRUE(pb.setData({1, 0, 2}, "com.example.custom"));
  EXPECT_EQ(pb.stringForType(), "hello");
  EXPECT_EQ(*pb.dataForType("com.example.custom"), (std::vector<std::uint8_t>{1, 0, 2}));
  EXPECT_FALSE(pb.dataForType("absent"));
  pb.clearContents();
  EXPECT_TRUE(pb.types().empty());
  EXPECT_FALSE(pb.stringForType());
  pb.setFileList({"/tmp/a b", "/tmp/c"});
  EXPECT_EQ(pb.fileList(), (std::vector<std::string>{"/tmp/a b", "/tmp/c"}));
  EXPECT_TRUE(pb.hasType(NSFilenamesPboardType));
}

TEST(NSCursor, CurrentCursorAndNestedHiding) {
  testsupport::PlatformHarness h;
  EXPECT_EQ(NSCursor::currentCursor(), NSCursor::arrowCursor());
  NSCursor::IBeamCursor()->set();
  EXPECT_EQ(NSCursor::currentCursor()->name(), "ibeam");
  NSCursor::hide();
  NSCursor::hide();
  NSCursor::unhide();
  EXPECT_TRUE(NSCursor::isHidden());
  NSCursor::unhide();
  NSCursor::unhide();  // an extra unhide does not go negative
  EXPECT_FALSE(NSCursor::isHidden());
  NSCursor::hide();
  NSCursor::unhide();
  EXPECT_FALSE(NSCursor::isHidden());
}

TEST(NSWorkspace, OpensThroughTheLauncherWithoutAShellAndRefusesOptionLikeTargets) {
  testsupport::PlatformHarness h;
  std::vector<std::vector<std::string>> launched;
  auto previous =
      NSWorkspace::sharedWorkspace().setLauncher([&](const std::vector<std::string>& argv) {
        launched.push_back(argv);
        return true;
      });
  EXPECT_TRUE(NSWorkspace::sharedWorkspace().openURL("https://example.com/a?b=1;rm -rf"));
  EXPECT_FALSE(NSWorkspace::sharedWorkspace().openFile("--help"));
  EXPECT_FALSE(NSWorkspace::sharedWorkspace().openURL(""));
  NSWorkspace::sharedWorkspace().setLauncher(previous);
  ASSERT_EQ(launched.size(), 1u);
  EXPECT_EQ(launched[0],
            (std::vector<std::string>{"xdg-open", "https://example.com/a?b=1;rm -rf"}));
  EXPECT_TRUE(h.logged("refusing to open"));
}

TEST(NSWorkspace, SpawningAMissingProgramFailsCleanly) {
  testsupport::PlatformHarness h;
  EXPECT_FALSE(NSWorkspace::spawnDetached({"/nonexistent/program-that-is-not-there"}));
  EXPECT_TRUE(NSWorkspace::spawnDetached({"true"}));
}

TEST(NSWorkspace, AnApplicationIsStartedByThisProgramWithThePathAsItsOneArgument) {
  testsupport::PlatformHarness h;
  testsupport::TempDir dir;
  const std::string app = dir.file("app"), seen = dir.file("seen");
  testsupport::writeFile(app, "#!/bin/sh\nfor a in \"$@\"; do echo \"[$a]\"; done > '" + seen +
                                  "'\necho $PPID >> '" + seen + "'\n");
  chmod(app.c_str(), 0755);
  const std::string path = dir.file("a b; $(touch pwned) 'c'.txt");
  ASSERT_TRUE(NSWorkspace::sharedWorkspace().openFileWithApplication(path, app));
  std::string text;
  for (int i = 0; i < 500 && text.find('\n') == text.rfind('\n'); ++i) {
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
    text = testsupport::readFile(seen);
  }
  EXPECT_EQ(text, "[" + path + "]\n" + std::to_string(getpid()) + "\n");
  EXPECT_NE(access(dir.file("pwned").c_str(), F_OK), 0);
  // A file that is no program is refused before anything starts.
  EXPECT_FALSE(NSWorkspace::sharedWorkspace().openFileWithApplication(path, seen));
  EXPECT_TRUE(h.logged("is not an application"));
}

TEST(NSWorkspace, ApplicationsAndTheirDocumentsAreCheckedBeforeAnythingStarts) {
  testsupport::PlatformHarness h;
  testsupport::TempDir dir;
  const std::string app = dir.file("app"), text = dir.file("text");
  testsupport::writeFile(app, "#!/bin/sh\n");
  chmod(app.c_str(), 0755);
  testsupport::writeFile(text, "");
  std::vector<std::vector<std::string>> launched;
  NSWorkspace& workspace = NSWorkspace::sharedWorkspace();
  auto previous = workspace.setLauncher([&](const std::vector<std::string>& argv) {
    launched.push_back(argv);
    return true;
  });
  struct Case {
    std::string application, document;
    bool started;
  } cases[] = {
      {app, "", true},            // the application alone
      {app, "/tmp/a.txt", true},  // with its document
      {text, "", false},          // no program
      {dir.path(), "", false},    // a folder
      {"", "", false},            // nothing
      {app, "--help", false},     // a document the application would read as an option
      {app, "-rf", false},
  };
  for (const auto& c : cases) {
    launched.clear();
    const bool started = c.document.empty()
                             ? workspace.launchApplication(c.application)
                             : workspace.openFileWithApplication(c.document, c.application);
    EXPECT_EQ(started, c.started) << c.application << " " << c.document;
    std::vector<std::string> argv{c.application};
    if (!c.document.empty()) argv.push_back(c.document);
    EXPECT_EQ(launched, (c.started ? std::vector<std::vector<std::string>>{argv}
                                   : std::vector<std::vector<std::string>>{}));
  }
  workspace.setLauncher(previous);
  EXPECT_TRUE(h.logged("is not an application"));
}

TEST(NSColorPanel, RunsModallyAndTakesTheScriptedAnswer) {
  testsupport::PlatformHarness h;
  NSWindow* seenModal = nullptr;
  NSColorPanel::setScript([&](NSColorPanel* panel, NSColor initial) -> std::optional<NSColor> {
    seenModal = NSApp()->modalWindow();
    EXPECT_EQ(initial, (NSColor{1, 0, 0, 1}));
    return NSColor{0, 0.5, 1, 1};
  });
  auto chosen = NSColorPanel::sharedColorPanel()->runModal({1, 0, 0, 1});
  EXPECT_EQ(seenModal, NSColorPanel::sharedColorPanel());
  ASSERT_TRUE(chosen);
  EXPECT_EQ(*chosen, (NSColor{0, 0.5, 1, 1}));
  NSColorPanel::setScript({});
  EXPECT_FALSE(NSColorPanel::sharedColorPanel()->runModal({0, 0, 0, 1}));
  EXPECT_FALSE(NSColorPanel::sharedColorPanel()->isVisible());
}

TEST(NSScreen, DefaultHeadlessScreenAndConfiguredOnes) {
  testsupport::PlatformHarness h;
  ASSERT_NE(NSScreen::mainScreen(), nullptr);
  EXPECT_EQ(NSScreen::mainScreen()->frame, NSMakeRect(0, 0, 1280, 800));
  EXPECT_EQ(NSScreen::mainScreen()->visibleFrame.maxY(), 778);
  NSScreen::setScreens({});
  EXPECT_EQ(NSScreen::mainScreen(), nullptr);
  NSScreen::resetToDefault();
}

}  // namespace
