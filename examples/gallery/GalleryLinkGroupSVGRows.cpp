// The gallery's rows of links, text toggles, the placeholder, groups, colour swatches, the SVG
// controls and the preset browser, and strips of the SVG controls at several values.

#include <string>

#include "Gallery.h"
#include "GalleryPresetBrowser.h"
#include "controls/Controls.h"
#include "demo/DemoEditorDelegate.h"

namespace gallery {

using namespace iplug::igraphics;
using P = demo::DemoEditorDelegate;

namespace {

constexpr float kRowH = 50.f;
constexpr float kGroupRowH = 80.f;
constexpr float kSwatchGridH = 100.f;
constexpr float kSVGRowH = 60.f;
constexpr float kSVGSliderH = 100.f;
// The group's frame lies this far around its controls; its top leaves room for the label.
constexpr float kGroupPad = 6.f;
constexpr float kGroupLabelPad = 20.f;
constexpr float kGroupCellGap = 6.f;
// The row of swatches has narrow cells: their labels are set smaller.
constexpr float kSwatchRowTextSize = 12.f;

const IColor kLinkBackground(255, 245, 245, 240);
const IColor kLinkColor(255, 30, 80, 190);
const IColor kLinkOverColor(255, 200, 60, 40);
const IColor kLinkVisitedColor(255, 120, 50, 150);
const IColor kToggleBackground(255, 214, 228, 240);
const char* const kLinkAddress = "https://example.org/editor";

// Values shown side by side in the strips.
const double kKnobValues[] = {0., 0.25, 0.5, 0.75, 1.};
const double kSwitchValues[] = {0., 0.5, 1.};
const double kSliderValues[] = {0., 0.5, 1.};

template <std::size_t N>
int Count(const double (&)[N]) {
  return static_cast<int>(N);
}

}  // namespace

void Gallery::AddLinkAndTextRows() {
  const IText linkText = IText(15.f).WithFGColor(kLinkColor);
  auto link = [&](const IRECT& r, int) -> IControl* {
    return new IURLControl(r, "Editor home page", kLinkAddress, linkText, kLinkBackground,
                           kLinkOverColor, kLinkVisitedColor);
  };
  AddRow("Link", link, kRowH);
  AddRow("Link, visited", link, kRowH);
  // A click visits each link of the row; a graphics context that cannot open addresses leaves
  // them fresh.
  for (const Cell& cell : mCells) {
    if (cell.row != "Link, visited") continue;
    const IRECT& r = cell.control->GetRECT();
    cell.control->OnMouseDown(r.MW(), r.MH(), IMouseMod(true));
  }

  const IText toggleText(15.f);
  auto toggle = [&](bool on) {
    return [=](const IRECT& r, int) -> IControl* {
      auto* c = new ITextToggleControl(r, EmptyClickActionFunc, "Audition off", "Audition on",
                                       toggleText, kToggleBackground);
      c->SetValue(on ? 1. : 0.);
      c->SetDirty(false);
      return c;
    };
  };
  AddRow("Text toggle, off", toggle(false), kRowH);
  AddRow("Text toggle, on", toggle(true), kRowH);
  AddRow(
      "Placeholder", [](const IRECT& r, int) { return new PlaceHolder(r, "Meter"); }, kGroupRowH);
}

void Gallery::AddGroupAndSwatchRows() {
  const IVStyle style =
      DEFAULT_STYLE.WithRoundness(0.3f).WithColor(kBG, IColor(255, 225, 225, 225));
  // Each cell holds two buttons attached under a group name of their own, and the group's frame
  // sized around them.
  AddRow(
      "Group",
      [&](const IRECT& r, int state) -> IControl* {
        const std::string name = "gallery group " + std::to_string(state);
        const IRECT inner(r.L + kGroupPad, r.T + kGroupLabelPad, r.R - kGroupPad, r.B - kGroupPad);
        for (int i = 0; i < 2; ++i) {
          IRECT part = inner.SubRect(EDirection::Horizontal, 2, i);
          part = i == 0 ? part.GetReducedFromRight(0.5f * kGroupCellGap)
                        : part.GetReducedFromLeft(0.5f * kGroupCellGap);
          IControl* c = mGraphics.AttachControl(
              new IVButtonControl(part, EmptyClickActionFunc, i == 0 ? "A" : "B",
                                  style.WithShowLabel(false)),
              kNoTag, name.c_str());
          if (c && state == kDisabled) c->SetDisabled(true);
        }
        return new IVGroupControl("Pair", name.c_str(), kGroupPad, kGroupLabelPad, kGroupPad,
                                  kGroupPad, style);
      },
      kGroupRowH);

  const IVStyle swatchStyle = style.WithShowLabel(false)
                                  .WithColor(kFG, IColor(255, 70, 130, 200))
                                  .WithColor(kPR, IColor(255, 200, 80, 60))
                                  .WithColor(kFR, IColor(255, 60, 60, 60))
                                  .WithColor(kHL, IColor(255, 240, 200, 60))
                                  .WithColor(kSH, IColor(255, 120, 120, 120))
                                  .WithColor(kX1, IColor(255, 90, 170, 90))
                                  .WithColor(kX2, IColor(255, 150, 90, 190))
                                  .WithColor(kX3, IColor(255, 40, 160, 170));
  AddRow(
      "Swatches, grid",
      [&](const IRECT& r, int) -> IControl* {
        return new IVColorSwatchControl(r, "", nullptr, swatchStyle, IVColorSwatchControl::kGrid,
                                        {kBG, kFG, kPR, kFR, kHL, kSH, kX1, kX2, kX3},
                                        {"BG", "FG", "PR", "FR", "HL", "SH", "X1", "X2", "X3"});
      },
      kSwatchGridH);
  AddRow(
      "Swatches, row",
      [&](const IRECT& r, int) -> IControl* {
        return new IVColorSwatchControl(
            r, "", nullptr, swatchStyle.WithValueText(IText(kSwatchRowTextSize)),
            IVColorSwatchControl::kHorizontal, {kFG, kPR, kHL}, {"Fg", "Pr", "Hl"});
      },
      kRowH);
}

void Gallery::AddSVGRows() {
  IGraphics& g = mGraphics;
  const ISVG buttonOff = g.LoadSVG("button_off.svg");
  const ISVG buttonOn = g.LoadSVG("button_on.svg");
  const ISVG knob = g.LoadSVG("knob.svg");
  const ISVG switch0 = g.LoadSVG("switch_0.svg");
  const ISVG switch1 = g.LoadSVG("switch_1.svg");
  const ISVG switch2 = g.LoadSVG("switch_2.svg");
  const ISVG handle = g.LoadSVG("slider_handle.svg");
  const ISVG track = g.LoadSVG("slider_track.svg");

  auto button = [=](const IRECT& r, int) -> IControl* {
    return new ISVGButtonControl(r.GetCentredInside(r.H()), EmptyClickActionFunc, buttonOff,
                                 buttonOn);
  };
  auto knobAt = [=](double value) {
    return [=](const IRECT& r, int) -> IControl* {
      auto* c = new ISVGKnobControl(r.GetCentredInside(r.H()), knob);
      c->SetValue(value);
      return c;
    };
  };
  auto switchAt = [=](double value) {
    return [=](const IRECT& r, int) -> IControl* {
      auto* c = new ISVGSwitchControl(r.GetCentredInside(r.H()), {switch0, switch1, switch2});
      c->SetValue(value);
      return c;
    };
  };
  auto sliderAt = [=](double value) {
    return [=](const IRECT& r, int) -> IControl* {
      auto* c = new ISVGSliderControl(r, handle, track);
      c->SetValue(value);
      return c;
    };
  };

  AddRow("SVG button", button, kSVGRowH);
  AddRow("SVG knob", knobAt(0.3), kSVGRowH);
  AddRow("SVG switch", switchAt(0.5), kSVGRowH);
  AddRow("SVG slider", sliderAt(0.7), kSVGSliderH);

  AddStrip(
      "SVG buttons", 2,
      [=](const IRECT& r, int i) {
        IControl* c = button(r, i);
        c->SetValue(i);
        return c;
      },
      kSVGRowH);
  AddStrip(
      "SVG knobs", Count(kKnobValues),
      [=](const IRECT& r, int i) { return knobAt(kKnobValues[i])(r, i); }, kSVGRowH);
  AddStrip(
      "SVG switches", Count(kSwitchValues),
      [=](const IRECT& r, int i) { return switchAt(kSwitchValues[i])(r, i); }, kSVGRowH);
  AddStrip(
      "SVG sliders", Count(kSliderValues),
      [=](const IRECT& r, int i) { return sliderAt(kSliderValues[i])(r, i); }, kSVGSliderH);
}

void Gallery::AddPresetBrowserRow() {
  mPresetFolder = MakePresetTree();
  const std::string factory = mPresetFolder.empty() ? "" : mPresetFolder + "/Factory";
  const std::string user = mPresetFolder.empty() ? "" : mPresetFolder + "/User";
  AddRow(
      "Preset browser",
      [&](const IRECT& r, int) -> IControl* {
        auto* c = new PresetBrowser(r.GetCentredInside(r.W(), 24.f));
        if (!mPresetFolder.empty()) {
          c->AddPath(factory.c_str(), "Factory");
          c->AddPath(user.c_str(), "User");
        }
        c->SetUpMenu();
        return c;
      },
      kRowH);
}

}  // namespace gallery
