#include "platform/Control.h"

namespace platform {

void NSControl::setStringValue(std::string value) {
  if (value == mString) return;
  mString = std::move(value);
  setNeedsDisplay(true);
}

bool NSControl::sendAction() {
  auto* target = dynamic_cast<ActionTarget*>(mTarget);
  if (!target || !mEnabled) return false;
  Ref<NSControl> keep(this);
  target->performAction(mAction, this);
  return true;
}

}  // namespace platform
