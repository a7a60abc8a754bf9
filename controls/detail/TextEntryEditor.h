#pragma once

// The text-entry control's editing logic, shared by the files that make up the control: the
// configuration of stb_textedit (UTF-16 units, the control's key codes), the key codes it acts
// on, and the state and callbacks through which it reaches the control. The implementation is
// compiled once, in ITextEntryControl.cpp.

#include <algorithm>
#include <cstdint>

#include "base/Utf8.h"
#include "controls/ITextEntryControl.h"

#define STB_TEXTEDIT_CHARTYPE char16_t
#define STB_TEXTEDIT_POSITIONTYPE int
// The key constants exceed INT_MAX, so the key type is unsigned.
#define STB_TEXTEDIT_KEYTYPE uint32_t
#include <stb_textedit.h>

namespace iplug {
namespace igraphics {
namespace textentry {

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
inline bool IsEditingKey(Key code) {
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

inline bool IsArrowKey(Key code) {
  const Key base = code & ~kShift;
  return base == kKeyLeft || base == kKeyRight || base == kKeyUp || base == kKeyDown;
}

}  // namespace textentry

// The editing logic's state and the callbacks it reaches the control through.
struct ITextEntryControl::Editor {
  using Key = textentry::Key;

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
    using namespace textentry;
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
