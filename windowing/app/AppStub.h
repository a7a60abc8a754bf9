#pragma once

#include "windowing/Win32Types.h"

// The application callback, defined by the host program: a code and two arguments
// (codes SWELLAPP_*). A program without one runs as a host that answers 0 to every
// code.
INT_PTR AppMainProc(int code, INT_PTR parm1, INT_PTR parm2) __attribute__((weak));

// The program's start-up: SWELLApplication as the application class, one controller
// that loads the host (code 1), launching (code 2), then the main loop until the
// application terminates. Returns 0, or 1 when the application object already exists
// as another class.
int SWELL_ApplicationMain(int argc, char** argv);
