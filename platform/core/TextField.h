#pragma once

#include "platform/core/Control.h"
#include "platform/core/TextDelegates.h"
#include "platform/objects/Color.h"

namespace platform {

class NSText;

// A text label or an editable field. It is edited through its window's field editor:
// becoming first responder puts the field editor inside the field (as its subview,
// sized to it) and makes the editor the window's first responder, so an ancestor walk
// from the first responder finds the field. While editing, the field's string value
// follows every edit and its delegate hears controlTextDidBeginEditing,
// controlTextDidChange and, when the editor resigns, controlTextDidEndEditing.
class NSTextField : public NSControl, public NSTextDelegate, public NSTextViewDelegate {
 public:
  using NSControl::NSControl;

  bool isEditable() const { return mEditable; }
  // Editable fields are selectable.
  void setEditable(bool editable);
  bool isSelectable() const { return mSelectable || mEditable; }
  // Fields that are not selectable are not editable either.
  void setSelectable(bool selectable);
  bool isBordered() const { return mBordered; }
  void setBordered(bool bordered) { mBordered = bordered; }
  bool isBezeled() const { return mBezeled; }
  void setBezeled(bool bezeled) { mBezeled = bezeled; }
  bool drawsBackground() const { return mDrawsBackground; }
  void setDrawsBackground(bool draws);
  NSColor textColor() const { return mTextColor; }
  void setTextColor(NSColor color);
  NSColor backgroundColor() const { return mBackgroundColor; }
  void setBackgroundColor(NSColor color);
  // Wrapping text breaks into lines; otherwise a long line scrolls.
  bool wraps() const { return mWraps; }
  void setWraps(bool wraps) { mWraps = wraps; }
  // The lines the field shows: one, unless it wraps and its text holds a line feed or is wider
  // than the field; then as many as the text takes at the field's width.
  virtual std::vector<std::string> shownLines() const;
  virtual bool isSecure() const { return false; }

  // Also replaces the text of the field editor while editing (without notifications).
  void setStringValue(std::string value) override;

  // The field editor while this field is being edited, else null.
  NSText* currentEditor() const { return mEditor; }
  // Ends editing at once without telling the delegate.
  void abortEditing();

  // Where the field editor sits while editing, in the field's coordinates.
  virtual NSRect editingRect() const;

  bool acceptsFirstResponder() const override;
  bool becomeFirstResponder() override;
  // Also while it is being edited (it takes no second edit then, but Tab starts from it).
  bool canBecomeKeyView() const override;
  NSSize fittingSize() const override;
  void drawRect(const NSRect& dirtyRect) override;

  // From the field editor.
  void textDidBeginEditing(NSText* text) override;
  void textDidChange(NSText* text) override;
  void textDidEndEditing(NSText* text) override;
  // The field editor's context menu: the delegate's say when it answers, else the
  // proposed menu.
  NSMenu* textViewMenuForEvent(NSTextView* view, NSMenu* menu, const NSEvent& event,
                               long charIndex) override;
  // A navigation key in the field editor: the field's own step when it takes it (see
  // NSControl::keyDown), else the editor's.
  bool textViewDoCommandBySelector(NSTextView* view, NSKeyCommand command) override;

 protected:
  void willRemoveSubview(NSView* subview) override;
  void dealloc() override;

 private:
  NSControlTextEditingDelegate* editingDelegate() const;
  void detachEditor();

  bool mEditable = true;
  bool mSelectable = true;
  bool mBordered = false;
  bool mBezeled = true;
  bool mDrawsBackground = true;
  bool mWraps = false;
  NSColor mTextColor = NSColor::textColor();
  NSColor mBackgroundColor = NSColor::textBackgroundColor();
  NSText* mEditor = nullptr;  // held as a subview while editing
};

// A text field whose text is concealed: shown as bullets and never copied out.
class NSSecureTextField : public NSTextField {
 public:
  using NSTextField::NSTextField;
  bool isSecure() const override { return true; }
  // What the field shows: one bullet per character.
  std::string displayedString() const;
};

}  // namespace platform
