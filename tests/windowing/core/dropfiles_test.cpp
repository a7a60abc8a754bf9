#include <cstring>
#include <string>
#include <vector>

#include "platform/core/DragAndDrop.h"
#include "platform/core/Pasteboard.h"
#include "support/EventTest.h"
#include "windowing/Win32.h"

using testsupport::EventTest;

namespace {

std::vector<std::string> pathsOf(HDROP drop) {
  std::vector<std::string> out;
  UINT count = DragQueryFile(drop, kDragQueryFileCount, nullptr, 0);
  for (UINT i = 0; i < count; ++i) {
    std::string path(DragQueryFile(drop, i, nullptr, 0) + 1, '\0');
    DragQueryFile(drop, i, path.data(), static_cast<UINT>(path.size()));
    path.pop_back();
    out.push_back(path);
  }
  return out;
}

TEST(DropBlocks, QueriesCountCopyAndCutWithinTheBuffer) {
  testsupport::PlatformHarness h;
  HDROP drop = swell::makeDropBlock({"/tmp/one.syx", "/tmp/\xC3\xA9t\xC3\xA9.syx"}, {12, -7});
  EXPECT_EQ(DragQueryFile(drop, kDragQueryFileCount, nullptr, 0), 2u);
  EXPECT_EQ(DragQueryFile(drop, 2, nullptr, 0), 0u);
  EXPECT_EQ(DragQueryFile(drop, 0, nullptr, 0), 12u);
  char small[8];
  // Seven bytes fit: "/tmp/" and the two-byte letter.
  EXPECT_EQ(DragQueryFile(drop, 1, small, sizeof small), 7u);
  EXPECT_STREQ(small, "/tmp/\xC3\xA9");
  char cut[7];
  // Six bytes would end inside the letter: it is left out whole.
  EXPECT_EQ(DragQueryFile(drop, 1, cut, sizeof cut), 5u);
  EXPECT_STREQ(cut, "/tmp/");
  POINT p{};
  EXPECT_TRUE(DragQueryPoint(drop, &p));
  EXPECT_EQ(p.x, 12);
  EXPECT_EQ(p.y, -7);
  EXPECT_FALSE(DragQueryPoint(drop, nullptr));
  DragFinish(drop);
  GlobalFree(drop);
}

TEST(DropBlocks, BadBlocksAreRefusedWithoutReadingPastThem) {
  testsupport::PlatformHarness h;
  // A freed block, a foreign pointer and a block shorter than its header.
  HDROP freed = swell::makeDropBlock({"/a"}, {});
  GlobalFree(freed);
  EXPECT_EQ(DragQueryFile(freed, kDragQueryFileCount, nullptr, 0), 0u);
  char stale[8] = "stale";
  EXPECT_EQ(DragQueryFile(freed, 0, stale, sizeof stale), 0u);
  EXPECT_STREQ(stale, "");
  char local[32] = {};
  EXPECT_EQ(DragQueryFile(local, kDragQueryFileCount, nullptr, 0), 0u);
  HDROP tiny = GlobalAlloc(0, 8);
  EXPECT_EQ(DragQueryFile(tiny, kDragQueryFileCount, nullptr, 0), 0u);
  GlobalFree(tiny);
  // An offset at the block's size.
  HDROP block = GlobalAlloc(0, 20);
  DROPFILES header;
  header.pFiles = 20;
  std::memcpy(GlobalLock(block), &header, sizeof header);
  GlobalUnlock(block);
  EXPECT_EQ(DragQueryFile(block, kDragQueryFileCount, nullptr, 0), 0u);
  POINT p;
  EXPECT_FALSE(DragQueryPoint(block, &p));
  // The same block with the offset inside but no terminators: one path to the end.
  header.pFiles = 16;
  auto* bytes = static_cast<char*>(GlobalLock(block));
  std::memcpy(bytes, &header, sizeof header);
  std::memcpy(bytes + 16, "/xyz", 4);
  GlobalUnlock(block);
  EXPECT_EQ(pathsOf(block), (std::vector<std::string>{"/xyz"}));
  GlobalFree(block);
}

class DropTest : public EventTest {
 protected:
  std::vector<std::string> dropped;
  POINT droppedAt{};
  HWND target = nullptr;

