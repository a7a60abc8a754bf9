#pragma once

// Diagnostics of the ini-file functions. The functions report failure only by their
// results, as their Win32 namesakes do; the reason goes to the system log.

namespace swell {

// Logs one line, prefixed as every diagnostic of the windowing layer is.
void logIniProblem(const char* format, ...) __attribute__((format(printf, 1, 2)));

}  // namespace swell
