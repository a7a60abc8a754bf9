#pragma once

#include <X11/Xlib.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "support/PlatformHarness.h"
#include "testbed/WindowManager.h"
#include "testbed/XvfbServer.h"

namespace platform::x11 {
class X11Backend;
}

namespace testsupport {

// A platform harness whose display is the X11 backend on an Xvfb of the test's own. X
// events travel in real time: pumpUntil() reads them and dispatches what they queue.
// Tests skip (ready() false, whyNot() says why) only when Xvfb cannot start, or the window
// manager asked for cannot.
class X11Harness {
 public:
  // With withWindowManager, a reparenting window manager (openbox) runs on the server
  // before the backend connects.
  explicit X11Harness(std::vector<std::string> xvfbArguments = {}, bool withWindowManager = false);
  ~X11Harness();

  bool ready() const { return mBackend != nullptr; }
  // Why the harness is not ready; empty when it failed for another reason (a fault).
  const std::string& whyNot() const { return mWhyNot; }

  PlatformHarness& platform() { return *mPlatform; }
  platform::x11::X11Backend& backend() { return *mBackend; }
  Display* display() const;
  testbed::XvfbServer& server() { return *mServer; }  // until stopServer()

  // A connection of its own to the server: another program.
  Display* otherClient();

  // Reads X events and dispatches the events they queue until done() holds or the time
  // (real milliseconds) runs out; returns done().
  bool pumpUntil(const std::function<bool()>& done, double limitMs = 5000);
  // Pumps until the server has answered everything sent so far.
  void settle();
  // Ends the server under the program, as when the display goes away.
  void stopServer() {
    mWindowManager.reset();
    mServer.reset();
  }
  // Runs xdotool with the arguments on this server; true when it succeeded.
  bool xdotool(const std::vector<std::string>& arguments);

 private:
  std::unique_ptr<testbed::XvfbServer> mServer;
  std::unique_ptr<testbed::WindowManager> mWindowManager;
  std::unique_ptr<PlatformHarness> mPlatform;
  platform::x11::X11Backend* mBackend = nullptr;  // owned by the platform
  Display* mOther = nullptr;
  std::string mWhyNot;
};

}  // namespace testsupport
