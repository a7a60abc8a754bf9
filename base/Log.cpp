#include "base/Log.h"

#include <syslog.h>

#include <algorithm>
#include <cstdarg>
#include <cstdio>
#include <mutex>
#include <string>

#include "base/detail/TestHooks.h"

namespace base {

namespace {

// Guards the capture chain, the system-log switch and standard error, so lines from
// different threads never interleave and a capture never goes away while it takes one.
std::mutex& logMutex() {
  static std::mutex mutex;
  return mutex;
}
LogCapture* gInnermostCapture = nullptr;
bool gSystemLog = false;

int systemLogPriority(LogLevel level) {
  switch (level) {
    case LogLevel::Info:
      return LOG_INFO;
    case LogLevel::Warning:
      return LOG_WARNING;
    case LogLevel::Error:
      return LOG_ERR;
  }
  return LOG_WARNING;
}

std::string formatLine(const char* module, const char* format, va_list args) {
  std::string line = module && *module ? std::string(module) + ": " : std::string();
  if (!format) return line;
  va_list measure;
  va_copy(measure, args);
  const int length = std::vsnprintf(nullptr, 0, format, measure);
  va_end(measure);
  if (length <= 0) return line;
  const std::size_t prefix = line.size();
  line.resize(prefix + static_cast<std::size_t>(length) + 1);
  std::vsnprintf(line.data() + prefix, static_cast<std::size_t>(length) + 1, format, args);
  line.resize(prefix + static_cast<std::size_t>(length));
  return line;
}

}  // namespace

void writeLine(LogLevel level, const std::string& line) {
  std::lock_guard<std::mutex> lock(logMutex());
  if (gSystemLog) syslog(LOG_USER | systemLogPriority(level), "%s", line.c_str());
  if (gInnermostCapture) {
    gInnermostCapture->append(line);
  } else {
    std::fprintf(stderr, "%s\n", line.c_str());
  }
}

void log(LogLevel level, const char* module, const char* format, ...) {
  va_list args;
  va_start(args, format);
  const std::string line = formatLine(module, format, args);
  va_end(args);
  writeLine(level, line);
}

void warn(const char* module, const char* format, ...) {
  va_list args;
  va_start(args, format);
  const std::string line = formatLine(module, format, args);
  va_end(args);
  writeLine(LogLevel::Warning, line);
}

void setSystemLog(bool enabled) {
  std::lock_guard<std::mutex> lock(logMutex());
  gSystemLog = enabled;
}

LogCapture::LogCapture() {
  std::lock_guard<std::mutex> lock(logMutex());
  mOuter = gInnermostCapture;
  gInnermostCapture = this;
}

LogCapture::~LogCapture() {
  std::lock_guard<std::mutex> lock(logMutex());
  // Captures usually end innermost first; one that ends early is unlinked where it stands.
  for (LogCapture** link = &gInnermostCapture; *link; link = &(*link)->mOuter) {
    if (*link == this) {
      *link = mOuter;
      break;
    }
  }
}

std::vector<std::string> LogCapture::lines() const {
  std::lock_guard<std::mutex> lock(mMutex);
  return mLines;
}

std::size_t LogCapture::count() const {
  std::lock_guard<std::mutex> lock(mMutex);
  return mLines.size();
}

bool LogCapture::contains(std::string_view text) const {
  std::lock_guard<std::mutex> lock(mMutex);
  return std::any_of(mLines.begin(), mLines.end(),
                     [&](const std::string& line) { return line.find(text) != std::string::npos; });
}

void LogCapture::clear() {
  std::lock_guard<std::mutex> lock(mMutex);
  mLines.clear();
}

void LogCapture::append(const std::string& line) {
  std::lock_guard<std::mutex> lock(mMutex);
  mLines.push_back(line);
}

}  // namespace base
