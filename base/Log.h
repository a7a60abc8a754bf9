#pragma once

// The one logger of the project. A diagnostic is one line, "<module>: <message>", written to
// standard error; while a test captures the lines (base/detail/TestHooks.h) they go to the
// capture instead. The system log is an optional second destination.

namespace base {

enum class LogLevel { Info, Warning, Error };

// Logs one line prefixed with the module's name (e.g. "graphics", "swell-cocoa").
void log(LogLevel level, const char* module, const char* format, ...)
    __attribute__((format(printf, 3, 4)));
// Logs a warning, the level of a refused or repaired input.
void warn(const char* module, const char* format, ...) __attribute__((format(printf, 2, 3)));

// Sends every line to the system log as well (off until turned on), at the priority of its level.
void setSystemLog(bool enabled);

}  // namespace base
