#pragma once

#include <memory>

#include "platform/display/DisplayBackend.h"

namespace platform {

// The X11 backend on the named display (DISPLAY when null); null when the server does
// not answer.
std::unique_ptr<DisplayBackend> makeX11DisplayBackend(const char* displayName = nullptr);

}  // namespace platform
