#include "platform/core/Text.h"

#include <algorithm>
#include <cmath>

#include "base/Utf8.h"
#include "platform/core/ControlDrawing.h"
#include "platform/core/Pasteboard.h"
#include "platform/core/RunLoop.h"
#include "platform/core/TextDelegates.h"
#include "platform/core/Window.h"
#include "platform/display/Event.h"
#include "platform/system/Clock.h"

namespace platform {

namespace {

using base::isHighSurrogate;
using base::isLowSurrogate;

// The platform's key codes of the editing keys.
constexpr std::uint16_t kKeyReturn = 36;
constexpr std::uint16_t kKeyTab = 48;
constexpr std::uint16_t kKeyDelete = 51;
constexpr std::uint16_t kKeyEscape = 53;
constexpr std::uint16_t kKeyEnter = 76;
constexpr std::uint16_t kKeyHome = 115;
constexpr std::uint16_t kKeyForwardDelete = 117;
constexpr std::uint16_t kKeyEnd = 119;
constexpr std::uint16_t kKeyLeft = 123;
constexpr std::uint16_t kKeyRight = 124;
constexpr std::uint16_t kKeyDown = 125;
constexpr std::uint16_t kKeyUp = 126;

// Text a key event would type: printable characters, without the function-key range
// the platform uses for arrows and the like.
bool isTypedText(const NSEvent& e) {
  if (e.characters.empty()) return false;
  if (e.modifierFlags & (NSEventModifierFlagCommand | NSEventModifierFlagControl)) return false;
  for (char16_t u : base::utf8ToUtf16(e.characters))
    if (u < 0x20 || u == 0x7F || (u >= 0xF700 && u <= 0xF8FF)) return false;
  return true;
}

}  // namespace

std::string NSText::string() const {
  return base::utf16ToUtf8(mText);
}

void NSText::setString(const std::string& text) {
  mText = base::utf8ToUtf16(text);
  mSelection = {mText.size(), 0};
  mAnchor = mText.size();
  setNeedsDisplay(true);
}

NSRange NSText::wholeCharacters(NSRange range) const {
  std::size_t n = mText.size();
  std::size_t start = std::min(range.location, n);
  std::size_t end = start + std::min(range.length, n - start);
  auto insidePair = [&](std::size_t i) {
    return i > 0 && i < n && isLowSurrogate(mText[i]) && isHighSurrogate(mText[i - 1]);
  };
  if (insidePair(start)) --start;
  if (range.length == 0) return {start, 0};  // a caret inside a pair moves before it
  if (insidePair(end)) ++end;
  return {start, end - start};
}

void NSText::setSelectedRange(NSRange range) {
  NSRange clamped = wholeCharacters(range);
  mAnchor = clamped.location;
  if (clamped == mSelection) return;
  mSelection = clamped;
  setNeedsDisplay(true);
}

void NSText::replaceCharactersInRange(NSRange range, const std::string& text) {
  NSRange whole = wholeCharacters(range);
  std::u16string insert = base::utf8ToUtf16(text);
  mText.replace(whole.location, whole.length, insert);
  mSelection = {whole.location + insert.size(), 0};
  mAnchor = mSelection.location;
  setNeedsDisplay(true);
}

void NSText::userReplace(NSRange range, const std::u16string& text) {
  if (!mEditable) return;
  Ref<NSText> keep(this);
  if (!mEditingBegun) {
    mEditingBegun = true;
    if (auto* d = dynamic_cast<NSTextDelegate*>(mDelegate)) d->textDidBeginEditing(this);
    // The delegate may have set another text; the range is fitted to what is there now.
    range = wholeCharacters(range);
  }
  mText.replace(range.location, range.length, text);
  mSelection = {range.location + text.size(), 0};
  mAnchor = mSelection.location;
  setNeedsDisplay(true);
  restartCaret();
  notifyChanged();
}

void NSText::notifyChanged() {
  if (auto* d = dynamic_cast<NSTextDelegate*>(mDelegate)) d->textDidChange(this);
}

void NSText::insertText(const std::string& text) {
  std::u16string insert = base::utf8ToUtf16(text);
  if (mFieldEditor)
    for (char16_t& u : insert)
      if (u == u'\n' || u == u'\r') u = u' ';
  userReplace(mSelection, insert);
}

void NSText::deleteBackward() {
  if (mSelection.length == 0 && mSelection.location == 0) return;
  NSRange range = mSelection;
  if (range.length == 0) {
    std::size_t from = previousIndex(range.location);
    range = {from, range.location - from};
  }
  userReplace(range, u"");
}

void NSText::deleteForward() {
  NSRange range = mSelection;
  if (range.length == 0) {
    if (range.location >= mText.size()) return;
    range.length = nextIndex(range.location) - range.location;
  }
  userReplace(range, u"");
}

void NSText::selectAll() {
  if (!isSelectable()) return;
  setSelectedRange({0, mText.size()});
}

void NSText::copy() {
  if (mSelection.length == 0 || mConcealed || !isSelectable()) return;
  NSPasteboard& pb = NSPasteboard::generalPasteboard();
  pb.declareTypes({NSPasteboardTypeString});
  pb.setString(base::utf16ToUtf8(mText.substr(mSelection.location, mSelection.length)));
}

void NSText::cut() {
  if (!mEditable || mSelection.length == 0 || mConcealed) return;
  copy();
  userReplace(mSelection, u"");
}

void NSText::paste() {
  if (!mEditable) return;
  std::optional<std::string> text = NSPasteboard::generalPasteboard().stringForType();
  if (text) insertText(*text);
}

void NSText::setEditable(bool editable) {
  mEditable = editable;
}

void NSText::setSelectable(bool selectable) {
  mSelectable = selectable;
  if (!selectable) mEditable = false;
}

void NSText::setFont(const NSFont& font) {
  if (font == mFont) return;
  mFont = font;
  setNeedsDisplay(true);
}

std::size_t NSText::previousIndex(std::size_t i) const {
  if (i == 0) return 0;
  if (i >= 2 && isLowSurrogate(mText[i - 1]) && isHighSurrogate(mText[i - 2])) return i - 2;
  return i - 1;
}

std::size_t NSText::nextIndex(std::size_t i) const {
  if (i >= mText.size()) return mText.size();
  if (i + 1 < mText.size() && isHighSurrogate(mText[i]) && isLowSurrogate(mText[i + 1]))
    return i + 2;
  return i + 1;
}

void NSText::moveCaret(std::size_t to, bool extend) {
  if (!extend) {
    mAnchor = to;
    NSRange caret{to, 0};
    if (caret == mSelection) return;
    mSelection = caret;
  } else {
    mSelection = {std::min(mAnchor, to), std::max(mAnchor, to) - std::min(mAnchor, to)};
  }
  setNeedsDisplay(true);
  restartCaret();
}

bool NSText::wantsCaret(bool becoming) const {
  NSWindow* w = window();
  return mEditable && mSelection.length == 0 && w && w->isKeyWindow() &&
         (becoming || w->firstResponder() == this);
}

void NSText::keyWindowChanged() {
  restartCaret();
}

void NSText::restartCaret(bool start) {
  const double intervalMs = kCaretBlinkSeconds * 1000;
  // No caret shows (a selection, another key window): nothing blinks, nothing wakes the loop.
  if (!wantsCaret(start)) return stopCaret();
  if (!mCaretTimer) {
    // The timer holds the text weakly: it only runs while the text lives (dealloc stops it).
    mCaretTimer = NSTimer::timerWithTimeInterval(kCaretBlinkSeconds, true, [this](NSTimer*) {
      if (!wantsCaret()) return stopCaret();
      mCaretOn = !mCaretOn;
      setNeedsDisplay(true);
    });
    NSRunLoop::mainRunLoop().addTimer(mCaretTimer.get(), NSRunLoopCommonModes);
  }
  mCaretTimer->setFireDateMs(clock().nowMs() + intervalMs);
  if (!mCaretOn) setNeedsDisplay(true);
  mCaretOn = true;
}

void NSText::stopCaret() {
  if (mCaretTimer) mCaretTimer->invalidate();
  mCaretTimer.reset();
  if (mCaretOn) setNeedsDisplay(true);
  mCaretOn = false;
}

NSRect NSText::caretRect() const {
  const double lineHeight = std::max(1.0, mFont.lineHeight());
  const std::size_t caret = std::min(mSelection.location, mText.size());
  std::size_t lineStart = 0;
  double y = 0;
  for (std::size_t i = mText.find(u'\n'); i != std::u16string::npos && i < caret;
       i = mText.find(u'\n', i + 1)) {
    lineStart = i + 1;
    y += lineHeight;
  }
  const double x =
      mFont.sizeOfString(base::utf16ToUtf8(mText.substr(lineStart, caret - lineStart))).width;
  return {{x, y}, {1, lineHeight}};
}

std::size_t NSText::characterIndexForPoint(NSPoint p) const {
  double lineHeight = std::max(1.0, mFont.lineHeight());
  // Below the last line is the last line.
  const double lines = numberOfLines();
  long wanted =
      std::isfinite(p.y)
          ? static_cast<long>(std::min(std::floor(std::max(0.0, p.y) / lineHeight), lines))
          : 0;
  // Find the line's range of units.
  std::size_t start = 0;
  for (long line = 0; line < wanted; ++line) {
    std::size_t nl = mText.find(u'\n', start);
    if (nl == std::u16string::npos) break;
    start = nl + 1;
  }
  std::size_t end = mText.find(u'\n', start);
  if (end == std::u16string::npos) end = mText.size();
  if (!(p.x > 0)) return start;
  // Offsets grow with the prefix, so a binary search finds the last boundary left of
  // the point in few measurements (a long line stays cheap); then the nearer of it and
  // the next boundary wins.
  auto offset = [&](std::size_t i) {
    return mFont.sizeOfString(base::utf16ToUtf8(mText.substr(start, i - start))).width;
  };
  std::size_t lo = start, hi = end;
  while (lo < hi) {
    std::size_t mid = lo + (hi - lo + 1) / 2;
    if (mid < end && isLowSurrogate(mText[mid]) && mid > start && isHighSurrogate(mText[mid - 1]))
      ++mid;  // a boundary, not the middle of a pair
    if (mid > hi) mid = hi;
    if (offset(mid) <= p.x)
      lo = mid;
    else
      hi = previousIndex(mid) < lo ? lo : previousIndex(mid);
  }
  if (lo >= end) return end;
  std::size_t next = nextIndex(lo);
  return std::fabs(offset(next) - p.x) < std::fabs(offset(lo) - p.x) ? next : lo;
}

int NSText::numberOfLines() const {
  return 1 + static_cast<int>(std::count(mText.begin(), mText.end(), u'\n'));
}

bool NSText::becomeFirstResponder() {
  mEditingBegun = false;
  restartCaret(true);
  return true;
}

bool NSText::resignFirstResponder() {
  // Ending an edit may take this view out of its window, which asks it to resign again.
  if (mResigning) return true;
  mResigning = true;
  Ref<NSText> keep(this);
  if (auto* d = dynamic_cast<NSTextDelegate*>(mDelegate)) d->textDidEndEditing(this);
  mEditingBegun = false;
  mResigning = false;
  stopCaret();
  return true;
}

void NSText::viewDidMoveToWindow() {
  // A field editor that left its window edits nothing any more.
  if (mFieldEditor && !window()) mDelegate = nullptr;
  if (!window()) stopCaret();
}

void NSText::dealloc() {
  stopCaret();
  NSView::dealloc();
}

void NSText::keyDown(const NSEvent& e) {
  bool shift = (e.modifierFlags & NSEventModifierFlagShift) != 0;
  if (e.modifierFlags & NSEventModifierFlagCommand) {
    const std::string& key = e.charactersIgnoringModifiers;
    if (key == "a") {
      selectAll();
    } else if (key == "c") {
      copy();
    } else if (key == "x") {
      cut();
    } else if (key == "v") {
      paste();
    } else {
      NSResponder::keyDown(e);
    }
    return;
  }
  switch (e.keyCode) {
    case kKeyDelete:
      if (mEditable) return deleteBackward();
      break;
    case kKeyForwardDelete:
      if (mEditable) return deleteForward();
      break;
    case kKeyLeft:
    case kKeyRight: {
      bool left = e.keyCode == kKeyLeft;
      if (shift) {
        // The moving end is the one away from the anchor.
        std::size_t focus = mAnchor == mSelection.location ? mSelection.end() : mSelection.location;
        return moveCaret(left ? previousIndex(focus) : nextIndex(focus), true);
      }
      if (mSelection.length) return moveCaret(left ? mSelection.location : mSelection.end(), false);
      return moveCaret(left ? previousIndex(mSelection.location) : nextIndex(mSelection.location),
                       false);
    }
    case kKeyUp:
    case kKeyHome:
      return moveCaret(0, shift);
    case kKeyDown:
    case kKeyEnd:
      return moveCaret(mText.size(), shift);
    case kKeyReturn:
    case kKeyEnter:
      if (!mFieldEditor && mEditable) return insertText("\n");
      break;
    case kKeyTab:
      if (!mFieldEditor && mEditable) return insertText("\t");
      break;
    case kKeyEscape:
      break;
    default:
      if (mEditable && isTypedText(e)) return insertText(e.characters);
      break;
  }
  NSResponder::keyDown(e);
}

void NSText::mouseDown(const NSEvent& e) {
  if (!isSelectable()) return NSView::mouseDown(e);
  std::size_t i = characterIndexForPoint(convertPointFromView(e.locationInWindow, nullptr));
  bool shift = (e.modifierFlags & NSEventModifierFlagShift) != 0;
  moveCaret(i, shift);
}

void NSText::mouseDragged(const NSEvent& e) {
  if (!isSelectable()) return;
  moveCaret(characterIndexForPoint(convertPointFromView(e.locationInWindow, nullptr)), true);
}

void NSText::drawRect(const NSRect&) {
  controldrawing::topDown(this, [&](CGContext* cg) {
    double lineHeight = std::max(1.0, mFont.lineHeight());
    std::size_t start = 0;
    for (double y = 0; start <= mText.size(); y += lineHeight) {
      std::size_t end = mText.find(u'\n', start);
      if (end == std::u16string::npos) end = mText.size();
      NSRect line{{0, y}, {bounds().size.width, lineHeight}};
      // The selected part of the line behind its text.
      std::size_t from = std::max(start, mSelection.location);
      std::size_t to = std::min(end, mSelection.end());
      if (mSelection.length && from < to) {
        double x0 = mFont.sizeOfString(base::utf16ToUtf8(mText.substr(start, from - start))).width;
        double x1 = mFont.sizeOfString(base::utf16ToUtf8(mText.substr(start, to - start))).width;
        controldrawing::fillRect(cg, {{x0, y}, {x1 - x0, lineHeight}},
                                 NSColor::selectedTextBackgroundColor());
      }
      std::string shown = base::utf16ToUtf8(mText.substr(start, end - start));
      if (mConcealed) shown = controldrawing::concealedText(shown);
      controldrawing::drawText(cg, shown, NSOffsetRect(line, -3, 0), mFont, NSColor::textColor(),
                               NSTextAlignmentLeft);
      if (y > bounds().size.height) break;
      start = end + 1;
    }
    if (isCaretShown()) controldrawing::fillRect(cg, caretRect(), NSColor::textColor());
  });
}

}  // namespace platform
