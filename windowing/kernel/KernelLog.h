#pragma once

// Diagnostics of the kernel emulation go to the system log with the windowing
// layer's prefix, so a caller's bad handle or a failed load leaves a trace
// without the call itself doing more than return its failure value.

namespace swell {

void logDiagnostic(const char* format, ...) __attribute__((format(printf, 1, 2)));

}  // namespace swell
