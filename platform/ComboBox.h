#pragma once

#include "platform/TextField.h"

namespace platform {

// An editable text field with a list of items beside it.
class NSComboBox : public NSTextField {
 public:
  using NSTextField::NSTextField;
};

}  // namespace platform
