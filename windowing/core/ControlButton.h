#pragma once

#include "platform/Button.h"
#include "windowing/Win32Types.h"
#include "windowing/core/DirtyMarking.h"
#include "windowing/core/WindowInterfaces.h"

// The layer's push button, check box and radio button: a native button that keeps the
// image object set through BM_SETIMAGE, a user value and its radio-group flags.
class Swell_vCorvaneBrisko_button : public SwellDirtyMarking<platform::NSButton>,
                                    public SwellRadioButton {
 public:
  using SwellDirtyMarking<platform::NSButton>::SwellDirtyMarking;

  const char* swellGetClass() const { return "Button"; }
  int swellGetRadioFlags() const override { return m_radioflags; }
  void swellSetRadioFlags(int flags) override { m_radioflags = flags; }
  LONG_PTR getSwellUserData() const { return m_userdata; }
  void setSwellUserData(LONG_PTR data) { m_userdata = data; }
  HGDIOBJ getSwellGDIImage() const { return m_swellGDIimage; }
  void setSwellGDIImage(HGDIOBJ image) { m_swellGDIimage = image; }

 private:
  HGDIOBJ m_swellGDIimage = nullptr;  // not owned: the caller keeps and deletes it
  LONG_PTR m_userdata = 0;
  int m_radioflags = 0;
};
