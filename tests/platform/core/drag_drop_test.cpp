#include <gtest/gtest.h>

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "platform/core/DragAndDrop.h"
#include "platform/core/DragSession.h"
#include "platform/core/Menu.h"
#include "platform/core/MenuWindow.h"
#include "platform/core/Pasteboard.h"
#include "platform/core/PopUpButton.h"
#include "platform/core/View.h"
#include "platform/core/Window.h"
#include "support/PlatformHarness.h"

using namespace platform;

namespace {

using Log = std::vector<std::string>;

// A drop target that answers as it is told and logs what it is asked.
struct Target : NSView, NSDraggingDestination {
  Target(Log* log, std::string name, NSRect frame, std::vector<std::string> types)
      : NSView(frame), log(log), name(std::move(name)) {
    registerForDraggedTypes(types);
    registerForDraggedTypes(types);  // twice is once
  }
  NSDragOperation draggingEntered(const NSDraggingInfo&) override {
    log->push_back(name + " entered");
    return answer;
  }
  void draggingExited(const NSDraggingInfo*) override { log->push_back(name + " exited"); }
  bool acceptsFirstResponder() const override { return true; }
  void keyDown(const NSEvent& e) override { log->push_back(name + " key " + e.characters); }
  bool performDragOperation(const NSDraggingInfo& info) override {
    log->push_back(name + " drop " + info.draggingPasteboard->fileList().front());
    if (nested) nested();
    return performs;
  }
  Log* log;
  std::string name;
  NSDragOperation answer = NSDragOperationCopy;
  bool performs = true;
  std::function<void()> nested;
};

// A window whose content view takes dropped files.
class DropTest : public ::testing::Test {
 protected:
  testsupport::PlatformHarness h;
  Log log;
  NSWindow* w = nullptr;
  Target* outer = nullptr;

