#include <cctype>
#include <cstdint>
#include <cstdio>
#include <limits>
#include <optional>
#include <string>

#include "base/Utf8.h"
#include "platform/core/Box.h"
#include "platform/core/Button.h"
#include "platform/core/ComboBox.h"
#include "platform/core/Text.h"
#include "platform/core/TextField.h"
#include "platform/core/Window.h"
#include "windowing/core/ButtonCheckState.h"
#include "windowing/core/MessageWords.h"
#include "windowing/core/SendMessage.h"
#include "windowing/core/WindowApi.h"
#include "windowing/core/WindowObject.h"
#include "windowing/core/detail/WindowApiRules.h"

using platform::NSObject;
using platform::NSView;
using platform::NSWindow;

namespace {

// GetDlgItemInt reads at most this many bytes of the text.
constexpr int kNumberTextBytes = 127;

// The text of an object after the content-view rule: a window object's own text, the
// title of a window, button or box, a control's string, a text view's string. None
// for other objects.
std::optional<std::string> textOf(NSObject* object) {
  object = swell::contentViewRule(object);
  if (auto* holder = dynamic_cast<SwellWindowObject*>(object)) return holder->onSwellGetText();
  if (auto* window = dynamic_cast<NSWindow*>(object)) return window->title();
  if (auto* box = dynamic_cast<platform::NSBox*>(object)) return box->title();
  if (auto* control = dynamic_cast<platform::NSControl*>(object)) return control->stringValue();
  if (auto* text = dynamic_cast<platform::NSText*>(object)) return text->string();
  return std::nullopt;
}

bool isStaticText(const NSObject* object) {
  auto* field = dynamic_cast<const platform::NSTextField*>(object);
  return field && !field->isEditable() && !field->isSelectable();
}

// An editable single-line field tells its parent window that its text was set; a
// combo box reports its own changes.
void notifyTextSet(platform::NSTextField* field) {
  if (!field->isEditable() || dynamic_cast<platform::NSComboBox*>(field)) return;
  NSView* parent = swell::scrollRule(field)->superview();
  if (!parent) return;
  SendMessage(swell::handleFromObject(parent), WM_COMMAND,
              swell::makeWParam(field->tag(), EN_CHANGE),
              reinterpret_cast<LPARAM>(swell::handleFromObject(field)));
}

// The leading decimal number of a text (blanks and tabs skipped, optional sign), as
// GetDlgItemInt reads it. Fails for no number that fits 32 bits in the asked form.
std::optional<std::int64_t> parseLeadingInt(const char* text, bool isSigned) {
  const char* p = text;
  while (*p == ' ' || *p == '\t')
    ++p;
  const char first = *p;
  bool negative = false;
  if (*p == '+' || *p == '-') negative = *p++ == '-';
  constexpr std::int64_t kLimit = std::numeric_limits<std::uint32_t>::max();
  std::int64_t magnitude = 0;
  for (; std::isdigit(static_cast<unsigned char>(*p)); ++p) {
    magnitude = magnitude * 10 + (*p - '0');
    if (magnitude > kLimit) return std::nullopt;
  }
  std::int64_t value = negative ? -magnitude : magnitude;
  // A 0 counts only when the text really starts with one.
  if (value == 0 && first != '0') return std::nullopt;
  if (isSigned) {
    if (value < std::numeric_limits<std::int32_t>::min() ||
        value > std::numeric_limits<std::int32_t>::max())
      return std::nullopt;
  } else if (value < 0) {
    return std::nullopt;
  }
  return value;
}

}  // namespace

BOOL GetDlgItemText(HWND hwnd, int id, char* buffer, int size) {
  // Without room for the terminator nothing is written at all.
  if (!buffer || size < 1) return 0;
  buffer[0] = 0;
  std::optional<std::string> text = textOf(swell::objectFromHandle(GetDlgItem(hwnd, id)));
  if (!text) return 0;
  base::copyUtf8(*text, buffer, static_cast<std::size_t>(size));
  return 1;
}

