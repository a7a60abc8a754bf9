// The gallery's rows of the panels, the LED and the bitmap controls. The bitmaps are the strips
// made for the tests, loaded by resource name through the graphics context.

#include "Gallery.h"
#include "controls/Controls.h"
#include "demo/DemoEditorDelegate.h"
#include "graphics/Graphics.h"

namespace gallery {

using namespace iplug::igraphics;
using P = demo::DemoEditorDelegate;

namespace {

constexpr float kRowH = 50.f;
constexpr float kPanelRowH = 70.f;
// The editor's "MIDI IN" light is this hue.
constexpr float kLEDHue = 0.5f;
constexpr float kLEDSide = 40.f;
// Fixed brightnesses, then one light triggered as the gallery is built and photographed a
// quarter into its decay.
constexpr double kLEDLevels[] = {0., 0.25, 0.5, 1.};
const char* const kLEDLabels[] = {"0", "0.25", "0.5", "1", "decaying"};
constexpr int kLEDDecayMs = 200;

const IColor kPanelColor(255, 70, 110, 160);
const IColor kPanelFadeColor(255, 200, 220, 240);

}  // namespace

void Gallery::AddPanelAndBitmapRows() {
  IGraphicsNanoVG::AddResourcePath(GALLERY_IMAGES_DIR);
  IGraphics& g = mGraphics;

  const IVStyle style =
      DEFAULT_STYLE.WithRoundness(0.3f).WithColor(kBG, IColor(255, 225, 225, 225));
  AddRow(
      "Vector panel", [&](const IRECT& r, int) { return new IVPanelControl(r, "Panel", style); },
      kPanelRowH);

  const IBitmap button = g.LoadBitmap("button2.png", 2);
  AddRow(
      "Bitmap",
      [&](const IRECT& r, int) {
        const float w = static_cast<float>(IBitmapBase::FrameWidth(button));
        const float h = static_cast<float>(IBitmapBase::FrameHeight(button));
        return new IBitmapControl(r.MW() - 0.5f * w, r.MH() - 0.5f * h, button, P::kParamBool);
      },
      kRowH);
  AddRow(
      "Bitmap button",
      [&](const IRECT& r, int) {
        auto* c = new IBButtonControl(r, button, DefaultClickActionFunc);
        mSplashButtons.push_back(c);
        return c;
      },
      kRowH);

  const IBitmap switch3 = g.LoadBitmap("switch3.png", 3);
  AddRow(
      "Bitmap switch",
      [&](const IRECT& r, int) {
        auto* c = new IBSwitchControl(r, switch3);
        c->SetValue(0.5);
        return c;
      },
      kRowH);

  const IBitmap handle = g.LoadBitmap("slider_handle.png");
  const IBitmap track = g.LoadBitmap("slider_track.png");
  AddRow(
      "Bitmap slider",
      [&](const IRECT& r, int) {
        return new IBSliderControl(r, handle, track, P::kParamInt, EDirection::Horizontal);
      },
      kRowH);

  const IBitmap knob = g.LoadBitmap("knob.png");
  AddRow(
      "Bitmap knob",
      [&](const IRECT& r, int) { return new IBKnobRotaterControl(r, knob, P::kParamGain); }, kRowH);

  const IBitmap font = g.LoadBitmap("font.png", 96);
  AddRow(
      "Bitmap text",
      [&](const IRECT& r, int) {
        return new IBTextControl(r, font, IText(14.f, EAlign::Center), "Bitmap font: 1+2=3", 8, 12,
                                 0, false, true);
      },
      kRowH);

  const int nLEDs = static_cast<int>(std::size(kLEDLabels));
  AddStrip(
      "LED", nLEDs,
      [&](const IRECT& r, int i) {
        const IRECT light = r.GetFromLeft(kLEDSide);
        g.AttachControl(new ITextControl(r.GetReducedFromLeft(kLEDSide), kLEDLabels[i],
                                         IText(13.f, EAlign::Center), COLOR_TRANSPARENT));
        auto* led = new ILEDControl(light, kLEDHue);
        if (i < static_cast<int>(std::size(kLEDLevels))) {
          led->SetValue(kLEDLevels[i]);
        } else {
          led->TriggerWithDecay(kLEDDecayMs);
        }
        return led;
      },
      kRowH);

  AddStrip(
      "Panel", 2,
      [&](const IRECT& r, int i) {
        auto* panel = new IPanelControl(r, kPanelColor, true);
        if (i == 1) {
          panel->SetPattern(IPattern::CreateLinearGradient(
              r.L, r.T, r.R, r.T, {{kPanelColor, 0.f}, {kPanelFadeColor, 1.f}}));
        }
        return panel;
      },
      kRowH);
}

}  // namespace gallery
