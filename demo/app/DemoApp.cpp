#include "demo/app/DemoApp.h"

#include <cstdio>

#include "base/Log.h"
#include "controls/Controls.h"
#include "demo/DemoEditorDelegate.h"

namespace demo {

using namespace iplug::igraphics;
using P = DemoEditorDelegate;

namespace {

// Bytes of a System Exclusive message the monitor shows before it cuts.
constexpr int kMonitorBytes = 16;
// The hue of the "MIDI IN" light (green).
constexpr float kMidiLightHue = 0.33f;

const IColor kPageColor(255, 245, 245, 240);
const IColor kMonitorBackground(255, 214, 228, 240);
const IColor kCaptionBackground(255, 232, 222, 200);

// A caption of a parameter with its name on the left.
void AttachNamedCaption(IGraphics& g, const IRECT& row, const char* name, int param) {
  constexpr float kNameWidth = 70.f;
  g.AttachControl(new ITextControl(row.GetFromLeft(kNameWidth), name, IText(14.f, EAlign::Near)));
  g.AttachControl(new ICaptionControl(row.GetReducedFromLeft(kNameWidth), param, IText(15.f),
                                      kCaptionBackground, true));
}

}  // namespace

DemoApp::DemoApp()
    : IEditorDelegate(DemoEditorDelegate::kNumParams),
      IPlugAPP(DemoEditorDelegate::kNumParams),
      IGEditorDelegate(DemoEditorDelegate::kNumParams) {
  DeclareDemoParams(*this);
}

DemoApp::~DemoApp() {
  // The screen goes before the texts it shows.
  CloseWindow();
}

std::unique_ptr<IGraphicsMac> DemoApp::CreateGraphics() {
  // The library's own popup-menu and text-entry controls serve the captions and number box.
  InstallDefaultControlFactories();
  return std::make_unique<IGraphicsMac>(*this, kWidth, kHeight);
}

void DemoApp::LayoutUI(IGraphics& g) {
  g.AttachControl(new IPanelControl(g.GetBounds(), kPageColor));
  const IVStyle style =
      DEFAULT_STYLE.WithRoundness(0.3f).WithColor(kBG, IColor(255, 225, 225, 225));

  g.AttachControl(new IVTabSwitchControl(IRECT(20, 15, 300, 85), P::kParamEnum,
                                         {"Off", "Low", "Mid", "High"}, "Mode", style));
  g.AttachControl(new IVToggleControl(IRECT(320, 15, 440, 85), P::kParamBool, "Power", style,
                                      "Bypassed", "Active"));
  AttachNamedCaption(g, IRECT(460, 35, 580, 60), "Count", P::kParamEnumOffset);

  g.AttachControl(new IVKnobControl(IRECT(20, 100, 130, 230), P::kParamGain, "Gain", style));
  g.AttachControl(new IVKnobControl(IRECT(140, 100, 250, 230), P::kParamTime, "Time", style));
  g.AttachControl(new IVSliderControl(IRECT(260, 100, 420, 230), P::kParamPercentStepped, "Mix",
                                      style, false, EDirection::Horizontal));
  g.AttachControl(new IVNumberBoxControl(IRECT(440, 100, 580, 170), P::kParamInt, nullptr, "Note",
                                         style, "%0.0f"));
  AttachNamedCaption(g, IRECT(440, 195, 580, 220), "Channel", P::kParamIntOffset);

  // The monitor row: the light, its name and the last message in.
  g.AttachControl(new IPanelControl(IRECT(20, 250, 580, 320), kMonitorBackground, true));
  g.AttachControl(new ILEDControl(IRECT(35, 270, 65, 300), kMidiLightHue), kCtrlTagMidiLight);
  g.AttachControl(new ITextControl(IRECT(70, 270, 150, 300), "MIDI IN", IText(15.f)));
  g.AttachControl(
      new ITextControl(IRECT(160, 270, 570, 300), mMonitorText.c_str(), IText(15.f, EAlign::Near)),
      kCtrlTagMonitor);
}

void DemoApp::ShowMidiIn() {
  mLightTicksLeft = kLightTicks;
  IGraphics* g = GetUI();
  if (!g) return;
  if (auto* monitor = dynamic_cast<ITextControl*>(g->GetControlWithTag(kCtrlTagMonitor)))
    monitor->SetStr(mMonitorText.c_str());
  if (auto* light = dynamic_cast<ILEDControl*>(g->GetControlWithTag(kCtrlTagMidiLight)))
    light->TriggerWithDecay(kLightTicks * kTimerIntervalMs);
}

void DemoApp::OnMidiMsgUI(const iplug::IMidiMsg& msg) {
  char text[32];
  std::snprintf(text, sizeof text, "MIDI %02X %02X %02X", msg.mStatus, msg.mData1, msg.mData2);
  mMonitorText = text;
  ShowMidiIn();
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
  ShowMidiIn();
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
