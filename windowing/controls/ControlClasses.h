#pragma once

#include <cstdint>

#include "platform/Box.h"
#include "platform/TextField.h"
#include "platform/TextView.h"
#include "windowing/Win32Types.h"
#include "windowing/core/DirtyMarking.h"
#include "windowing/core/Painting.h"
#include "windowing/core/WindowInterfaces.h"

// Switches the text controls' context menu off and on.
class SwellContextMenuSwitch {
 public:
  virtual ~SwellContextMenuSwitch() = default;
  virtual void swellDisableContextMenu(bool disable) = 0;
};

// A single-line edit field, or a label when neither editable nor selectable.
class Swell_vCorvaneBrisko_textfield : public SwellDirtyMarking<platform::NSTextField>,
                                       public SwellContextMenuSwitch {
 public:
  using SwellDirtyMarking<platform::NSTextField>::SwellDirtyMarking;

  const char* swellGetClass() const { return isSelectable() ? "Edit" : "Static"; }
  bool becomeFirstResponder() override;
  // Derives the colours: mode >= 0 forgets colours the owner set and records whether the
  // dark appearance is in use; -1 only derives again (after enabling or disabling).
  void initColors(int mode);
  void drawRect(const platform::NSRect& dirtyRect) override;
  void swellDisableContextMenu(bool disable) override { m_disable_menu = disable; }
  // The field editor's context menu: none while disabled.
  platform::NSMenu* textViewMenuForEvent(platform::NSTextView* view, platform::NSMenu* menu,
                                         const platform::NSEvent& event, long charIndex) override;

 private:
  bool m_last_dark_mode = false;
  bool m_ctlcolor_set = false;
  bool m_disable_menu = false;
};

// A multi-line edit field; it answers the edit messages itself.
class Swell_vCorvaneBrisko_textview : public SwellDirtyMarking<platform::NSTextView>,
                                      public SwellMessageEntry,
                                      public SwellContextMenuSwitch {
 public:
  using SwellDirtyMarking<platform::NSTextView>::SwellDirtyMarking;

  const char* swellGetClass() const { return "Edit"; }
  long tag() const override { return static_cast<long>(m_tag); }
  void setTag(std::int64_t tag) { m_tag = tag; }
  bool becomeFirstResponder() override;
  LRESULT onSwellMessage(UINT msg, WPARAM wParam, LPARAM lParam) override;
  void swellDisableContextMenu(bool disable) override { m_disable_menu = disable; }
  bool swellWantsContextMenu() const { return !m_disable_menu; }
  // No context menu while it is switched off.
  platform::Ref<platform::NSMenu> menuForEvent(const platform::NSEvent& event) override;

 private:
  std::int64_t m_tag = 0;
  bool m_disable_menu = false;
};

// A group box (etch mode 0) or an etched line or frame of a static control.
class Swell_vCorvaneBrisko_box : public SwellDirtyMarking<platform::NSBox>, public SwellEtchBox {
 public:
  using SwellDirtyMarking<platform::NSBox>::SwellDirtyMarking;

  const char* swellGetClass() const { return m_etch_mode ? "Static" : "Button"; }
  long tag() const override { return static_cast<long>(m_tag); }
  void setTag(std::int64_t tag) { m_tag = tag; }
  int swellIsEtchBox() const override { return m_etch_mode; }
  void setEtchMode(int mode) { m_etch_mode = mode; }
  void setTitleCentred(bool centred) { m_title_centred = centred; }
  void drawRect(const platform::NSRect& dirtyRect) override;

 private:
  std::int64_t m_tag = 0;
  int m_etch_mode = 0;
  bool m_title_centred = false;
};
