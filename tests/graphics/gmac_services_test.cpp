// The platform services of IGraphicsMac: clipboard, pointer, addresses and the colour chooser,
// each through the platform layer with nothing real launched or shown.

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cmath>
#include <fstream>
#include <optional>
#include <string>
#include <vector>

#include "base/detail/TestHooks.h"
#include "graphics/IGraphicsMac.h"
#include "platform/core/Cursor.h"
#include "platform/core/Pasteboard.h"
#include "platform/panels/ColorPanel.h"
#include "platform/system/Workspace.h"
#include "support/FakeEditorDelegate.h"
#include "support/PlatformHarness.h"

using namespace iplug::igraphics;
using testsupport::FakeEditorDelegate;

namespace {

class MacServices : public ::testing::Test {
 protected:
  testsupport::PlatformHarness h;
  FakeEditorDelegate dlg;
  IGraphicsMac g{dlg, 100, 100};
};

// --- Clipboard ---

TEST_F(MacServices, ClipboardTextMakesTheRoundTripAndAnEmptyClipboardHasNone) {
  WDL_String got("stale");
  EXPECT_FALSE(g.GetTextFromClipboard(got));
  EXPECT_STREQ(got.Get(), "");

  // Files only: still no text.
  platform::NSPasteboard::generalPasteboard().setFileList({"/tmp/a.csx"});
  EXPECT_FALSE(g.GetTextFromClipboard(got));

  ASSERT_TRUE(g.SetTextInClipboard("Gain \xE2\x80\x93 3 dB"));
  EXPECT_FALSE(platform::NSPasteboard::generalPasteboard().hasType(
      platform::NSFilenamesPboardType));  // replaced, not added to
  ASSERT_TRUE(g.GetTextFromClipboard(got));
  EXPECT_STREQ(got.Get(), "Gain \xE2\x80\x93 3 dB");
}

TEST_F(MacServices, IllFormedTextNeverCrossesTheClipboard) {
  ASSERT_TRUE(g.SetTextInClipboard("kept"));
  base::LogCapture logged;
  EXPECT_FALSE(g.SetTextInClipboard("\xC0\xAF"));  // an overlong '/'
  EXPECT_FALSE(g.SetTextInClipboard(nullptr));
  EXPECT_EQ(logged.count(), 2u);
  WDL_String got;
  ASSERT_TRUE(g.GetTextFromClipboard(got));
  EXPECT_STREQ(got.Get(), "kept");

  // Bytes put there by someone else come out well formed.
  platform::NSPasteboard::generalPasteboard().setString(
      "a\xFF"
      "b");
  ASSERT_TRUE(g.GetTextFromClipboard(got));
  EXPECT_STREQ(got.Get(),
               "a\xEF\xBF\xBD"
               "b");
}

// --- Pointer ---

TEST_F(MacServices, OneShowUndoesAnyNumberOfHides) {
  g.HideMouseCursor(true, true);
  g.HideMouseCursor(true, false);
  EXPECT_TRUE(platform::NSCursor::isHidden());
  EXPECT_TRUE(g.IsCursorHidden());
  g.HideMouseCursor(false);
  EXPECT_FALSE(platform::NSCursor::isHidden());
  EXPECT_FALSE(g.IsCursorHidden());

  // Releasing the mouse capture shows a hidden pointer too.
  g.HideMouseCursor(true, true);
  g.ReleaseMouseCapture();
  EXPECT_FALSE(platform::NSCursor::isHidden());

  // And so does an editor that goes while it holds the pointer hidden.
  {
    IGraphicsMac other(dlg, 10, 10);
    other.HideMouseCursor(true, true);
  }
  EXPECT_FALSE(platform::NSCursor::isHidden());
}

TEST_F(MacServices, PointerShapesByNumber) {
  struct Row {
    ECursor cursor;
    platform::NSCursor* shape;
  };
  const Row rows[] = {
      {ECursor::HAND, platform::NSCursor::pointingHandCursor()},
      {ECursor::HELP, platform::NSCursor::arrowCursor()},  // no such shape here
  };
  for (const Row& row : rows) {
    g.SetMouseCursor(static_cast<int>(row.cursor));
    EXPECT_EQ(platform::NSCursor::currentCursor(), row.shape) << static_cast<int>(row.cursor);
    EXPECT_EQ(g.GetMouseCursor(), static_cast<int>(row.cursor));
  }

  g.SetMouseCursor(static_cast<int>(ECursor::HAND));
  base::LogCapture logged;
  for (int bad : {-1, static_cast<int>(ECursor::kNumCursors), 1000}) {
    g.SetMouseCursor(bad);
    EXPECT_EQ(platform::NSCursor::currentCursor(), platform::NSCursor::arrowCursor());
    EXPECT_EQ(g.GetMouseCursor(), 0);
  }
  EXPECT_EQ(logged.count(), 3u);
}

// --- Addresses ---

class MacOpenURL : public MacServices {
 protected:
  void SetUp() override {
    mPrevious = platform::NSWorkspace::sharedWorkspace().setLauncher(
        [this](const std::vector<std::string>& argv) {
          launched.push_back(argv);
          return true;
        });
    char dir[] = "/tmp/gmac_urlXXXXXX";
    ASSERT_NE(mkdtemp(dir), nullptr);
    mDir = dir;
    // A folder named "http:" makes a real file whose path has the web prefix in its middle.
    ASSERT_EQ(mkdir((mDir + "/http:").c_str(), 0700), 0);
    file = mDir + "/http://manual.pdf";
    std::ofstream(file) << "pdf";
  }
  void TearDown() override {
    platform::NSWorkspace::sharedWorkspace().setLauncher(std::move(mPrevious));
    unlink((mDir + "/http:/manual.pdf").c_str());
    rmdir((mDir + "/http:").c_str());
    rmdir(mDir.c_str());
  }

