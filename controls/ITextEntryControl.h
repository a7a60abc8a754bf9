#pragma once

// The editor surface's own single-line text field. The graphics core opens it over a control
// that asks for a value as text: it shows the current text selected, blinks a caret, and edits
// with the mouse, the keyboard, the clipboard and a "Cut"/"Copy"/"Paste" context menu. Return
// (or a press outside the field) hands the text back to the graphics core; Escape ends the edit
// without a result. Cursor movement, selection, insertion, deletion and undo are stb_textedit's
// in single-line mode; this class gives it the text, the character widths and the key codes.

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "graphics/IPopupMenu.h"
#include "graphics/ITextEntryControlBase.h"

namespace iplug {
namespace igraphics {

class ITextEntryControl : public ITextEntryControlBase {
 public:
  // The caret is shown for the first half of each period.
  static constexpr int kCaretBlinkMs = 1000;

  // Key codes handed to the editing logic: a special key is kKeySpecial plus its virtual-key
  // code, with the modifier bits added.
  static constexpr uint32_t kKeySpecial = 0x80000000u;
  static constexpr uint32_t kKeyShift = 0x40000000u;
  static constexpr uint32_t kKeyCommand = 0x20000000u;
  static constexpr uint32_t kKeyOption = 0x10000000u;

  ITextEntryControl();
  ~ITextEntryControl() override;

  void StartTextEntry(int paramIdx, const IText& text, const IRECT& bounds, int length,
                      const char* str) override;
  bool EditInProgress() const override { return mEditing; }
  void DismissEdit() override;
  void CommitEdit();

  void SelectAll();
  void Cut();
  void Copy();
  void Paste();

  void OnMouseDown(float x, float y, const IMouseMod& mod) override;
  void OnMouseUp(float x, float y, const IMouseMod& mod) override;
  void OnMouseDrag(float x, float y, float dX, float dY, const IMouseMod& mod) override;
  void OnMouseDblClick(float x, float y, const IMouseMod& mod) override;
  bool OnKeyDown(float x, float y, const IKeyPress& key) override;
  void Draw(IGraphics& g) override;
  void OnEndAnimation() override;

  // State, for drawing and tests.
  std::string GetText() const;
  const std::u16string& GetEditString() const { return mEditString; }
  int GetCursor() const;
  int GetSelectionStart() const;
  int GetSelectionEnd() const;
  bool HasSelection() const { return GetSelectionStart() != GetSelectionEnd(); }
  bool IsCaretShown() const { return mCaretShown; }
  bool GetInsertMode() const;
  // The x of a position in the string: the row's start plus the widths before it.
  float PositionX(int pos) const;
  IPopupMenu& GetContextMenu() { return mContextMenu; }

  // The editing logic's state and the callbacks it reaches this control through (defined with
  // the editing logic, in the source file).
  struct Editor;

 private:
  // The action: shows the caret and starts one blink period.
  static void StartCaretBlink(IControl* control);

  // Sends one key code to the editing logic; true when the text, cursor or selection changed
  // (the control is then marked dirty without its action).
  bool SendKey(uint32_t code);
  // Sends a typed code point: one unit, or a surrogate pair above U+FFFF.
  bool SendChar(char32_t cp, uint32_t modifiers);
  // The code for a key that is neither a command nor one of the fixed keys, filtered by the type
  // of the requesting control's parameter; false when the key is not for the edit at all.
  bool FilteredKeyCode(const IKeyPress& key, char32_t typed, uint32_t& code) const;
  void SetEditString(std::u16string str);
  void MeasureWidths() const;
  float CharWidth(int idx) const;
  void EndEdit();
  void MarkDirtyIfChanged(bool changed);
  // True when pos falls between the two halves of a surrogate pair.
  bool InsidePair(int pos) const;
  // After an edit: the cursor and selection inside the text and off the middle of any pair, an
  // empty selection at the cursor. Undo, redo and deletions move the cursor but leave the
  // selection ends where they were, possibly past the end of a shortened text.
  void Settle();

  bool mCaretShown = false;
  bool mEditing = false;
  bool mPressInField = false;  // a left press began inside the field and is not released yet
  std::unique_ptr<Editor> mEditor;
  // Index-aligned with mEditString; empty until measured. A cache, filled when first read.
  mutable std::vector<float> mCharWidths;
  std::u16string mEditString;
  IPopupMenu mContextMenu;
};

}  // namespace igraphics
}  // namespace iplug
