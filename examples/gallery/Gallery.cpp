#include "Gallery.h"

#include "GalleryBaseControls.h"
#include "GalleryControls.h"
#include "GalleryPresetBrowser.h"
#include "controls/Controls.h"
#include "demo/DemoEditorDelegate.h"

namespace gallery {

using namespace iplug::igraphics;
using P = demo::DemoEditorDelegate;

namespace {

constexpr float kMargin = 10.f;
constexpr float kHeaderW = 110.f;
constexpr float kHeaderH = 28.f;
constexpr float kCellW = 170.f;
constexpr float kCellH = 50.f;
// Vector shapes need room for the widget above their value.
constexpr float kShapeCellH = 70.f;
constexpr float kCellPad = 5.f;
// The moment the picture is taken, into the splash of a click.
constexpr double kSplashPhotoMs = 50.;

const IColor kPageColor(255, 245, 245, 240);
const IColor kTextBackground(255, 214, 228, 240);
const IColor kCaptionBackground(255, 232, 222, 200);
const char* const kStateNames[] = {"Normal", "Mouse over", "Disabled"};

}  // namespace

Gallery::Gallery(IGraphics& g) : mGraphics(g), mClock(0.), mNextRowTop(kMargin + kHeaderH) {
  platform::setClock(&mClock);

  g.AttachControl(new PanelControl(g.GetBounds(), kPageColor));
  AttachHeaders();

  const IText text(15.f);
  AddRow(
      "Text",
      [&](const IRECT& r, int) {
        return new ITextControl(r, "Hello, world", text, kTextBackground);
      },
      kCellH);
  AddRow(
      "Text, fitted",
      [&](const IRECT& r, int) {
        return new ITextControl(r, "Fitted", text, kTextBackground, true);
      },
      kCellH);
  const std::pair<const char*, int> captions[] = {{"Caption: enum", P::kParamEnum},
                                                  {"Caption: bool", P::kParamBool},
                                                  {"Caption: int", P::kParamInt},
                                                  {"Caption: double", P::kParamGain}};
  for (const auto& caption : captions) {
    const int param = caption.second;
    AddRow(
        caption.first,
        [&](const IRECT& r, int) {
          return new ICaptionControl(r, param, text, kCaptionBackground, true);
        },
        kCellH);
  }

  const IVStyle style = DEFAULT_STYLE.WithRoundness(0.3f).WithShowLabel(false).WithColor(
      kBG, IColor(255, 225, 225, 225));
  const char* shapes[] = {"Rectangle", "Ellipse", "Triangle", "Top round"};
  for (int shape = 0; shape < 4; ++shape) {
    AddRow(
        shapes[shape],
        [&](const IRECT& r, int) {
          return new ShapeControl(r, shapes[shape], shape, style, P::kParamGain + (shape % 2));
        },
        kShapeCellH);
  }
  AddRow(
      "Splash",
      [&](const IRECT& r, int) {
        auto* c = new ShapeControl(r, "Splash", IVectorBase::kVShapeAllRounded,
                                   style.WithShowValue(false), kNoParameter, SplashClickActionFunc);
        mSplashButtons.push_back(c);
        return c;
      },
      kShapeCellH);
  AddRow(
      "Meter", [](const IRECT& r, int) { return new MeterControl(r, P::kParamInt); }, kCellH);
  AddRow(
      "Plot", [](const IRECT& r, int) { return new PlotControl(r); }, kShapeCellH);
  AddInteractiveRows();
  AddSwitchRows();
  AddPanelAndBitmapRows();
  AddVectorControlRows();
  AddLinkAndTextRows();
  AddGroupAndSwatchRows();
  AddSVGRows();
  AddPresetBrowserRow();

  SetValues();
}

Gallery::~Gallery() {
  RemovePresetTree(mPresetFolder);
  platform::setClock(nullptr);
}

IRECT Gallery::CellRect(float top, float height, int state) const {
  return IRECT::MakeXYWH(kMargin + kHeaderW + state * kCellW, top, kCellW, height);
}

void Gallery::AttachHeaders() {
  const IText header(14.f, COLOR_DARK_GRAY);
  for (int state = 0; state < kNumStates; ++state) {
    const IRECT cell = CellRect(kMargin + kHeaderH, kCellH, state);
    mGraphics.AttachControl(new ITextControl(IRECT(cell.L, kMargin, cell.R, cell.T),
                                             kStateNames[state], header, COLOR_TRANSPARENT));
  }
}

void Gallery::AddRow(const char* name, const MakeControl& make, float height) {
  const float top = mNextRowTop;
  mNextRowTop += height;
  mRows.push_back(name);
  const IRECT first = CellRect(top, height, 0);
  mGraphics.AttachControl(new ITextControl(IRECT(kMargin, first.T, first.L, first.B), name,
                                           IText(14.f, EAlign::Near), COLOR_TRANSPARENT));
  for (int state = 0; state < kNumStates; ++state) {
    const IRECT cell = CellRect(top, height, state);
    IControl* c = mGraphics.AttachControl(make(cell.GetPadded(-kCellPad), state));
    if (!c) continue;
    if (state == kMouseOver) c->OnMouseOver(c->GetRECT().MW(), c->GetRECT().MH(), IMouseMod());
    if (state == kDisabled) c->SetDisabled(true);
    mCells.push_back({name, static_cast<EState>(state), cell, c});
  }
}

void Gallery::AddStrip(const char* name, int count, const MakeControl& make, float height) {
  const float top = mNextRowTop;
  mNextRowTop += height;
  const IRECT first = CellRect(top, height, 0);
  mGraphics.AttachControl(new ITextControl(IRECT(kMargin, first.T, first.L, first.B), name,
                                           IText(14.f, EAlign::Near), COLOR_TRANSPARENT));
  Strip strip{name, IRECT(first.L, top, CellRect(top, height, kNumStates - 1).R, top + height), {}};
  for (int i = 0; i < count; ++i) {
    const IRECT part = strip.bounds.SubRect(EDirection::Horizontal, count, i);
    if (IControl* c = mGraphics.AttachControl(make(part.GetPadded(-kCellPad), i)))
      strip.controls.push_back(c);
  }
  mStrips.push_back(std::move(strip));
}

void Gallery::AddInteractiveRows() {
  const IVStyle style =
      DEFAULT_STYLE.WithRoundness(0.3f).WithColor(kBG, IColor(255, 225, 225, 225));
  const IVStyle centred = style.WithValueText(style.valueText.WithVAlign(EVAlign::Middle));
  AddRow(
      "Vector label", [&](const IRECT& r, int) { return new IVLabelControl(r, "Label", centred); },
      kCellH);
  AddRow(
      "Vector button",
      [&](const IRECT& r, int) {
        auto* c = new IVButtonControl(r, SplashClickActionFunc, "Button", style, false, false,
                                      IVectorBase::kVShapeAllRounded);
        mSplashButtons.push_back(c);
        return c;
      },
      kShapeCellH);
  AddRow(
      "Number box",
      [&](const IRECT& r, int) {
        return new IVNumberBoxControl(r, P::kParamGain, nullptr, "Gain", style, "%0.1f dB");
      },
      kShapeCellH);
  AddRow(
      "Switch base",
      [&](const IRECT& r, int) { return new GallerySwitch(r, P::kParamEnum, centred); }, kCellH);
  AddRow(
      "Knob base", [&](const IRECT& r, int) { return new GalleryKnob(r, P::kParamGain, style); },
      kShapeCellH);
  AddRow(
      "Slider base", [&](const IRECT& r, int) { return new GallerySlider(r, P::kParamInt, style); },
      kCellH);
}

void Gallery::AddSwitchRows() {
  // A pressed colour that stands out, since the selected tab and radio text are drawn in it.
  const IVStyle style = DEFAULT_STYLE.WithRoundness(0.3f)
                            .WithColor(kBG, IColor(255, 225, 225, 225))
                            .WithColor(kPR, IColor(255, 70, 130, 200));
  const IVStyle unlabelled = style.WithShowLabel(false);
  AddRow(
      "Vector switch",
      [&](const IRECT& r, int) { return new IVSwitchControl(r, P::kParamEnum, "Mode", style); },
      kShapeCellH);
  AddRow(
      "Toggle",
      [&](const IRECT& r, int) {
        return new IVToggleControl(r, EmptyClickActionFunc, "Audition", style, "off", "on", true);
      },
      kShapeCellH);
  AddRow(
      "Slide switch",
      [&](const IRECT& r, int) {
        return new IVSlideSwitchControl(r, EmptyClickActionFunc, "", unlabelled, true,
                                        EDirection::Horizontal, 3, 0);
      },
      kCellH);
  // A click on each slide switch now is half-way through its slide when the picture is taken.
  for (const Cell& cell : mCells) {
    if (cell.row != "Slide switch") continue;
    const IRECT& r = cell.control->GetRECT();
    cell.control->OnMouseDown(r.MW(), r.MH(), IMouseMod(true));
    cell.control->OnMouseUp(r.MW(), r.MH(), IMouseMod(true));
  }
  AddRow(
      "Tab switch",
      [&](const IRECT& r, int) {
        // State flags exist for the options given, so the texts are given.
        auto* c = new IVTabSwitchControl(r, P::kParamEnum, {"Off", "Low", "Mid", "High"}, "",
                                         unlabelled, IVectorBase::kVShapeEndsRounded);
        c->SetStateDisabled(1, true);
        return c;
      },
      kCellH);
  AddRow(
      "Radio buttons",
      [&](const IRECT& r, int) {
        auto* c = new IVRadioButtonControl(r, EmptyClickActionFunc, {"Low", "Mid", "High"}, "",
                                           unlabelled);
        c->SetValue(0.5);
        return c;
      },
      kShapeCellH);
}

void Gallery::SetValues() {
  // Values as they would arrive from the parameters.
  const std::pair<int, double> values[] = {{P::kParamEnum, 2.},   {P::kParamBool, 1.},
                                           {P::kParamInt, 90.},   {P::kParamGain, -3.5},
                                           {P::kParamTime, 250.}, {P::kParamPercentStepped, 70.}};
  for (const auto& [paramIdx, value] : values) {
    if (iplug::IParam* param = mGraphics.GetDelegate()->GetParam(paramIdx)) param->Set(value);
    mGraphics.SendParameterValueFromDelegate(paramIdx, value, false);
  }
}

void Gallery::Render() {
  // A press records the point the splash grows from; a disabled button is not hit, so every
  // button's action is run directly after its press.
  for (IControl* c : mSplashButtons) {
    const IRECT& r = c->GetRECT();
    const float x = r.L + 0.3f * r.W(), y = r.MH();
    mGraphics.OnMouseDown(x, y, IMouseMod(true));
    mGraphics.ReleaseMouseCapture();
    SplashClickActionFunc(c);
  }
  DragBubbleKnob();
  mClock.advance(kSplashPhotoMs);
  mGraphics.DrawFrame();
}

}  // namespace gallery
