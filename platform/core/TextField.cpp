#include "platform/core/TextField.h"

#include <algorithm>

#include "platform/core/ControlDrawing.h"
#include "platform/core/Text.h"
#include "platform/core/TextView.h"
#include "platform/core/Window.h"

namespace platform {

namespace {
// The editor sits inside the bezel.
constexpr double kEditorInset = 2;
}  // namespace

void NSTextField::setEditable(bool editable) {
  mEditable = editable;
  if (editable) mSelectable = true;
  if (mEditor) mEditor->setEditable(editable);
}

void NSTextField::setSelectable(bool selectable) {
  mSelectable = selectable;
  if (!selectable) mEditable = false;
  if (mEditor) mEditor->setSelectable(selectable);
}

void NSTextField::setDrawsBackground(bool draws) {
  if (draws == mDrawsBackground) return;
  mDrawsBackground = draws;
  setNeedsDisplay(true);
}

void NSTextField::setTextColor(NSColor color) {
  mTextColor = color;
  setNeedsDisplay(true);
}

void NSTextField::setBackgroundColor(NSColor color) {
  mBackgroundColor = color;
  setNeedsDisplay(true);
}

void NSTextField::setStringValue(std::string value) {
  if (mEditor && mEditor->string() != value) mEditor->setString(value);
  NSControl::setStringValue(std::move(value));
}

NSRect NSTextField::editingRect() const {
  NSRect b = bounds();
  return {{b.origin.x + kEditorInset, b.origin.y + kEditorInset},
          {std::max(0.0, b.size.width - 2 * kEditorInset),
           std::max(0.0, b.size.height - 2 * kEditorInset)}};
}

bool NSTextField::acceptsFirstResponder() const {
  // A field whose editor already holds first responder keeps its edit going when
  // clicked again.
  NSWindow* w = window();
  if (mEditor && w && w->firstResponder() == mEditor) return false;
  return isSelectable() && isEnabled();
}

bool NSTextField::canBecomeKeyView() const {
  return window() && isSelectable() && isEnabled() && !isHiddenOrHasHiddenAncestor();
}

bool NSTextField::becomeFirstResponder() {
  NSWindow* w = window();
  if (!w) return false;
  NSText* editor = w->fieldEditor(true, this);
  if (!editor) return false;
  Ref<NSTextField> keep(this);
  if (mEditor != editor) {
    editor->setDelegate(nullptr);
    editor->removeFromSuperview();
    editor->setString(stringValue());
    editor->setFont(font());
    editor->setSelectable(isSelectable());
    editor->setEditable(isEditable());
    editor->setConcealed(isSecure());
    editor->setFrame(editingRect());
    addSubview(editor);
    mEditor = editor;
    editor->setDelegate(this);
  }
  editor->selectAll();
  // The field hands first responder on to its editor; the window keeps the editor.
  if (!w->makeFirstResponder(editor)) {
    detachEditor();
    return false;
  }
  return true;
}

void NSTextField::detachEditor() {
  NSText* editor = std::exchange(mEditor, nullptr);
  if (!editor) return;
  Ref<NSText> keep(editor);
  editor->setDelegate(nullptr);
  if (editor->superview() == this) editor->removeFromSuperview();
}

void NSTextField::abortEditing() {
  if (!mEditor) return;
  NSWindow* w = window();
  NSText* editor = mEditor;
  detachEditor();
  if (w && w->firstResponder() == editor) w->makeFirstResponder(nullptr);
}

void NSTextField::willRemoveSubview(NSView* subview) {
  // The editor taken away by someone else ends this field's editing silently.
  if (subview == mEditor) {
    mEditor->setDelegate(nullptr);
    mEditor = nullptr;
  }
  NSControl::willRemoveSubview(subview);
}

void NSTextField::dealloc() {
  if (mEditor) mEditor->setDelegate(nullptr);
  mEditor = nullptr;
  NSControl::dealloc();
}

NSControlTextEditingDelegate* NSTextField::editingDelegate() const {
  return dynamic_cast<NSControlTextEditingDelegate*>(delegate());
}

void NSTextField::textDidBeginEditing(NSText* text) {
  if (text != mEditor) return;
  if (auto* d = editingDelegate()) d->controlTextDidBeginEditing(this);
}

void NSTextField::textDidChange(NSText* text) {
  if (text != mEditor) return;
  Ref<NSTextField> keep(this);
  NSControl::setStringValue(text->string());
  if (auto* d = editingDelegate()) d->controlTextDidChange(this);
}

void NSTextField::textDidEndEditing(NSText* text) {
  if (text != mEditor) return;
  Ref<NSTextField> keep(this);
  NSControl::setStringValue(text->string());
  detachEditor();
  if (auto* d = editingDelegate()) d->controlTextDidEndEditing(this);
}

NSMenu* NSTextField::textViewMenuForEvent(NSTextView* view, NSMenu* menu, const NSEvent& event,
                                          long charIndex) {
  if (auto* d = dynamic_cast<NSTextViewDelegate*>(delegate()))
    return d->textViewMenuForEvent(view, menu, event, charIndex);
  return menu;
}

bool NSTextField::textViewDoCommandBySelector(NSTextView* view, NSKeyCommand command) {
  if (!mEditor || static_cast<NSText*>(view) != mEditor || !isEnabled()) return false;
  Ref<NSTextField> keep(this);
  return doCommandBySelector(command);
}

NSSize NSTextField::fittingSize() const {
  NSSize size = NSControl::fittingSize();
  if (mBezeled || mBordered) size.height += 2 * kEditorInset;
  return size;
}

std::string NSSecureTextField::displayedString() const {
  return controldrawing::concealedText(stringValue());
}

std::vector<std::string> NSTextField::shownLines() const {
  auto* secure = dynamic_cast<const NSSecureTextField*>(this);
  std::string shown = secure ? secure->displayedString() : stringValue();
  if (!mWraps || secure) return {shown};
  return controldrawing::wrapText(shown, font(), editingRect().size.width);
}

void NSTextField::drawRect(const NSRect&) {
  controldrawing::topDown(this, [&](CGContext* cg) {
    NSRect b = bounds();
    if (mDrawsBackground) controldrawing::fillRect(cg, b, mBackgroundColor);
    if (mBordered || mBezeled)
      controldrawing::strokeRect(cg, b, NSColor::colorWithRGBA(0.55, 0.55, 0.55, 1));
    // While editing, the field editor shows the text.
    if (mEditor) return;
    const std::vector<std::string> lines = shownLines();
    const NSColor color = isEnabled() ? mTextColor : NSColor::colorWithRGBA(0.55, 0.55, 0.55, 1);
    const NSTextAlignment placed =
        alignment() == NSTextAlignmentNatural ? NSTextAlignmentLeft : alignment();
    if (lines.size() == 1)
      controldrawing::drawText(cg, lines.front(), editingRect(), font(), color, placed);
    else
      controldrawing::drawTextLines(cg, lines, editingRect(), font(), color, placed);
  });
}

}  // namespace platform
