// The CLIPBOARD selection between this program and another X client, xclip, both ways:
// short and long texts (xclip's own incremental pieces), the targets offered, and text
// beyond Latin-1 asked for as STRING; a mebibyte each way between two clients of this
// program's own, and exchanges whose other side stops answering.

#include <gtest/gtest.h>
// Xlib after gtest: its macros (Bool, None) would rename gtest's names.
#include <X11/Xlib.h>

#include <atomic>
#include <chrono>
#include <fstream>
#include <optional>
#include <string>
#include <thread>

#include "platform/core/Pasteboard.h"
#include "platform/system/Pipe.h"
#include "platform/system/Task.h"
#include "platform/x11/detail/X11Backend.h"
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

TEST_F(X11Clipboard, AMebibyteOfTextCrossesTheClipboardBothWaysInPieces) {
  std::string text;
  while (text.size() < (1u << 20))
    text += "clipboard \xC3\xA9t\xC3\xA9 " + std::to_string(text.size()) + "\n";
  auto other = platform::x11::X11Backend::connect(x->server().display().c_str());
  ASSERT_TRUE(other) << "a second client did not connect";
  NSPasteboard& board = NSPasteboard::generalPasteboard();

  // This program copies; the other one pastes (in a thread: this one must answer).
  board.declareTypes({NSPasteboardTypeString});
  board.setString(text);
  std::optional<std::string> pasted;
  std::atomic<bool> done{false};
  std::thread reader([&] {
    pasted = other->foreignPasteboardText();
    done = true;
  });
  x->pumpUntil([&] { return done.load(); });
  reader.join();
  ASSERT_TRUE(pasted.has_value());
  EXPECT_TRUE(*pasted == text) << "pasted " << pasted->size() << " bytes of " << text.size();
  EXPECT_TRUE(x->pumpUntil([&] { return x->backend().clipboard().pendingTransfers() == 0; }));

  // The other program copies: the change count rises here, and pasting reads its text.
  long count = board.changeCount();
  std::string theirs(text.rbegin(), text.rend());
  std::atomic<bool> stop{false};
  std::thread owner([&] {
    other->pasteboardTextWritten(theirs);
    while (!stop) {
      other->processEvents();
      std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
  });
  ASSERT_TRUE(x->pumpUntil([&] { return board.changeCount() > count; }));
  std::optional<std::string> ours = board.stringForType(NSPasteboardTypeString);
  stop = true;
  owner.join();
  ASSERT_TRUE(ours.has_value());
  EXPECT_TRUE(*ours == theirs) << "read " << ours->size() << " bytes of " << theirs.size();
}

TEST_F(X11Clipboard, StalledClipboardExchangesEndAtTheTimeLimit) {
  Display* other = x->otherClient();
  ASSERT_NE(other, nullptr);
  Atom clipboard = XInternAtom(other, "CLIPBOARD", False);
  Window requestor = XCreateSimpleWindow(other, DefaultRootWindow(other), 0, 0, 1, 1, 0, 0, 0);
  NSPasteboard& board = NSPasteboard::generalPasteboard();

  // A requestor that asks for a big text and vanishes in the middle of its pieces.
  board.setString(std::string(1 << 20, 'y'));
  XConvertSelection(other, clipboard, XInternAtom(other, "UTF8_STRING", False),
                    XInternAtom(other, "PASTE_HERE", False), requestor, CurrentTime);
  XFlush(other);
  ASSERT_TRUE(x->pumpUntil([&] { return x->backend().clipboard().pendingTransfers() == 1; }));
  XDestroyWindow(other, requestor);
  XSync(other, False);
  std::this_thread::sleep_for(
      std::chrono::milliseconds(static_cast<int>(platform::x11::Clipboard::kTimeLimitMs) + 100));
  x->backend().clipboard().expireTransfers();
  EXPECT_EQ(x->backend().clipboard().pendingTransfers(), 0u);
  EXPECT_TRUE(x->platform().logged("requestor stopped answering"));

  // An owner that never answers: pasting gives nothing once the limit passed.
  long count = board.changeCount();
  Window owner = XCreateSimpleWindow(other, DefaultRootWindow(other), 0, 0, 1, 1, 0, 0, 0);
  XSetSelectionOwner(other, clipboard, owner, CurrentTime);
  XSync(other, False);
  ASSERT_TRUE(x->pumpUntil([&] { return board.changeCount() > count; }));
  EXPECT_FALSE(board.stringForType(NSPasteboardTypeString).has_value());
  EXPECT_TRUE(x->platform().logged("owner did not answer"));
}

}  // namespace
