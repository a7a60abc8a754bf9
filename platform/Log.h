#pragma once

#include <functional>
#include <string>

namespace platform {

// Diagnostics of the library. They go to standard error unless a sink is installed;
// tests install one to check that a refused input was reported.
using LogSink = std::function<void(const std::string& line)>;

void logDiagnostic(const char* format, ...) __attribute__((format(printf, 1, 2)));

// Installs a sink (an empty function restores standard error); returns the previous one.
LogSink setLogSink(LogSink sink);

}  // namespace platform
