#include <csignal>

#include "host/AppMain.h"

namespace {

void onQuitSignal(int) {
  host::RequestQuit();
}

}  // namespace

int main(int argc, char** argv) {
  struct sigaction action = {};
  action.sa_handler = onQuitSignal;
  sigemptyset(&action.sa_mask);
  sigaction(SIGINT, &action, nullptr);
  sigaction(SIGTERM, &action, nullptr);
  const int status = SWELL_ApplicationMain(argc, argv);
  host::ReleaseClosedHost();
  return status;
}
