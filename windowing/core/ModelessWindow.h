#pragma once

#include "windowing/core/TopLevelWindow.h"

// The modeless top-level window around a view object: the host's main window.
class Swell_vCorvaneBrisko_modelesswindow : public SwellTopLevelWindowBase<platform::NSWindow> {
 public:
  // Makes the window for a dialog resource (or a bare window), placed 50 points right
  // of and 100 below the top left of the parent's window or the screen area, with its
  // content view made from the resource; the content view's handle is stored through
  // outputHwnd. The window shows when ShowWindow is called.
  static Swell_vCorvaneBrisko_modelesswindow* initModeless(
      const SWELL_DialogResourceIndex* resstate, HWND parent, DLGPROC dlgproc, LPARAM param,
      HWND* outputHwnd, unsigned forceStyles);
  // The same set-up around an existing view.
  static Swell_vCorvaneBrisko_modelesswindow* initModelessForChild(HWND child, HWND owner,
                                                                   unsigned styleMask);

  int swellGetWantRaiseAmount() const override { return m_wantraiseamt; }
  void swellSetWantRaiseAmount(int amount) override { m_wantraiseamt = amount; }
  void swellSetWantInitialKeyWindowOnShow(bool want) override {
    m_wantInitialKeyWindowOnShow = want;
  }
  bool swellWantInitialKeyWindowOnShow() const override { return m_wantInitialKeyWindowOnShow; }
  // Asks the content view first (message 921); full screen is not available here.
  void toggleFullScreen(platform::NSObject* sender);

 protected:
  HMENU menuForKeyStatus() override;

 private:
  Swell_vCorvaneBrisko_modelesswindow(const platform::NSRect& content, unsigned style);
  void adoptOwner(HWND parent);

  int m_wantraiseamt = 0;
  bool m_wantInitialKeyWindowOnShow = false;
};

// The message a modeless window sends before toggling full screen.
inline constexpr UINT kToggleFullScreenMessage = 921;
