#pragma once

#include <string>

#include "framework/IPlugAPP.h"

namespace demo {

// The application the standalone program runs: the demo parameters, a monitor text
// naming the last MIDI message in and a "MIDI IN" light that stays lit for a moment
// after each one.
class DemoApp : public iplug::IPlugAPP {
 public:
  // Idle ticks (of 20 ms) the light stays lit after a message.
  static constexpr int kLightTicks = 10;

  DemoApp();

  const std::string& MonitorText() const { return mMonitorText; }
  bool MidiInLit() const { return mLightTicksLeft > 0; }
  int SysExReceived() const { return mSysExReceived; }

  void OnMidiMsgUI(const iplug::IMidiMsg& msg) override;
  void OnSysexMsgUI(const iplug::ISysEx& msg) override;
  void OnIdle() override;
  void OnHostMenuCommand(int command) override;

 private:
  std::string mMonitorText;
  int mLightTicksLeft = 0;
  int mSysExReceived = 0;
};

}  // namespace demo
