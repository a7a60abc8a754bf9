#include <gtest/gtest.h>

#include <vector>

#include "framework/IPlugAPP.h"

namespace {

class RecordingApp : public iplug::IPlugAPP {
 public:
  RecordingApp() : IEditorDelegate(0), IPlugAPP(0) {}
  std::vector<int> processed, shown;
  std::vector<int> sysexSizes;
  int idleTicks = 0;
  void ProcessMidiMsg(const iplug::IMidiMsg& msg) override { processed.push_back(msg.mData1); }
  void ProcessSysEx(const iplug::ISysEx& msg) override { sysexSizes.push_back(msg.mSize); }
  void OnMidiMsgUI(const iplug::IMidiMsg& msg) override { shown.push_back(msg.mData1); }
  void OnIdle() override { ++idleTicks; }
};

// The MIDI thread fills the rings; what does not fit is dropped and counted, never
// overwritten; the audio thread hands the rest over in order and clears the output.
TEST(IPlugAPPTest, RingsHoldTheirCapacityDropTheRestAndDeliverInOrder) {
  RecordingApp app;
  for (int i = 0; i < 40; ++i)
    app.QueueMidiIn(iplug::IMidiMsg(0, 0x90, static_cast<uint8_t>(i), 100));
  std::vector<uint8_t> sysex(iplug::SysExData::kMaxSize + 1, 0x11);
  for (int i = 0; i < 6; ++i)
    app.QueueSysExIn(sysex.data(), 9);
  EXPECT_FALSE(app.QueueSysExIn(sysex.data(), iplug::SysExData::kMaxSize + 1));
  EXPECT_FALSE(app.QueueSysExIn(nullptr, 9));
  EXPECT_EQ(app.TakeDroppedMessages(), (40u - 32u) + (6u - 4u) + 2u);
  EXPECT_EQ(app.TakeDroppedMessages(), 0u);

  float left[100], right[100];
  std::fill_n(left, 100, 1.0f);
  std::fill_n(right, 100, 1.0f);
  float* outputs[] = {left, right};
  app.AppProcess(outputs, 2, 100);
  ASSERT_EQ(app.processed.size(), 32u);
  EXPECT_EQ(app.processed.front(), 0);
  EXPECT_EQ(app.processed.back(), 31);
  EXPECT_EQ(app.sysexSizes, std::vector<int>(4, 9));
  EXPECT_EQ(left[99] + right[0], 0.0f);

  EXPECT_TRUE(app.shown.empty());
  app.OnTimer();
  EXPECT_EQ(app.shown, app.processed);
  EXPECT_EQ(app.idleTicks, 1);
  EXPECT_FALSE(app.SendSysEx(iplug::ISysEx(0, sysex.data(), 9)));  // no sender yet
}

}  // namespace

namespace {

class GestureApp : public iplug::IPlugAPP {
 public:
  GestureApp() : IEditorDelegate(3), IPlugAPP(3) {}
  std::vector<int> ended;
  void EndInformHostOfParamChangeFromUI(int paramIdx) override {
    ended.push_back(paramIdx);
    IPlugAPP::EndInformHostOfParamChangeFromUI(paramIdx);
  }
};

// Closing the editor with controls held ends each open gesture through the delegate.
TEST(IPlugAPPTest, ClosingTheEditorEndsTheGesturesStillOpen) {
  GestureApp app;
  app.BeginInformHostOfParamChangeFromUI(2);
  app.BeginInformHostOfParamChangeFromUI(2);
  app.BeginInformHostOfParamChangeFromUI(0);
  app.EndInformHostOfParamChangeFromUI(0);
  app.ended.clear();
  app.OnEditorClosed();
  EXPECT_EQ(app.ended, (std::vector<int>{2, 2}));
  EXPECT_EQ(app.GetGestureDepth(2), 0);
}

}  // namespace
