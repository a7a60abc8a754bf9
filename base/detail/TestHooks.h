#pragma once

// What tests reach inside base and programs have no use for: the capture of logged lines, so
// that a test can check that a refused input was reported.

#include <cstddef>
#include <mutex>
#include <string>
#include <string_view>
#include <vector>

#include "base/Log.h"

namespace base {

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
