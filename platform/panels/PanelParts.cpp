#include "platform/panels/PanelParts.h"

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

}  // namespace platform
