#include <gtest/gtest.h>

#include <limits>
#include <vector>

#include "framework/IPlugAPIBase.h"
#include "support/FakeEditorDelegate.h"

using testsupport::FakeEditorDelegate;
using Call = FakeEditorDelegate::Call;

namespace {

TEST(IEditorDelegateTest, ParametersByIndexWithNoErrorOutside) {
  iplug::IPlugAPIBase delegate(3);
  EXPECT_EQ(delegate.NParams(), 3);
  EXPECT_NE(delegate.GetParam(0), nullptr);
  EXPECT_NE(delegate.GetParam(2), nullptr);
  EXPECT_EQ(delegate.GetParam(-1), nullptr);
  EXPECT_EQ(delegate.GetParam(3), nullptr);
  EXPECT_EQ(delegate.GetParam(std::numeric_limits<int>::min()), nullptr);
  EXPECT_EQ(delegate.GetParam(0)->Type(), iplug::IParam::kTypeNone);

  iplug::IPlugAPIBase none(-4);
  EXPECT_EQ(none.NParams(), 0);
  EXPECT_EQ(none.GetParam(0), nullptr);
}

TEST(IPlugAPIBaseTest, ValuesFromTheUIAreSetAndAnnounced) {
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

TEST(IPlugAPIBaseTest, BadIndicesAndNaNAreIgnored) {
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

TEST(IPlugAPIBaseTest, GestureDepthNestsAndNeverGoesBelowZero) {
  iplug::IPlugAPIBase delegate(2);
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

}  // namespace
