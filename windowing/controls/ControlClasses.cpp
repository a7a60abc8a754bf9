#include "windowing/controls/ControlClasses.h"

#include <algorithm>
#include <cstring>

#include "platform/core/ControlDrawing.h"
#include "platform/drawing/Font.h"
#include "platform/drawing/GraphicsContext.h"
#include "windowing/core/MessageWords.h"
#include "windowing/core/SendMessage.h"
#include "windowing/core/WindowApi.h"
#include "windowing/core/WindowObject.h"
#include "windowing/drawing/DrawingContext.h"

using platform::NSRect;

bool Swell_vCorvaneBrisko_textfield::becomeFirstResponder() {
  if (!NSTextField::becomeFirstResponder()) return false;
  swell::notifyEditFocus(this);
  return true;
}

platform::NSMenu* Swell_vCorvaneBrisko_textfield::textViewMenuForEvent(
    platform::NSTextView* view, platform::NSMenu* menu, const platform::NSEvent& event,
    long charIndex) {
  if (m_disable_menu) return nullptr;
  return NSTextField::textViewMenuForEvent(view, menu, event, charIndex);
}

void Swell_vCorvaneBrisko_textfield::initColors(int mode) {
  if (mode >= 0) {
    m_ctlcolor_set = false;
    m_last_dark_mode = mode != 0;
  }
  // This platform offers no dark appearance, so editable fields keep their colours;
  // a label shows its text dimmed while disabled.
  if (isEditable() || isBordered() || drawsBackground()) return;
  platform::NSColor color = textColor();
  color.alpha = isEnabled() ? 1.0 : 0.5;
  setTextColor(color);
}

void Swell_vCorvaneBrisko_textfield::drawRect(const NSRect& dirtyRect) {
  NSTextField::drawRect(dirtyRect);
}

bool Swell_vCorvaneBrisko_textview::becomeFirstResponder() {
  if (!NSTextView::becomeFirstResponder()) return false;
  swell::notifyEditFocus(this);
  return true;
}

platform::Ref<platform::NSMenu> Swell_vCorvaneBrisko_textview::menuForEvent(
    const platform::NSEvent& event) {
  if (!swellWantsContextMenu()) return {};
  return NSTextView::menuForEvent(event);
}

LRESULT Swell_vCorvaneBrisko_textview::onSwellMessage(UINT msg, WPARAM wParam, LPARAM lParam) {
  const std::size_t length = this->length();
  switch (msg) {
    case EM_GETSEL: {
      const platform::NSRange sel = selectedRange();
      if (wParam) *reinterpret_cast<int*>(wParam) = static_cast<int>(sel.location);
      if (lParam) *reinterpret_cast<int*>(lParam) = static_cast<int>(sel.end());
      return 0;
    }
    case EM_SETSEL: {
      std::int64_t start = static_cast<std::int64_t>(wParam);
      std::int64_t end = lParam;
      if (static_cast<int>(wParam) == -1) start = end = 0;
      if (end == -1) end = static_cast<std::int64_t>(length);
      start = std::clamp<std::int64_t>(start, 0, static_cast<std::int64_t>(length));
      end = std::clamp<std::int64_t>(end, 0, static_cast<std::int64_t>(length));
      if (end < start) end = start;
      setSelectedRange({static_cast<std::size_t>(start), static_cast<std::size_t>(end - start)});
      return 0;
    }
    case EM_SCROLL:
      if (wParam == SB_BOTTOM) setSelectedRange({length, 0});
      if (wParam == SB_TOP) setSelectedRange({0, 0});
      return 0;
    case EM_REPLACESEL: {
      const char* text = reinterpret_cast<const char*>(lParam);
      if (!text) return 0;
      if (*text || selectedRange().length) replaceCharactersInRange(selectedRange(), text);
      return 0;
    }
    case WM_SETFONT:
      // Anything but a live font object leaves the view's font as it is.
      if (platform::CTFont* font = swell::fontOfObject(reinterpret_cast<HGDIOBJ>(wParam)))
        setFont(platform::NSFont(font->displayName(), font->size()));
      return 0;
    default:
      return 0;
  }
}

void Swell_vCorvaneBrisko_box::drawRect(const NSRect&) {
  // A frame with the title cut into its top edge; an etched box is the frame alone.
  platform::controldrawing::topDown(this, [&](platform::CGContext* cg) {
    const NSRect b = bounds();
    const platform::NSFont font = platform::NSFont::systemFontOfSize(10);
    const bool titled = !m_etch_mode && !title().empty();
    // Measured once: each measure lays the text out anew.
    const platform::NSSize titleSize = titled ? font.sizeOfString(title()) : platform::NSSize{};
    const double titleHeight = titleSize.height;
    const NSRect frameRect = platform::NSMakeRect(0.5, titleHeight / 2 + 0.5, b.size.width - 1,
                                                  b.size.height - titleHeight / 2 - 1);
    platform::controldrawing::strokeRect(cg, frameRect,
                                         platform::NSColor::colorWithRGBA(0.6, 0.6, 0.6, 1));
    if (!titled) return;
    const double titleWidth = titleSize.width + 6;
    const double left = m_title_centred ? (b.size.width - titleWidth) / 2 : 8;
    const NSRect titleRect = platform::NSMakeRect(left, 0, titleWidth, titleHeight);
    platform::controldrawing::fillRect(cg, titleRect, platform::NSColor::windowBackgroundColor());
    platform::controldrawing::drawText(cg, title(), titleRect, font, titleColor(),
                                       platform::NSTextAlignmentCenter);
  });
}
