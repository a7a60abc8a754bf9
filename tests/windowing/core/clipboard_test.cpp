#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "platform/core/Pasteboard.h"
#include "support/WindowHarness.h"
#include "windowing/Win32.h"

namespace {

HANDLE blockOf(const void* data, std::size_t size) {
  HANDLE h = GlobalAlloc(0, static_cast<int>(size));
  std::memcpy(GlobalLock(h), data, size);
  GlobalUnlock(h);
  return h;
}

std::string textOf(HANDLE h) {
  const char* p = static_cast<const char*>(GlobalLock(h));
  std::string s(p, strnlen(p, static_cast<std::size_t>(GlobalSize(h))));
  GlobalUnlock(h);
  return s;
}

class ClipboardTest : public ::testing::Test {
 protected:
  testsupport::WindowHarness h;
  platform::NSPasteboard& board = platform::NSPasteboard::generalPasteboard();
};

TEST_F(ClipboardTest, FormatIdsFollowTheTable) {
  EXPECT_EQ(RegisterClipboardFormat("SWELL__CF_TEXT"), 1u);
  EXPECT_EQ(RegisterClipboardFormat(nullptr), 0u);
  EXPECT_EQ(RegisterClipboardFormat(""), 0u);
  // Position 2 stays the file list's, so the first name gets 3.
  EXPECT_EQ(RegisterClipboardFormat("com.example.patch"), 3u);
  EXPECT_EQ(RegisterClipboardFormat("com.example.bank"), 4u);
  EXPECT_EQ(RegisterClipboardFormat("com.example.patch"), 3u);
}

TEST_F(ClipboardTest, TextWithoutItsNulReadsBackWhole) {
  OpenClipboard(nullptr);
  EmptyClipboard();
  EXPECT_NE(SetClipboardData(CF_TEXT, blockOf("abc", 3)), nullptr);
  CloseClipboard();
  EXPECT_EQ(board.stringForType(), "abc");
  OpenClipboard(nullptr);
  EXPECT_EQ(EnumClipboardFormats(0), CF_TEXT);
  EXPECT_EQ(EnumClipboardFormats(CF_TEXT), 0u);
  HANDLE got = GetClipboardData(CF_TEXT);
  ASSERT_NE(got, nullptr);
  EXPECT_EQ(textOf(got), "abc");
  EXPECT_EQ(GetClipboardData(CF_HDROP), nullptr);
  CloseClipboard();
  // Blocks handed out live until the clipboard closes.
  EXPECT_EQ(GlobalSize(got), 0);
}

TEST_F(ClipboardTest, EmptyPasteboardHasNoFormats) {
  board.clearContents();
  OpenClipboard(nullptr);
  EXPECT_EQ(EnumClipboardFormats(0), 0u);
  EXPECT_EQ(GetClipboardData(CF_TEXT), nullptr);
  CloseClipboard();
}

TEST_F(ClipboardTest, RegisteredTypesAndFileListsTravelTogether) {
  UINT patch = RegisterClipboardFormat("com.example.patch");
  const unsigned char data[] = {0, 1, 2, 0, 255};
  OpenClipboard(nullptr);
  SetClipboardData(patch, blockOf(data, sizeof data));
  SetClipboardData(CF_HDROP, swell::makeDropBlock({"/tmp/a.syx", "/tmp/b.syx"}, {}));
  SetClipboardData(CF_TEXT, blockOf("hi", 3));
  CloseClipboard();
  EXPECT_EQ(board.fileList(), (std::vector<std::string>{"/tmp/a.syx", "/tmp/b.syx"}));
  EXPECT_EQ(board.stringForType(), "hi");

  OpenClipboard(nullptr);
  // The file list comes first, then the known types in the pasteboard's order.
  std::vector<UINT> formats;
  for (UINT f = EnumClipboardFormats(0); f; f = EnumClipboardFormats(f))
    formats.push_back(f);
  EXPECT_EQ(formats, (std::vector<UINT>{CF_HDROP, patch, CF_TEXT}));
  HANDLE bytes = GetClipboardData(patch);
  ASSERT_EQ(GlobalSize(bytes), 5);
  EXPECT_EQ(std::memcmp(GlobalLock(bytes), data, 5), 0);
  GlobalUnlock(bytes);
  HANDLE files = GetClipboardData(CF_HDROP);
  EXPECT_EQ(DragQueryFile(files, kDragQueryFileCount, nullptr, 0), 2u);
  char path[64];
  EXPECT_EQ(DragQueryFile(files, 1, path, sizeof path), 10u);
  EXPECT_STREQ(path, "/tmp/b.syx");
  CloseClipboard();
}

TEST_F(ClipboardTest, FileListBlocksThatHoldNoPathsAreNotWritten) {
  board.setString("kept");
  // A block of just its header: nothing after it, so it is not written.
  DROPFILES header;
  header.pFiles = sizeof(DROPFILES);
  OpenClipboard(nullptr);
  SetClipboardData(CF_HDROP, blockOf(&header, sizeof header));
  CloseClipboard();
  EXPECT_FALSE(board.hasFileList());
  // An offset past the block's end is refused rather than read.
  std::vector<char> bad(40, 'x');
  header.pFiles = 4000;
  std::memcpy(bad.data(), &header, sizeof header);
  OpenClipboard(nullptr);
  SetClipboardData(CF_HDROP, blockOf(bad.data(), bad.size()));
  CloseClipboard();
  EXPECT_FALSE(board.hasFileList());
  // A last path without its NUL ends at the block's end.
  std::vector<char> open(sizeof(DROPFILES) + 4);
  header.pFiles = sizeof(DROPFILES);
  std::memcpy(open.data(), &header, sizeof header);
  std::memcpy(open.data() + sizeof header, "/abc", 4);
  OpenClipboard(nullptr);
  SetClipboardData(CF_HDROP, blockOf(open.data(), open.size()));
  CloseClipboard();
  EXPECT_EQ(board.fileList(), (std::vector<std::string>{"/abc"}));
}

TEST_F(ClipboardTest, UnknownFormatsAndForeignHandlesAreRefusedAndStayTheCallers) {
  HANDLE mine = blockOf("x", 2);
  EXPECT_EQ(SetClipboardData(0, mine), nullptr);
  EXPECT_EQ(SetClipboardData(99, mine), nullptr);
  EXPECT_EQ(GlobalSize(mine), 2);  // still the caller's, still alive
  char local[4] = {};
  EXPECT_EQ(SetClipboardData(CF_TEXT, local), nullptr);
  EXPECT_EQ(GetClipboardData(99), nullptr);
  GlobalFree(mine);
  // Setting the same block twice owns it once; emptying frees it.
  HANDLE twice = blockOf("y", 2);
  OpenClipboard(nullptr);
  SetClipboardData(CF_TEXT, twice);
  SetClipboardData(CF_TEXT, twice);
  EmptyClipboard();
  EXPECT_EQ(GlobalSize(twice), 0);
  CloseClipboard();
}

}  // namespace
