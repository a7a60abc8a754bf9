#pragma once

#include <functional>

namespace platform {

// Worker threads. The application turns multithreaded with the first thread started
// here and stays so; code that shares objects between threads checks that first.
class NSThread {
 public:
  // Starts a detached thread that runs the function and ends. False, with a
  // diagnostic, when the system refuses a thread.
  static bool detachNewThread(std::function<void()> body);
  static bool isMultiThreaded();
  static bool isMainThread();
};

}  // namespace platform
