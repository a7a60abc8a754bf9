#pragma once

#include "platform/core/View.h"

namespace platform {

// A document view with a header that the scroll view shows above its clip view (the
// column titles of a table), asked each time the scroll view lays itself out; told when it
// goes into the clip view and when the clip view changes size, so that it can fill it.
class NSScrollViewHeaderSource {
 public:
  virtual ~NSScrollViewHeaderSource() = default;
  virtual NSView* scrollHeaderView() const = 0;
  virtual void clipViewDidResize() {}
};

// The view that shows part of a document view; its bounds origin is the scroll offset.
class NSClipView : public NSView {
 public:
  using NSView::NSView;
  NSView* documentView() const { return mDocument; }
  void setDocumentView(NSView* view);
  bool isFlipped() const override;

 protected:
  void willRemoveSubview(NSView* subview) override;

 private:
  NSView* mDocument = nullptr;  // held as a subview
};

// A clip view with optional scrollers around it.
class NSScrollView : public NSView {
 public:
  explicit NSScrollView(const NSRect& frame = {});
  NSClipView* contentView() const { return mClip; }
  NSView* documentView() const { return mClip->documentView(); }
  void setDocumentView(NSView* view) { mClip->setDocumentView(view); }
  bool hasVerticalScroller() const { return mVertical; }
  void setHasVerticalScroller(bool has);
  bool hasHorizontalScroller() const { return mHorizontal; }
  void setHasHorizontalScroller(bool has);
  // The clip view's size: the frame less the scrollers and the document's header.
  NSSize contentSize() const;
  void setFrame(const NSRect& frame) override;
  // Lays out the header and the clip view again.
  void tile();
  static constexpr double kScrollerWidth = 15;

 protected:
  void willRemoveSubview(NSView* subview) override;

 private:
  NSView* documentHeader() const;
  NSClipView* mClip;               // held as a subview
  NSView* mShownHeader = nullptr;  // held as a subview: the header tile() put in
  bool mVertical = false;
  bool mHorizontal = false;
};

}  // namespace platform
