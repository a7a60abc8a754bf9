#pragma once

#include <cstdint>

#include "platform/Object.h"
#include "windowing/Win32Types.h"

// The target of a callback timer: it calls the callback with the window, WM_TIMER,
// the id and the tick count. A timer set with a window ends with that window, not with
// whatever is later made at its address.
class Swell_vCorvaneBrisko_tft : public platform::NSObject {
 public:
  Swell_vCorvaneBrisko_tft* initWithId(UINT_PTR id, HWND hwnd, TIMERPROC callback);
  void SWELL_Timer();
  // True when the timer was set with a window that has been freed since.
  bool hasLostItsWindow() const;

 private:
  TIMERPROC m_cb = nullptr;
  HWND m_hwnd = nullptr;
  std::uint64_t m_hwndSerial = 0;
  UINT_PTR m_timerid = 0;
};

// Holds one pointer-sized value: a window timer's id, carried as the timer's user info.
class Swell_vCorvaneBrisko_sdh : public platform::NSObject {
 public:
  Swell_vCorvaneBrisko_sdh* initWithVal(INT_PTR value) {
    m_data = value;
    return this;
  }
  INT_PTR getValue() const { return m_data; }

 private:
  INT_PTR m_data = 0;
};
