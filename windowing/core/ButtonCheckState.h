#pragma once

#include "windowing/Win32Types.h"

namespace platform {
class NSButton;
}

namespace swell {

// The check state of a native button as BM_GETCHECK and IsDlgButtonChecked read it
// (BST_*), and as BM_SETCHECK and CheckDlgButton set it: bit 1 asks for the mixed
// state (which the button is then made to allow), else bit 0 for on or off.
int buttonCheckState(const platform::NSButton* button);
void setButtonCheckState(platform::NSButton* button, WPARAM state);

}  // namespace swell
