// The text-entry control's editing: starting and ending an edit, the caret, the text and the
// cursor and selection that stb_textedit keeps over it, and edits by key code, clipboard and
// mouse. How keys become codes is in ITextEntryControlKeys.cpp, how the field is measured and
// painted in ITextEntryControlDrawing.cpp.

#include <algorithm>
#include <cstring>

#include "base/Finite.h"
#include "base/Log.h"
#include "base/Utf8.h"
#include "controls/ITextEntryControl.h"
#include "controls/detail/TextEntryEditor.h"
#include "graphics/IGraphics.h"

// The callbacks through which the editing logic's implementation reaches the control.
#define STB_TEXTEDIT_STRING iplug::igraphics::ITextEntryControl
#define STB_TEXTEDIT_STRINGLEN(obj) iplug::igraphics::ITextEntryControl::Editor::Length(obj)
#define STB_TEXTEDIT_LAYOUTROW(r, obj, n) \
  iplug::igraphics::ITextEntryControl::Editor::LayoutRow(r, obj, n)
#define STB_TEXTEDIT_GETWIDTH(obj, n, i) \
  iplug::igraphics::ITextEntryControl::Editor::Width(obj, n, i)
#define STB_TEXTEDIT_KEYTOTEXT(k) iplug::igraphics::ITextEntryControl::Editor::KeyToText(k)
#define STB_TEXTEDIT_GETCHAR(obj, i) iplug::igraphics::ITextEntryControl::Editor::CharAt(obj, i)
#define STB_TEXTEDIT_NEWLINE u'\n'
#define STB_TEXTEDIT_IS_SPACE(ch) iplug::igraphics::ITextEntryControl::Editor::IsSpace(ch)
#define STB_TEXTEDIT_DELETECHARS(obj, i, n) \
  iplug::igraphics::ITextEntryControl::Editor::Delete(obj, i, n)
#define STB_TEXTEDIT_INSERTCHARS(obj, i, c, n) \
  iplug::igraphics::ITextEntryControl::Editor::Insert(obj, i, c, n)

#define STB_TEXTEDIT_K_SHIFT 0x40000000u
#define STB_TEXTEDIT_K_LEFT 0x80000025u
#define STB_TEXTEDIT_K_RIGHT 0x80000027u
#define STB_TEXTEDIT_K_UP 0x80000026u
#define STB_TEXTEDIT_K_DOWN 0x80000028u
#define STB_TEXTEDIT_K_LINESTART 0x80000024u
#define STB_TEXTEDIT_K_LINEEND 0x80000023u
#define STB_TEXTEDIT_K_TEXTSTART 0xA0000024u
#define STB_TEXTEDIT_K_TEXTEND 0xA0000023u
#define STB_TEXTEDIT_K_DELETE 0x8000002Eu
#define STB_TEXTEDIT_K_BACKSPACE 0x80000008u
#define STB_TEXTEDIT_K_UNDO 0x2000007Au
#define STB_TEXTEDIT_K_REDO 0x6000007Au
#define STB_TEXTEDIT_K_INSERT 0x8000002Du
#define STB_TEXTEDIT_K_WORDLEFT 0xA0000025u
#define STB_TEXTEDIT_K_WORDRIGHT 0xA0000027u
// The library names these in its switch, so they need values; Page Up and Page Down mean nothing
// in a single-line field and are filtered out before a key reaches it (IsEditingKey).
#define STB_TEXTEDIT_K_PGUP 0x80000021u
#define STB_TEXTEDIT_K_PGDOWN 0x80000022u

#define STB_TEXTEDIT_IMPLEMENTATION
#include <stb_textedit.h>

namespace iplug {
namespace igraphics {

using namespace textentry;

static_assert(STB_TEXTEDIT_K_LEFT == kKeyLeft && STB_TEXTEDIT_K_WORDRIGHT == kKeyWordRight &&
                  STB_TEXTEDIT_K_UNDO == kKeyUndo && STB_TEXTEDIT_K_REDO == kKeyRedo &&
                  STB_TEXTEDIT_K_PGUP == kKeyPageUp && STB_TEXTEDIT_K_PGDOWN == kKeyPageDown,
              "the editing logic's key constants match the control's key codes");

namespace {

// What a key may change, compared before and after it.
struct Snapshot {
  std::u16string text;
  int cursor;
  int selectStart;
  int selectEnd;
  unsigned char insertMode;

