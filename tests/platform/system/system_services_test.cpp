#include <gtest/gtest.h>

#include <atomic>
#include <cmath>
#include <fstream>
#include <string>
#include <thread>
#include <variant>
#include <vector>

#include "platform/core/Cursor.h"
#include "platform/core/DragSession.h"
#include "platform/core/Pasteboard.h"
#include "platform/core/detail/TestHooks.h"
#include "platform/display/KeyboardLayout.h"
#include "platform/drawing/ColorSpace.h"
#include "platform/objects/CFString.h"
#include "platform/objects/Screen.h"
#include "platform/system/ProcessInfo.h"
#include "platform/system/RunningApplication.h"
#include "platform/system/UserDefaults.h"
#include "support/PlatformHarness.h"

using namespace platform;

namespace {

TEST(CFString, KeepsValidTextAndReplacesEachInvalidByte) {
  struct Case {
    std::string in, out;
    bool valid;
    std::size_t utf16;
  } cases[] = {
      {"", "", true, 0},
      {"abc", "abc", true, 3},
      {"\xC3\xA9\xF0\x9F\x8E\xB9", "\xC3\xA9\xF0\x9F\x8E\xB9", true, 3},
      {"a\xFF"
       "b",
       "a\xEF\xBF\xBD"
       "b",
       false, 3},
      {std::string("a\0b", 3), std::string("a\0b", 3), true, 3},
      // An overlong '/', a UTF-16 surrogate, a code point past U+10FFFF, a sequence cut
      // short at the end, and a continuation byte alone: every byte replaced.
      {"\xC0\xAF", "\xEF\xBF\xBD\xEF\xBF\xBD", false, 2},
      {"\xED\xA0\x80", "\xEF\xBF\xBD\xEF\xBF\xBD\xEF\xBF\xBD", false, 3},
      {"\xF4\x90\x80\x80", "\xEF\xBF\xBD\xEF\xBF\xBD\xEF\xBF\xBD\xEF\xBF\xBD", false, 4},
      {"ok\xE2\x82", "ok\xEF\xBF\xBD\xEF\xBF\xBD", false, 4},
      {"\x80", "\xEF\xBF\xBD", false, 1},
      {"\xF0\x9F\x8E\xB9\xF0\x9F", "\xF0\x9F\x8E\xB9\xEF\xBF\xBD\xEF\xBF\xBD", false, 4},
  };
  for (const auto& c : cases) {
    CFString* s = CFString::create(c.in);
    EXPECT_EQ(s->utf8(), c.out);
    EXPECT_EQ(s->wasValidUtf8(), c.valid);
    EXPECT_EQ(s->length(), c.utf16);
    CFRetain(s);
    CFRelease(s);
    CFRelease(s);
  }
  CFRelease(nullptr);
}

TEST(NSProcessInfo, ActivitiesAreCountedUntilEnded) {
  NSProcessInfo& info = NSProcessInfo::processInfo();
  std::size_t before = info.activeActivityCount();
  NSActivity* a = info.beginActivity(NSActivityLatencyCritical, "first");
  NSActivity* b = info.beginActivity(NSActivityIdleSystemSleepDisabled, "second");
  EXPECT_EQ(info.activeActivityCount(), before + 2);
  info.endActivity(a);
  info.endActivity(a);  // twice: ignored
  EXPECT_EQ(info.activeActivityCount(), before + 1);
  EXPECT_EQ(info.activeActivityReasons().back(), "second");
  info.endActivity(b);
  a->release();
  b->release();
  EXPECT_EQ(info.activeActivityCount(), before);
}

TEST(NSScreen, NamedByNumberAndNoOtherProcessIsFoundHeadless) {
  testsupport::PlatformHarness h;
  NSScreen s;
  s.number = 42;
  EXPECT_EQ(s.localizedName(), "DisplayID 42");
  EXPECT_EQ(NSScreen::mainScreen()->localizedName(), "DisplayID 1");
  EXPECT_FALSE(NSRunningApplication::activateProcess(getpid()));
  auto previous = NSRunningApplication::setActivator([](pid_t pid) { return pid == 7; });
  EXPECT_TRUE(NSRunningApplication::activateProcess(7));
  EXPECT_FALSE(NSRunningApplication::activateProcess(0));
  NSRunningApplication::setActivator(previous);
}

TEST(CGColorSpace, EachConfiguredDisplayShowsDeviceRgb) {
  testsupport::PlatformHarness h;
  Ref<CGColorSpace> main = Ref<CGColorSpace>::adopt(CGDisplayCopyColorSpace(1));
  ASSERT_TRUE(main);
  EXPECT_EQ(main->name(), "kCGColorSpaceDeviceRGB");
  EXPECT_EQ(CGDisplayCopyColorSpace(2), nullptr);
  EXPECT_EQ(CGDisplayCopyColorSpace(-1), nullptr);
  // With no display at all (every monitor switched off), there is no main screen to ask.
  NSScreen::setScreens({});
  EXPECT_EQ(NSScreen::mainScreen(), nullptr);
  EXPECT_EQ(CGDisplayCopyColorSpace(1), nullptr);
  NSScreen::resetToDefault();
  EXPECT_NE(NSScreen::mainScreen(), nullptr);
}

// Defaults written and read by several threads at once: each reader sees a whole value of
// the kind written, never another key's or half of one.
TEST(NSUserDefaults, ConcurrentWritersAndReadersSeeWholeValues) {
  NSUserDefaults& defaults = NSUserDefaults::standardUserDefaults();
  defaults.removeAll();
  constexpr int kThreads = 4, kRounds = 2000;
  std::atomic<int> wrong{0};
  std::vector<std::thread> threads;
  for (int t = 0; t < kThreads; ++t)
    threads.emplace_back([&, t] {
      const std::string key = "key" + std::to_string(t);
      for (int i = 0; i < kRounds; ++i) {
        const std::string value = key + ":" + std::to_string(i) + std::string(i % 64, 'x');
        defaults.setObject(key, value);
        if (defaults.stringForKey(key) != value) ++wrong;
        defaults.setObject("shared", i % 2 == 0);
        auto shared = defaults.objectForKey("shared");
        if (!shared || !std::holds_alternative<bool>(*shared)) ++wrong;
        if (defaults.stringForKey("shared")) ++wrong;  // a flag is no string
        if (i % 100 == 0) defaults.removeObjectForKey(key);
      }
    });
  for (auto& thread : threads)
    thread.join();
  EXPECT_EQ(wrong.load(), 0);
  EXPECT_EQ(defaults.stringForKey("key0"),
            "key0:" + std::to_string(kRounds - 1) + std::string((kRounds - 1) % 64, 'x'));
  defaults.removeAll();
  EXPECT_FALSE(defaults.objectForKey("shared"));
  EXPECT_FALSE(defaults.stringForKey("missing"));
}

// A layout installed while another thread translates: the translator finishes with the
// layout it holds, and the next one asked for is the new one.
TEST(NSKeyboardLayout, ALayoutChangedWhileAnotherThreadTranslates) {
  struct Fixed : NSKeyboardLayout {
    explicit Fixed(char16_t c) : text(1, c) {}
    std::u16string translate(std::uint16_t, std::uint32_t& dead) const override {
      dead = 0;
      return text;
    }
    std::u16string text;
  };
  std::atomic<bool> stop{false};
  std::atomic<int> wrong{0};
  std::thread reader([&] {
    while (!stop) {
      std::uint32_t dead = 0;
      std::u16string text = NSKeyboardLayout::current()->translate(0, dead);
      if (text != u"a" && text != u"x" && text != u"y") ++wrong;
    }
  });
  for (int i = 0; i < 500; ++i)
    NSKeyboardLayout::setCurrent(i % 3 == 2 ? nullptr
                                            : std::make_shared<Fixed>(i % 3 == 0 ? u'x' : u'y'));
  stop = true;
  reader.join();
  EXPECT_EQ(wrong.load(), 0);
  std::uint32_t dead = 0;
  EXPECT_EQ(NSKeyboardLayout::current()->translate(0, dead), u"y");
  NSKeyboardLayout::setCurrent(nullptr);
  EXPECT_EQ(NSKeyboardLayout::current()->translate(0, dead), u"a");
}

TEST(NSKeyboardLayout, TheUSLayoutGivesUnshiftedCharacters) {
  testsupport::PlatformHarness h;
  struct Case {
    std::uint16_t keyCode;
    std::u16string text;
  } cases[] = {{0, u"a"},     {18, u"1"}, {27, u"-"}, {36, u"\r"},  {kVK_Space, u" "},
               {76, u"\x03"}, {82, u"0"}, {122, u""}, {0xFFFF, u""}};
  auto layout = NSKeyboardLayout::current();
  for (const auto& c : cases) {
    std::uint32_t dead = 5;
    EXPECT_EQ(layout->translate(c.keyCode, dead), c.text) << c.keyCode;
    EXPECT_EQ(dead, 0u);
  }
  struct Dead : NSKeyboardLayout {
    std::u16string translate(std::uint16_t code, std::uint32_t& dead) const override {
      if (code == 33) {
        dead = 1;
        return {};
      }
      return dead ? u"^" : u"?";
    }
  };
  NSKeyboardLayout::setCurrent(std::make_shared<Dead>());
  std::uint32_t dead = 0;
  EXPECT_EQ(NSKeyboardLayout::current()->translate(33, dead), u"");
  EXPECT_EQ(NSKeyboardLayout::current()->translate(kVK_Space, dead), u"^");
}

TEST(NSCursor, DrawnCursorsAreMadeOnceWithCentredHotSpots) {
  using D = NSCursor::Drawn;
  for (D which : {D::Move, D::ResizeDiagonalDown, D::ResizeDiagonalUp, D::NotAllowed}) {
    NSCursor* c = NSCursor::drawnCursor(which);
    EXPECT_EQ(c, NSCursor::drawnCursor(which));
    ASSERT_TRUE(c->image());
    EXPECT_EQ(c->image()->width, 16);
    EXPECT_EQ(c->hotSpot().x, 8);
    EXPECT_EQ(c->hotSpot().y, 8);
  }
  // The two diagonals are mirror images; the corners of the picture are clear.
  const auto& down = NSCursor::drawnCursor(D::ResizeDiagonalDown)->image()->pixels;
  const auto& up = NSCursor::drawnCursor(D::ResizeDiagonalUp)->image()->pixels;
  for (int y = 0; y < 16; ++y)
    for (int x = 0; x < 16; ++x)
      ASSERT_EQ(down[y * 16 + x], up[y * 16 + 15 - x]);
  EXPECT_EQ(down[0], 0u);
  EXPECT_EQ(down[2 * 16 + 2], 0xFF000000u);  // black inside the arrow head
}

TEST(NSCursor, DetachAndWarpMoveOnlyTheRecordedPointer) {
  testsupport::PlatformHarness h;
  NSCursor::setMouseDetached(true);
  EXPECT_TRUE(NSCursor::isMouseDetached());
  NSCursor::warpCursorPosition({300, 200});
  EXPECT_EQ(NSEvent::mouseLocation().x, 300);
  EXPECT_EQ(NSEvent::mouseLocation().y, 200);
  resetCursorForTesting();
  EXPECT_FALSE(NSCursor::isMouseDetached());
  NSCursorImage image;
  image.width = image.height = 4;
  image.pixels.assign(16, 0);
  auto* c = new NSCursor(image, {9, -1});
  EXPECT_EQ(c->hotSpot().x, 3);
  EXPECT_EQ(c->hotSpot().y, 0);
  // A hot spot that is no number is the top left.
  Ref<NSCursor> odd = Ref<NSCursor>::adopt(new NSCursor(image, {std::nan(""), std::nan("")}));
  EXPECT_EQ(odd->hotSpot().x, 0);
  EXPECT_EQ(odd->hotSpot().y, 0);
  c->set();
  EXPECT_EQ(NSCursor::currentCursor(), c);
  resetCursorForTesting();
  c->release();
}

// A view that starts drags and is their source, noting how they ended.
struct DragSourceView : NSView, NSDraggingSource {
  DragSourceView() : NSView(NSMakeRect(0, 0, 200, 100)) {}
  std::vector<std::string> namesOfPromisedFilesDroppedAtDestination(
      const std::string& folder) override {
    std::ofstream(folder + "/promised.txt") << "written";
    return {"promised.txt"};
  }
  void draggedImageEnded(NSDragOperation op) override { ended.push_back(op); }
  std::vector<NSDragOperation> ended;
};

struct DropView : NSView, NSDraggingDestination {
  DropView() : NSView(NSMakeRect(0, 0, 200, 100)) {
    registerForDraggedTypes({NSFilenamesPboardType});
  }
  NSDragOperation draggingEntered(const NSDraggingInfo&) override { return NSDragOperationCopy; }
  bool performDragOperation(const NSDraggingInfo& info) override {
    dropped = info.draggingPasteboard->fileList();
    source = info.draggingSource;
    return true;
  }
  std::vector<std::string> dropped;
  NSObject* source = nullptr;
};

TEST(NSDrag, InProcessDragsFollowTheMouseAndDropWhereItIsReleased) {
  testsupport::PlatformHarness h;
  auto* from = new NSWindow(NSMakeRect(0, 0, 200, 100), NSWindowStyleMaskTitled);
  auto* to = new NSWindow(NSMakeRect(300, 0, 200, 100), NSWindowStyleMaskTitled);
  auto* source = new DragSourceView;
  auto* target = new DropView;
  from->setContentView(source);
  to->setContentView(target);
  NSPasteboard& board = NSPasteboard::pasteboardWithName(NSPasteboardNameDrag);

  // Files onto a window that takes them.
  board.declareTypes({NSFilenamesPboardType});
  board.setFileList({"/tmp/a.txt"});
  NSEvent moved;
  moved.type = NSEventTypeLeftMouseDragged;
  moved.window = to;
  moved.locationInWindow = {40, 40};
  h.post(moved);
  h.mouseUp(to, {50, 50});
  EXPECT_EQ(NSRunDrag(source, source), NSDragOperationCopy);
  EXPECT_EQ(target->dropped, std::vector<std::string>{"/tmp/a.txt"});
  EXPECT_EQ(target->source, source);
  EXPECT_EQ(NSEvent::mouseLocation().x, 350);  // the pointer followed the drag

  // Promised files released outside every window: written into the outside folder.
  std::string folder = ::testing::TempDir();
  NSEvent outside;
  outside.type = NSEventTypeLeftMouseUp;
  outside.locationInWindow = {900, 700};
  h.post(outside);
  EXPECT_EQ(NSDragPromisedFiles(source, source, {"txt"}), NSDragOperationNone);  // no folder
  NSSetOutsideDropFolder(folder);
  h.post(outside);
  EXPECT_EQ(NSDragPromisedFiles(source, source, {"txt"}), NSDragOperationCopy);
  std::string text;
  std::getline(std::ifstream(folder + "/promised.txt"), text);
  EXPECT_EQ(text, "written");
  // A release over a window closed during the drag ends the drag there: the next click
  // is no drop.
  board.declareTypes({NSFilenamesPboardType});
  board.setFileList({"/tmp/b.txt"});
  target->dropped.clear();
  auto* gone = new NSWindow(NSMakeRect(600, 0, 100, 100), NSWindowStyleMaskTitled);
  NSEvent release;
  release.type = NSEventTypeLeftMouseUp;
  release.window = gone;
  release.locationInWindow = {10, 10};
  gone->close();
  h.post(release);
  h.mouseUp(to, {50, 50});
  EXPECT_EQ(NSRunDrag(source, source), NSDragOperationNone);
  EXPECT_TRUE(target->dropped.empty());
  NSApp()->discardEvents(NSEventMaskAny);
  // A drag with no release is abandoned when the pointer stays silent.
  EXPECT_EQ(NSRunDrag(source, source), NSDragOperationNone);
  EXPECT_FALSE(NSIsDragging());
  EXPECT_EQ(source->ended, (std::vector<NSDragOperation>{NSDragOperationCopy, NSDragOperationNone,
                                                         NSDragOperationCopy, NSDragOperationNone,
                                                         NSDragOperationNone}));
  source->release();
  target->release();
}

}  // namespace
