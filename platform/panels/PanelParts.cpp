#include "platform/panels/PanelParts.h"

#include <algorithm>

#include "platform/core/TextField.h"

namespace platform {

NSTextField* addLabel(NSView* parent, const std::string& text, const NSRect& frame,
                      NSTextAlignment alignment) {
  auto* label = new NSTextField(frame);
  label->setEditable(false);
  label->setSelectable(false);
  label->setBordered(false);
  label->setBezeled(false);
  label->setDrawsBackground(false);
  label->setAlignment(alignment);
  label->setStringValue(text);
  parent->addSubview(label);
  label->release();
  return label;
}

void replaceAccessoryView(Ref<NSView>& slot, NSView* view, NSView* content) {
  if (view == slot.get()) return;
  Ref<NSView> keep(view);
  if (slot) slot->removeFromSuperview();
  slot = view;
  if (view) content->addSubview(view);
}

ChooserPanel::ChooserPanel(const std::string& title, double width, double margin)
    : NSPanel(NSMakeRect(0, 0, width, width), NSWindowStyleMaskTitled | NSWindowStyleMaskClosable),
      mWidth(width),
      mMargin(margin) {
  setReleasedWhenClosed(false);
  setTitle(title);
  auto* content = new NSView(NSMakeRect(0, 0, width, width));
  setContentView(content);
  content->release();
}

void ChooserPanel::setAccessoryView(NSView* view) {
  replaceAccessoryView(mAccessory, view, contentView());
  layoutPanel();
}

double ChooserPanel::panelWidth() const {
  return mAccessory ? std::max(mWidth, mAccessory->frame().size.width) : mWidth;
}

double ChooserPanel::accessoryHeight() const {
  return mAccessory ? mAccessory->frame().size.height + mMargin : 0;
}

double ChooserPanel::placeAccessory(double width, double y) {
  if (!mAccessory) return y;
  NSSize size = mAccessory->frame().size;
  mAccessory->setFrame(NSMakeRect((width - size.width) / 2, y, size.width, size.height));
  return y + size.height + mMargin;
}

}  // namespace platform
