// The text-entry control, driven as a user drives it: prompts opened by controls, keys and mouse
// events through the graphics context, the clipboard and the context menu.

#include "controls/Controls.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <string>

#include "support/ControlTestFixture.h"
#include "support/TestControls.h"

using namespace iplug;
using namespace iplug::igraphics;
using testsupport::DrawCall;
using testsupport::FakeEditorDelegate;
using testsupport::FakePopupMenuControl;
using testsupport::LoggingControl;
using testsupport::RecordingGraphics;
using Call = FakeEditorDelegate::Call;

namespace {

// The field: text 20 high, so each ASCII byte measures 10 wide in the recording context; centred
// vertically, the row runs from 55 to 75 and its marks from 57 to 73 (a tenth of the size in).
const IRECT kField(100, 50, 300, 80);
constexpr float kTextSize = 20.f;
constexpr float kCharW = RecordingGraphics::kCharWidthFactor * kTextSize;

// The virtual-key code a keyboard gives the character.
int VkFor(char c) {
  if (c >= 'a' && c <= 'z') return kVK_A + (c - 'a');
  if (c >= 'A' && c <= 'Z') return kVK_A + (c - 'A');
  if (c >= '0' && c <= '9') return kVK_0 + (c - '0');
  if (c == ' ') return kVK_SPACE;
  if (c == '.') return 0xBE;
  if (c == '-') return 0xBD;
  if (c == '+') return 0xBB;
  return 0;
}

class TextEntry : public testsupport::ControlTestFixture<> {
 protected:
  // No native text field, as on Linux: every text prompt opens in the text-entry control.
  void SetUp() override { g.SetHasPlatformTextEntry(false); }

  LoggingControl* AddControl(int paramIdx = kNoParameter) {
    return static_cast<LoggingControl*>(
        g.AttachControl(new LoggingControl(IRECT(0, 0, 400, 300), paramIdx)));
  }

  // Opens an edit of text over the field for a control bound to paramIdx.
  ITextEntryControl* Open(const char* text, int paramIdx = kNoParameter,
                          EAlign align = EAlign::Near) {
    requester = AddControl(paramIdx);
    g.CreateTextEntry(*requester, IText(kTextSize, COLOR_BLACK, nullptr, align), kField, text);
    auto* te = dynamic_cast<ITextEntryControl*>(g.GetTextEntryControl());
    EXPECT_NE(te, nullptr);
    return te;
  }

  bool Key(int vk, const char* utf8 = "", bool shift = false, bool command = false) {
    return g.OnKeyDown(10, 10, IKeyPress(utf8, vk, shift, command));
  }
  void Type(const std::string& text) {
    for (char c : text) {
      const char s[2] = {c, '\0'};
      Key(VkFor(c), s);
    }
  }
  // A click on the field's row at x.
  void Click(float x, const IMouseMod& mod = kLeft) {
    g.OnMouseDown(x, 65, mod);
    g.OnMouseUp(x, 65, mod);
  }
  // The x of the boundary before character i of a left-aligned text.
  static float X(int i) { return kField.L + kCharW * static_cast<float>(i); }

