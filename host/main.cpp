#include <csignal>
#include <cstdlib>
#include <memory>

#include "base/Log.h"
#include "host/AppMain.h"
#include "platform/DisplayBackend.h"

namespace {

void onQuitSignal(int) {
  host::RequestQuit();
}

}  // namespace

int main(int argc, char** argv) {
  // A desktop program without a screen would run with no window anyone can reach: it ends
  // with a failure instead.
  const char* display = std::getenv("DISPLAY");
  if (!display || !*display) {
    base::log(base::LogLevel::Error, "host", "DISPLAY is not set; the program needs a display");
    return 1;
  }
  std::unique_ptr<platform::DisplayBackend> x11 = platform::makeX11DisplayBackend(display);
  if (!x11) {
    base::log(base::LogLevel::Error, "host",
              "the X server \"%s\" does not answer; the program needs a display", display);
    return 1;
  }
  platform::setDisplayBackend(std::move(x11));

  struct sigaction action = {};
  action.sa_handler = onQuitSignal;
  sigemptyset(&action.sa_mask);
  sigaction(SIGINT, &action, nullptr);
  sigaction(SIGTERM, &action, nullptr);
  const int status = SWELL_ApplicationMain(argc, argv);
  host::ReleaseClosedHost();
  return status;
}
