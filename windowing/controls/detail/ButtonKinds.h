#pragma once

#include "windowing/Win32Types.h"

namespace swell {

// Automatic radio buttons send one of eight actions by their group number, so that a
// window can tell the groups apart.
inline constexpr int kRadioCommandActionBase = 16;
inline constexpr int kRadioCommandActions = 8;

// The "Button" class of SWELL_MakeControl: group boxes, push, check, radio and
// owner-drawn buttons by the style.
HWND makeButtonControl(const char* text, int id, int style, int x, int y, int w, int h);
// The "Static" class: etched boxes and labels.
HWND makeStaticControl(const char* text, int id, int style, int x, int y, int w, int h);

}  // namespace swell
