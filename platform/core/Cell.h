#pragma once

#include <optional>
#include <string>

#include "platform/core/Control.h"
#include "platform/drawing/Font.h"
#include "platform/objects/Color.h"
#include "platform/objects/Geometry.h"
#include "platform/objects/Object.h"

namespace platform {

class CGContext;
class NSView;

// The drawing and value part of a control, kept apart from any view: a table draws every
// row of a column with that column's one cell, handing it the row's value first. A cell
// draws into the current context in the coordinates of the view it is given.
class NSCell : public NSObject {
 public:
  NSCell() = default;
  explicit NSCell(std::string text) : mString(std::move(text)) {}

  const std::string& stringValue() const { return mString; }
  virtual void setStringValue(std::string value) { mString = std::move(value); }
  const NSFont& font() const { return mFont; }
  void setFont(const NSFont& font) { mFont = font; }
  NSTextAlignment alignment() const { return mAlignment; }
  void setAlignment(NSTextAlignment alignment) { mAlignment = alignment; }
  bool isEnabled() const { return mEnabled; }
  void setEnabled(bool enabled) { mEnabled = enabled; }
  bool isEditable() const { return mEditable; }
  void setEditable(bool editable) { mEditable = editable; }
  bool wraps() const { return mWraps; }
  void setWraps(bool wraps) { mWraps = wraps; }
  bool isHighlighted() const { return mHighlighted; }
  void setHighlighted(bool highlighted) { mHighlighted = highlighted; }
  long tag() const { return mTag; }
  void setTag(long tag) { mTag = tag; }
  int state() const { return mState; }
  virtual void setState(int state) { mState = state; }
  // The control the cell draws for, when it belongs to one (not retained: the control
  // owns its cell); null for cells a view shares between rows.
  NSView* controlView() const { return mControlView; }
  void setControlView(NSView* view) { mControlView = view; }

  // The size the content needs in the cell's font.
  virtual NSSize cellSize() const;
  // The height cellSize gives for one line of text: the font's line and the insets,
  // whatever the text, found without shaping it.
  double textCellHeight() const;
  // Where the content is drawn inside a frame.
  virtual NSRect drawingRectForBounds(const NSRect& bounds) const;
  // The colour a highlighted cell is filled with; none leaves the background alone.
  virtual std::optional<NSColor> highlightColorWithFrame(const NSRect& frame,
                                                         const NSView* view) const;
  // The whole cell: the highlight when highlighted, then the interior.
  virtual void drawWithFrame(const NSRect& frame, NSView* view);
  // The content alone; a plain cell draws its text.
  virtual void drawInteriorWithFrame(const NSRect& frame, NSView* view);

 protected:
  // Runs the drawing with the current context's y axis pointing down and hands it the
  // frame in those top-down coordinates; nothing without a current context.
  template <class Draw>
  static void drawTopDown(const NSRect& frame, const NSView* view, Draw&& draw);
  static bool topDownFrame(const NSRect& frame, const NSView* view, CGContext** context,
                           NSRect* topDown);
  static void endTopDown(CGContext* context);
  // One line of the cell's text in a top-down frame, from the top of its drawing
  // rectangle, placed by the alignment and clipped to the frame.
  void drawText(CGContext* context, const NSRect& frame, NSColor color) const;

 private:
  std::string mString;
  NSFont mFont;
  NSTextAlignment mAlignment = NSTextAlignmentNatural;
  bool mEnabled = true;
  bool mEditable = false;
  bool mWraps = true;
  bool mHighlighted = false;
  long mTag = 0;
  int mState = NSControlStateValueOff;
  NSView* mControlView = nullptr;
};

template <class Draw>
void NSCell::drawTopDown(const NSRect& frame, const NSView* view, Draw&& draw) {
  CGContext* context = nullptr;
  NSRect r;
  if (!topDownFrame(frame, view, &context, &r)) return;
  draw(context, r);
  endTopDown(context);
}

// A cell of one line of text with its own text colour and an optional background.
class NSTextFieldCell : public NSCell {
 public:
  using NSCell::NSCell;

  NSColor textColor() const { return mTextColor; }
  void setTextColor(NSColor color) { mTextColor = color; }
  NSColor backgroundColor() const { return mBackgroundColor; }
  void setBackgroundColor(NSColor color) { mBackgroundColor = color; }
  bool drawsBackground() const { return mDrawsBackground; }
  void setDrawsBackground(bool draws) { mDrawsBackground = draws; }

  // The platform's selection colour.
  std::optional<NSColor> highlightColorWithFrame(const NSRect& frame,
                                                 const NSView* view) const override;
  void drawInteriorWithFrame(const NSRect& frame, NSView* view) override;

 private:
  NSColor mTextColor = NSColor::textColor();
  NSColor mBackgroundColor = NSColor::textBackgroundColor();
  bool mDrawsBackground = false;
};

}  // namespace platform