  LoggingControl* requester = nullptr;
};

// --- Prompts, commit and dismissal ---

TEST_F(TextEntry, EveryTextPromptOpensInTheControlWithItsTextSelected) {
  // A press opens the prompt; its release, which reaches the edit, keeps everything selected.
  LoggingControl* c = AddControl(FakeEditorDelegate::kParamGain);
  c->DisablePrompt(false);
  g.OnMouseDown(X(1), 65, kLeft);
  c->PromptUserInput(kField);
  g.OnMouseUp(X(1), 65, kLeft);

  auto* te = dynamic_cast<ITextEntryControl*>(g.GetTextEntryControl());
  ASSERT_NE(te, nullptr);
  EXPECT_FALSE(g.GetPlatformTextEntry().open);
  EXPECT_TRUE(te->EditInProgress());
  EXPECT_EQ(te->GetRECT(), kField);
  EXPECT_GT(te->GetEditString().size(), 0u);
  EXPECT_EQ(te->GetSelectionStart(), 0);
  EXPECT_EQ(te->GetSelectionEnd(), static_cast<int>(te->GetEditString().size()));
}

TEST_F(TextEntry, TypingReplacesTheSelectionAndReturnSetsTheParameter) {
  ITextEntryControl* te = Open("1234", FakeEditorDelegate::kParamGain);
  Type("7.5");
  EXPECT_EQ(te->GetText(), "7.5");

  dlg.ClearCalls();
  EXPECT_TRUE(Key(kVK_RETURN, "\r"));
  EXPECT_FALSE(te->EditInProgress());
  EXPECT_EQ(te->GetText(), "7.5");  // Return ends the edit and is not inserted
  EXPECT_TRUE(te->GetRECT().Empty());
  EXPECT_EQ(g.GetControlInTextEntry(), nullptr);
  ASSERT_EQ(dlg.Calls().size(), 1u);
  EXPECT_EQ(dlg.Calls()[0].kind, Call::kSetValue);
  EXPECT_DOUBLE_EQ(dlg.Calls()[0].value, (7.5 + 12.) / 24.);
}

TEST_F(TextEntry, EscapeEndsTheEditWithoutAResultAndInsertsNothing) {
  ITextEntryControl* te = Open("3", FakeEditorDelegate::kParamGain);
  Type("5");
  dlg.ClearCalls();
  EXPECT_TRUE(Key(kVK_ESCAPE, "\x1b"));
  EXPECT_FALSE(te->EditInProgress());
  EXPECT_EQ(te->GetText(), "5");
  EXPECT_EQ(g.GetControlInTextEntry(), nullptr);
  EXPECT_TRUE(dlg.Calls().empty());
  // Keys go to the controls again.
  EXPECT_FALSE(Key(kVK_0, "0"));
  EXPECT_EQ(te->GetText(), "5");
}

TEST_F(TextEntry, APressOutsideTheFieldCommitsAndIsNotPassedOn) {
  Open("abc");
  Type("xy");
  g.OnMouseDown(10, 200, kLeft);
  EXPECT_FALSE(g.GetTextEntryControl()->EditInProgress());
  EXPECT_TRUE(requester->Saw("OnTextEntryCompletion xy"));
  EXPECT_FALSE(requester->Saw("OnMouseDown"));
}

TEST_F(TextEntry, RemovingTheRequesterMidEditEndsTheEditWithoutAResult) {
  ITextEntryControl* te = Open("abc", FakeEditorDelegate::kParamGain);
  Type("1");
  dlg.ClearCalls();
  g.RemoveControl(requester);
  requester = nullptr;
  EXPECT_FALSE(te->EditInProgress());
  EXPECT_FALSE(Key(kVK_RETURN, "\r"));
  EXPECT_TRUE(dlg.Calls().empty());
}

// --- Keys ---

TEST_F(TextEntry, NumericParametersTakeDigitsSignsAndForADoubleThePoint) {
  ITextEntryControl* te = Open("", FakeEditorDelegate::kParamGain);
  EXPECT_FALSE(Key(kVK_A, "a"));
  EXPECT_FALSE(Key(kVK_1, "!", true));  // Shift with a digit types no digit
  EXPECT_TRUE(Key(0xBD, "-"));
  EXPECT_TRUE(Key(kVK_NUMPAD0 + 4, "4"));
  EXPECT_TRUE(Key(0xBE, "."));
  EXPECT_TRUE(Key(kVK_2, "2"));
  EXPECT_TRUE(Key(kVK_5, "5", true));  // a layout that types digits with Shift
  EXPECT_EQ(te->GetText(), "-4.25");
  Key(kVK_ESCAPE);

  te = Open("", FakeEditorDelegate::kParamInt);
  EXPECT_TRUE(Key(kVK_1, "1"));
  EXPECT_FALSE(Key(0xBE, "."));
  EXPECT_EQ(te->GetText(), "1");
}

TEST_F(TextEntry, TabAndPageKeysAreLeftToTheControlsAndChangeNothing) {
  ITextEntryControl* te = Open("abc");
  requester->mHandleKeys = true;
  Key(kVK_END);
  EXPECT_TRUE(Key(kVK_TAB, "\t"));  // consumed by the control under the pointer, not the edit
  EXPECT_TRUE(requester->Saw("OnKeyDown"));
  EXPECT_EQ(te->GetText(), "abc");

  requester->mHandleKeys = false;
  Key(kVK_HOME, "", true);  // a selection, which Page Down would otherwise collapse
  EXPECT_FALSE(Key(kVK_NEXT));
  EXPECT_FALSE(Key(kVK_PRIOR, "", true));
  EXPECT_EQ(te->GetSelectionStart(), 3);
  EXPECT_EQ(te->GetSelectionEnd(), 0);
}

TEST_F(TextEntry, ShiftArrowsSelectAndCommandArrowsJumpWords) {
  ITextEntryControl* te = Open("one two three");
  Key(kVK_HOME);
  Key(kVK_RIGHT, "", true);
  Key(kVK_RIGHT, "", true);
  EXPECT_EQ(te->GetSelectionStart(), 0);
  EXPECT_EQ(te->GetSelectionEnd(), 2);
  Type("X");
  EXPECT_EQ(te->GetText(), "Xe two three");

  Key(kVK_HOME);
  Key(kVK_RIGHT, "", false, true);
  EXPECT_EQ(te->GetCursor(), 3);  // start of the next word
  Key(kVK_RIGHT, "", true, true);
  EXPECT_EQ(te->GetSelectionStart(), 3);
  EXPECT_EQ(te->GetSelectionEnd(), 7);
  Key(kVK_END, "", false, true);
  EXPECT_EQ(te->GetCursor(), 12);
  EXPECT_FALSE(te->HasSelection());
}

TEST_F(TextEntry, OnlyAsciiWhiteSpaceBreaksWords) {
  ITextEntryControl* te = Open(
      "ab\xE3\x80\x80"
      "cd ef");  // an ideographic space, then ASCII
  Key(kVK_HOME);
  Key(kVK_RIGHT, "", false, true);
  EXPECT_EQ(te->GetCursor(), 6);
}

TEST_F(TextEntry, BackspaceDeleteAndOverwrite) {
  ITextEntryControl* te = Open("abcd");
  Key(kVK_END);
  Key(kVK_BACK);
  Key(kVK_HOME);
  Key(kVK_DELETE);
  EXPECT_EQ(te->GetText(), "bc");
  Key(kVK_INSERT);
  EXPECT_TRUE(te->GetInsertMode());
  Type("X");
  EXPECT_EQ(te->GetText(), "Xc");
  EXPECT_FALSE(Key(kVK_INSERT + 0, "", false, true));  // Command+Insert means nothing
}

TEST_F(TextEntry, UndoAndRedoWithCommandZ) {
  ITextEntryControl* te = Open("12");
  Key(kVK_END);
  Type("3");
  EXPECT_EQ(te->GetText(), "123");
  EXPECT_TRUE(Key(kVK_Z, "z", false, true));
  EXPECT_EQ(te->GetText(), "12");
  EXPECT_TRUE(Key(kVK_Z, "Z", true, true));
  EXPECT_EQ(te->GetText(), "123");

  // A selection made before an undo does not survive it over the restored text.
  Key(kVK_A, "a", false, true);
  Key(kVK_Z, "z", false, true);
  EXPECT_EQ(te->GetText(), "12");
  EXPECT_FALSE(te->HasSelection());
  EXPECT_EQ(te->GetCursor(), 2);
}

TEST_F(TextEntry, UndoNeverReachesIntoThePreviousEdit) {
  ITextEntryControl* te = Open("first");
  Type("a long text typed into the first prompt");
  Key(kVK_RETURN, "\r");

  te = Open("9");
  EXPECT_FALSE(Key(kVK_Z, "z", false, true) && te->GetText() != "9");
  EXPECT_EQ(te->GetText(), "9");
  Key(kVK_Z, "z", true, true);
  EXPECT_EQ(te->GetText(), "9");
}

TEST_F(TextEntry, CharactersBeyondTheBasicPlaneAreStoredAsPairsAndEditedWhole) {
  ITextEntryControl* te = Open("");
  Type("a");
  Key(0, "\xF0\x9F\x98\x80");  // U+1F600
  Type("b");
  ASSERT_EQ(te->GetEditString().size(), 4u);
  EXPECT_EQ(te->GetEditString()[1], 0xD83D);
  EXPECT_EQ(te->GetEditString()[2], 0xDE00);
  EXPECT_EQ(te->GetText(),
            "a\xF0\x9F\x98\x80"
            "b");

  Key(kVK_LEFT);
  Key(kVK_LEFT);
  EXPECT_EQ(te->GetCursor(), 1);  // over the whole pair
  Key(kVK_RIGHT, "", true);
  EXPECT_EQ(te->GetSelectionEnd(), 3);
  Key(kVK_RIGHT);
  Key(kVK_BACK);
  EXPECT_EQ(te->GetText(), "ab");
  EXPECT_TRUE(Key(kVK_Z, "z", false, true));
  EXPECT_EQ(te->GetText(),
            "a\xF0\x9F\x98\x80"
            "b");
}

TEST_F(TextEntry, IllFormedTextIsEditedWithReplacementCharacters) {
  ITextEntryControl* te = Open(
      "a\xFF"
      "b\xE2\x82");
  EXPECT_EQ(te->GetText(),
            "a\xEF\xBF\xBD"
            "b\xEF\xBF\xBD\xEF\xBF\xBD");
  Key(kVK_RETURN, "\r");
  EXPECT_TRUE(
      requester->Saw("OnTextEntryCompletion a\xEF\xBF\xBD"
                     "b\xEF\xBF\xBD\xEF\xBF\xBD"));
}

TEST_F(TextEntry, LongRandomSessionsKeepTheStateInsideTheTextAndPairsWhole) {
  // Keys, clicks, drags and clipboard use in a fixed pseudo-random order; under the sanitizers
  // any position the editing logic got wrong would show as an overrun.
  ITextEntryControl* te = Open("start \xF0\x9F\x8E\xB9 text");
  std::mt19937 rng(1234);
  const int vks[] = {kVK_LEFT, kVK_RIGHT,  kVK_UP,     kVK_DOWN,  kVK_HOME, kVK_END,
                     kVK_BACK, kVK_DELETE, kVK_INSERT, kVK_PRIOR, kVK_NEXT, kVK_A,
                     kVK_C,    kVK_V,      kVK_X,      kVK_Z,     kVK_SPACE};
  const char* chars[] = {"a", "Z", "7", " ", "\xC3\xA9", "\xF0\x9F\x98\x80", "\t"};
  g.mHasClipboardText = true;
  g.mClipboard = "x\xF0\x9F\x98\x80y";
  for (int step = 0; step < 3000; ++step) {
    const int what = static_cast<int>(rng() % 10);
    if (what < 5) {
      Key(vks[rng() % std::size(vks)], "", rng() % 2, rng() % 3 == 0);
    } else if (what < 8) {
      Key(0, chars[rng() % std::size(chars)], rng() % 2);
    } else {
      const float x = kField.L - 20.f + static_cast<float>(rng() % 260);
      g.OnMouseDown(std::clamp(x, kField.L, kField.R - 1), 65, kLeft);
      g.OnMouseDrag(x, 65, 5, 0, kLeft);
      g.OnMouseUp(x, 65, kLeft);
    }
    const int len = static_cast<int>(te->GetEditString().size());
    ASSERT_TRUE(te->EditInProgress()) << step;
    ASSERT_GE(te->GetCursor(), 0);
    ASSERT_LE(te->GetCursor(), len) << step;
    ASSERT_LE(std::max(te->GetSelectionStart(), te->GetSelectionEnd()), len) << step;
    const std::u16string& u = te->GetEditString();
    for (int i = 0; i < len; ++i) {
      const bool high = u[i] >= 0xD800 && u[i] <= 0xDBFF;
      const bool low = u[i] >= 0xDC00 && u[i] <= 0xDFFF;
      ASSERT_FALSE(high && (i + 1 == len || u[i + 1] < 0xDC00 || u[i + 1] > 0xDFFF)) << step;
      ASSERT_FALSE(low && (i == 0 || u[i - 1] < 0xD800 || u[i - 1] > 0xDBFF)) << step;
    }
  }
}

// --- Mouse ---

TEST_F(TextEntry, AClickPlacesTheCaretAtTheNearestBoundaryOfTheMeasuredCharacters) {
  // "é" is two bytes, so the recording context measures it twice as wide as "a".
  ITextEntryControl* te = Open(
      "a\xC3\xA9"
      "b");
  Click(X(0) + 4);
  EXPECT_EQ(te->GetCursor(), 0);
  Click(X(0) + 6);
  EXPECT_EQ(te->GetCursor(), 1);
  Click(X(1) + 9);  // in the left half of the wide character
  EXPECT_EQ(te->GetCursor(), 1);
  Click(X(1) + 11);
  EXPECT_EQ(te->GetCursor(), 2);
  Click(kField.R - 1);
  EXPECT_EQ(te->GetCursor(), 3);
  EXPECT_FALSE(te->HasSelection());
}

TEST_F(TextEntry, DraggingSelectsFromThePressToThePointer) {
  ITextEntryControl* te = Open("hello world");
  g.OnMouseDown(X(1) + 1, 65, kLeft);
  g.OnMouseDrag(X(3) + 1, 65, 20, 0, kLeft);
  g.OnMouseDrag(X(5) + 1, 200, 20, 0, kLeft);  // off the row: only x counts
  g.OnMouseUp(X(5) + 1, 200, kLeft);
  EXPECT_EQ(te->GetSelectionStart(), 1);
  EXPECT_EQ(te->GetSelectionEnd(), 5);
  EXPECT_TRUE(te->EditInProgress());
  Type("_");
  EXPECT_EQ(te->GetText(), "h_ world");
}

TEST_F(TextEntry, DoubleClickSelectsAllAndItsReleaseKeepsIt) {
  ITextEntryControl* te = Open("abc def");
  Click(X(2));
  EXPECT_FALSE(te->HasSelection());
  g.OnMouseDblClick(X(2), 65, kLeft);
  g.OnMouseUp(X(2), 65, kLeft);
  EXPECT_EQ(te->GetSelectionStart(), 0);
  EXPECT_EQ(te->GetSelectionEnd(), 7);
}

// --- Clipboard and context menu ---

TEST_F(TextEntry, CutCopyAndPasteGoThroughTheClipboard) {
  ITextEntryControl* te = Open("hello");
  Key(kVK_HOME);
  Key(kVK_RIGHT);
  for (int i = 0; i < 3; ++i)
    Key(kVK_RIGHT, "", true);
  EXPECT_TRUE(Key(kVK_C, "c", false, true));
  EXPECT_EQ(g.mClipboard, "ell");
  EXPECT_EQ(te->GetText(), "hello");

  EXPECT_TRUE(Key(kVK_X, "x", false, true));
  EXPECT_EQ(te->GetText(), "ho");
  Key(kVK_END);
  EXPECT_TRUE(Key(kVK_V, "v", false, true));
  EXPECT_EQ(te->GetText(), "hoell");
  EXPECT_EQ(te->GetCursor(), 5);

  EXPECT_TRUE(Key(kVK_A, "a", false, true));
  Key(kVK_C, "c", false, true);
  EXPECT_EQ(g.mClipboard, "hoell");
}

TEST_F(TextEntry, PasteDropsLineBreaksAndAnEmptyClipboardChangesNothing) {
  ITextEntryControl* te = Open("x");
  Key(kVK_END);
  g.mClipboard = "1\r\n2\n3";
  g.mHasClipboardText = true;
  Key(kVK_V, "v", false, true);
  EXPECT_EQ(te->GetText(), "x123");

  g.mHasClipboardText = false;
  Key(kVK_A, "a", false, true);
  Key(kVK_V, "v", false, true);
  EXPECT_EQ(te->GetText(), "x123");
  EXPECT_TRUE(te->HasSelection());
}

TEST_F(TextEntry, TheContextMenuOffersCutCopyAndPaste) {
  FakePopupMenuControl* popup = testsupport::AttachFakePopupMenuControl(g);
  ITextEntryControl* te = Open("copy me");

  g.OnMouseDown(X(2), 65, kRight);
  ASSERT_NE(popup, nullptr);
  ASSERT_NE(popup->mMenu, nullptr);
  ASSERT_EQ(popup->mMenu->NItems(), 3);
  EXPECT_STREQ(popup->mMenu->GetItemText(0), "Cut");
  EXPECT_STREQ(popup->mMenu->GetItemText(1), "Copy");
  EXPECT_STREQ(popup->mMenu->GetItemText(2), "Paste");
  popup->Choose(1);
  EXPECT_EQ(g.mClipboard, "copy me");
  EXPECT_TRUE(te->EditInProgress());

  g.OnMouseDown(X(2), 65, kRight);
  popup->Choose(0);
  EXPECT_EQ(te->GetText(), "");
  g.OnMouseDown(X(2), 65, kRight);
  popup->Choose(2);
  g.OnMouseDown(X(2), 65, kRight);
  popup->Choose(2);
  EXPECT_EQ(te->GetText(), "copy mecopy me");
  g.OnMouseDown(X(2), 65, kRight);
  popup->Choose(-1);
  EXPECT_EQ(te->GetText(), "copy mecopy me");
}

// --- Drawing and the caret ---

TEST_F(TextEntry, TheSelectionIsShadedAndHidesTheCaret) {
  Open("abcd");
  g.ClearLog();
  g.DrawFrame();
  const auto fills = g.Calls("FillRect");
  ASSERT_EQ(fills.size(), 3u);  // the requester, the field, the selection
  EXPECT_EQ(fills[1].rect, kField);
  const DrawCall& shade = fills[2];
  EXPECT_FLOAT_EQ(shade.blendWeight, 0.2f);
  EXPECT_EQ(shade.rect, IRECT(X(0), 57, X(4), 73));
  ASSERT_EQ(g.Count("DrawText"), 1);
  EXPECT_EQ(g.Calls("DrawText")[0].text, "abcd");
}

TEST_F(TextEntry, TheCaretBlinksOnTheClockAndSitsAtTheRightEdgeWhenRightAligned) {
  ITextEntryControl* te = Open("abc", kNoParameter, EAlign::Far);
  Key(kVK_END);
  EXPECT_TRUE(te->IsCaretShown());
  g.ClearLog();
  g.DrawFrame();
  const auto shown = g.Calls("FillRect");
  ASSERT_FALSE(shown.empty());
  EXPECT_EQ(shown.back().rect, IRECT(kField.R - 1, 57, kField.R, 73));

  g.Clock().advance(600);
  g.DrawFrame();
  EXPECT_FALSE(te->IsCaretShown());
  g.ClearLog();
  g.DrawFrame();
  EXPECT_EQ(g.Calls("FillRect").size(), 2u);  // the requester and the field, no caret

  g.Clock().advance(500);
  g.DrawFrame();
  EXPECT_TRUE(te->IsCaretShown());  // the next period began
  Key(kVK_RETURN, "\r");
  g.Clock().advance(1100);
  g.DrawFrame();
  EXPECT_FALSE(te->IsCaretShown());
  EXPECT_FALSE(static_cast<bool>(te->GetAnimationFunction()));
}

}  // namespace
