#pragma once

#include <sys/types.h>

#include <string>

namespace testbed {

// A window manager of the program's own on an X server's display (by default openbox,
// which puts each window into a frame of its own), stopped when this ends. running()
// turns true once the manager has announced itself on the root window; when it cannot
// start, whyNot() says why, so a test can skip with that message.
class WindowManager {
 public:
  explicit WindowManager(const std::string& display, std::string program = "openbox");
  ~WindowManager();
  WindowManager(const WindowManager&) = delete;
  WindowManager& operator=(const WindowManager&) = delete;

  bool running() const { return mRunning; }
  const std::string& whyNot() const { return mError; }

 private:
  pid_t mPid = -1;
  bool mRunning = false;
  std::string mError;
};

}  // namespace testbed
