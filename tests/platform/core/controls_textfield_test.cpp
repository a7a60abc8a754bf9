#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "base/Utf8.h"
#include "platform/core/Button.h"
#include "platform/core/Pasteboard.h"
#include "platform/core/PopUpButton.h"
#include "platform/core/TextField.h"
#include "platform/core/TextView.h"
#include "platform/core/Window.h"
#include "support/ControlWindowTest.h"

using namespace platform;
using testsupport::ControlRecorder;

namespace {

using Events = std::vector<std::string>;

constexpr std::uint16_t kDelete = 51;
constexpr std::uint16_t kLeft = 123;
constexpr std::uint16_t kRight = 124;
constexpr std::uint16_t kReturn = 36;

// The shared key window with two text fields, one above the other, reporting to the
// recorder.
class TextFieldTest : public testsupport::ControlWindowTest {
 protected:
  NSTextField* first = nullptr;
  NSTextField* second = nullptr;

  void SetUp() override {
    ControlWindowTest::SetUp();
    first = field(new NSTextField(NSMakeRect(20, 150, 200, 24)));
    second = field(new NSTextField(NSMakeRect(20, 100, 200, 24)));
  }
  template <class T>
  T* field(T* f) {
    f->setDelegate(rec.get());
    return add(f);
  }
  void clickOn(NSView* v) {
    NSRect f = v->frame();
    h.click(w, {f.origin.x + 5, f.origin.y + f.size.height / 2});
    h.runUntilIdle();
  }
  void type(const std::string& text) {
    h.typeText(w, text);
    h.runUntilIdle();
  }
  void key(std::uint16_t code, const std::string& chars = "", std::uint64_t mods = 0) {
    h.key(w, code, chars, mods);
    h.runUntilIdle();
  }
  NSText* editor() { return w->fieldEditor(false, nullptr); }
  // The walk the windowing layer makes: from the first responder up to the text field.
  NSTextField* fieldBeingEdited() {
    for (auto* v = dynamic_cast<NSView*>(w->firstResponder()); v && v != content;
         v = v->superview())
      if (auto* f = dynamic_cast<NSTextField*>(v)) return f;
    return nullptr;
  }
};

TEST_F(TextFieldTest, ClickingPutsTheFieldEditorInsideAndTypingFollowsTheField) {
  first->setStringValue("old");
  clickOn(first);
  ASSERT_NE(editor(), nullptr);
  EXPECT_EQ(w->firstResponder(), editor());
  EXPECT_EQ(editor()->superview(), first);
  EXPECT_EQ(fieldBeingEdited(), first);
  EXPECT_EQ(first->currentEditor(), editor());
  EXPECT_EQ(editor()->selectedRange(), (NSRange{0, 3}));  // the text is selected

  type("ab");
  EXPECT_EQ(first->stringValue(), "ab");
  EXPECT_EQ(testsupport::PlatformHarness::describeViewTree(first),
            "NSTextField (20,150 200x24) tag=0 text=\"ab\"\n"
            "  NSTextView (2,2 196x20) flipped text=\"ab\" sel=2+0 focus\n");
  EXPECT_EQ(rec->take(), (Events{"begin", "change a", "change ab"}));

  // Moving to the other field ends this edit and lends the editor to the other one.
  clickOn(second);
  EXPECT_EQ(rec->take(), (Events{"end ab"}));
  EXPECT_EQ(first->currentEditor(), nullptr);
  EXPECT_EQ(editor()->superview(), second);
  EXPECT_EQ(fieldBeingEdited(), second);
  type("z");
  EXPECT_EQ(second->stringValue(), "z");
  EXPECT_EQ(first->stringValue(), "ab");
}

// A click moves the focus only to what takes it from the mouse: another text field or a
// pop-up button (a following Space opens its list), not a button, a disabled field or a
// label, which leave the edit going.
TEST_F(TextFieldTest, OnlyAClickOnWhatTakesTheFocusEndsTheEdit) {
  auto* button = add(new NSButton(NSMakeRect(250, 20, 80, 22)));
  auto* list = add(new NSPopUpButton(NSMakeRect(250, 60, 80, 22)));
  list->addItemWithTitle("x");
  auto* disabled = field(new NSTextField(NSMakeRect(250, 100, 80, 22)));
  disabled->setEnabled(false);
  auto* label = field(new NSTextField(NSMakeRect(250, 140, 80, 22)));
  label->setSelectable(false);
  clickOn(first);
  type("a");
  for (NSView* clicked : std::vector<NSView*>{button, disabled, label, list, second}) {
    h.click(w, middle(clicked));
    h.runUntilIdle();
    if (clicked == list)
      EXPECT_EQ(w->firstResponder(), list);
    else
      EXPECT_EQ(fieldBeingEdited(), clicked == second ? second : first);
  }
  EXPECT_EQ(rec->take(), (Events{"begin", "change a", "action 3", "end a"}));
}

// A field disabled while it is being edited loses the focus: its edit ends, and the keys
// no longer reach it.
TEST_F(TextFieldTest, DisablingTheEditedFieldEndsTheEdit) {
  clickOn(first);
  type("ab");
  first->setEnabled(false);
  type("cd");
  EXPECT_EQ(first->stringValue(), "ab");
  EXPECT_EQ(first->currentEditor(), nullptr);
  EXPECT_EQ(rec->take(), (Events{"begin", "change a", "change ab", "end ab"}));
}

TEST_F(TextFieldTest, ProgrammaticTextReachesTheEditorWithoutNotifying) {
  clickOn(first);
  first->setStringValue("hello");
  EXPECT_EQ(editor()->string(), "hello");
  EXPECT_TRUE(rec->events.empty());
  key(kDelete);
  EXPECT_EQ(first->stringValue(), "hell");
  EXPECT_EQ(rec->take(), (Events{"begin", "change hell"}));
}

TEST_F(TextFieldTest, RemovingTheFieldWhileEditingEndsTheEditCleanly) {
  clickOn(first);
  type("x");
  rec->take();
  Ref<NSTextField> keep(first);
  first->removeFromSuperview();
  EXPECT_EQ(rec->take(), (Events{"end x"}));
  EXPECT_EQ(w->firstResponder(), w);
  EXPECT_EQ(editor()->superview(), nullptr);
  // The editor can still be lent afterwards.
  clickOn(second);
  EXPECT_EQ(fieldBeingEdited(), second);
}

TEST_F(TextFieldTest, FieldsThatAreNotEditableOrNotSelectable) {
  first->setStringValue("fixed");
  first->setEditable(false);
  clickOn(first);
  ASSERT_EQ(fieldBeingEdited(), first);
  type("q");
  key(kDelete);
  EXPECT_EQ(first->stringValue(), "fixed");
  EXPECT_TRUE(rec->take().empty());

  second->setSelectable(false);
  EXPECT_FALSE(second->isEditable());
  clickOn(second);
  EXPECT_NE(fieldBeingEdited(), second);
}

TEST_F(TextFieldTest, EditingKeysCountUtf16UnitsAndKeepPairsWhole) {
  clickOn(first);
  type("e\xC3\xA9\xF0\x9F\x98\x80");  // e, e-acute, an emoji: 4 UTF-16 units
  EXPECT_EQ(editor()->length(), 4u);
  key(kLeft);
  EXPECT_EQ(editor()->selectedRange(), (NSRange{2, 0}));  // before the whole pair
  key(kLeft, "", NSEventModifierFlagShift);
  EXPECT_EQ(editor()->selectedRange(), (NSRange{1, 1}));
  key(kDelete);
  EXPECT_EQ(first->stringValue(), "e\xF0\x9F\x98\x80");
  editor()->setSelectedRange({2, 5});  // inside the pair, past the end
  EXPECT_EQ(editor()->selectedRange(), (NSRange{1, 2}));
  key(kDelete);
  EXPECT_EQ(first->stringValue(), "e");
}

// A delegate that replaces the field's text as soon as the user starts an edit.
class ResetOnBegin : public NSObject, public NSControlTextEditingDelegate {
 public:
  void controlTextDidBeginEditing(NSControl* c) override { c->setStringValue(""); }
};

TEST_F(TextFieldTest, AnEditFitsTheTextTheBeginHandlerLeft) {
  Ref<ResetOnBegin> resetter = Ref<ResetOnBegin>::adopt(new ResetOnBegin);
  first->setStringValue("hello world");
  first->setDelegate(resetter.get());
  clickOn(first);
  editor()->setSelectedRange({11, 0});
  type("x");
  EXPECT_EQ(first->stringValue(), "x");
  first->setDelegate(nullptr);
}

// A wrapping field breaks its text at spaces and line feeds into lines that fit its width,
// a word longer than a line after whole characters; together the lines hold the whole text.
TEST_F(TextFieldTest, AWrappingFieldShowsLinesThatFitAndHoldTheText) {
  first->setWraps(true);
  first->setFrameSize({80, 60});
  const double width = first->editingRect().size.width - 2 * 3;  // the drawing's insets
  const std::string texts[] = {"short",      "one two three four five six",
                               "line\nfeed", "Supercalifragilistic\xC3\xA9xpial",
                               "a  b",       ""};
  for (const std::string& text : texts) {
    SCOPED_TRACE(text);
    first->setStringValue(text);
    const std::vector<std::string> lines = first->shownLines();
    std::string joined;
    for (const std::string& line : lines) {
      EXPECT_LE(first->font().sizeOfString(line).width, width) << line;
      EXPECT_TRUE(base::isValidUtf8(line)) << "cut inside a character";
      joined += line;
    }
    std::string letters = text;
    std::erase_if(letters, [](char c) { return c == ' ' || c == '\n'; });
    std::erase_if(joined, [](char c) { return c == ' '; });
    EXPECT_EQ(joined, letters);
  }
  EXPECT_EQ(first->shownLines().size(), 1u);
  first->setStringValue("one two three four five six");
  EXPECT_GT(first->shownLines().size(), 2u);
  first->setWraps(false);
  EXPECT_EQ(first->shownLines().size(), 1u);
}

TEST(NSTextTest, ReplacingNeverSplitsASurrogatePair) {
  Ref<NSText> text = Ref<NSText>::adopt(new NSText(NSMakeRect(0, 0, 100, 20)));
  text->setString(
      "a\xF0\x9F\x98\x80"
      "b");  // the emoji takes units 1 and 2
  text->replaceCharactersInRange({2, 0}, "x");
  EXPECT_EQ(text->string(),
            "ax\xF0\x9F\x98\x80"
            "b");
  text->replaceCharactersInRange({2, 1}, "y");  // from the middle of the pair
  EXPECT_EQ(text->string(), "axyb");
}

TEST_F(TextFieldTest, CutCopyPasteThroughThePasteboard) {
  NSPasteboard& pb = NSPasteboard::generalPasteboard();
  clickOn(first);
  type("one two");
  editor()->setSelectedRange({4, 3});
  key(0, "x", NSEventModifierFlagCommand);  // the key's character without Command is "x"
  EXPECT_EQ(first->stringValue(), "one ");
  EXPECT_EQ(pb.stringForType().value_or(""), "two");
  pb.declareTypes({NSPasteboardTypeString});
  pb.setString("a\nb");
  key(9, "v", NSEventModifierFlagCommand);
  // A field editor keeps to one line.
  EXPECT_EQ(first->stringValue(), "one a b");
}

// A right click in the text being edited pops its context menu up there, as the field's
// delegate lets it: the choice acts on the text; a disabled item chooses nothing.
TEST_F(TextFieldTest, ARightClickShowsTheContextMenuWhoseChoiceActsOnTheText) {
  clickOn(first);
  type("one two");
  editor()->setSelectedRange({4, 3});
  const NSPoint at = first->convertPointToView({30, 12}, nullptr);
  h.menus().add({"Cut", "Paste", "Copy", ""});
  for (int i = 0; i < 3; ++i) {
    h.rightClick(w, at);
    h.runUntilIdle();
  }
  EXPECT_EQ(first->stringValue(), "one two");  // cut, pasted back; no selection to copy
  EXPECT_EQ(NSPasteboard::generalPasteboard().stringForType(), "two");
  EXPECT_EQ(h.menus().lastScreenPoint(), w->convertPointToScreen(at));
  rec->refuseMenu = true;
  h.rightClick(w, at);
  h.runUntilIdle();
  EXPECT_EQ(h.menus().popped().size(), 3u);
  EXPECT_EQ(h.menus().popped()[0], (std::vector<std::string>{"Cut", "Copy", "Paste"}));
}

TEST_F(TextFieldTest, SecureFieldsNeverReachThePasteboard) {
  auto* secret = field(new NSSecureTextField(NSMakeRect(20, 50, 200, 24)));
  NSPasteboard& pb = NSPasteboard::generalPasteboard();
  pb.declareTypes({NSPasteboardTypeString});
  pb.setString("clip");
  clickOn(secret);
  type("pa\xC3\xA9");
  key(0, "a", NSEventModifierFlagCommand);
  key(8, "c", NSEventModifierFlagCommand);
  key(7, "x", NSEventModifierFlagCommand);
  EXPECT_EQ(pb.stringForType().value_or(""), "clip");
  EXPECT_EQ(secret->stringValue(), "pa\xC3\xA9");
  EXPECT_EQ(secret->displayedString(), "\u2022\u2022\u2022");
  // The next field's editor is no longer concealed.
  clickOn(first);
  type("pw");
  key(0, "a", NSEventModifierFlagCommand);
  key(8, "c", NSEventModifierFlagCommand);
  EXPECT_EQ(pb.stringForType().value_or(""), "pw");
}

TEST(NSTextViewTest, ReturnAndTabTypeIntoATextViewButNotIntoAFieldEditor) {
  testsupport::PlatformHarness h;
  Ref<NSTextView> view = Ref<NSTextView>::adopt(new NSTextView(NSMakeRect(0, 0, 100, 100)));
  NSEvent e;
  e.type = NSEventTypeKeyDown;
  e.keyCode = kReturn;
  e.characters = "\r";
  view->keyDown(e);
  EXPECT_EQ(view->string(), "\n");
  EXPECT_EQ(view->numberOfLines(), 2);
  view->setFieldEditor(true);
  view->keyDown(e);
  EXPECT_EQ(view->string(), "\n");
}

TEST(NSTextViewTest, ContextMenuIsTheDelegatesToGiveOrRefuse) {
  testsupport::PlatformHarness h;
  Ref<ControlRecorder> rec = Ref<ControlRecorder>::adopt(new ControlRecorder);
  Ref<NSTextView> view = Ref<NSTextView>::adopt(new NSTextView(NSMakeRect(0, 0, 100, 100)));
  view->setString("abc");
  view->setSelectedRange({0, 2});
  NSEvent click;
  click.type = NSEventTypeRightMouseDown;
  Ref<NSMenu> menu = view->menuForEvent(click);
  ASSERT_TRUE(menu);
  ASSERT_EQ(menu->numberOfItems(), 3);
  EXPECT_TRUE(menu->itemAtIndex(0)->isEnabled());  // Cut with a selection
  view->setEditable(false);
  EXPECT_FALSE(view->menuForEvent(click)->itemAtIndex(0)->isEnabled());

  view->setDelegate(rec.get());
  EXPECT_TRUE(view->menuForEvent(click));
  rec->refuseMenu = true;
  EXPECT_FALSE(view->menuForEvent(click));
  view->rightMouseDown(click);
  EXPECT_EQ(view->lastContextMenu(), nullptr);
  EXPECT_EQ(rec->take(), (Events{"menu 0", "menu 0", "menu 0"}));
}

}  // namespace

