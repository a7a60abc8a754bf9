#include "demo/DemoApp.h"

#include <cstdio>

#include "base/Log.h"
#include "demo/DemoEditorDelegate.h"

namespace demo {

namespace {
// Bytes of a System Exclusive message the monitor shows before it cuts.
constexpr int kMonitorBytes = 16;
}  // namespace

DemoApp::DemoApp() : IPlugAPP(DemoEditorDelegate::kNumParams) {
  DeclareDemoParams(*this);
}

void DemoApp::OnMidiMsgUI(const iplug::IMidiMsg& msg) {
  char text[32];
  std::snprintf(text, sizeof text, "MIDI %02X %02X %02X", msg.mStatus, msg.mData1, msg.mData2);
  mMonitorText = text;
  mLightTicksLeft = kLightTicks;
}

void DemoApp::OnSysexMsgUI(const iplug::ISysEx& msg) {
  ++mSysExReceived;
  mMonitorText = "SysEx " + std::to_string(msg.mSize) + " bytes:";
  for (int i = 0; i < msg.mSize && i < kMonitorBytes; ++i) {
    char byte[4];
    std::snprintf(byte, sizeof byte, " %02X", msg.mData[i]);
    mMonitorText += byte;
  }
  if (msg.mSize > kMonitorBytes) mMonitorText += " ...";
  mLightTicksLeft = kLightTicks;
}

void DemoApp::OnIdle() {
  if (mLightTicksLeft > 0) --mLightTicksLeft;
}

void DemoApp::OnHostMenuCommand(int command) {
  base::warn("demo", "menu command %d", command);
}

}  // namespace demo

iplug::IPlugAPP* iplug::CreateAppInstance() {
  return new demo::DemoApp;
}
