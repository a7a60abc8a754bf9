#include <algorithm>
#include <cstdint>

#include "platform/core/Text.h"
#include "platform/core/TextField.h"
#include "platform/core/Window.h"
#include "windowing/controls/ControlMessages.h"

using platform::NSObject;
using platform::NSRange;
using platform::NSText;
using platform::NSTextField;

namespace {

// The field editor while the field is being edited: the window's first responder is
// a text inside the field.
NSText* editorOf(NSTextField* field) {
  platform::NSWindow* w = field->window();
  if (!w) return nullptr;
  auto* text = dynamic_cast<NSText*>(w->firstResponder());
  return text && text->isDescendantOf(field) ? text : nullptr;
}

// -1 in either the full width or the low 32 bits.
bool isMinusOne(std::uint64_t v) {
  return static_cast<std::int32_t>(static_cast<std::uint32_t>(v)) == -1;
}

}  // namespace

namespace swell {

bool emulateEditMessage(NSObject* object, UINT msg, WPARAM wParam, LPARAM lParam, LRESULT* result) {
  if (msg != EM_GETSEL && msg != EM_SETSEL && msg != EM_SETPASSWORDCHAR) return false;
  auto* field = dynamic_cast<NSTextField*>(object);
  if (!field) return false;
  *result = 0;
  NSText* editor = editorOf(field);
  if (msg == EM_GETSEL) {
    NSRange r = editor ? editor->selectedRange() : NSRange{};
    auto clampInt = [](std::size_t v) {
      return static_cast<std::int32_t>(std::min<std::size_t>(v, INT32_MAX));
    };
    if (auto* start = reinterpret_cast<std::int32_t*>(wParam)) *start = clampInt(r.location);
    if (auto* end = reinterpret_cast<std::int32_t*>(lParam)) *end = clampInt(r.end());
  } else if (msg == EM_SETSEL && editor) {
    std::size_t length = editor->length();
    if (isMinusOne(wParam)) {
      editor->setSelectedRange({0, 0});
    } else {
      std::size_t start = std::min<std::uint64_t>(wParam, length);
      std::size_t end = isMinusOne(static_cast<std::uint64_t>(lParam))
                            ? length
                            : std::min<std::uint64_t>(static_cast<std::uint64_t>(lParam), length);
      editor->setSelectedRange({start, end > start ? end - start : 0});
    }
  }
  return true;
}

}  // namespace swell
