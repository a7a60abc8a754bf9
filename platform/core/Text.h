#pragma once

#include <cstddef>
#include <string>

#include "platform/core/Timer.h"
#include "platform/core/View.h"
#include "platform/drawing/Font.h"

namespace platform {

// A range of text in UTF-16 units.
struct NSRange {
  std::size_t location = 0;
  std::size_t length = 0;
  std::size_t end() const { return location + length; }
  bool operator==(const NSRange& other) const = default;
};

// Editable text: a string, a selection, and the keyboard, mouse and pasteboard
// editing of a user. Ranges count UTF-16 units; strings in and out are UTF-8.
//
// Programmatic changes (setString, replaceCharactersInRange) tell nobody; user edits
// (typing, deleting, cut, paste, insertText) tell the delegate: textDidBeginEditing
// before the first edit, textDidChange after each. Resigning first responder tells it
// textDidEndEditing. A field editor is the single-line text a window lends to the text
// field being edited: Return, Tab and Escape go on up the responder chain instead of
// into the text, and pasted line breaks become spaces.
class NSText : public NSView {
 public:
  using NSView::NSView;

  std::string string() const;
  void setString(const std::string& text);
  // Length in UTF-16 units.
  std::size_t length() const { return mText.size(); }
  const std::u16string& utf16() const { return mText; }

  NSRange selectedRange() const { return mSelection; }
  // Clamped to the text; a range that would split a surrogate pair is widened, a caret
  // inside one moves before it.
  void setSelectedRange(NSRange range);
  // Replaces a range (clamped, and widened like a selection) and leaves the caret after
  // the new text.
  void replaceCharactersInRange(NSRange range, const std::string& text);

  // User edits. Each does nothing unless the text is editable.
  void insertText(const std::string& text);
  void deleteBackward();
  void deleteForward();
  void selectAll();
  // Copy and cut do nothing for an empty selection or concealed text.
  void copy();
  void cut();
  void paste();

  bool isEditable() const { return mEditable; }
  void setEditable(bool editable);
  bool isSelectable() const { return mSelectable || mEditable; }
  void setSelectable(bool selectable);
  bool isFieldEditor() const { return mFieldEditor; }
  void setFieldEditor(bool fieldEditor) { mFieldEditor = fieldEditor; }
  // Concealed text (a password) never reaches the pasteboard.
  bool isConcealed() const { return mConcealed; }
  void setConcealed(bool concealed) { mConcealed = concealed; }
  const NSFont& font() const { return mFont; }
  void setFont(const NSFont& font);
  NSObject* delegate() const { return mDelegate; }
  void setDelegate(NSObject* delegate) { mDelegate = delegate; }

  // The character index nearest a point in the view's own coordinates.
  std::size_t characterIndexForPoint(NSPoint p) const;
  int numberOfLines() const;

  bool isFlipped() const override { return true; }
  bool acceptsFirstResponder() const override { return isSelectable(); }
  bool becomeFirstResponder() override;
  bool resignFirstResponder() override;
  void keyDown(const NSEvent& e) override;
  void mouseDown(const NSEvent& e) override;
  void mouseDragged(const NSEvent& e) override;
  void drawRect(const NSRect& dirtyRect) override;

  // The caret of the text being edited: shown while the text is editable, has no selection
  // and is the key window's first responder; it blinks on the one clock, shown again at
  // once whenever the text or the caret moves.
  static constexpr double kCaretBlinkSeconds = 0.5;
  bool isCaretShown() const { return mCaretOn && wantsCaret(); }
  // Its window became or stopped being the key window: the caret shows at once, or stops.
  void keyWindowChanged();
  // Where the caret is drawn, in the view's coordinates.
  NSRect caretRect() const;

 protected:
  void viewDidMoveToWindow() override;
  void dealloc() override;

 private:
  // The range clamped to the text and widened so no surrogate pair is split; a caret
  // inside a pair moves before it.
  NSRange wholeCharacters(NSRange range) const;
  void userReplace(NSRange range, const std::u16string& text);
  void notifyChanged();
  std::size_t previousIndex(std::size_t i) const;
  std::size_t nextIndex(std::size_t i) const;
  void moveCaret(std::size_t to, bool extend);
  // Whether a caret shows: becoming is set while the text is becoming first responder.
  bool wantsCaret(bool becoming = false) const;
  // Shows the caret now and starts its blinking over when a caret shows (start: the text is
  // becoming first responder); stops the blinking otherwise.
  void restartCaret(bool start = false);
  void stopCaret();

  std::u16string mText;
  NSRange mSelection;
  std::size_t mAnchor = 0;  // the fixed end of a selection made by dragging or Shift
  bool mEditable = true;
  bool mSelectable = true;
  bool mFieldEditor = false;
  bool mConcealed = false;
  bool mEditingBegun = false;
  bool mResigning = false;
  NSFont mFont;
  NSObject* mDelegate = nullptr;  // not retained
  Ref<NSTimer> mCaretTimer;
  bool mCaretOn = false;
};

}  // namespace platform
