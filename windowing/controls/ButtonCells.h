#pragma once

#include <string>

#include "platform/core/ButtonCell.h"

// The cell of an image button: it shows the image and bezel but never the title, which
// the button keeps for its text.
class Swell_vCorvaneBrisko_imgbuttoncell : public platform::NSButtonCell {
 public:
  using platform::NSButtonCell::NSButtonCell;
  platform::NSRect drawTitle(const std::string& title, const platform::NSRect& frame,
                             platform::NSView* view) override;
};

// The cell of an owner-drawn button: the button's parent draws it on WM_DRAWITEM, with a
// drawing context over the button's own drawing. The cell itself paints nothing, so it
// is transparent and not opaque; without a control view it draws as a plain button cell.
class Swell_vCorvaneBrisko_ODbuttoncell : public platform::NSButtonCell {
 public:
  using platform::NSButtonCell::NSButtonCell;
  bool isTransparent() const override { return true; }
  bool isOpaque() const override { return false; }
  void drawWithFrame(const platform::NSRect& frame, platform::NSView* view) override;
};
