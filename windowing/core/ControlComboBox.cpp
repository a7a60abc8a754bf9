// The combo box behaves as an edit field where the user types: it tells its parent when it
// takes the focus, and its context menu can be switched off.

#include "windowing/core/ControlComboBox.h"
#include "platform/Menu.h"
#include "windowing/core/SendMessage.h"

bool Swell_vCorvaneBrisko_cbox::becomeFirstResponder() {
  if (!NSComboBox::becomeFirstResponder()) return false;
  swell::notifyEditFocus(this);
  return true;
}

platform::NSMenu* Swell_vCorvaneBrisko_cbox::textViewMenuForEvent(platform::NSTextView* view,
                                                                  platform::NSMenu* menu,
                                                                  const platform::NSEvent& event,
                                                                  long charIndex) {
  if (m_disable_menu) return nullptr;
  return NSComboBox::textViewMenuForEvent(view, menu, event, charIndex);
}
