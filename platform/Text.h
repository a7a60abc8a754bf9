#pragma once

#include <string>

#include "platform/View.h"

namespace platform {

// Editable text: a string, editable or not, and whether it is a window's field editor
// (the single-line text a window lends to the text field being edited).
class NSText : public NSView {
 public:
  using NSView::NSView;

  std::string string() const { return mText; }
  void setString(const std::string& text) {
    mText = text;
    setNeedsDisplay(true);
  }
  bool isEditable() const { return mEditable; }
  void setEditable(bool editable) { mEditable = editable; }
  bool isFieldEditor() const { return mFieldEditor; }
  void setFieldEditor(bool fieldEditor) { mFieldEditor = fieldEditor; }
  bool isFlipped() const override { return true; }

 private:
  std::string mText;
  bool mEditable = true;
  bool mFieldEditor = false;
};

}  // namespace platform