namespace {

TEST(NSTextViewTest, ClickPositionsMapToCharacterBoundaries) {
  testsupport::PlatformHarness h;
  Ref<NSTextView> view = Ref<NSTextView>::adopt(new NSTextView(NSMakeRect(0, 0, 100, 100)));
  view->setString("ab\xF0\x9F\x98\x80z\nsecond");
  double lineHeight = view->font().lineHeight();
  EXPECT_EQ(view->characterIndexForPoint({-5, 1}), 0u);
  EXPECT_EQ(view->characterIndexForPoint({1e6, 1}), 5u);  // end of the first line
  EXPECT_EQ(view->characterIndexForPoint({1e6, lineHeight + 1}), 12u);
  EXPECT_EQ(view->characterIndexForPoint({std::nan(""), std::nan("")}), 0u);
  EXPECT_EQ(view->characterIndexForPoint({1e6, 1e300}), 12u);  // far below: the last line
  for (double x = 0; x < 60; x += 1) {
    std::size_t i = view->characterIndexForPoint({x, 1});
    EXPECT_NE(i, 3u) << "inside the surrogate pair at x " << x;
  }
  // A long line is searched, not measured boundary by boundary.
  view->setString(std::string(20000, 'w'));
  std::size_t mid = view->characterIndexForPoint({view->font().sizeOfString("wwwww").width, 1});
  EXPECT_EQ(mid, 5u);
}

}  // namespace