  HWND dropTarget(HWND parent, double x, double y, double w, double hgt) {
    HWND c = child(parent, x, y, w, hgt);
    SetWindowLong(c, GWL_EXSTYLE, WS_EX_ACCEPTFILES);
    return c;
  }
  void recordDrops() {
    log.answer([this](HWND hwnd, UINT msg, WPARAM wParam, LPARAM) -> std::optional<LRESULT> {
      if (msg != WM_DROPFILES) return std::nullopt;
      target = hwnd;
      auto drop = reinterpret_cast<HDROP>(wParam);
      dropped = pathsOf(drop);
      DragQueryPoint(drop, &droppedAt);
      return 0;
    });
  }
};

TEST_F(DropTest, FilesDroppedOnATargetArriveAsWmDropFiles) {
  HWND c = dropTarget(main, 20, 20, 100, 80);
  recordDrops();
  h.dropFiles(window, at(c, 10.4, 30.6), {"/tmp/a.syx", "/tmp/b.syx"});
  h.runUntilIdle();
  EXPECT_EQ(h.lastDropOperation(), platform::NSDragOperationGeneric);
  EXPECT_EQ(target, c);
  EXPECT_EQ(dropped, (std::vector<std::string>{"/tmp/a.syx", "/tmp/b.syx"}));
  EXPECT_EQ(droppedAt.x, 10);
  EXPECT_EQ(droppedAt.y, 31);
}

TEST_F(DropTest, AWindowThatDoesNotTakeFilesRefusesTheDrop) {
  HWND c = child(main, 20, 20, 100, 80);
  recordDrops();
  h.dropFiles(window, at(c, 5, 5), {"/tmp/a.syx"});
  h.runUntilIdle();
  EXPECT_EQ(h.lastDropOperation(), platform::NSDragOperationNone);
  EXPECT_TRUE(dropped.empty());
  SetWindowLong(c, GWL_EXSTYLE, WS_EX_ACCEPTFILES);
  SetWindowLong(c, GWL_EXSTYLE, 0);
  h.dropFiles(window, at(c, 5, 5), {"/tmp/a.syx"});
  h.runUntilIdle();
  EXPECT_TRUE(dropped.empty());
}

TEST_F(DropTest, TheDeepestWindowThatTakesFilesTakesTheDrop) {
  HWND outer = dropTarget(main, 0, 0, 200, 200);
  HWND inner = child(outer, 50, 50, 50, 50);
  recordDrops();
  // A child that does not take files leaves the drop to the target around it.
  h.dropFiles(window, at(inner, 5, 5), {"/tmp/a.syx"});
  h.runUntilIdle();
  EXPECT_EQ(target, outer);
  EXPECT_EQ(droppedAt.x, 55);
  SetWindowLong(inner, GWL_EXSTYLE, WS_EX_ACCEPTFILES);
  h.dropFiles(window, at(inner, 5, 5), {"/tmp/a.syx"});
  h.runUntilIdle();
  EXPECT_EQ(target, inner);
  EXPECT_EQ(droppedAt.x, 5);
  // A destroyed one refuses the drop instead of reporting files nobody received.
  platform::Ref<platform::NSView> keep(view(inner));
  object(inner)->onSwellMessage(WM_DESTROY, 0, 0);
  target = nullptr;
  h.dropFiles(window, at(inner, 5, 5), {"/tmp/a.syx"});
  h.runUntilIdle();
  EXPECT_EQ(target, nullptr);
  EXPECT_EQ(h.lastDropOperation(), platform::NSDragOperationNone);
}

TEST_F(DropTest, PromisedFilesAreListedForACallerButNeverDropped) {
  HWND c = dropTarget(main, 0, 0, 100, 80);
  recordDrops();
  h.dropPromisedFiles(window, at(c, 5, 5), {"syx"});
  h.runUntilIdle();
  EXPECT_EQ(h.lastDropOperation(), platform::NSDragOperationNone);
  EXPECT_TRUE(dropped.empty());
  platform::NSPasteboard& board =
      platform::NSPasteboard::pasteboardWithName(platform::NSPasteboardNameDrag);
  board.declareTypes({platform::NSFilesPromisePboardType});
  board.setPropertyList({"syx", "mid"}, platform::NSFilesPromisePboardType);
  platform::NSDraggingInfo info{&board, window, at(c, 5, 5), nullptr};
  HDROP listed = nullptr;
  ASSERT_TRUE(object(c)->swellExtendedDragOp(info, &listed));
  EXPECT_EQ(pathsOf(listed), (std::vector<std::string>{"tmp.syx", "tmp.mid"}));
  GlobalFree(listed);
}

TEST_F(DropTest, ADragWithinTheWindowMarksTheContentViewWhileItDrops) {
  SetWindowLong(main, GWL_EXSTYLE, WS_EX_ACCEPTFILES);
  HWND source = child(main, 200, 0, 50, 50);
  HANDLE during = nullptr;
  log.answer([&during, this](HWND, UINT msg, WPARAM, LPARAM) -> std::optional<LRESULT> {
    if (msg == WM_DROPFILES) during = GetProp(main, "SWELL_DisableWindowRepre");
    return std::nullopt;
  });
  h.dropFiles(window, {10, 10}, {"/tmp/a.syx"}, swell::objectFromHandle(source));
  h.runUntilIdle();
  EXPECT_EQ(during, reinterpret_cast<HANDLE>(1));
  EXPECT_EQ(GetProp(main, "SWELL_DisableWindowRepre"), nullptr);
  // From outside the application nothing is marked.
  h.dropFiles(window, {10, 10}, {"/tmp/a.syx"});
  h.runUntilIdle();
  EXPECT_EQ(during, nullptr);
  log.answer([](HWND, UINT, WPARAM, LPARAM) -> std::optional<LRESULT> { return std::nullopt; });
}

}  // namespace
