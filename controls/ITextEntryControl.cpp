#include "controls/ITextEntryControl.h"

#include <algorithm>
#include <cmath>
#include <cstring>

#include "base/Finite.h"
#include "base/Log.h"
#include "base/Utf8.h"
#include "graphics/IGraphics.h"

// The editing logic's configuration. Its types come first; the implementation is included
// after the callbacks it calls are declared.
#define STB_TEXTEDIT_CHARTYPE char16_t
#define STB_TEXTEDIT_POSITIONTYPE int
// The key constants exceed INT_MAX, so the key type is unsigned.
#define STB_TEXTEDIT_KEYTYPE uint32_t
#include <stb_textedit.h>

namespace iplug {
namespace igraphics {

namespace {

using Key = uint32_t;
constexpr Key kSpecial = ITextEntryControl::kKeySpecial;
constexpr Key kShift = ITextEntryControl::kKeyShift;
constexpr Key kCommand = ITextEntryControl::kKeyCommand;
constexpr Key kOption = ITextEntryControl::kKeyOption;

constexpr Key kKeyBackspace = kSpecial | kVK_BACK;
constexpr Key kKeyPageUp = kSpecial | kVK_PRIOR;
constexpr Key kKeyPageDown = kSpecial | kVK_NEXT;
constexpr Key kKeyEnd = kSpecial | kVK_END;
constexpr Key kKeyHome = kSpecial | kVK_HOME;
constexpr Key kKeyLeft = kSpecial | kVK_LEFT;
constexpr Key kKeyUp = kSpecial | kVK_UP;
constexpr Key kKeyRight = kSpecial | kVK_RIGHT;
constexpr Key kKeyDown = kSpecial | kVK_DOWN;
constexpr Key kKeyInsert = kSpecial | kVK_INSERT;
constexpr Key kKeyDelete = kSpecial | kVK_DELETE;
constexpr Key kKeyTextEnd = kKeyEnd | kCommand;
constexpr Key kKeyTextStart = kKeyHome | kCommand;
constexpr Key kKeyWordLeft = kKeyLeft | kCommand;
constexpr Key kKeyWordRight = kKeyRight | kCommand;
constexpr Key kKeyUndo = kCommand | 'z';
constexpr Key kKeyRedo = kCommand | kShift | 'z';

// The special keys the editing logic acts on (with or without Shift). Every other code with the
// special bit changes nothing and is never handed on.
bool IsEditingKey(Key code) {
  switch (code & ~kShift) {
    case kKeyBackspace:
    case kKeyEnd:
    case kKeyHome:
    case kKeyLeft:
    case kKeyUp:
    case kKeyRight:
    case kKeyDown:
    case kKeyInsert:
    case kKeyDelete:
    case kKeyTextEnd:
    case kKeyTextStart:
    case kKeyWordLeft:
    case kKeyWordRight:
      return true;
    default:
      return false;
  }
}

bool IsArrowKey(Key code) {
  const Key base = code & ~kShift;
  return base == kKeyLeft || base == kKeyRight || base == kKeyUp || base == kKeyDown;
}

// Characters that a single-line field never holds: C0 and C1 controls and DEL.
bool IsControlChar(char32_t c) {
  return c < 0x20 || (c >= 0x7F && c < 0xA0);
}

// The character a key typed: the first code point of its UTF-8, or its first byte when that is
// no valid sequence; 0 for none.
char32_t KeyChar(const IKeyPress& key) {
  if (key.utf8[0] == '\0') return 0;
  const base::Utf8Char c = base::decodeUtf8(key.utf8, 0);
  return c.wellFormed ? c.codePoint : static_cast<unsigned char>(key.utf8[0]);
}

Key SpecialCode(int vk) {
  return kSpecial | (static_cast<Key>(vk) & 0xFFu);
}

}  // namespace

// The editing logic's state and the callbacks it reaches the control through.
struct ITextEntryControl::Editor {
  STB_TexteditState state;

  static int Length(const ITextEntryControl* c) { return static_cast<int>(c->mEditString.size()); }

  static char16_t CharAt(const ITextEntryControl* c, int i) {
    return i >= 0 && i < Length(c) ? c->mEditString[static_cast<size_t>(i)] : u'\0';
  }

  static float Width(const ITextEntryControl* c, int n, int i) { return c->CharWidth(n + i); }

