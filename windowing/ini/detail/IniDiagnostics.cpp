#include "windowing/ini/detail/IniDiagnostics.h"

#include <syslog.h>

#include <cstdarg>
#include <cstdio>

namespace swell {

void logIniProblem(const char* format, ...) {
  char message[1024];
  va_list args;
  va_start(args, format);
  std::vsnprintf(message, sizeof message, format, args);
  va_end(args);
  syslog(LOG_WARNING, "swell-cocoa: %s", message);
}

}  // namespace swell
