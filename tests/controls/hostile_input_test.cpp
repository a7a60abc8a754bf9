// Every control, driven by a user and a host at their worst: rectangles of no size or upside
// down, drags and wheel turns of huge, infinite and NaN size, values from the host outside 0..1
// or NaN, and the control removed in the middle of a drag. Nothing may crash, draw outside the
// numbers, or hand a parameter a value that is not a finite number in 0..1.

#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <limits>
#include <string>
#include <type_traits>
#include <vector>

#include "controls/Controls.h"
#include "graphics/APIBitmap.h"
#include "graphics/BitmapCache.h"
#include "graphics/IGraphicsNanoVG.h"
#include "graphics/ResourcePaths.h"
#include "graphics/SVGCache.h"
#include "support/ControlTestFixture.h"

using namespace iplug::igraphics;
using testsupport::FakeEditorDelegate;

namespace {

constexpr float kInf = std::numeric_limits<float>::infinity();
constexpr float kNaN = std::numeric_limits<float>::quiet_NaN();
constexpr float kHuge = 3e38f;

using Factory = std::function<IControl*(const IRECT&, int paramIdx)>;

struct Kind {
  const char* name;
  Factory make;
};

const std::vector<Kind>& Kinds() {
  static const std::vector<Kind> kinds = {
      {"IVKnobControl", [](const IRECT& r, int p) { return new IVKnobControl(r, p, "k"); }},
      {"IVSliderControl", [](const IRECT& r, int p) { return new IVSliderControl(r, p, "s"); }},
      {"IVSliderControlH",
       [](const IRECT& r, int p) {
         return new IVSliderControl(r, p, "s", DEFAULT_STYLE, true, EDirection::Horizontal);
       }},
      {"IVNumberBoxControl",
       [](const IRECT& r, int p) { return new IVNumberBoxControl(r, p, nullptr, "n"); }},
      {"IVSwitchControl", [](const IRECT& r, int p) { return new IVSwitchControl(r, p, "w"); }},
      {"IVToggleControl", [](const IRECT& r, int p) { return new IVToggleControl(r, p, "t"); }},
      {"IVSlideSwitchControl",
       [](const IRECT& r, int p) { return new IVSlideSwitchControl(r, p, "w"); }},
      {"IVTabSwitchControl",
       [](const IRECT& r, int p) {
         return new IVTabSwitchControl(r, p, {"a", "b", "c"});
       }},
      {"IVTabSwitchControlNoOptions",
       [](const IRECT& r, int p) { return new IVTabSwitchControl(r, p); }},
      {"IVRadioButtonControl",
       [](const IRECT& r, int p) {
         return new IVRadioButtonControl(r, p, {"a", "b"});
       }},
      {"IVRangeSliderControl",
       [](const IRECT& r, int p) {
         return new IVRangeSliderControl(r, {p, p + 1});
       }},
      {"IVXYPadControl",
       [](const IRECT& r, int p) {
         return new IVXYPadControl(r, {p, p + 1});
       }},
      {"IVButtonControl", [](const IRECT& r, int) { return new IVButtonControl(r); }},
      {"IVLabelControl", [](const IRECT& r, int) { return new IVLabelControl(r, "l"); }},
      {"IVPanelControl", [](const IRECT& r, int) { return new IVPanelControl(r, "p"); }},
      {"IVGroupControl", [](const IRECT& r, int) { return new IVGroupControl(r, "g"); }},
      {"IVColorSwatchControl", [](const IRECT& r, int) { return new IVColorSwatchControl(r); }},
      {"IVPlotControl",
       [](const IRECT& r, int) {
         return new IVPlotControl(r, {{COLOR_RED, [](double x) { return x; }}});
       }},
      {"IVPlotControlNoPoints",
       [](const IRECT& r, int) {
         return new IVPlotControl(r, {{COLOR_RED, [](double x) { return x; }}}, 0);
       }},
      {"ICaptionControl", [](const IRECT& r, int p) { return new ICaptionControl(r, p); }},
      {"ITextControl", [](const IRECT& r, int) { return new ITextControl(r, "text"); }},
      {"ITextToggleControl", [](const IRECT& r, int p) { return new ITextToggleControl(r, p); }},
      {"IURLControl", [](const IRECT& r, int) { return new IURLControl(r, "u", "file:///"); }},
      {"PlaceHolder", [](const IRECT& r, int) { return new PlaceHolder(r); }},
      {"IPanelControl", [](const IRECT& r, int) { return new IPanelControl(r, COLOR_RED, true); }},
      {"ILEDControl", [](const IRECT& r, int) { return new ILEDControl(r, 0.5f); }},
      {"IBKnobRotaterControlNoImage",
       [](const IRECT& r, int p) { return new IBKnobRotaterControl(r, IBitmap(), p); }},
      {"IBSliderControlNoImage",
       [](const IRECT& r, int p) { return new IBSliderControl(r, IBitmap(), IBitmap(), p); }},
      {"IBSwitchControlNoImage",
       [](const IRECT& r, int p) { return new IBSwitchControl(r, IBitmap(), p); }},
      {"IBButtonControlNoImage",
       [](const IRECT& r, int) { return new IBButtonControl(r, IBitmap()); }},
      {"IBTextControlNoImage", [](const IRECT& r, int) { return new IBTextControl(r, IBitmap()); }},
      {"ISVGKnobControlNoImage",
       [](const IRECT& r, int p) { return new ISVGKnobControl(r, ISVG(), p); }},
      {"ISVGSliderControlNoImage",
       [](const IRECT& r, int p) { return new ISVGSliderControl(r, ISVG(), ISVG(), p); }},
      {"ISVGSwitchControlNoImages",
       [](const IRECT& r, int p) { return new ISVGSwitchControl(r, {}, p); }},
      {"ISVGButtonControlNoImage",
       [](const IRECT& r, int) { return new ISVGButtonControl(r, nullptr, ISVG(), ISVG()); }},
  };
  return kinds;
}

// Images from the test folder, through the caches the painter draws from.
IBitmap TestBitmap(const char* name, int frames) {
  ResourcePaths::Add(TEST_RESOURCES_DIR);
  APIBitmap* b = BitmapCache::Load(name, 1);
  if (!b) return IBitmap();
  return IBitmap(b, static_cast<int>(b->GetWidth() / b->GetScale()),
                 static_cast<int>(b->GetHeight() / b->GetScale()), frames, false, name);
}

ISVG TestSVG(const char* name) {
  ResourcePaths::Add(TEST_RESOURCES_DIR);
  return SVGCache::Load(name);
}

// The image controls with real images, some of more frames than the image has pixels.
const std::vector<Kind>& ImageKinds() {
  static const std::vector<Kind> kinds = {
      {"IBKnobRotaterControl",
       [](const IRECT& r, int p) {
         return new IBKnobRotaterControl(r, TestBitmap("knob.png", 1), p);
       }},
      {"IBSliderControl",
       [](const IRECT& r, int p) {
         return new IBSliderControl(r, TestBitmap("slider_handle.png", 1),
                                    TestBitmap("slider_track.png", 1), p);
       }},
      {"IBSwitchControl",
       [](const IRECT& r, int p) {
         return new IBSwitchControl(r, TestBitmap("switch3.png", 3), p);
       }},
      {"IBSwitchControlMoreFramesThanPixels",
       [](const IRECT& r, int p) {
         return new IBSwitchControl(r, TestBitmap("strip_v.png", 100000), p);
       }},
      {"IBButtonControl",
       [](const IRECT& r, int) { return new IBButtonControl(r, TestBitmap("button2.png", 2)); }},
      {"IBitmapControl",
       [](const IRECT& r, int p) {
         return new IBitmapControl(r.L, r.T, TestBitmap("strip_h.png", 3), p);
       }},
      {"IBTextControl",
       [](const IRECT& r, int) {
         return new IBTextControl(r, TestBitmap("font.png", 96), DEFAULT_TEXT, "A~\x7f\xff z", 8,
                                  12, -20, true);
       }},
      {"ISVGKnobControl",
       [](const IRECT& r, int p) { return new ISVGKnobControl(r, TestSVG("knob.svg"), p); }},
      {"ISVGSliderControl",
       [](const IRECT& r, int p) {
         return new ISVGSliderControl(r, TestSVG("slider_handle.svg"), TestSVG("slider_track.svg"),
                                      p);
       }},
      {"ISVGSwitchControl",
       [](const IRECT& r, int p) {
         return new ISVGSwitchControl(r, {TestSVG("switch_0.svg"), TestSVG("switch_1.svg")}, p);
       }},
  };
  return kinds;
}

const IRECT kRects[] = {IRECT(10, 10, 110, 90), IRECT(), IRECT(50, 50, 50, 50),
                        IRECT(100, 100, 40, 30)};

// Parameters of every kind; the offset int is made one with a single value.
const int kParams[] = {
    FakeEditorDelegate::kParamEnum,          FakeEditorDelegate::kParamInt,
    FakeEditorDelegate::kParamGain,          FakeEditorDelegate::kParamTime,
    FakeEditorDelegate::kParamIntOffset,     FakeEditorDelegate::kParamEnumOffset,
    FakeEditorDelegate::kParamPercentStepped};

// Drawn through the recording double (G = RecordingGraphics) or the painter (IGraphicsNanoVG).
template <class G>
class HostileInputOn : public testsupport::ControlTestFixture<G>,
                       public ::testing::WithParamInterface<Kind> {
 protected:
  using Base = testsupport::ControlTestFixture<G>;
  using Base::dlg;
  using Base::g;
  using Base::kLeft;

  void SetUp() override {
    if constexpr (std::is_same_v<G, testsupport::RecordingGraphics>)
      g.SetHasPlatformTextEntry(false);
    dlg.GetParam(FakeEditorDelegate::kParamIntOffset)->InitInt("one value", 7, 7, 7);
  }

  void ExpectParamsSound(const std::string& where) {
    for (const auto& call : dlg.Calls()) {
      if (call.kind != FakeEditorDelegate::Call::kSetValue) continue;
      EXPECT_TRUE(call.value >= 0. && call.value <= 1.)
          << where << ": parameter " << call.paramIdx << " sent " << call.value;
    }
    for (int p = 0; p < dlg.NParams(); ++p) {
      const iplug::IParam* param = dlg.GetParam(p);
      EXPECT_TRUE(std::isfinite(param->Value()) && param->Value() >= param->GetMin() &&
                  param->Value() <= param->GetMax())
          << where << ": parameter " << p << " holds " << param->Value();
      EXPECT_EQ(dlg.GetGestureDepth(p), 0) << where << ": parameter " << p;
    }
    dlg.ClearCalls();
  }

  void DragAround(IControl* c) {
    const IRECT r = c->GetRECT();
    const float x = r.MW(), y = r.MH();
    g.OnMouseDown(x, y, kLeft);
    for (float d : {1.f, -kHuge, kHuge, kInf, -kInf, kNaN, 0.f}) {
      g.OnMouseDrag(x + d, y - d, d, -d, kLeft);
      g.OnMouseDrag(x, y, d, d, IMouseMod{true, false, true});  // fine
    }
    g.OnMouseDrag(kNaN, kNaN, 0.f, 0.f, kLeft);
    g.OnMouseUp(x, y, kLeft);
    for (float d : {kHuge, -kHuge, kInf, kNaN, 1e-30f})
      g.OnMouseWheel(x, y, IMouseMod{}, d);
    g.OnMouseDblClick(x, y, kLeft);
    g.OnMouseUp(x, y, kLeft);
    g.OnMouseOut();
    // A prompt the clicks opened is dismissed, as a user would with Escape, or answered with a
    // text that is no number.
    g.OnKeyDown(0.f, 0.f, iplug::IKeyPress("\x1b", iplug::kVK_ESCAPE));
    if (g.GetControlInTextEntry()) g.SetControlValueAfterTextEdit("nan");
  }

  // Attaches the kind in every rectangle and bound to every parameter, drives it, and checks
  // what reached the parameters.
  void Sweep() {
    for (const IRECT& r : kRects) {
      for (int p : kParams) {
        const std::string where = std::string(GetParam().name) + " param " + std::to_string(p) +
                                  " rect " + std::to_string(r.L) + "," + std::to_string(r.T) + "," +
                                  std::to_string(r.R) + "," + std::to_string(r.B);
        IControl* c = g.AttachControl(GetParam().make(r, p));
        ASSERT_NE(c, nullptr);
        g.DrawFrame();
        DragAround(c);
        g.DrawFrame();
        for (double v : {-5., 5., std::numeric_limits<double>::quiet_NaN(),
                         std::numeric_limits<double>::infinity()}) {
          for (int i = 0; i < c->NVals(); ++i)
            c->SetValueFromDelegate(v, i);
          g.DrawFrame();
        }
        DragAround(c);
        c->SetSize(0.f, 0.f);
        g.DrawFrame();
        DragAround(c);
        c->SetSize(-5.f, kNaN);
        c->SetPosition(kNaN, -kInf);
        g.DrawFrame();
        // A layout that computed no numbers.
        c->SetTargetAndDrawRECTs(IRECT(kNaN, -kInf, kInf, kNaN));
        c->OnResize();
        c->SetDirty(false);
        g.DrawFrame();
        DragAround(c);
        g.DrawFrame();
        ExpectParamsSound(where);
        g.RemoveControl(c);
      }
    }
  }
};

class HostileInput : public HostileInputOn<testsupport::RecordingGraphics> {
 protected:
  void Frame() {
    g.ClearLog();
    g.DrawFrame();
  }
};

TEST_P(HostileInput, DragsWheelsAndHostValuesKeepEveryParameterInRange) {
  Sweep();
}

// The same through the painter, which turns the geometry into pixels.
class HostileInputDrawn : public HostileInputOn<IGraphicsNanoVG> {};

TEST_P(HostileInputDrawn, DragsWheelsAndHostValuesKeepEveryParameterInRange) {
  Sweep();
}

TEST_P(HostileInput, RemovedWhileDraggedLeavesNothingBehind) {
  for (int p : kParams) {
    IControl* c = g.AttachControl(GetParam().make(IRECT(10, 10, 110, 90), p));
    g.OnMouseDown(60, 50, kLeft);
    g.OnMouseDrag(60, 40, 0, -10, kLeft);
    g.RemoveControl(c);
    g.OnMouseDrag(60, 30, 0, -10, kLeft);
    g.OnMouseWheel(60, 30, IMouseMod{}, 1.f);
    g.OnMouseUp(60, 30, kLeft);
    Frame();
    ExpectParamsSound(GetParam().name);
  }
}

// With the interface's own menu and text field: the prompts a right click, a click and a double
// click open, answered or left open while the control goes.
TEST_P(HostileInput, PromptsOpenWhenTheControlGoesEndWithIt) {
  g.SetHasPlatformPopupMenu(false);
  const iplug::IKeyPress kDigit("1", iplug::kVK_1), kReturn("\r", iplug::kVK_RETURN);
  for (int p : kParams) {
    for (int answered = 0; answered < 2; ++answered) {
      IControl* c = g.AttachControl(GetParam().make(IRECT(10, 10, 110, 90), p));
      c->DisablePrompt(false);
      for (const IMouseMod& mod : {kRight, kLeft}) {
        g.OnMouseDown(60, 50, mod);
        g.OnMouseUp(60, 50, mod);
        Frame();
        g.OnMouseDblClick(60, 50, mod);
        g.OnMouseUp(60, 50, mod);
        Frame();
        if (answered) {
          g.OnKeyDown(60, 50, kDigit);
          g.OnKeyDown(60, 50, kReturn);
          Click(60, 50);  // picks an item of an open menu
          Frame();
        }
      }
      g.RemoveControl(c);
      g.OnMouseDown(60, 50, kLeft);
      g.OnMouseDrag(60, 40, 0, -10, kLeft);
      g.OnKeyDown(60, 50, kDigit);
      g.OnKeyDown(60, 50, kReturn);
      g.OnMouseUp(60, 40, kLeft);
      Frame();
      EXPECT_FALSE(g.ControlIsCaptured()) << GetParam().name;
      ExpectParamsSound(std::string(GetParam().name) + " param " + std::to_string(p) +
                        (answered ? " answered" : " left open"));
    }
  }
}

const auto kKindName = [](const auto& kind) { return std::string(kind.param.name); };
INSTANTIATE_TEST_SUITE_P(AllControls, HostileInput, ::testing::ValuesIn(Kinds()), kKindName);
INSTANTIATE_TEST_SUITE_P(AllControls, HostileInputDrawn, ::testing::ValuesIn(Kinds()), kKindName);
INSTANTIATE_TEST_SUITE_P(ImageControls, HostileInputDrawn, ::testing::ValuesIn(ImageKinds()),
                         kKindName);

}  // namespace
