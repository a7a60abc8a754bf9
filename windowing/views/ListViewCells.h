#pragma once

#include "platform/Cell.h"
#include "platform/Image.h"

class Swell_vCorvaneBrisko_listview;

// The text cell of list and tree view columns: no platform highlight where the view
// draws its own selection colours, and its text centred vertically.
class Swell_vCorvaneBrisko_listviewcell : public platform::NSTextFieldCell {
 public:
  using platform::NSTextFieldCell::NSTextFieldCell;
  std::optional<platform::NSColor> highlightColorWithFrame(
      const platform::NSRect& frame, const platform::NSView* view) const override;
  platform::NSRect drawingRectForBounds(const platform::NSRect& bounds) const override;
};

// The first column's cell of a list with row images: the image in a square slot at the
// left, the text after it.
class Swell_vCorvaneBrisko_statuscell : public Swell_vCorvaneBrisko_listviewcell {
 public:
  // Room between the image slot and the text.
  static constexpr double kImageGap = 2;

  using Swell_vCorvaneBrisko_listviewcell::Swell_vCorvaneBrisko_listviewcell;
  // Not retained: the image list holds its images.
  void setStatusImage(platform::NSImage* image) { status = image; }
  void drawWithFrame(const platform::NSRect& frame, platform::NSView* view) override;

 private:
  platform::NSImage* status = nullptr;
};

// The cell of an owner-drawn list box: the owner's parent draws each row on WM_DRAWITEM.
class Swell_vCorvaneBrisko_ODlistviewcell : public platform::NSCell {
 public:
  void setOwnerControl(Swell_vCorvaneBrisko_listview* owner) {
    m_ownctl = owner;
    m_lastidx = 0;
  }
  void setItemIdx(int index) { m_lastidx = index; }
  void drawInteriorWithFrame(const platform::NSRect& frame, platform::NSView* view) override;

 private:
  Swell_vCorvaneBrisko_listview* m_ownctl = nullptr;  // the list holds its cells
  int m_lastidx = 0;
};
