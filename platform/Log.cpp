#include "platform/Log.h"

#include <cstdarg>
#include <cstdio>
#include <mutex>

namespace platform {

namespace {
std::mutex& sinkMutex() {
  static std::mutex m;
  return m;
}
LogSink& sinkSlot() {
  static LogSink sink;
  return sink;
}
}  // namespace

void logDiagnostic(const char* format, ...) {
  char buffer[1024];
  va_list args;
  va_start(args, format);
  std::vsnprintf(buffer, sizeof buffer, format, args);
  va_end(args);
  std::lock_guard<std::mutex> lock(sinkMutex());
  if (sinkSlot()) {
    sinkSlot()(buffer);
  } else {
    std::fprintf(stderr, "%s\n", buffer);
  }
}

LogSink setLogSink(LogSink sink) {
  std::lock_guard<std::mutex> lock(sinkMutex());
  LogSink previous = std::move(sinkSlot());
  sinkSlot() = std::move(sink);
  return previous;
}

}  // namespace platform