  void SetUp() override {
    w = new NSWindow(NSMakeRect(0, 0, 200, 100), NSWindowStyleMaskTitled);
    outer = new Target(&log, "outer", NSMakeRect(0, 0, 200, 100), {NSFilenamesPboardType});
    w->setContentView(outer);
    outer->release();
  }
  void TearDown() override { w->close(); }
};

// Files dropped on a window go to the deepest shown view under the point that takes one of
// their types; its answers decide the operation, and a refusal takes the drop nowhere else.
TEST_F(DropTest, TheDeepestViewThatTakesTheTypeDecides) {
  auto* inner = new Target(&log, "inner", NSMakeRect(10, 10, 80, 80), {NSFilenamesPboardType});
  auto* other = new Target(&log, "other", NSMakeRect(110, 10, 80, 80), {"text"});
  for (Target* t : {inner, other}) {
    outer->addSubview(t);
    t->release();
  }
  EXPECT_EQ(inner->registeredDraggedTypes().size(), 1u);
  const NSPoint onInner{20, 20}, onOther{120, 20};
  struct Row {
    const char* name;
    std::function<void()> arrange;
    NSPoint at;
    NSDragOperation done;
    Log log;
  } rows[] = {
      {"the inner view takes it",
       [] {},
       onInner,
       NSDragOperationCopy,
       {"inner entered", "inner drop /f"}},
      {"a view of other types is passed by",
       [] {},
       onOther,
       NSDragOperationCopy,
       {"outer entered", "outer drop /f"}},
      {"a refusal on entering",
       [&] { inner->answer = NSDragOperationNone; },
       onInner,
       NSDragOperationNone,
       {"inner entered", "inner exited"}},
      {"a refusal of the drop",
       [&] {
         inner->answer = NSDragOperationMove;
         inner->performs = false;
       },
       onInner,
       NSDragOperationNone,
       {"inner entered", "inner drop /f"}},
      {"a hidden view takes nothing",
       [&] { inner->setHidden(true); },
       onInner,
       NSDragOperationCopy,
       {"outer entered", "outer drop /f"}},
      {"nor one that unregistered",
       [&] {
         inner->setHidden(false);
         outer->unregisterDraggedTypes();
         inner->unregisterDraggedTypes();
       },
       onInner,
       NSDragOperationNone,
       {}},
  };
  for (const Row& row : rows) {
    log.clear();
    row.arrange();
    h.dropFiles(w, row.at, {"/f"});
    h.runUntilIdle();
    EXPECT_EQ(h.lastDropOperation(), row.done) << row.name;
    EXPECT_EQ(log, row.log) << row.name;
  }
  // No window, or a closed one, takes nothing.
  NSPasteboard& board = NSPasteboard::pasteboardWithName(NSPasteboardNameDrag);
  EXPECT_EQ(NSPerformDrop(nullptr, onInner, board, nullptr), NSDragOperationNone);
}

// A drag cannot start while one runs: the second is refused with a diagnostic, and the first
// ends as usual.
TEST_F(DropTest, ADragStartedDuringADragIsRefused) {
  Target* target = outer;
  NSDragOperation inner = NSDragOperationCopy;
  target->nested = [&] {
    EXPECT_TRUE(NSIsDragging());
    inner = NSRunDrag(target, nullptr);
  };
  NSPasteboard& board = NSPasteboard::pasteboardWithName(NSPasteboardNameDrag);
  board.declareTypes({NSFilenamesPboardType});
  board.setFileList({"/a"});
  h.mouseUp(w, {50, 50});
  EXPECT_EQ(NSRunDrag(target, nullptr), NSDragOperationCopy);
  EXPECT_EQ(inner, NSDragOperationNone);
  EXPECT_TRUE(h.logged("a drag is running already"));
  EXPECT_FALSE(NSIsDragging());
  EXPECT_EQ(log, (Log{"outer entered", "outer drop /a"}));
}

// Escape during a drag cancels it: nothing is dropped where the button goes up, and the
// Escape goes no further. Other keys typed meanwhile reach the window after the drag, in order.
TEST_F(DropTest, EscapeCancelsADragAndOtherKeysWaitForItsEnd) {
  w->makeKeyAndOrderFront();
  w->makeFirstResponder(outer);
  NSPasteboard& board = NSPasteboard::pasteboardWithName(NSPasteboardNameDrag);
  struct Row {
    const char* name;
    std::vector<std::pair<std::uint16_t, const char*>> keys;
    NSDragOperation done;
    Log log;
  } rows[] = {
      {"keys typed during a drag",
       {{0, "a"}, {0, "b"}},
       NSDragOperationCopy,
       {"outer entered", "outer drop /a", "outer key a", "outer key b"}},
      {"Escape cancels it",
       {{0, "a"}, {kVK_Escape, "\x1b"}, {0, "b"}},
       NSDragOperationNone,
       {"outer key a", "outer key b"}},
  };
  for (const Row& row : rows) {
    log.clear();
    board.declareTypes({NSFilenamesPboardType});
    board.setFileList({"/a"});
    for (auto [code, chars] : row.keys)
      h.key(w, code, chars);
    h.mouseUp(w, {50, 50});
    EXPECT_EQ(NSRunDrag(outer, nullptr), row.done) << row.name;
    EXPECT_FALSE(NSIsDragging());
    h.runUntilIdle();
    EXPECT_EQ(log, row.log) << row.name;
  }
}

// A press may run a loop of its own that takes the release: a pop-up list's, or a drag
// session its drag starts. The press is over for the window then too, which again follows
// the pointer out of it.
TEST(PressLoopTest, APressWhoseLoopTookTheReleaseIsOver) {
  testsupport::PlatformHarness h;
  struct DragSource : NSView {
    using NSView::NSView;
    void mouseDragged(const NSEvent&) override { NSRunDrag(this, nullptr); }
  };
  auto* w = new NSWindow(NSMakeRect(100, 100, 300, 100), NSWindowStyleMaskTitled);
  w->setContentView(Ref<NSView>::adopt(new NSView).get());
  auto* list = new NSPopUpButton(NSMakeRect(10, 10, 100, 22));
  list->addItemWithTitle("one");
  auto* source = new DragSource(NSMakeRect(150, 10, 100, 80));
  for (NSView* v : std::vector<NSView*>{list, source}) {
    w->contentView()->addSubview(v);
    v->release();
  }
  w->makeKeyAndOrderFront();
  setMenuTracker(NSMenuWindow::tracker());
  for (NSView* pressed : std::vector<NSView*>{list, source}) {
    SCOPED_TRACE(pressed == list ? "a pop-up list" : "a drag session");
    // Pressed, dragged a little and let go: the list picks its item, the drag drops nothing.
    const NSPoint at = pressed->convertPointToView({20, 11}, nullptr);
    h.drag(w, at, {at.x + 8, at.y}, 1);
    h.exitWindow(w);
    h.runUntilIdle();
    EXPECT_EQ(w->mouseView(), nullptr);
  }
  setMenuTracker(&h.menus());
  w->close();
}

}  // namespace
