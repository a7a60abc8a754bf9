#pragma once

#include <string>

#include "platform/Control.h"
#include "platform/Text.h"
#include "platform/View.h"
#include "windowing/Win32Types.h"

namespace swell {

// The layout state the factories share: set by SWELL_MakeSetCurParms, main thread only.
struct ControlLayoutState {
  platform::NSView* parent = nullptr;  // not retained: the dialog being built holds it
  double xscale = 1, yscale = 1;       // yscale < 0: the parent is flipped
  double xtrans = 0, ytrans = 0;
  float parentHeight = 100;
  bool doauto = false;
  bool sizetofit = false;
  int radioGroup = 0;
  double rowRight = 0;
  double rowMiddle = -100;
  double pendingShift = 0;
};
ControlLayoutState& controlLayout();

// The text of a button, label or group box: each '&' dropped and the character after
// it taken literally, unless the text is 1024 bytes or longer.
std::string controlText(const char* text);
// The system font of 8 or 10 points below an x scale of 1.81; none (keep) from there.
void applyFontRule(platform::NSControl* control);
void applyFontRule(platform::NSText* text);
// The common end of a factory: hidden for the sign bit, added to the parent, then the
// pending shift of the row updated.
void finishControl(platform::NSView* control, int style, bool honourHidden = true);
// The target and action of action-sending controls: the parent view.
void setCommandTarget(platform::NSControl* control, int action = 0);

}  // namespace swell
