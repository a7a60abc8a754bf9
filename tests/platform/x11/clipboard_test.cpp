// The CLIPBOARD selection between this program and another X client, xclip, both ways:
// short and long texts (xclip's own incremental pieces), the targets offered, and text
// beyond Latin-1 asked for as STRING.

#include <gtest/gtest.h>

#include <atomic>
#include <fstream>
#include <optional>
#include <thread>

#include "platform/core/Pasteboard.h"
#include "platform/system/Pipe.h"
#include "platform/system/Task.h"
#include "platform/x11/detail/X11Clipboard.h"
#include "support/X11Fixture.h"

using namespace platform;
using testsupport::X11Display;

namespace {

class X11Clipboard : public X11Display {
 protected:
  // Runs xclip on the clipboard of this server, this program answering the server
  // meanwhile; its standard output, or nothing when it failed.
  std::optional<std::string> xclip(const std::vector<std::string>& arguments) {
    std::string command = "DISPLAY=" + x->server().display() + " exec xclip -selection clipboard";
    for (const std::string& a : arguments)
      command += " '" + a + "'";
    auto task = Ref<NSTask>::adopt(new NSTask("/bin/sh", {"-c", command}));
    task->setStandardOutput(Ref<NSPipe>::adopt(NSPipe::pipe()).get());
    if (!task->launch()) return std::nullopt;
    std::string out;
    std::atomic<bool> done{false};
    std::thread reader([&] {
      char buffer[65536];
      for (long n; (n = task->standardOutput()->readWaiting(buffer, sizeof buffer)) > 0;)
        out.append(buffer, static_cast<std::size_t>(n));
      done = true;
    });
    x->pumpUntil([&] { return done.load(); }, 20000);
    if (!done) task->terminate();
    reader.join();
    task->waitUntilExit(5000);
    if (task->terminationStatus() != 0 || task->wasSignalled()) return std::nullopt;
    return out;
  }
  static std::string longText() {
    std::string text;
    while (text.size() < (2u << 20))
      text += "line " + std::to_string(text.size()) + " \xE2\x9C\x93\n";
    return text;
  }
};

TEST_F(X11Clipboard, WhatThisProgramCopiesAnotherPastes) {
  if (x->server().run({"xclip", "-version"}) != 0) GTEST_SKIP() << "xclip cannot run";
  NSPasteboard& board = NSPasteboard::generalPasteboard();
  for (const std::string& text : {std::string("Gr\xC3\xBC\xC3\x9F"
                                              "e \xE2\x82\xAC"),
                                  longText()}) {
    board.declareTypes({NSPasteboardTypeString});
    board.setString(text);
    std::optional<std::string> pasted = xclip({"-o", "-t", "UTF8_STRING"});
    ASSERT_TRUE(pasted.has_value());
    EXPECT_TRUE(*pasted == text) << "pasted " << pasted->size() << " bytes of " << text.size();
    EXPECT_TRUE(x->pumpUntil([&] { return x->backend().clipboard().pendingTransfers() == 0; }));
  }
  board.declareTypes({NSPasteboardTypeString});
  board.setString("caf\xC3\xA9 \xE2\x82\xAC");
  EXPECT_EQ(xclip({"-o", "-t", "TARGETS"}),
            "TARGETS\nUTF8_STRING\nSTRING\ntext/plain;charset=utf-8\n");
  // Latin-1 where it can be, '?' for the euro sign beyond it.
  EXPECT_EQ(xclip({"-o", "-t", "STRING"}), "caf\xE9 ?");
  EXPECT_EQ(xclip({"-o", "-t", "image/png"}), std::nullopt);
  EXPECT_FALSE(x->platform().logged("X error"));
}

TEST_F(X11Clipboard, WhatAnotherProgramCopiesIsPastedHere) {
  if (x->server().run({"xclip", "-version"}) != 0) GTEST_SKIP() << "xclip cannot run";
  NSPasteboard& board = NSPasteboard::generalPasteboard();
  board.declareTypes({NSPasteboardTypeString});
  board.setString("ours");
  const std::string file = ::testing::TempDir() + "/x11_clipboard_copy";
  // The first copy takes the clipboard from this program, the second from xclip.
  for (const auto& [copied, fromUs] :
       {std::pair{std::string("\xC3\xA9t\xC3\xA9"), true}, std::pair{longText(), false}}) {
    const std::string& text = copied;  // a name the lambdas below may capture
    std::ofstream(file, std::ios::binary) << text;
    const long count = board.changeCount();
    // xclip stays behind to answer until another program copies.
    ASSERT_EQ(x->server().run({"xclip", "-selection", "clipboard", "-i", file}), 0);
    if (fromUs) {
      EXPECT_TRUE(x->pumpUntil([&] { return board.changeCount() > count; }));
    }
    // xclip takes the clipboard in the background, once it has started answering.
    std::optional<std::string> ours;
    x->pumpUntil([&] { return (ours = board.stringForType(NSPasteboardTypeString)) == text; });
    ASSERT_TRUE(ours.has_value());
    EXPECT_TRUE(*ours == text) << "read " << ours->size() << " bytes of " << text.size();
  }
  EXPECT_FALSE(x->platform().logged("X error"));
}

// Another program's text as it offers it: Latin-1 alone (as STRING) is pasted here as UTF-8;
// bytes offered as UTF-8 that are none are kept as they came, nothing dropped.
TEST_F(X11Clipboard, LatinOneTextOfAnotherProgramIsPastedAsUtf8) {
  if (x->server().run({"xclip", "-version"}) != 0) GTEST_SKIP() << "xclip cannot run";
  NSPasteboard& board = NSPasteboard::generalPasteboard();
  const std::string file = ::testing::TempDir() + "/x11_clipboard_foreign";
  struct Case {
    const char* target;
    std::string offered, pasted;
  } cases[] = {
      {"STRING", "caf\xE9 \xA9", "caf\xC3\xA9 \xC2\xA9"},
      {"UTF8_STRING",
       "a\xFF"
       "b\xC3",
       "a\xFF"
       "b\xC3"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.target);
    board.declareTypes({NSPasteboardTypeString});
    board.setString("ours");
    std::ofstream(file, std::ios::binary) << c.offered;
    ASSERT_EQ(x->server().run({"xclip", "-selection", "clipboard", "-t", c.target, "-i", file}), 0);
    std::optional<std::string> pasted;
    x->pumpUntil([&] {
      pasted = board.stringForType(NSPasteboardTypeString);
      return pasted && *pasted != "ours";
    });
    EXPECT_EQ(pasted, c.pasted);
  }
  EXPECT_FALSE(x->platform().logged("X error"));
}

}  // namespace
