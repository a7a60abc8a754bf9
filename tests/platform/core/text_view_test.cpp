#include <gtest/gtest.h>

#include <cstdint>
#include <functional>
#include <limits>
#include <string>
#include <vector>

#include "platform/core/Pasteboard.h"
#include "platform/core/RunLoop.h"
#include "platform/core/TextView.h"
#include "support/ControlWindowTest.h"

using namespace platform;

namespace {

constexpr std::uint16_t kDelete = 51;
constexpr std::uint16_t kForwardDelete = 117;
constexpr std::uint16_t kHome = 115;
constexpr std::uint16_t kEnd = 119;
constexpr std::uint64_t kShift = NSEventModifierFlagShift;
constexpr std::uint64_t kCommand = NSEventModifierFlagCommand;

// The view a text view sits in: it hears the keys the text passes on up the chain.
class KeyCatcher : public NSView {
 public:
  using NSView::NSView;
  void keyDown(const NSEvent& e) override { keys.push_back(e.characters); }
  std::vector<std::string> keys;
};

// A multi-line text view in a key window, inside a view that catches what it passes on.
class TextViewTest : public testsupport::ControlWindowTest {
 protected:
  KeyCatcher* catcher = nullptr;
  NSTextView* text = nullptr;

  void SetUp() override {
    ControlWindowTest::SetUp();
    catcher = add(new KeyCatcher(NSMakeRect(0, 0, 400, 300)));
    text = new NSTextView(NSMakeRect(10, 10, 380, 200));
    catcher->addSubview(text);
    text->release();
    w->makeFirstResponder(text);
  }
  // The window point over the boundary before a character of a line.
  NSPoint at(std::size_t line, const std::string& before) const {
    const double x = text->font().sizeOfString(before).width;
    const double y = (static_cast<double>(line) + 0.5) * text->font().lineHeight();
    return text->convertPointToView({x, y}, nullptr);
  }
};

struct Key {
  std::uint16_t code;
  const char* chars;
  std::uint64_t modifiers = 0;
};

// Each row starts from a text and a selection, presses keys, and ends with a text, a
// selection and the keys that went on up the chain.
TEST_F(TextViewTest, EditingKeysActOnTheSelectionAndPassTheRestOn) {
  NSPasteboard::generalPasteboard().clearContents();
  struct Row {
    const char* name;
    NSRange from;
    std::vector<Key> keys;
    const char* text;
    NSRange selection;
    std::vector<std::string> passed = {};
  };
  const Row rows[] = {
      {"Shift+Left grows to the left, Shift+Right takes it back",
       {5, 0},
       {{123, "", kShift}, {123, "", kShift}, {124, "", kShift}},
       "hello world",
       {4, 1}},
      {"Shift+Right grows to the right, Shift+Left takes it back",
       {5, 0},
       {{124, "", kShift}, {124, "", kShift}, {123, "", kShift}},
       "hello world",
       {5, 1}},
      {"Left and Right collapse a selection to its ends",
       {2, 4},
       {{123, ""}},
       "hello world",
       {2, 0}},
      {"Right collapses to the end", {2, 4}, {{124, ""}}, "hello world", {6, 0}},
      {"Shift+Home and Shift+End select to the ends",
       {5, 0},
       {{kHome, "", kShift}},
       "hello world",
       {0, 5}},
      {"Shift+End", {5, 0}, {{kEnd, "", kShift}}, "hello world", {5, 6}},
      {"forward delete takes the character after the caret",
       {0, 0},
       {{kForwardDelete, ""}},
       "ello world",
       {0, 0}},
      {"forward delete at the end does nothing",
       {11, 0},
       {{kForwardDelete, ""}},
       "hello world",
       {11, 0}},
      {"forward delete takes a selection", {5, 6}, {{kForwardDelete, ""}}, "hello", {5, 0}},
      {"delete at the start does nothing", {0, 0}, {{kDelete, ""}}, "hello world", {0, 0}},
      {"Command+A then typing replaces everything",
       {3, 0},
       {{0, "a", kCommand}, {0, "x"}},
       "x",
       {1, 0}},
      {"cut and paste moves text",
       {0, 6},
       {{0, "x", kCommand}, {kEnd, ""}, {0, " ", 0}, {0, "v", kCommand}},
       "world hello ",
       {12, 0}},
      {"typed text replaces the selection", {0, 5}, {{0, "J"}, {0, "o"}}, "Jo world", {2, 0}},
      {"Return types a line break in a text view", {5, 0}, {{36, "\r"}}, "hello\n world", {6, 0}},
      {"Escape, unknown commands and control characters go on up",
       {5, 0},
       {{53, "\x1b"}, {0, "z", kCommand}, {0, "\x01"}, {0, "q", NSEventModifierFlagControl}},
       "hello world",
       {5, 0},
       {"\x1b", "z", "\x01", "q"}},
  };
  for (const Row& row : rows) {
    text->setString("hello world");
    text->setSelectedRange(row.from);
    catcher->keys.clear();
    for (const Key& k : row.keys)
      h.key(w, k.code, k.chars, k.modifiers);
    h.runUntilIdle();
    EXPECT_EQ(text->string(), row.text) << row.name;
    EXPECT_EQ(text->selectedRange(), row.selection) << row.name;
    EXPECT_EQ(catcher->keys, row.passed) << row.name;
  }
}

TEST_F(TextViewTest, TextThatIsOnlySelectableCopiesButPassesEditingKeysOn) {
  text->setString("read only");
  text->setEditable(false);
  EXPECT_TRUE(text->isSelectable());
  NSPasteboard& board = NSPasteboard::generalPasteboard();
  board.declareTypes({NSPasteboardTypeString});
  board.setString("pasted");
  text->setSelectedRange({0, 4});
  h.key(w, 0, "x");
  h.key(w, kDelete, "\x7f");
  h.key(w, 0, "x", kCommand);  // cut: nothing leaves the text
  h.key(w, 0, "v", kCommand);
  h.runUntilIdle();
  EXPECT_EQ(text->string(), "read only");
  EXPECT_EQ(board.stringForType(), "pasted");
  EXPECT_EQ(catcher->keys, (std::vector<std::string>{"x", "\x7f"}));
  h.key(w, 0, "c", kCommand);
  h.runUntilIdle();
  EXPECT_EQ(board.stringForType(), "read");
  // Text that is not even selectable takes no selection from the mouse.
  text->setSelectable(false);
  EXPECT_FALSE(text->isEditable());
  text->setSelectedRange({0, 0});
  h.drag(w, at(0, "r"), at(0, "read"));
  h.runUntilIdle();
  EXPECT_EQ(text->selectedRange(), (NSRange{0, 0}));
}

TEST_F(TextViewTest, PressDragAndShiftClickSelectBetweenTheirBoundaries) {
  text->setString("first line\nsecond line");
  h.drag(w, at(0, "fi"), at(0, "first"));
  h.runUntilIdle();
  EXPECT_EQ(text->selectedRange(), (NSRange{2, 3}));
  // Shift+click extends from where the press began.
  h.click(w, at(1, "sec"), kShift);
  h.runUntilIdle();
  EXPECT_EQ(text->selectedRange(), (NSRange{2, 12}));
  // Dragging backwards up a line, then past the left edge and below the last line.
  h.drag(w, at(1, "second"), at(0, "first l"));
  h.runUntilIdle();
  EXPECT_EQ(text->selectedRange(), (NSRange{7, 10}));
  h.mouseDown(w, at(0, "first"));
  NSEvent far;
  far.type = NSEventTypeLeftMouseDragged;
  far.window = w;
  far.locationInWindow = text->convertPointToView({-50, 1e4}, nullptr);
  h.post(far);
  h.mouseUp(w, far.locationInWindow);
  h.runUntilIdle();
  EXPECT_EQ(text->selectedRange(), (NSRange{5, 6}));  // to the start of the last line
  // A quick click puts the caret down and ends the selection.
  h.click(w, at(1, "s"));
  h.runUntilIdle();
  EXPECT_EQ(text->selectedRange(), (NSRange{12, 0}));
}

TEST_F(TextViewTest, RangesAndTextBeyondTheEndAreFittedToTheText) {
  const std::size_t huge = std::numeric_limits<std::size_t>::max();
  text->setString("abc");
  struct Row {
    NSRange range;
    NSRange selected;
  } rows[] = {
      {{huge, huge}, {3, 0}},
      {{1, huge}, {1, 2}},
      {{huge - 1, 5}, {3, 0}},
      {{2, 0}, {2, 0}},
  };
  for (const Row& r : rows) {
    text->setSelectedRange(r.range);
    EXPECT_EQ(text->selectedRange(), r.selected) << r.range.location << "," << r.range.length;
  }
  text->replaceCharactersInRange({huge - 1, 5}, "d");
  EXPECT_EQ(text->string(), "abcd");
  text->replaceCharactersInRange({1, huge}, "");
  EXPECT_EQ(text->string(), "a");
  // Bytes that are not UTF-8 are typed as replacement characters, never as broken text.
  text->setSelectedRange({1, 0});
  text->insertText("\xff\xfe");
  EXPECT_EQ(text->string(), "a\xEF\xBF\xBD\xEF\xBF\xBD");
  EXPECT_EQ(text->length(), 3u);
}

}  // namespace