  bool operator==(const Snapshot&) const = default;
};

Snapshot Take(const std::u16string& text, const STB_TexteditState& s) {
  return {text, s.cursor, s.select_start, s.select_end, s.insert_mode};
}

}  // namespace

ITextEntryControl::ITextEntryControl()
    : ITextEntryControlBase(IRECT(), kNoParameter, &ITextEntryControl::StartCaretBlink),
      mEditor(std::make_unique<Editor>()),
      mContextMenu("", {"Cut", "Copy", "Paste"}, [this](IPopupMenu* menu) {
        switch (menu ? menu->GetChosenItemIdx() : -1) {
          case 0:
            Cut();
            break;
          case 1:
            Copy();
            break;
          case 2:
            Paste();
            break;
          default:
            break;
        }
      }) {
  std::memset(&mEditor->state, 0, sizeof(mEditor->state));
  stb_textedit_initialize_state(&mEditor->state, 1);
}

ITextEntryControl::~ITextEntryControl() = default;

// --- Caret ---

void ITextEntryControl::StartCaretBlink(IControl* control) {
  auto* self = static_cast<ITextEntryControl*>(control);
  self->mCaretShown = true;
  self->SetAnimation(
      [](IControl* c) {
        auto* te = static_cast<ITextEntryControl*>(c);
        const double progress = te->GetAnimationProgress();
        if (progress > 0.5 && te->mCaretShown) {
          te->mCaretShown = false;
          te->SetDirty(false);
        }
        if (progress > 1.0) te->OnEndAnimation();
      },
      kCaretBlinkMs);
}

void ITextEntryControl::OnEndAnimation() {
  if (mEditing) {
    SetDirty(true);  // the action starts the next period
    return;
  }
  IControl::OnEndAnimation();
}

// --- Starting and ending ---

void ITextEntryControl::StartTextEntry(int paramIdx, const IText& text, const IRECT& bounds,
                                       int length, const char* str) {
  IGraphics* g = GetUI();
  if (!base::isFiniteRect(bounds)) {
    base::warn("controls",
               "ITextEntryControl::StartTextEntry: bounds are not finite; no edit started");
    if (g) g->ClearInTextEntryControl();
    return;
  }
  SetTargetAndDrawRECTs(bounds);
  mMouseIsOver = false;
  mPressInField = false;
  OnResize();

  IText style = text;
  style.mFGColor = text.mTextEntryFGColor;
  SetText(style);

  SetEditString(base::utf8ToUtf16(str ? str : ""));
  // The history belongs to the text it was made on; undoing it on another text would restore
  // the last prompt's characters into this one.
  StbUndoState& undo = mEditor->state.undostate;
  undo.undo_point = 0;
  undo.undo_char_point = 0;
  undo.redo_point = STB_TEXTEDIT_UNDOSTATECOUNT;
  undo.redo_char_point = STB_TEXTEDIT_UNDOCHARCOUNT;
  mEditor->state.has_preferred_x = 0;

  SelectAll();
  mEditor->state.cursor = 0;
  MeasureWidths();
  SetDirty(true);
  mEditing = true;
}

void ITextEntryControl::EndEdit() {
  mEditing = false;
  mCaretShown = false;
  mPressInField = false;
  mMouseIsOver = false;
  SetTargetAndDrawRECTs(IRECT());
  OnResize();
}

void ITextEntryControl::CommitEdit() {
  if (!mEditing) return;
  const std::string text = GetText();
  // The field is closed before the text is handed on: the requester may open a new edit.
  EndEdit();
  if (IGraphics* g = GetUI()) {
    g->SetControlValueAfterTextEdit(text.c_str());
    g->SetAllControlsDirty();
  }
}

void ITextEntryControl::DismissEdit() {
  if (!mEditing) return;
  EndEdit();
  if (IGraphics* g = GetUI()) {
    g->ClearInTextEntryControl();
    g->SetAllControlsDirty();
  }
}

// --- Text ---

std::string ITextEntryControl::GetText() const {
  return base::utf16ToUtf8(mEditString);
}

void ITextEntryControl::SetEditString(std::u16string str) {
  mEditString = std::move(str);
  mCharWidths.clear();
}

// --- State ---

int ITextEntryControl::GetCursor() const {
  return mEditor->state.cursor;
}
int ITextEntryControl::GetSelectionStart() const {
  return mEditor->state.select_start;
}
int ITextEntryControl::GetSelectionEnd() const {
  return mEditor->state.select_end;
}
bool ITextEntryControl::GetInsertMode() const {
  return mEditor->state.insert_mode != 0;
}

bool ITextEntryControl::InsidePair(int pos) const {
  return pos > 0 && pos < Editor::Length(this) &&
         base::isHighSurrogate(mEditString[static_cast<size_t>(pos - 1)]) &&
         base::isLowSurrogate(mEditString[static_cast<size_t>(pos)]);
}

void ITextEntryControl::Settle() {
  STB_TexteditState& s = mEditor->state;
  stb_textedit_clamp(this, &s);
  if (s.select_start == s.select_end) s.select_start = s.select_end = s.cursor;
  if (InsidePair(s.cursor)) ++s.cursor;
  if (InsidePair(s.select_start)) ++s.select_start;
  if (InsidePair(s.select_end)) ++s.select_end;
}

void ITextEntryControl::MarkDirtyIfChanged(bool changed) {
  if (changed) SetDirty(false);
}

void ITextEntryControl::SelectAll() {
  STB_TexteditState& s = mEditor->state;
  const int len = Editor::Length(this);
  const bool changed = s.select_start != 0 || s.select_end != len;
  s.select_start = 0;
  s.select_end = len;
  MarkDirtyIfChanged(changed);
}

// --- Edits by key code ---

bool ITextEntryControl::SendKey(uint32_t code) {
  if ((code & kSpecial) && !IsEditingKey(code)) return false;
  STB_TexteditState& s = mEditor->state;
  const Snapshot before = Take(mEditString, s);
  const int len = Editor::Length(this);
  const bool selection = s.select_start != s.select_end;

  // A surrogate pair is one character: deleting it deletes both halves in one step.
  const Key base = code & ~kShift;
  if (!selection && base == kKeyBackspace && InsidePair(s.cursor - 1)) {
    s.select_start = s.cursor - 2;
    s.select_end = s.cursor;
  } else if (!selection && base == kKeyDelete && InsidePair(s.cursor + 1)) {
    s.select_start = s.cursor;
    s.select_end = s.cursor + 2;
  } else if (!(code & kSpecial) && s.insert_mode && !selection && s.cursor < len &&
             InsidePair(s.cursor + 1)) {
    // Overwriting a pair replaces both halves.
    s.select_start = s.cursor;
    s.select_end = s.cursor + 2;
  }

  stb_textedit_key(this, &s, code);
  // An arrow that stopped between the halves of a pair goes on over the second half.
  if (IsArrowKey(code) && InsidePair(s.cursor)) stb_textedit_key(this, &s, code);
  // Undo and redo put the text back but leave the selection as it was, over characters that
  // may no longer be there: it ends at the cursor instead.
  if (code == kKeyUndo || code == kKeyRedo) s.select_start = s.select_end = s.cursor;
  Settle();

  const bool changed = !(Take(mEditString, s) == before);
  MarkDirtyIfChanged(changed);
  return changed;
}

bool ITextEntryControl::SendChar(char32_t cp, uint32_t modifiers) {
  if (cp == 0 || (modifiers & kCommand)) return false;
  if (cp <= 0xFFFF) return SendKey(static_cast<Key>(cp) | modifiers);

  // Above U+FFFF: the character is stored as its surrogate pair, inserted as one piece.
  std::u16string units;
  base::appendUtf16(cp, units);
  STB_TexteditState& s = mEditor->state;
  const Snapshot before = Take(mEditString, s);
  const int len = Editor::Length(this);
  if (s.insert_mode && s.select_start == s.select_end && s.cursor < len) {
    s.select_start = s.cursor;
    s.select_end = s.cursor + (InsidePair(s.cursor + 1) ? 2 : 1);
  }
  stb_textedit_paste(this, &s, units.data(), static_cast<int>(units.size()));
  Settle();
  const bool changed = !(Take(mEditString, s) == before);
  MarkDirtyIfChanged(changed);
  return changed;
}

// --- Clipboard ---

void ITextEntryControl::Copy() {
  const STB_TexteditState& s = mEditor->state;
  if (s.select_start == s.select_end) return;
  const int len = Editor::Length(this);
  const int from = std::clamp(std::min(s.select_start, s.select_end), 0, len);
  const int to = std::clamp(std::max(s.select_start, s.select_end), 0, len);
  if (from == to) return;
  const std::string text =
      base::utf16ToUtf8(std::u16string_view(mEditString)
                            .substr(static_cast<size_t>(from), static_cast<size_t>(to - from)));
  if (IGraphics* g = GetUI()) g->SetTextInClipboard(text.c_str());
}

void ITextEntryControl::Cut() {
  Copy();
  STB_TexteditState& s = mEditor->state;
  const Snapshot before = Take(mEditString, s);
  stb_textedit_cut(this, &s);
  Settle();
  MarkDirtyIfChanged(!(Take(mEditString, s) == before));
}

void ITextEntryControl::Paste() {
  IGraphics* g = GetUI();
  if (!g) return;
  WDL_String clip;
  if (!g->GetTextFromClipboard(clip)) return;
  std::u16string units = base::utf8ToUtf16(clip.Get());
  // The field holds one line: line breaks from a copied paragraph are dropped.
  std::erase_if(units, [](char16_t c) { return c == u'\r' || c == u'\n'; });
  if (units.empty()) return;

  STB_TexteditState& s = mEditor->state;
  const Snapshot before = Take(mEditString, s);
  stb_textedit_paste(this, &s, units.data(), static_cast<int>(units.size()));
  Settle();
  MarkDirtyIfChanged(!(Take(mEditString, s) == before));
}

// --- Mouse ---

void ITextEntryControl::OnMouseDown(float x, float y, const IMouseMod& mod) {
  if (!mRECT.Contains(x, y)) {
    CommitEdit();
    return;
  }
  mPressInField = false;
  if (mod.R) {
    if (IGraphics* g = GetUI())
      g->CreatePopupMenuForControl(*this, mContextMenu, IRECT(x, y, x, y));
    return;
  }
  if (!mod.L) return;
  STB_TexteditState& s = mEditor->state;
  const Snapshot before = Take(mEditString, s);
  stb_textedit_click(this, &s, x, y);
  Settle();
  mPressInField = true;
  MarkDirtyIfChanged(!(Take(mEditString, s) == before));
}

void ITextEntryControl::OnMouseDrag(float x, float y, float dX, float dY, const IMouseMod& mod) {
  if (!mod.L || !mPressInField) return;
  STB_TexteditState& s = mEditor->state;
  const Snapshot before = Take(mEditString, s);
  stb_textedit_drag(this, &s, x, y);
  Settle();
  MarkDirtyIfChanged(!(Take(mEditString, s) == before));
}

void ITextEntryControl::OnMouseUp(float x, float y, const IMouseMod& mod) {
  // Only a press that began in the field selects: the release of the press (or double click)
  // that opened the edit must leave the whole text selected.
  if (!mod.L || !mPressInField) return;
  OnMouseDrag(x, y, 0.f, 0.f, mod);
  mPressInField = false;
  SetDirty(true);
}

void ITextEntryControl::OnMouseDblClick(float x, float y, const IMouseMod& mod) {
  mPressInField = false;
  SelectAll();
}

}  // namespace igraphics
}  // namespace iplug
