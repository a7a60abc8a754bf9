#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <memory>
#include <utility>

#include "framework/IPlugParameter.h"
#include "support/FakeEditorDelegate.h"

using iplug::IParam;
using testsupport::FakeEditorDelegate;

namespace {

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
constexpr double kInf = std::numeric_limits<double>::infinity();

std::string Display(const IParam& param, double value, bool normalized = false,
                    bool withDisplayText = true) {
  WDL_String out("stale");
  param.GetDisplay(value, normalized, out, withDisplayText);
  return out.Get();
}

// value = min + normalized^2 * range: a shape other than the linear one.
class ShapeSquare : public IParam::Shape {
 public:
  std::unique_ptr<Shape> Clone() const override { return std::make_unique<ShapeSquare>(*this); }
  double NormalizedToValue(double n, const IParam& p) const override {
    return p.GetMin() + n * n * p.GetRange();
  }
  double ValueToNormalized(double v, const IParam& p) const override {
    return std::sqrt((v - p.GetMin()) / p.GetRange());
  }
};

// A broken shape that answers NaN for everything.
class ShapeNaN : public IParam::Shape {
 public:
  std::unique_ptr<Shape> Clone() const override { return std::make_unique<ShapeNaN>(*this); }
  double NormalizedToValue(double, const IParam&) const override { return kNaN; }
  double ValueToNormalized(double, const IParam&) const override { return kNaN; }
};

TEST(IParamTest, NaNNeverReachesTheValue) {
  IParam param;
  param.InitDouble("Gain", 0.0, -12.0, 12.0, 0.1, "dB");
  param.Set(kNaN);
  EXPECT_EQ(param.Value(), -12.0);
  param.Set(3.0);
  param.SetNormalized(kNaN);
  EXPECT_EQ(param.Value(), -12.0);
  EXPECT_EQ(param.FromNormalized(kNaN), -12.0);
  EXPECT_EQ(param.ToNormalized(kNaN), 0.0);
  EXPECT_EQ(param.Constrain(kNaN), -12.0);
  EXPECT_EQ(param.Clamp(kNaN), -12.0);
  EXPECT_EQ(param.StringToValue("nan"), -12.0);

  param.InitDouble("Gain", kNaN, -12.0, 12.0, kNaN);
  EXPECT_EQ(param.GetDefault(), -12.0);
  EXPECT_EQ(param.Value(), -12.0);
  EXPECT_FALSE(param.GetStepped());

  param.InitDouble("Gain", 0.5, kNaN, kInf, 0.1);
  EXPECT_EQ(param.GetMin(), 0.0);
  EXPECT_EQ(param.GetMax(), 1.0);
  EXPECT_EQ(param.Value(), 0.5);

  param.InitDouble("Broken", 0.5, 0.0, 1.0, 0.1, "", 0, "", ShapeNaN());
  EXPECT_EQ(param.ToNormalized(0.5), 0.0);
  EXPECT_EQ(param.FromNormalized(0.5), 0.0);
  param.SetNormalized(0.7);
  EXPECT_FALSE(std::isnan(param.Value()));
}

TEST(IParamTest, InfiniteValuesClampToTheRange) {
  IParam param;
  param.InitInt("Note", 64, 0, 127);
  param.Set(kInf);
  EXPECT_EQ(param.Value(), 127.0);
  param.SetNormalized(-kInf);
  EXPECT_EQ(param.Value(), 0.0);
  EXPECT_EQ(param.ToNormalized(kInf), 1.0);
}

TEST(IParamTest, SteppedWithoutAPositiveStepIsUnstepped) {
  for (double step : {0.0, -0.5}) {
    IParam param;
    param.InitDouble("Mix", 0.0, 0.0, 1.0, step, "", IParam::kFlagStepped);
    EXPECT_FALSE(param.GetStepped()) << step;
    EXPECT_DOUBLE_EQ(param.ToNormalized(0.37), 0.37) << step;
    param.Set(0.37);
    EXPECT_DOUBLE_EQ(param.Value(), 0.37) << step;
    EXPECT_EQ(Display(param, 0.37), "0.37") << step;
  }
}

TEST(IParamTest, EmptyAndUpsideDownRangesGiveNoNaN) {
  IParam reversed;
  reversed.InitDouble("Reversed", 5.0, 10.0, 0.0, 1.0);
  EXPECT_EQ(reversed.GetMin(), 0.0);
  EXPECT_EQ(reversed.GetMax(), 10.0);
  EXPECT_DOUBLE_EQ(reversed.ToNormalized(5.0), 0.5);
  reversed.InitInt("Reversed", 30, 40, 20);
  EXPECT_EQ(reversed.GetMin(), 20.0);
  EXPECT_EQ(reversed.Value(), 30.0);

  IParam empty;
  empty.InitDouble("Fixed", 3.0, 3.0, 3.0, 0.0);
  EXPECT_EQ(empty.ToNormalized(3.0), 0.0);
  EXPECT_EQ(empty.ToNormalized(7.0), 0.0);
  EXPECT_EQ(empty.GetStep(true), 0.0);
  empty.SetNormalized(0.8);
  EXPECT_EQ(empty.Value(), 3.0);
  empty.SetNormalized(kInf);  // inf * empty range would be NaN
  EXPECT_EQ(empty.Value(), 3.0);
}

// The whole double range: its width overflows a double, yet every value maps both ways.
TEST(IParamTest, ARangeWiderThanADoubleHoldsMapsBothWays) {
  constexpr double kMax = std::numeric_limits<double>::max();
  IParam param;
  param.InitDouble("Wide", 0.0, -kMax, kMax, 0.0);
  EXPECT_EQ(param.Value(), 0.0);
  for (const auto& [normalized, value] :
       {std::pair{0.0, -kMax}, {0.5, 0.0}, {1.0, kMax}, {0.75, kMax / 2}}) {
    EXPECT_DOUBLE_EQ(param.FromNormalized(normalized), value) << normalized;
    EXPECT_DOUBLE_EQ(param.ToNormalized(value), normalized) << value;
  }
  param.SetNormalized(param.GetNormalized());
  EXPECT_EQ(param.Value(), 0.0) << "a round trip keeps the value";
}

TEST(IParamTest, ToNormalizedRoundsToTheStepThenClamps) {
  FakeEditorDelegate delegate;
  const IParam& note = *delegate.GetParam(FakeEditorDelegate::kParamInt);
  EXPECT_DOUBLE_EQ(note.ToNormalized(64.4), 64.0 / 127.0);
  EXPECT_DOUBLE_EQ(note.ToNormalized(64.6), 65.0 / 127.0);
  EXPECT_EQ(note.ToNormalized(500.0), 1.0);
  EXPECT_EQ(note.ToNormalized(-3.0), 0.0);

  const IParam& mix = *delegate.GetParam(FakeEditorDelegate::kParamPercentStepped);
  EXPECT_DOUBLE_EQ(mix.ToNormalized(12.4), 0.10);
  EXPECT_DOUBLE_EQ(mix.ToNormalized(12.6), 0.15);

  // Unstepped doubles keep every value.
  const IParam& time = *delegate.GetParam(FakeEditorDelegate::kParamTime);
  EXPECT_DOUBLE_EQ(time.ToNormalized(500.5), 499.5 / 999.0);
}

TEST(IParamTest, NormalizedRoundTripsOnEveryParameter) {
  FakeEditorDelegate delegate;
  for (int idx = 0; idx < delegate.NParams(); ++idx) {
    const IParam& param = *delegate.GetParam(idx);
    for (int i = 0; i <= 40; ++i) {
      const double value = param.GetMin() + (param.GetMax() - param.GetMin()) * i / 40.0;
      const double expected = param.Constrain(value);
      const double back = param.Constrain(param.FromNormalized(param.ToNormalized(value)));
      EXPECT_NEAR(back, expected, 1e-9) << param.GetName() << " at " << value;
    }
    EXPECT_EQ(param.FromNormalized(0.0), param.GetMin()) << param.GetName();
    EXPECT_EQ(param.FromNormalized(1.0), param.GetMax()) << param.GetName();
  }
}

TEST(IParamTest, FromNormalizedNeitherRoundsNorClamps) {
  IParam param;
  param.InitInt("Note", 0, 0, 100);
  EXPECT_DOUBLE_EQ(param.FromNormalized(0.505), 50.5);
  EXPECT_DOUBLE_EQ(param.FromNormalized(1.5), 150.0);
  param.SetNormalized(0.505);
  EXPECT_EQ(param.Value(), 51.0);  // Set rounds and clamps
}

TEST(IParamTest, ShapesMapBothWaysAndSurviveCopies) {
  IParam param;
  param.InitDouble("Freq", 10.0, 0.0, 100.0, 0.0, "Hz", 0, "", ShapeSquare());
  EXPECT_DOUBLE_EQ(param.ToNormalized(25.0), 0.5);
  EXPECT_DOUBLE_EQ(param.FromNormalized(0.5), 25.0);
  IParam copy(param);
  param.InitDouble("Freq", 10.0, 0.0, 100.0, 0.0);
  EXPECT_DOUBLE_EQ(copy.ToNormalized(25.0), 0.5);
  EXPECT_DOUBLE_EQ(param.ToNormalized(25.0), 0.25);
  param = copy;
  EXPECT_DOUBLE_EQ(param.ToNormalized(25.0), 0.5);
  EXPECT_STREQ(param.GetLabel(), "Hz");
}

TEST(IParamTest, InitsClampTheDefaultAndNeedOneEnumValue) {
  IParam grouped;
  grouped.InitInt("Bank", 99, 1, 8, "", 0, "Setup");
  EXPECT_EQ(grouped.Value(), 8.0);  // a default outside the range is clamped
  EXPECT_STREQ(grouped.GetGroup(), "Setup");

  IParam single;
  single.InitEnum("Only", 3, 0);
  EXPECT_EQ(single.GetMax(), 0.0);
  EXPECT_EQ(single.Value(), 0.0);
}

TEST(IParamTest, DisplayShowsTextsOrNumbers) {
  FakeEditorDelegate delegate;
  const IParam& mode = *delegate.GetParam(FakeEditorDelegate::kParamEnum);
  EXPECT_EQ(Display(mode, 2.0), "Mid");
  EXPECT_EQ(Display(mode, 2.0, false, false), "2");
  EXPECT_EQ(Display(mode, 1.0, true), "High");
  EXPECT_EQ(Display(mode, 2.4), "Mid");  // rounded to the step first

  const IParam& gain = *delegate.GetParam(FakeEditorDelegate::kParamGain);
  EXPECT_EQ(Display(gain, 3.14159), "3.1");
  EXPECT_EQ(Display(gain, -0.04), "0.0");  // never "-0.0"
  EXPECT_EQ(Display(gain, 0.5, true), "0.0");
  EXPECT_EQ(Display(gain, 99.0), "12.0");

  const IParam& time = *delegate.GetParam(FakeEditorDelegate::kParamTime);
  EXPECT_EQ(Display(time, 12.345), "12.35");

  const IParam& note = *delegate.GetParam(FakeEditorDelegate::kParamInt);
  EXPECT_EQ(Display(note, 64.0), "64");

  IParam fine;
  fine.InitDouble("Fine", 0.5, 0.0, 1.0, 0.01);
  EXPECT_EQ(Display(fine, 0.5), "0.50");
  fine.InitDouble("Quarter", 0.5, 0.0, 1.0, 0.25);
  EXPECT_EQ(Display(fine, 0.75), "0.75");
  fine.InitDouble("Coarse", 50.0, 0.0, 100.0, 5.0);
  EXPECT_EQ(Display(fine, 50.0), "50");

  WDL_String current;
  delegate.GetParam(FakeEditorDelegate::kParamBool)->GetDisplay(current);
  EXPECT_STREQ(current.Get(), "Bypassed");
}

TEST(IParamTest, DisplayTextLookupToleratesRoundingNoise) {
  IParam param;
  param.InitDouble("Gain", 0.0, -1.0, 1.0, 0.1);
  param.SetDisplayText(0.3, "three tenths");
  EXPECT_STREQ(param.GetDisplayText(0.1 * 3), "three tenths");
  EXPECT_STREQ(param.GetDisplayText(0.31), "");
  param.Set(0.3);
  EXPECT_EQ(Display(param, param.Value()), "three tenths");
}

TEST(IParamTest, DisplayTextsStayInValueOrder) {
  IParam param;
  param.InitInt("Steps", 0, 0, 10);
  EXPECT_EQ(param.NDisplayTexts(), 0);
  param.SetDisplayText(5.0, "five");
  param.SetDisplayText(1.0, "one");
  param.SetDisplayText(9.0, nullptr);
  param.SetDisplayText(5.0, "FIVE");
  param.SetDisplayText(kNaN, "never");
  ASSERT_EQ(param.NDisplayTexts(), 3);
  double value = -1.0;
  EXPECT_STREQ(param.GetDisplayTextAtIdx(0, &value), "one");
  EXPECT_EQ(value, 1.0);
  EXPECT_STREQ(param.GetDisplayTextAtIdx(1), "FIVE");
  EXPECT_STREQ(param.GetDisplayTextAtIdx(2, &value), "");
  EXPECT_EQ(value, 9.0);
  EXPECT_EQ(param.GetDisplayTextAtIdx(3, &value), nullptr);
  EXPECT_EQ(param.GetDisplayTextAtIdx(-1), nullptr);
  EXPECT_EQ(value, 9.0);

  EXPECT_TRUE(param.MapDisplayText("FIVE", &value));
  EXPECT_EQ(value, 5.0);
  EXPECT_FALSE(param.MapDisplayText("five", &value));
  EXPECT_FALSE(param.MapDisplayText(nullptr, &value));
  EXPECT_TRUE(param.MapDisplayText("one", nullptr));

  param.InitInt("Steps", 0, 0, 10);  // a new Init forgets the old texts
  EXPECT_EQ(param.NDisplayTexts(), 0);
}

TEST(IParamTest, CurrentDisplayTextIsTheLabelUnlessTheValueHasAText) {
  FakeEditorDelegate delegate;
  EXPECT_STREQ(delegate.GetParam(FakeEditorDelegate::kParamGain)->GetCurrentDisplayText(), "dB");
  EXPECT_STREQ(delegate.GetParam(FakeEditorDelegate::kParamEnum)->GetCurrentDisplayText(), "");

  IParam param;
  param.InitDouble("Level", 2.7, 0.0, 10.0, 0.1, "dB");
  param.SetDisplayText(2.0, "two");
  EXPECT_STREQ(param.GetCurrentDisplayText(), "");  // 2.7 truncates to 2
  param.Set(-0.5);
  EXPECT_STREQ(param.GetCurrentDisplayText(), "dB");

  // Truncating a value beyond int's range must be safe.
  param.InitDouble("Huge", 1e300, -1e300, 1e300, 0.0, "units");
  EXPECT_STREQ(param.GetCurrentDisplayText(), "units");
}

TEST(IParamTest, StringToValueRoundsClampsAndMatchesTexts) {
  FakeEditorDelegate delegate;
  const IParam& note = *delegate.GetParam(FakeEditorDelegate::kParamInt);
  EXPECT_EQ(note.StringToValue("64.6"), 65.0);
  EXPECT_EQ(note.StringToValue("64.4"), 64.0);
  EXPECT_EQ(note.StringToValue("500"), 127.0);
  EXPECT_EQ(note.StringToValue("-3"), 0.0);
  EXPECT_EQ(note.StringToValue(nullptr), 0.0);

  const IParam& channel = *delegate.GetParam(FakeEditorDelegate::kParamIntOffset);
  EXPECT_EQ(channel.StringToValue("abc"), 1.0);
  EXPECT_EQ(channel.StringToValue("9abc"), 9.0);
  EXPECT_EQ(channel.StringToValue("33"), 16.0);

  EXPECT_EQ(delegate.GetParam(FakeEditorDelegate::kParamEnum)->StringToValue("High"), 3.0);
  EXPECT_EQ(delegate.GetParam(FakeEditorDelegate::kParamEnumOffset)->StringToValue("five"), 5.0);
  EXPECT_EQ(delegate.GetParam(FakeEditorDelegate::kParamBool)->StringToValue("Active"), 1.0);
  EXPECT_DOUBLE_EQ(delegate.GetParam(FakeEditorDelegate::kParamGain)->StringToValue("3.14"), 3.14);
  EXPECT_EQ(delegate.GetParam(FakeEditorDelegate::kParamPercentStepped)->StringToValue("12.6"),
            15.0);
  EXPECT_EQ(delegate.GetParam(FakeEditorDelegate::kParamGain)->StringToValue("-inf"), -12.0);
}

}  // namespace
