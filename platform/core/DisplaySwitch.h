#pragma once

#include <memory>

#include "platform/display/DisplayBackend.h"

namespace platform {

// The backend in use: headless until one is chosen or installed.
DisplayBackend& displayBackend();
// Installs a backend (headless when null). Windows that exist are handed to it: their
// backing stores are made anew and the visible ones shown.
void setDisplayBackend(std::unique_ptr<DisplayBackend> backend);

// Makes the backend of a display that shows windows, on the named display; null when the
// display does not answer.
using DisplayBackendMaker = std::unique_ptr<DisplayBackend> (*)(const char* displayName);
// The maker chooseDisplayBackend asks when DISPLAY is set: a program installs the one it is
// built with (none: every program runs headless).
void setDisplayBackendMaker(DisplayBackendMaker maker);
// What programs call at start (the application does, when launching): the installed
// maker's backend when DISPLAY names a display that answers, else headless with a log
// line. Does nothing once a backend was installed or chosen.
void chooseDisplayBackend();

}  // namespace platform
