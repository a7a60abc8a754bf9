#include "platform/ScrollView.h"

namespace platform {

void NSClipView::setDocumentView(NSView* view) {
  if (view == mDocument) return;
  if (mDocument) mDocument->removeFromSuperview();
  mDocument = view;
  if (view) addSubview(view);
}

bool NSClipView::isFlipped() const {
  return mDocument ? mDocument->isFlipped() : false;
}

void NSClipView::willRemoveSubview(NSView* subview) {
  if (subview == mDocument) mDocument = nullptr;
}

NSScrollView::NSScrollView(const NSRect& frame) : NSView(frame), mClip(new NSClipView) {
  addSubview(mClip);
  mClip->release();
  tile();
}

void NSScrollView::setHasVerticalScroller(bool has) {
  mVertical = has;
  tile();
}

void NSScrollView::setHasHorizontalScroller(bool has) {
  mHorizontal = has;
  tile();
}

NSSize NSScrollView::contentSize() const {
  NSSize s = frame().size;
  if (mVertical) s.width -= kScrollerWidth;
  if (mHorizontal) s.height -= kScrollerWidth;
  if (s.width < 0) s.width = 0;
  if (s.height < 0) s.height = 0;
  return s;
}

void NSScrollView::setFrame(const NSRect& frame) {
  NSView::setFrame(frame);
  tile();
}

void NSScrollView::tile() {
  NSSize s = contentSize();
  // The clip view sits at the top left, leaving the scrollers at the right and bottom.
  mClip->setFrame(NSMakeRect(0, frame().size.height - s.height, s.width, s.height));
}

}  // namespace platform
