#pragma once

#include <memory>

#include "platform/display/DisplayBackend.h"

namespace platform {

// Installs a backend (headless when null). Windows that exist are handed to it: their
// backing stores are made anew and the visible ones shown.
void setDisplayBackend(std::unique_ptr<DisplayBackend> backend);

// Makes the backend of a display that shows windows, on the named display; null when the
// display does not answer.
using DisplayBackendMaker = std::unique_ptr<DisplayBackend> (*)(const char* displayName);
// What a program that shows windows calls at start, before it runs the application: the
// maker's backend when DISPLAY names a display that answers, else headless with a log
// line. Does nothing once a backend was installed or chosen.
void chooseDisplayBackend(DisplayBackendMaker maker);

}  // namespace platform
