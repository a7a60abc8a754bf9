#pragma once

#include "windowing/Win32Types.h"

// A static control list: one record per control. A keyword record ("__SWELL_BUTTON"
// and the like) calls that factory; any other record is a class record for
// SWELL_MakeControl (text, id, class name, style, frame, extended style).
struct SWELL_DlgResourceControl {
  const char* first = nullptr;  // keyword, or the control text
  int second = 0;               // default-button flag or alignment, or the control id
  const char* third = nullptr;  // control text, or the Win32 class name
  int fourth = 0;               // control id, or the style
  int x = 0, y = 0, w = 0, h = 0;
  int last = 0;  // style, or the extended style
};

// Creates the controls of the first count records, in order, under the current
// layout state (SWELL_MakeSetCurParms).
void SWELL_GenerateDialogFromList(const void* list, int count);
