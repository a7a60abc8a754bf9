#pragma once

// The one logger of the project. A diagnostic is one line, "<module>: <message>", written to
// standard error; while a LogCapture is alive the lines go to it instead, so a test can check
// that a refused input was reported. The system log is an optional second destination.

#include <cstddef>
#include <mutex>
#include <string>
#include <string_view>
#include <vector>

namespace base {

enum class LogLevel { Info, Warning, Error };

// Logs one line prefixed with the module's name (e.g. "graphics", "swell-cocoa").
void log(LogLevel level, const char* module, const char* format, ...)
    __attribute__((format(printf, 3, 4)));
// Logs a warning, the level of a refused or repaired input.
void warn(const char* module, const char* format, ...) __attribute__((format(printf, 2, 3)));

// Sends every line to the system log as well (off until turned on), at the priority of its level.
void setSystemLog(bool enabled);

// Collects the lines logged from any thread while it is alive, in place of standard error.
// Captures nest: the innermost one alive takes the lines.
class LogCapture {
 public:
  LogCapture();
  ~LogCapture();
  LogCapture(const LogCapture&) = delete;
  LogCapture& operator=(const LogCapture&) = delete;

  std::vector<std::string> lines() const;
  std::size_t count() const;
  // True when some line holds the text.
  bool contains(std::string_view text) const;
  void clear();

 private:
  friend void writeLine(LogLevel, const std::string&);
  void append(const std::string& line);

  mutable std::mutex mMutex;
  std::vector<std::string> mLines;
  LogCapture* mOuter = nullptr;
};

}  // namespace base
