#include "windowing/controls/ControlClasses.h"

#include <algorithm>
#include <cstring>

#include "platform/ControlDrawing.h"
#include "platform/Font.h"
#include "platform/GraphicsContext.h"
#include "windowing/core/MessageWords.h"
#include "windowing/core/SendMessage.h"
#include "windowing/core/WindowApi.h"
#include "windowing/core/WindowObject.h"

using platform::NSRect;

namespace {

constexpr UINT EM_SCROLL = 0xF0B5;
constexpr UINT EM_REPLACESEL = 0xF0C2;
constexpr UINT WM_SETFONT = 0x0030;
constexpr WPARAM SB_TOP = 6;
constexpr WPARAM SB_BOTTOM = 7;

// Tells the parent window that a text control took the focus.
void notifyFocus(platform::NSView* control, long id) {
  HWND self = swell::handleFromObject(control);
  if (HWND parent = GetParent(self))
    SendMessage(parent, WM_COMMAND, swell::makeWParam(id, EN_SETFOCUS),
                reinterpret_cast<LPARAM>(self));
}

}  // namespace

void Swell_vCorvaneBrisko_textfield::setNeedsDisplay(bool needs) {
  NSTextField::setNeedsDisplay(needs);
  if (needs) swell::markAncestorsDirty(this);
}

void Swell_vCorvaneBrisko_textfield::setNeedsDisplayInRect(const NSRect& rect) {
  NSTextField::setNeedsDisplayInRect(rect);
  swell::markAncestorsDirty(this);
}

bool Swell_vCorvaneBrisko_textfield::becomeFirstResponder() {
  if (!NSTextField::becomeFirstResponder()) return false;
  notifyFocus(this, tag());
  return true;
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

void Swell_vCorvaneBrisko_textview::setNeedsDisplay(bool needs) {
  NSTextView::setNeedsDisplay(needs);
  if (needs) swell::markAncestorsDirty(this);
}

void Swell_vCorvaneBrisko_textview::setNeedsDisplayInRect(const NSRect& rect) {
  NSTextView::setNeedsDisplayInRect(rect);
  swell::markAncestorsDirty(this);
}

bool Swell_vCorvaneBrisko_textview::becomeFirstResponder() {
  if (!NSTextView::becomeFirstResponder()) return false;
  notifyFocus(this, tag());
  return true;
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
      // Fonts of the drawing room are not reachable from here; the view keeps its own.
      return 0;
    default:
      return 0;
  }
}

void Swell_vCorvaneBrisko_box::setNeedsDisplay(bool needs) {
  NSBox::setNeedsDisplay(needs);
  if (needs) swell::markAncestorsDirty(this);
}

void Swell_vCorvaneBrisko_box::setNeedsDisplayInRect(const NSRect& rect) {
  NSBox::setNeedsDisplayInRect(rect);
  swell::markAncestorsDirty(this);
}

void Swell_vCorvaneBrisko_box::drawRect(const NSRect&) {
  // A frame with the title cut into its top edge; an etched box is the frame alone.
  platform::controldrawing::topDown(this, [&](platform::CGContext* cg) {
    const NSRect b = bounds();
    const platform::NSFont font = platform::NSFont::systemFontOfSize(10);
    const bool titled = !m_etch_mode && !title().empty();
    const double titleHeight = titled ? font.sizeOfString(title()).height : 0;
    const NSRect frameRect = platform::NSMakeRect(0.5, titleHeight / 2 + 0.5, b.size.width - 1,
                                                  b.size.height - titleHeight / 2 - 1);
    platform::controldrawing::strokeRect(cg, frameRect,
                                         platform::NSColor::colorWithRGBA(0.6, 0.6, 0.6, 1));
    if (!titled) return;
    const double titleWidth = font.sizeOfString(title()).width + 6;
    const double left = m_title_centred ? (b.size.width - titleWidth) / 2 : 8;
    const NSRect titleRect = platform::NSMakeRect(left, 0, titleWidth, titleHeight);
    platform::controldrawing::fillRect(cg, titleRect, platform::NSColor::windowBackgroundColor());
    platform::controldrawing::drawText(cg, title(), titleRect, font, titleColor(),
                                       platform::NSTextAlignmentCenter);
  });
}