namespace {

// The caret blinks only while its window is key: a text in a window behind, or hidden, keeps
// no timer waking the loop, and shows its caret again at once when its window is key again.
TEST_F(TextViewTest, TheCaretBlinksOnlyWhileItsWindowIsKey) {
  NSRunLoop& loop = NSRunLoop::mainRunLoop();
  const double half = NSText::kCaretBlinkSeconds * 1000;
  text->setString("abc");
  h.runUntilIdle();
  const std::size_t blinking = loop.timerCount();
  auto* other = new NSWindow(NSMakeRect(0, 0, 50, 50), NSWindowStyleMaskTitled);
  struct Step {
    const char* name;
    std::function<void()> act;
    bool shown;
    std::size_t timers;  // beside the blinking one
  } steps[] = {
      {"editing in the key window", [] {}, true, 1},
      {"another window is key", [&] { other->makeKeyAndOrderFront(); }, false, 0},
      {"and stays so", [&] { h.advance(3 * half); }, false, 0},
      {"its own window is key again", [&] { w->makeKeyAndOrderFront(); }, true, 1},
      {"it blinks", [&] { h.advance(half); }, false, 1},
      {"hidden, its window is key no more", [&] { w->orderOut(); }, false, 0},
      {"shown again", [&] { w->makeKeyAndOrderFront(); }, true, 1},
  };
  for (const Step& s : steps) {
    s.act();
    EXPECT_EQ(text->isCaretShown(), s.shown) << s.name;
    EXPECT_EQ(loop.timerCount() + 1, blinking + s.timers) << s.name;
  }
  other->close();
}

}  // namespace
