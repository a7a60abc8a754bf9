#pragma once

// Diagnostics of the graphics core: bad input and failed resources are reported here rather
// than drawn wrongly or crashed on.

namespace iplug {
namespace igraphics {

// Writes one line "graphics: <message>" to standard error.
void GraphicsLog(const char* fmt, ...) __attribute__((format(printf, 1, 2)));

// The number of lines written so far; tests compare it before and after an operation.
int GraphicsLogCount();

}  // namespace igraphics
}  // namespace iplug