  std::vector<std::vector<std::string>> launched;
  std::string file;

 private:
  platform::NSWorkspace::Launcher mPrevious;
  std::string mDir;
};

TEST_F(MacOpenURL, OnlyAPrefixAtTheStartMakesAWebAddress) {
  struct Row {
    const char* text;
    bool web;
  };
  const Row rows[] = {
      {"http://example.com/manual", true},
      {"HTTPS://example.com", true},
      {"see http://example.com", false},
      {"/docs/http://x.pdf", false},
      {"httpd.conf", false},
      {"http:/one-slash", false},
      {"", false},
      {nullptr, false},
  };
  for (const Row& row : rows)
    EXPECT_EQ(IGraphicsMac::IsWebAddress(row.text), row.web) << (row.text ? row.text : "null");
}

TEST_F(MacOpenURL, AddressesAndFilesGoToTheHandlerAsOneArgument) {
  EXPECT_TRUE(g.OpenURL("https://example.com/a b;c"));
  EXPECT_TRUE(g.OpenURL(file.c_str(), nullptr, nullptr, nullptr));
  ASSERT_EQ(launched.size(), 2u);
  EXPECT_EQ(launched[0].back(), "https://example.com/a b;c");
  EXPECT_EQ(launched[1].back(), file);
}

TEST_F(MacOpenURL, WhatCannotBeOpenedFailsWithItsErrorText) {
  base::LogCapture logged;
  EXPECT_FALSE(g.OpenURL("/no/such/manual.pdf", "Manual", "Open it?", "Cannot open the manual"));
  EXPECT_FALSE(g.OpenURL(""));
  EXPECT_FALSE(g.OpenURL(nullptr));
  EXPECT_TRUE(launched.empty());
  EXPECT_EQ(logged.count(), 4u);  // the missing file, its error text, two refusals
}

// --- Colour chooser ---

class MacColor : public MacServices {
 protected:
  void TearDown() override { platform::NSColorPanel::setScript({}); }
  void Answer(std::optional<platform::NSColor> answer) {
    platform::NSColorPanel::setScript(
        [this, answer](platform::NSColorPanel* panel, platform::NSColor initial) {
          title = panel->title();
          start = initial;
          return answer;
        });
  }

  std::string title;
  platform::NSColor start;
  std::vector<IColor> picked;
  IColorPickerHandlerFunc record = [this](const IColor& c) { picked.push_back(c); };
};

TEST_F(MacColor, ThePickedColourReachesTheCompletion) {
  Answer(platform::NSColor::colorWithRGBA(1.0, 0.5, 0.0, 0.25));
  EXPECT_TRUE(g.PromptForColor(IColor(255, 0, 0, 255), "Choose a color", record));
  EXPECT_EQ(title, "Choose a color");
  EXPECT_EQ(start, platform::NSColor::colorWithRGBA(0, 0, 1, 1));
  ASSERT_EQ(picked.size(), 1u);
  EXPECT_EQ(picked[0], IColor(64, 255, 128, 0));

  // Components out of range reach the chooser clamped.
  g.PromptForColor(IColor(300, -20, 128, 999), "Choose a color", record);
  EXPECT_EQ(start, platform::NSColor::colorWithRGBA(0, 128 / 255.0, 1, 1));
}

TEST_F(MacColor, ACancelOrAColourThatIsNotANumberCallsNothing) {
  Answer(std::nullopt);
  EXPECT_FALSE(g.PromptForColor(COLOR_BLACK, "Choose a color", record));
  Answer(platform::NSColor::colorWithRGBA(NAN, 0, 0, 1));
  base::LogCapture logged;
  EXPECT_FALSE(g.PromptForColor(COLOR_BLACK, nullptr, record));
  EXPECT_EQ(logged.count(), 1u);
  EXPECT_TRUE(picked.empty());
}

}  // namespace
