#include "platform/core/ScrollView.h"

#include <vector>

namespace platform {

void NSClipView::setDocumentView(NSView* view) {
  if (view == mDocument) return;
  if (mDocument) mDocument->removeFromSuperview();
  mDocument = view;
  if (view) addSubview(view);
  if (auto* scroll = dynamic_cast<NSScrollView*>(superview())) scroll->tile();
  if (auto* source = dynamic_cast<NSScrollViewHeaderSource*>(view)) source->clipViewDidResize();
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
  if (NSView* header = documentHeader()) s.height -= header->frame().size.height;
  if (s.width < 0) s.width = 0;
  if (s.height < 0) s.height = 0;
  return s;
}

void NSScrollView::willRemoveSubview(NSView* subview) {
  if (subview == mShownHeader) mShownHeader = nullptr;
}

void NSScrollView::setFrame(const NSRect& frame) {
  NSView::setFrame(frame);
  tile();
}

NSView* NSScrollView::documentHeader() const {
  auto* source = dynamic_cast<NSScrollViewHeaderSource*>(mClip->documentView());
  NSView* header = source ? source->scrollHeaderView() : nullptr;
  return header && !header->isHidden() ? header : nullptr;
}

void NSScrollView::tile() {
  // A header the document no longer shows leaves the scroll view, also when the document
  // shows none or is gone.
  NSView* shown = documentHeader();
  if (mShownHeader && mShownHeader != shown) mShownHeader->removeFromSuperview();
  for (NSView* sub : std::vector<NSView*>(subviews()))
    if (sub != mClip && dynamic_cast<NSScrollViewHeaderSource*>(mClip->documentView()) &&
        sub != shown)
      sub->removeFromSuperview();
  NSSize s = contentSize();
  double top = frame().size.height;
  if (NSView* header = shown) {
    double h = header->frame().size.height;
    if (header->superview() != this) addSubview(header);
    mShownHeader = header;
    header->setFrame(NSMakeRect(0, top - h, s.width, h));
    top -= h;
  }
  // The clip view sits at the top left below the header, leaving the scrollers at the
  // right and bottom.
  const NSSize before = mClip->frame().size;
  mClip->setFrame(NSMakeRect(0, top - s.height, s.width, s.height));
  if (auto* source = dynamic_cast<NSScrollViewHeaderSource*>(mClip->documentView());
      source && mClip->frame().size != before)
    source->clipViewDidResize();
}

}  // namespace platform
