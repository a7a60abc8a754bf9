#pragma once

// A window handle is the object's address. A handle is only turned back into an object after
// the live-object registry confirmed it, so a stale or foreign handle is refused instead of
// touched. Every room of the layer converts through these.

#include "platform/objects/Object.h"
#include "windowing/Win32Types.h"

namespace swell {

inline HWND handleFromObject(const platform::NSObject* object) {
  return reinterpret_cast<HWND>(const_cast<platform::NSObject*>(object));
}
inline platform::NSObject* objectFromHandle(HWND hwnd) {
  return platform::liveObject(hwnd);
}
template <class T>
T* objectFromHandleAs(HWND hwnd) {
  return platform::liveObjectAs<T>(hwnd);
}

}  // namespace swell
