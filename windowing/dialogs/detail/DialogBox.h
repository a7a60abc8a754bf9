#pragma once

#include "windowing/core/TopLevelWindow.h"

// The modal dialog panel that SWELL_DialogBox runs; it carries the result EndDialog
// gives it. It is not released when closed: SWELL_DialogBox holds it until it has
// read the result.
class Swell_vCorvaneBrisko_dialogbox : public SwellTopLevelWindowBase<platform::NSPanel>,
                                       public SwellModalResultHolder {
 public:
  // Makes the panel, centred over its owner (over the screen without one), with its content
  // view (shown at once); WM_INITDIALOG runs in here, before any modal loop. The caller owns
  // the result.
  static Swell_vCorvaneBrisko_dialogbox* initDialogBox(const SWELL_DialogResourceIndex* resstate,
                                                       HWND parent, DLGPROC dlgproc, LPARAM param);

  void swellSetModalRetVal(int value) override {
    m_rv = value;
    m_hasrv = true;
  }
  int swellGetModalRetVal() const override { return m_rv; }
  bool swellHasModalRetVal() const override { return m_hasrv; }

 protected:
  HMENU menuForKeyStatus() override;

 private:
  Swell_vCorvaneBrisko_dialogbox(const platform::NSRect& content, unsigned style);
  int m_rv = 0;
  bool m_hasrv = false;
};