namespace {

// The caret of the field being edited blinks on the one clock, shows again at once when
// the text or the caret moves, and goes with the editing.
TEST_F(TextFieldTest, TheEditedFieldsCaretBlinksOnTheClock) {
  first->setStringValue("ab");
  clickOn(first);
  NSText* editor = first->currentEditor();
  ASSERT_NE(editor, nullptr);
  const double half = NSText::kCaretBlinkSeconds * 1000;
  struct Step {
    const char* name;
    std::function<void()> act;
    bool shown;
  } steps[] = {
      {"editing starts with the text selected: no caret", [] {}, false},
      {"a caret moved to the end shows",
       [&] {
         h.key(w, kRight, "");
         h.runUntilIdle();
       },
       true},
      {"hidden after one interval", [&] { h.advance(half); }, false},
      {"shown after another", [&] { h.advance(half); }, true},
      {"typing shows it at once",
       [&] {
         h.advance(half);
         type("c");
       },
       true},
      {"and starts the interval over", [&] { h.advance(half - 1); }, true},
      {"a selection has none", [&] { editor->selectAll(); }, false},
      {"collapsing it shows",
       [&] {
         h.key(w, kRight, "");
         h.runUntilIdle();
       },
       true},
  };
  for (const Step& s : steps) {
    s.act();
    EXPECT_EQ(editor->isCaretShown(), s.shown) << s.name;
  }
  // Drawn after the text before it, the height of a line.
  NSRect caret = editor->caretRect();
  EXPECT_NEAR(caret.origin.x, editor->font().sizeOfString("abc").width, 0.01);
  EXPECT_EQ(caret.size.width, 1);
  EXPECT_GT(caret.size.height, 0);
  NSPoint inWindow = editor->convertPointToView({caret.origin.x + 0.5, caret.midY()}, nullptr);
  EXPECT_EQ(testsupport::PlatformHarness::pixelAt(w, inWindow.x, inWindow.y) & 0xFFFFFF, 0u)
      << "the caret is drawn in the text colour";
  w->makeFirstResponder(nullptr);
  EXPECT_FALSE(editor->isCaretShown()) << "ending the edit takes it away";
  h.advance(2 * half);
  EXPECT_FALSE(editor->isCaretShown()) << "and stops the blinking";
}

}  // namespace
