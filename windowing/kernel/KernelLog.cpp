#include "windowing/kernel/KernelLog.h"

#include <syslog.h>

#include <cstdarg>
#include <cstdio>

namespace swell {

void logDiagnostic(const char* format, ...) {
  char message[512];
  va_list args;
  va_start(args, format);
  std::vsnprintf(message, sizeof(message), format, args);
  va_end(args);
  syslog(LOG_USER | LOG_WARNING, "swell-cocoa: %s", message);
}

}  // namespace swell
