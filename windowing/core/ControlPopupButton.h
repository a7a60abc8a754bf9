#pragma once

#include "platform/PopUpButton.h"
#include "windowing/core/DirtyMarking.h"
#include "windowing/core/WindowInterfaces.h"

// The layer's drop-down list: a native popup button with the Win32 style bits it was
// created with. Item values live in the items' represented objects.
class Swell_vCorvaneBrisko_pub : public SwellDirtyMarking<platform::NSPopUpButton>,
                                 public SwellStyleHolder {
 public:
  using SwellDirtyMarking<platform::NSPopUpButton>::SwellDirtyMarking;

  const char* swellGetClass() const { return "combobox"; }
  int getSwellStyle() const { return m_style; }
  void setSwellStyle(int style) { m_style = style; }
  LONG swellGetStyle() const override { return m_style; }
  void swellSetStyle(LONG style) override { m_style = style; }

 private:
  int m_style = 0;
};