  static void LayoutRow(StbTexteditRow* row, const ITextEntryControl* c, int n) {
    const IRECT& r = c->mRECT;
    const float size = c->mText.mSize;
    float w = 0.f;
    for (int i = 0; i < Length(c); ++i)
      w += c->CharWidth(i);
    row->num_chars = std::max(Length(c) - std::max(n, 0), 0);
    row->baseline_y_delta = 1.25f;
    switch (c->mText.mAlign) {
      case EAlign::Near:
      default:  // a value out of range lays out as the first
        row->x0 = r.L;
        break;
      case EAlign::Center:
        row->x0 = (r.L + r.R) / 2.f - w / 2.f;
        break;
      case EAlign::Far:
        row->x0 = r.R - w;
        break;
    }
    row->x1 = row->x0 + w;
    switch (c->mText.mVAlign) {
      case EVAlign::Top:
      default:
        row->ymin = 0.f;
        break;
      case EVAlign::Middle:
        row->ymin = (r.B - r.T) / 2.f - size / 2.f;
        break;
      case EVAlign::Bottom:
        row->ymin = r.B - r.T - size;
        break;
    }
    row->ymax = row->ymin + size;
  }

  // Positions come from the editing logic's records; out-of-range ones are refused rather than
  // trusted.
  static int Insert(ITextEntryControl* c, int pos, const char16_t* chars, int n) {
    if (pos < 0 || pos > Length(c) || n < 0 || (n > 0 && !chars)) return 0;
    c->mEditString.insert(static_cast<size_t>(pos), chars, static_cast<size_t>(n));
    c->MeasureWidths();
    return 1;
  }

  static int Delete(ITextEntryControl* c, int pos, int n) {
    if (pos < 0 || n < 0 || pos > Length(c)) return 0;
    n = std::min(n, Length(c) - pos);
    c->mEditString.erase(static_cast<size_t>(pos), static_cast<size_t>(n));
    c->MeasureWidths();
    return 1;
  }

  // A code is text only without the special and Command bits; Shift and Option are dropped.
  static int KeyToText(Key key) {
    if (key & (kSpecial | kCommand)) return -1;
    const Key c = key & ~(kShift | kOption);
    if (c == 0 || c > 0xFFFF || !base::isScalarValue(c)) return -1;
    return static_cast<int>(c);
  }

  // Word breaks: white space of the ASCII range only. Wider units are never looked up in the
  // C library's tables, which are defined for unsigned char values alone.
  static bool IsSpace(char16_t c) {
    return c == u' ' || c == u'\t' || c == u'\n' || c == u'\v' || c == u'\f' || c == u'\r';
  }
};

}  // namespace igraphics
}  // namespace iplug

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

// --- Text and measurement ---

std::string ITextEntryControl::GetText() const {
  return base::utf16ToUtf8(mEditString);
}

void ITextEntryControl::SetEditString(std::u16string str) {
  mEditString = std::move(str);
  mCharWidths.clear();
}

void ITextEntryControl::MeasureWidths() const {
  mCharWidths.assign(mEditString.size(), 0.f);
  const IGraphics* g = GetUI();
  if (!g) return;
  // Each width is measured after the character before it, so pair kerning is counted. The
  // second unit of a surrogate pair takes no width: its character is measured on the first.
  std::string prev;
  for (size_t i = 0; i < mEditString.size(); ++i) {
    size_t units = 1;
    if (base::isHighSurrogate(mEditString[i]) && i + 1 < mEditString.size() &&
        base::isLowSurrogate(mEditString[i + 1]))
      units = 2;
    const std::string cur = base::utf16ToUtf8(std::u16string_view(mEditString).substr(i, units));
    IRECT box;
    float w = 0.f;
    if (prev.empty()) {
      w = g->MeasureText(mText, cur.c_str(), box);
    } else {
      const std::string pair = prev + cur;
      w = g->MeasureText(mText, pair.c_str(), box) - g->MeasureText(mText, prev.c_str(), box);
    }
    mCharWidths[i] = std::isfinite(w) ? w : 0.f;
    prev = cur;
    i += units - 1;
  }
}

float ITextEntryControl::CharWidth(int idx) const {
  if (mCharWidths.size() != mEditString.size()) MeasureWidths();
  if (idx < 0 || static_cast<size_t>(idx) >= mCharWidths.size()) return 0.f;
  return mCharWidths[static_cast<size_t>(idx)];
}

