#include "demo/app/DemoApp.h"

#include <algorithm>
#include <cstdio>
#include <vector>

#include "base/Log.h"
#include "controls/Controls.h"
#include "demo/DemoEditorDelegate.h"

namespace demo {

using namespace iplug::igraphics;
using P = DemoEditorDelegate;

namespace {

// Bytes of a System Exclusive message the monitor text names at most.
constexpr int kMonitorBytes = 16;
// What ends a monitor text that was cut (U+2026).
constexpr const char* kEllipsis = "\xE2\x80\xA6";
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

// The text as far as it fits `width` in the style: whole, or cut after a whole character and
// ended with an ellipsis.
std::string fitted(const IGraphics& g, const IText& style, const std::string& text, float width) {
  IRECT box;
  const auto fits = [&](const std::string& candidate) {
    return g.MeasureText(style, candidate.c_str(), box) <= width;
  };
  if (fits(text)) return text;
  // The lengths of the prefixes that end on a whole character; the longest that fits with the
  // ellipsis is found by halving.
  std::vector<std::size_t> ends;
  for (std::size_t i = 1; i <= text.size(); ++i)
    if (i == text.size() || (static_cast<unsigned char>(text[i]) & 0xC0) != 0x80) ends.push_back(i);
  std::size_t low = 0, high = ends.size();  // prefixes ends[0..low) fit
  while (low < high) {
    const std::size_t middle = (low + high) / 2;
    if (fits(text.substr(0, ends[middle]) + kEllipsis))
      low = middle + 1;
    else
      high = middle;
  }
  std::string cut = low == 0 ? std::string() : text.substr(0, ends[low - 1]);
  while (!cut.empty() && cut.back() == ' ')
    cut.pop_back();
  return cut + kEllipsis;
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
  ShowMonitorText();
  IGraphics* g = GetUI();
  if (!g) return;
  if (auto* light = dynamic_cast<ILEDControl*>(g->GetControlWithTag(kCtrlTagMidiLight)))
    light->TriggerWithDecay(kLightTicks * kTimerIntervalMs);
}

void DemoApp::ShowMonitorText() {
  IGraphics* g = GetUI();
  if (!g) return;
  if (auto* monitor = dynamic_cast<ITextControl*>(g->GetControlWithTag(kCtrlTagMonitor)))
    monitor->SetStr(fitted(*g, monitor->GetText(), mMonitorText, monitor->GetRECT().W()).c_str());
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
  if (msg.mSize > kMonitorBytes) mMonitorText += kEllipsis;
  ShowMidiIn();
}

void DemoApp::OnHostStatus(const char* text) {
  mMonitorText = text ? text : "";
  ShowMonitorText();
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
