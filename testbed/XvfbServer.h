#pragma once

#include <sys/types.h>

#include <string>
#include <vector>

namespace testbed {

// An Xvfb server of the program's own, on a display it picks itself (-displayfd), stopped
// when this ends. When Xvfb cannot start, running() is false and whyNot() says why, so a
// test or a benchmark can skip with that message.
class XvfbServer {
 public:
  // Extra arguments go to Xvfb (such as "-extension" "MIT-SHM").
  explicit XvfbServer(std::vector<std::string> extraArguments = {});
  ~XvfbServer();
  XvfbServer(const XvfbServer&) = delete;
  XvfbServer& operator=(const XvfbServer&) = delete;

  bool running() const { return !mDisplay.empty(); }
  const std::string& whyNot() const { return mError; }
  // ":N"
  const std::string& display() const { return mDisplay; }

  // Runs a program (found on PATH) with DISPLAY naming this server; its exit status, or
  // -1 when it could not run.
  int run(const std::vector<std::string>& argv) const;

  static constexpr int kWidth = 1280;
  static constexpr int kHeight = 800;

 private:
  pid_t mPid = -1;
  std::string mDisplay;
  std::string mError;
};

}  // namespace testbed
