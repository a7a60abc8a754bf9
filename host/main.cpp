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
  return SWELL_ApplicationMain(argc, argv);
}
