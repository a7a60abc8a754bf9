#pragma once

#include <string>

#include "platform/core/Control.h"
#include "platform/objects/Object.h"

namespace platform {

class NSTextField;

// Parts the modal panels share.

// A label (a field neither editable nor selectable, without border or background) added
// to the parent, which holds it.
NSTextField* addLabel(NSView* parent, const std::string& text, const NSRect& frame,
                      NSTextAlignment alignment = NSTextAlignmentLeft);

// Puts the view in a panel's accessory slot: the view held there before leaves the
// content view, the new one (null for none) joins it.
void replaceAccessoryView(Ref<NSView>& slot, NSView* view, NSView* content);

}  // namespace platform
