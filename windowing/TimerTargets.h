#pragma once

#include "platform/Object.h"
#include "windowing/Win32Types.h"

// The target of a callback timer: it calls the callback with the window, WM_TIMER,
// the id and the tick count.
class Swell_vCorvaneBrisko_tft : public platform::NSObject {
 public:
  Swell_vCorvaneBrisko_tft* initWithId(UINT_PTR id, HWND hwnd, TIMERPROC callback);
  void SWELL_Timer();
  UINT_PTR timerId() const { return m_timerid; }

 private:
  TIMERPROC m_cb = nullptr;
  HWND m_hwnd = nullptr;
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
