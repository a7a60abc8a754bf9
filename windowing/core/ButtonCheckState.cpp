#include "windowing/core/ButtonCheckState.h"

#include "platform/core/Button.h"

namespace swell {

int buttonCheckState(const platform::NSButton* button) {
  switch (button->state()) {
    case platform::NSControlStateValueMixed:
      return BST_INDETERMINATE;
    case platform::NSControlStateValueOff:
      return BST_UNCHECKED;
    default:
      return BST_CHECKED;
  }
}

void setButtonCheckState(platform::NSButton* button, WPARAM state) {
  if (state & BST_INDETERMINATE) {
    button->setAllowsMixedState(true);
    button->setState(platform::NSControlStateValueMixed);
  } else {
    button->setState((state & BST_CHECKED) ? platform::NSControlStateValueOn
                                           : platform::NSControlStateValueOff);
  }
}

}  // namespace swell
