#include "graphics/GraphicsLog.h"

#include <atomic>
#include <cstdarg>
#include <cstdio>

namespace iplug {
namespace igraphics {

namespace {
std::atomic<int> gLogCount{0};
}

void GraphicsLog(const char* fmt, ...) {
  char line[512];
  va_list args;
  va_start(args, fmt);
  std::vsnprintf(line, sizeof(line), fmt, args);
  va_end(args);
  std::fprintf(stderr, "graphics: %s\n", line);
  gLogCount.fetch_add(1);
}

int GraphicsLogCount() {
  return gLogCount.load();
}

}  // namespace igraphics
}  // namespace iplug
