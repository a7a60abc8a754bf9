#include <gtest/gtest.h>

#include <limits>
#include <vector>

#include "framework/IPlugEditorDelegate.h"
#include "support/FakeEditorDelegate.h"

using Call = FakeEditorDelegate::Call;

namespace {

TEST(IEditorDelegateTest, ParametersByIndexWithNoErrorOutside) {
  iplug::IEditorDelegate delegate(3);
  EXPECT_EQ(delegate.NParams(), 3);
  EXPECT_NE(delegate.GetParam(0), nullptr);
  EXPECT_NE(delegate.GetParam(2), nullptr);
  EXPECT_EQ(delegate.GetParam(-1), nullptr);
  EXPECT_EQ(delegate.GetParam(3), nullptr);
  EXPECT_EQ(delegate.GetParam(std::numeric_limits<int>::min()), nullptr);
  EXPECT_EQ(delegate.GetParam(0)->Type(), iplug::IParam::kTypeNone);

  iplug::IEditorDelegate none(-4);
  EXPECT_EQ(none.NParams(), 0);
  EXPECT_EQ(none.GetParam(0), nullptr);
}

TEST(IEditorDelegateTest, ValuesFromTheUIAreSetAndAnnounced) {
  FakeEditorDelegate delegate;
  delegate.SetParameterValueFromUI(FakeEditorDelegate::kParamInt, 0.5);
  EXPECT_EQ(delegate.GetParam(FakeEditorDelegate::kParamInt)->Value(), 64.0);  // 63.5 rounds up
  delegate.SetParameterValueFromUI(FakeEditorDelegate::kParamEnumOffset, 1.0);
  EXPECT_EQ(delegate.GetParam(FakeEditorDelegate::kParamEnumOffset)->Value(), 6.0);
  delegate.SetParameterValueFromUI(FakeEditorDelegate::kParamGain, 7.0);  // beyond 1: clamped
  EXPECT_EQ(delegate.GetParam(FakeEditorDelegate::kParamGain)->Value(), 12.0);
  EXPECT_EQ(delegate.AcceptedChanges(),
            (std::vector<int>{FakeEditorDelegate::kParamInt, FakeEditorDelegate::kParamEnumOffset,
                              FakeEditorDelegate::kParamGain}));
}

TEST(IEditorDelegateTest, BadIndicesAndNaNAreIgnored) {
  FakeEditorDelegate delegate;
  const double before = delegate.GetParam(FakeEditorDelegate::kParamTime)->Value();
  delegate.SetParameterValueFromUI(FakeEditorDelegate::kParamTime,
                                   std::numeric_limits<double>::quiet_NaN());
  delegate.SetParameterValueFromUI(-1, 0.5);
  delegate.SetParameterValueFromUI(FakeEditorDelegate::kNumParams, 0.5);
  delegate.BeginInformHostOfParamChangeFromUI(-1);
  delegate.EndInformHostOfParamChangeFromUI(99);
  EXPECT_EQ(delegate.GetParam(FakeEditorDelegate::kParamTime)->Value(), before);
  EXPECT_TRUE(delegate.AcceptedChanges().empty());
  EXPECT_EQ(delegate.GetGestureDepth(-1), 0);
  EXPECT_EQ(delegate.Calls().size(), 5u);  // the fake still records what it was asked
}

TEST(IEditorDelegateTest, GestureDepthNestsAndNeverGoesBelowZero) {
  iplug::IEditorDelegate delegate(2);
  delegate.EndInformHostOfParamChangeFromUI(0);
  EXPECT_EQ(delegate.GetGestureDepth(0), 0);
  delegate.BeginInformHostOfParamChangeFromUI(0);
  delegate.BeginInformHostOfParamChangeFromUI(0);
  delegate.BeginInformHostOfParamChangeFromUI(1);
  EXPECT_EQ(delegate.GetGestureDepth(0), 2);
  EXPECT_EQ(delegate.GetGestureDepth(1), 1);
  delegate.EndInformHostOfParamChangeFromUI(0);
  delegate.EndInformHostOfParamChangeFromUI(0);
  delegate.EndInformHostOfParamChangeFromUI(0);
  EXPECT_EQ(delegate.GetGestureDepth(0), 0);
  delegate.BeginInformHostOfParamChangeFromUI(0);
  EXPECT_EQ(delegate.GetGestureDepth(0), 1);  // an extra End did not leave a debt behind
}

TEST(FakeEditorDelegateTest, RecordsCallsInOrder) {
  FakeEditorDelegate delegate;
  delegate.BeginInformHostOfParamChangeFromUI(2);
  delegate.SetParameterValueFromUI(2, 0.25);
  delegate.SetParameterValueFromUI(2, 0.75);
  delegate.EndInformHostOfParamChangeFromUI(2);
  const std::vector<Call> expected = {{Call::kBegin, 2, 0.0},
                                      {Call::kSetValue, 2, 0.25},
                                      {Call::kSetValue, 2, 0.75},
                                      {Call::kEnd, 2, 0.0}};
  EXPECT_EQ(delegate.Calls(), expected);
  delegate.ClearCalls();
  EXPECT_TRUE(delegate.Calls().empty());
}

TEST(FakeEditorDelegateTest, ParameterTableMatchesItsDescription) {
  struct Row {
    int idx;
    iplug::IParam::EParamType type;
    double min, max, value;
    bool stepped;
    int nTexts;
    const char* label;
  };
  using P = iplug::IParam;
  const Row rows[] = {
      {FakeEditorDelegate::kParamEnum, P::kTypeEnum, 0, 3, 0, true, 4, ""},
      {FakeEditorDelegate::kParamBool, P::kTypeBool, 0, 1, 0, true, 2, ""},
      {FakeEditorDelegate::kParamInt, P::kTypeInt, 0, 127, 64, true, 0, ""},
      {FakeEditorDelegate::kParamGain, P::kTypeDouble, -12, 12, 0, false, 0, "dB"},
      {FakeEditorDelegate::kParamTime, P::kTypeDouble, 1, 1000, 10, false, 0, "ms"},
      {FakeEditorDelegate::kParamIntOffset, P::kTypeInt, 20, 40, 30, true, 0, ""},
      {FakeEditorDelegate::kParamEnumOffset, P::kTypeEnum, 3, 6, 4, true, 4, ""},
      {FakeEditorDelegate::kParamPercentStepped, P::kTypeDouble, 0, 100, 50, true, 0, "%"},
  };
  FakeEditorDelegate delegate;
  ASSERT_EQ(delegate.NParams(), FakeEditorDelegate::kNumParams);
  for (const Row& row : rows) {
    const P& param = *delegate.GetParam(row.idx);
    EXPECT_EQ(param.Type(), row.type) << row.idx;
    EXPECT_EQ(param.GetMin(), row.min) << row.idx;
    EXPECT_EQ(param.GetMax(), row.max) << row.idx;
    EXPECT_EQ(param.Value(), row.value) << row.idx;
    EXPECT_EQ(param.GetStepped(), row.stepped) << row.idx;
    EXPECT_EQ(param.NDisplayTexts(), row.nTexts) << row.idx;
    EXPECT_STREQ(param.GetLabel(), row.label) << row.idx;
  }
  EXPECT_STREQ(delegate.GetParam(FakeEditorDelegate::kParamEnumOffset)->GetDisplayText(3), "three");
  EXPECT_STREQ(delegate.GetParam(FakeEditorDelegate::kParamEnumOffset)->GetDisplayText(6), "six");
}

}  // namespace
