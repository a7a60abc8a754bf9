#pragma once

#include <memory>
#include <string>

#include "framework/IPlugAPP.h"
#include "graphics/Graphics.h"

namespace demo {

// The application the standalone program runs: the demo parameters on a screen of controls
// bound to them, a monitor text naming the last MIDI message in (or the host's last word about
// its devices) and a "MIDI IN" light that stays lit for a moment after each message.
class DemoApp : public iplug::IPlugAPP, public iplug::igraphics::IGEditorDelegate {
 public:
  // Idle ticks (of 20 ms) the light stays lit after a message.
  static constexpr int kLightTicks = 10;
  static constexpr int kWidth = 600;
  static constexpr int kHeight = 340;
  // Tags of the controls the application updates itself.
  enum ECtrlTags { kCtrlTagMonitor = 0, kCtrlTagMidiLight };

  DemoApp();
  ~DemoApp() override;

  const std::string& MonitorText() const { return mMonitorText; }
  bool MidiInLit() const { return mLightTicksLeft > 0; }
  int SysExReceived() const { return mSysExReceived; }

  void OnMidiMsgUI(const iplug::IMidiMsg& msg) override;
  void OnSysexMsgUI(const iplug::ISysEx& msg) override;
  void OnIdle() override;
  void OnHostMenuCommand(int command) override;
  void OnHostStatus(const char* text) override;

 protected:
  std::unique_ptr<iplug::igraphics::IGraphicsMac> CreateGraphics() override;
  void LayoutUI(iplug::igraphics::IGraphics& g) override;

 private:
  // Lights the light and shows the monitor text.
  void ShowMidiIn();
  // Shows the monitor text on the screen when it is open, cut to what fits the monitor.
  void ShowMonitorText();

  std::string mMonitorText;
  int mLightTicksLeft = 0;
  int mSysExReceived = 0;
};

}  // namespace demo
