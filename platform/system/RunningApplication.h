#pragma once

#include <sys/types.h>

#include <functional>

namespace platform {

// Another running application, found by its process id, that can be brought to the
// front. Only a display backend knows the windows of other processes: headless there
// are none, so no application is found.
class NSRunningApplication {
 public:
  // Brings the application of that process to the front; false when no application
  // (no window) of that process is known.
  static bool activateProcess(pid_t pid);

  // Installed by a display backend that can find and raise windows by process id;
  // an empty function restores the headless answer. Returns the previous one.
  using Activator = std::function<bool(pid_t)>;
  static Activator setActivator(Activator activator);
};

}  // namespace platform
