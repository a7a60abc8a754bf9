#pragma once

#include <thread>

namespace platform {

// The main thread: the one that started the program, or the one that created the
// application object. Window work, timers and event dispatch happen there only.
std::thread::id mainThreadId();
bool isMainThread();
void setMainThread(std::thread::id id);

}  // namespace platform
