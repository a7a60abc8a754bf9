// How the text-entry control reads the keyboard: Command shortcuts, the keys that end the edit,
// the editing keys, and typed characters filtered by the type of the parameter being edited
// (a number takes digits, signs and, for a double, the decimal point).

#include "base/Utf8.h"
#include "controls/ITextEntryControl.h"
#include "controls/detail/TextEntryEditor.h"
#include "graphics/IGraphics.h"

namespace iplug {
namespace igraphics {

using namespace textentry;

namespace {

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

}  // namespace igraphics
}  // namespace iplug