BOOL SetDlgItemText(HWND hwnd, int id, const char* text) {
  NSObject* object = swell::objectFromHandle(GetDlgItem(hwnd, id));
  if (!object) return 0;
  if (!text) text = "";
  platform::Ref<NSObject> keep(object);
  if (auto* view = dynamic_cast<NSView*>(object); swell::isContentView(view))
    view->window()->setTitle(text);
  if (auto* holder = dynamic_cast<SwellWindowObject*>(object)) {
    holder->onSwellSetText(text);
  } else if (auto* window = dynamic_cast<NSWindow*>(object)) {
    window->setTitle(text);
  } else if (auto* box = dynamic_cast<platform::NSBox*>(object)) {
    box->setTitle(text);
  } else if (auto* control = dynamic_cast<platform::NSControl*>(object)) {
    control->setStringValue(text);
    if (auto* field = dynamic_cast<platform::NSTextField*>(control)) notifyTextSet(field);
  } else if (auto* textView = dynamic_cast<platform::NSText*>(object)) {
    textView->setString(text);
    textView->setNeedsDisplay(true);
  } else {
    return 0;
  }
  return 1;
}

int GetWindowTextLength(HWND hwnd) {
  std::optional<std::string> text = textOf(swell::objectFromHandle(hwnd));
  if (!text) return 0;
  return static_cast<int>(std::min<std::size_t>(text->size(), std::numeric_limits<int>::max()));
}

BOOL SetDlgItemInt(HWND hwnd, int id, int value, BOOL isSigned) {
  char text[32];
  if (isSigned)
    std::snprintf(text, sizeof text, "%d", value);
  else
    std::snprintf(text, sizeof text, "%u", static_cast<unsigned>(value));
  return SetDlgItemText(hwnd, id, text);
}

int GetDlgItemInt(HWND hwnd, int id, BOOL* ok, BOOL isSigned) {
  if (ok) *ok = 0;
  char text[kNumberTextBytes + 1];
  if (!GetDlgItemText(hwnd, id, text, sizeof text)) return 0;
  std::optional<std::int64_t> value = parseLeadingInt(text, isSigned != 0);
  if (!value) return 0;
  if (ok) *ok = 1;
  // An unsigned value above the int range comes back with the same 32 bits.
  return static_cast<int>(static_cast<std::uint32_t>(*value));
}

void CheckDlgButton(HWND hwnd, int id, int state) {
  auto* button = swell::objectFromHandleAs<platform::NSButton>(GetDlgItem(hwnd, id));
  if (button) swell::setButtonCheckState(button, static_cast<WPARAM>(state));
}

int IsDlgButtonChecked(HWND hwnd, int id) {
  auto* button = swell::objectFromHandleAs<platform::NSButton>(GetDlgItem(hwnd, id));
  return button ? swell::buttonCheckState(button) : BST_UNCHECKED;
}

void SWELL_SetClassName(HWND hwnd, const char* name) {
  if (auto* w = swell::objectFromHandleAs<Swell_vCorvaneBrisko_hwnd>(hwnd)) w->setSwellClass(name);
}

int GetClassName(HWND hwnd, char* buffer, int size) {
  if (!buffer || size < 1) return 0;
  buffer[0] = 0;
  NSObject* object = swell::objectFromHandle(hwnd);
  const char* name = "";
  if (auto* w = dynamic_cast<Swell_vCorvaneBrisko_hwnd*>(object)) {
    if (w->getSwellClass()) name = w->getSwellClass();
  } else if (auto* named = dynamic_cast<SwellClassNamed*>(object)) {
    name = named->swellGetClass();
  } else if (dynamic_cast<platform::NSButton*>(object)) {
    name = "Button";
  } else if (dynamic_cast<platform::NSTextField*>(object)) {
    name = isStaticText(object) ? "Static" : "Edit";
  }
  return static_cast<int>(base::copyUtf8(name, buffer, static_cast<std::size_t>(size)));
}

bool SWELL_IsButton(HWND hwnd) {
  return swell::objectFromHandleAs<platform::NSButton>(hwnd) != nullptr;
}

bool SWELL_IsStaticText(HWND hwnd) {
  return isStaticText(swell::objectFromHandle(hwnd));
}

bool SWELL_IsGroupBox(HWND hwnd) {
  auto* box = swell::objectFromHandleAs<SwellEtchBox>(hwnd);
  return box && box->swellIsEtchBox() == 0;
}
