#include "testbed/WindowManager.h"

#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <fcntl.h>
#include <signal.h>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstdlib>
#include <cstring>
#include <thread>

namespace testbed {

namespace {

constexpr auto kStartLimit = std::chrono::seconds(10);
constexpr auto kPollStep = std::chrono::milliseconds(20);

// Whether a window manager announces itself: _NET_SUPPORTING_WM_CHECK on the root names a
// window.
bool announced(Display* display) {
  Atom check = XInternAtom(display, "_NET_SUPPORTING_WM_CHECK", False);
  Atom type;
  int format;
  unsigned long count = 0, after;
  unsigned char* data = nullptr;
  bool found = XGetWindowProperty(display, DefaultRootWindow(display), check, 0, 1, False,
                                  XA_WINDOW, &type, &format, &count, &after, &data) == Success &&
               data && count == 1;
  if (data) XFree(data);
  return found;
}

// Whether the manager shows a window now: one mapped during its start-up may be framed
// but never shown, so a window of the probe's own is asked for until one shows.
bool showsWindows(Display* display) {
  Window probe = XCreateSimpleWindow(display, DefaultRootWindow(display), 0, 0, 10, 10, 0, 0, 0);
  XMapWindow(display, probe);
  XSync(display, False);
  bool shown = false;
  for (int i = 0; i < 10 && !shown; ++i) {
    std::this_thread::sleep_for(kPollStep);
    XWindowAttributes a{};
    shown = XGetWindowAttributes(display, probe, &a) && a.map_state == IsViewable;
  }
  XDestroyWindow(display, probe);
  XSync(display, False);
  return shown;
}

}  // namespace

WindowManager::WindowManager(const std::string& display, std::string program) {
  Display* connection = XOpenDisplay(display.c_str());
  if (!connection) {
    mError = "no X server on " + display + " for the window manager";
    return;
  }
  // Like the X server: dies with the program and keeps none of its output open.
  mPid = fork();
  if (mPid == 0) {
    prctl(PR_SET_PDEATHSIG, SIGKILL);
    if (getppid() == 1) _exit(127);
    int devNull = open("/dev/null", O_RDWR);
    if (devNull >= 0) {
      dup2(devNull, 0);
      dup2(devNull, 1);
      dup2(devNull, 2);
    }
    setenv("DISPLAY", display.c_str(), 1);
    execlp(program.c_str(), program.c_str(), static_cast<char*>(nullptr));
    _exit(127);
  }
  if (mPid < 0) {
    mError = program + " cannot start: " + std::strerror(errno);
    XCloseDisplay(connection);
    return;
  }
  const auto end = std::chrono::steady_clock::now() + kStartLimit;
  while (std::chrono::steady_clock::now() < end) {
    if (announced(connection) && showsWindows(connection)) {
      mRunning = true;
      break;
    }
    int status;
    if (waitpid(mPid, &status, WNOHANG) == mPid) {
      mPid = -1;
      mError = program + (WIFEXITED(status) && WEXITSTATUS(status) == 127
                              ? " is not installed"
                              : " ended before it managed the screen");
      break;
    }
    std::this_thread::sleep_for(kPollStep);
  }
  if (!mRunning && mError.empty()) mError = program + " did not manage the screen in time";
  XCloseDisplay(connection);
}

WindowManager::~WindowManager() {
  if (mPid <= 0) return;
  kill(mPid, SIGTERM);
  int status;
  waitpid(mPid, &status, 0);
}

}  // namespace testbed