float ITextEntryControl::PositionX(int pos) const {
  StbTexteditRow row;
  Editor::LayoutRow(&row, this, 0);
  pos = std::clamp(pos, 0, Editor::Length(this));
  float x = row.x0;
  for (int i = 0; i < pos; ++i)
    x += CharWidth(i);
  return x;
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

// --- Keys ---

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

bool ITextEntryControl::FilteredKeyCode(const IKeyPress& key, char32_t typed,
                                        uint32_t& code) const {
  const IGraphics* g = GetUI();
  const IControl* requester = g ? g->GetControlInTextEntry() : nullptr;
  if (!requester) return false;

  const IParam* param = requester->GetParam(0);
  const IParam::EParamType type = param ? param->Type() : IParam::kTypeNone;
  if (type == IParam::kTypeNone) {
    code = typed != 0 && !IsControlChar(typed) ? static_cast<Key>(typed) : SpecialCode(key.VK);
    return true;
  }

  // A number: digits, signs and, for a double, the decimal point. Shift with a main-keyboard
  // digit types another character and is no digit, unless the layout types the digit with Shift
  // (as on French keyboards): a typed digit is a digit whichever key typed it.
  const bool typedDigit = typed >= '0' && typed <= '9';
  const bool mainDigit = key.VK >= kVK_0 && key.VK <= kVK_9 && !key.S;
  const bool padDigit = key.VK >= kVK_NUMPAD0 && key.VK <= kVK_NUMPAD9;
  if (typedDigit) {
    code = static_cast<Key>(typed);
  } else if (mainDigit || padDigit) {
    // A digit key that types no digit (a keypad without Num Lock) still enters its digit.
    code = static_cast<Key>('0' + (mainDigit ? key.VK - kVK_0 : key.VK - kVK_NUMPAD0));
  } else if (typed == '+' || typed == '-' || (type == IParam::kTypeDouble && typed == '.')) {
    code = static_cast<Key>(typed);
  } else {
    code = SpecialCode(key.VK);
  }
  return true;
}

bool ITextEntryControl::OnKeyDown(float x, float y, const IKeyPress& key) {
  if (!mEditing) return false;

  if (key.C && key.VK >= kVK_A && key.VK <= kVK_Z) {
    switch (key.VK) {
      case kVK_A:
        SelectAll();
        return true;
      case kVK_C:
        Copy();
        return true;
      case kVK_V:
        Paste();
        return true;
      case kVK_X:
        Cut();
        return true;
      case kVK_Z:
        SendKey(key.S ? kKeyRedo : kKeyUndo);
        return true;
      default:
        break;
    }
  }

  const char32_t typed = KeyChar(key);
  Key code = 0;
  switch (key.VK) {
    case kVK_BACK:
      code = kKeyBackspace;
      break;
    case kVK_TAB:
      return false;
    case kVK_RETURN:
      // Ends the edit; the key itself is never inserted.
      CommitEdit();
      return true;
    case kVK_ESCAPE:
      DismissEdit();
      return true;
    case kVK_SPACE:
      code = ' ';
      break;
    case kVK_PRIOR:
    case kVK_NEXT:
    case kVK_END:
    case kVK_HOME:
    case kVK_LEFT:
    case kVK_UP:
    case kVK_RIGHT:
    case kVK_DOWN:
    case kVK_DELETE:
      code = SpecialCode(key.VK);
      break;
    default:
      if (!FilteredKeyCode(key, typed, code)) return false;
      break;
  }

  Key modifiers = 0;
  if (key.C) modifiers |= kCommand;
  if (key.A) modifiers |= kOption;
  if (key.S) modifiers |= kShift;
  if (!(code & kSpecial) && code > 0xFFFF) return SendChar(static_cast<char32_t>(code), modifiers);
  return SendKey(code | modifiers);
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

// --- Drawing ---

void ITextEntryControl::Draw(IGraphics& g) {
  g.FillRect(mText.mTextEntryBGColor, mRECT);

  StbTexteditRow row;
  Editor::LayoutRow(&row, this, 0);
  const float size = mText.mSize;
  const float top = mRECT.T + row.ymin + 0.1f * size;
  const float bottom = mRECT.T + row.ymax - 0.1f * size;
  const STB_TexteditState& s = mEditor->state;

  if (s.select_start != s.select_end) {
    const float x1 = PositionX(std::min(s.select_start, s.select_end));
    const float x2 = PositionX(std::max(s.select_start, s.select_end));
    const IBlend blend(EBlend::Default, 0.2f);
    g.FillRect(mText.mTextEntryFGColor, IRECT(x1, top, x2, bottom), &blend);
  }

  const std::string text = GetText();
  g.DrawText(mText, text.c_str(), mRECT);

  if (mCaretShown && s.select_start == s.select_end) {
    const float x = PositionX(std::max(s.cursor, 0));
    g.FillRect(mText.mTextEntryFGColor, IRECT(std::round(x - 1.f), top, std::round(x), bottom));
  }
}

}  // namespace igraphics
}  // namespace iplug
