#include "support/X11Harness.h"

#include <poll.h>

#include <chrono>

#include "platform/DisplayBackend.h"
#include "platform/x11/X11Backend.h"

namespace testsupport {

namespace {
double realMs() {
  using namespace std::chrono;
  return duration<double, std::milli>(steady_clock::now().time_since_epoch()).count();
}
}  // namespace

X11Harness::X11Harness(std::vector<std::string> xvfbArguments, bool withWindowManager)
    : mServer(std::make_unique<testbed::XvfbServer>(std::move(xvfbArguments))),
      mPlatform(std::make_unique<PlatformHarness>()) {
  if (!mServer->running()) {
    mWhyNot = mServer->whyNot();
    return;
  }
  if (withWindowManager) {
    mWindowManager = std::make_unique<testbed::WindowManager>(mServer->display());
    if (!mWindowManager->running()) {
      mWhyNot = mWindowManager->whyNot();
      return;
    }
  }
  auto backend = platform::x11::X11Backend::connect(mServer->display().c_str());
  if (!backend) return;  // a fault: the server runs but does not answer
  mBackend = backend.get();
  platform::setDisplayBackend(std::move(backend));
}

X11Harness::~X11Harness() {
  // Windows close while the display is still there, then the display goes before Xvfb.
  mPlatform.reset();
  if (mBackend) platform::setDisplayBackend(nullptr);
  if (mOther) XCloseDisplay(mOther);
  mWindowManager.reset();
  mServer.reset();
}

Display* X11Harness::display() const {
  return mBackend->display();
}

Display* X11Harness::otherClient() {
  if (!mOther) mOther = XOpenDisplay(mServer->display().c_str());
  return mOther;
}

bool X11Harness::pumpUntil(const std::function<bool()>& done, double limitMs) {
  double end = realMs() + limitMs;
  for (;;) {
    mBackend->processEvents();
    mPlatform->runUntilIdle();
    if (done()) return true;
    double left = end - realMs();
    if (left <= 0) return false;
    pollfd fd{mBackend->eventDescriptor(), POLLIN, 0};
    poll(&fd, 1, static_cast<int>(std::min(left, 20.0)) + 1);
  }
}

void X11Harness::settle() {
  XSync(display(), False);
  pumpUntil([] { return false; }, 50);
}

bool X11Harness::xdotool(const std::vector<std::string>& arguments) {
  std::vector<std::string> argv = {"xdotool"};
  argv.insert(argv.end(), arguments.begin(), arguments.end());
  bool ok = mServer->run(argv) == 0;
  XSync(display(), False);
  return ok;
}

}  // namespace testsupport
