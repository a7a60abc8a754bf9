#pragma once

#include <cstdint>
#include <vector>

#include "platform/ComboBox.h"
#include "windowing/core/DirtyMarking.h"
#include "windowing/core/WindowInterfaces.h"

// The layer's editable combo box: a native combo box with the Win32 style bits it was
// created with, one 64-bit value per entry (kept index-parallel to the entries), and
// the index of the entry last known to be selected, against which the parent drops a
// selection notification that changes nothing.
class Swell_vCorvaneBrisko_cbox : public SwellDirtyMarking<platform::NSComboBox>,
                                  public SwellStyleHolder {
 public:
  using SwellDirtyMarking<platform::NSComboBox>::SwellDirtyMarking;

  const char* swellGetClass() const { return "combobox"; }
  int getSwellStyle() const { return m_style; }
  void setSwellStyle(int style) { m_style = style; }
  LONG swellGetStyle() const override { return m_style; }
  void swellSetStyle(LONG style) override { m_style = style; }
  // Tells the parent window with EN_SETFOCUS, as the edit fields do.
  bool becomeFirstResponder() override;
  void swellDisableContextMenu(bool disable) { m_disable_menu = disable; }
  // The field editor's context menu: none while disabled.
  platform::NSMenu* textViewMenuForEvent(platform::NSTextView* view, platform::NSMenu* menu,
                                         const platform::NSEvent& event, long charIndex) override;

  std::vector<std::int64_t> m_ids;
  int m_ignore_selchg = -1;

 private:
  int m_style = 0;
  bool m_disable_menu = false;
};
