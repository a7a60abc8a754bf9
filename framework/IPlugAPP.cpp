#include "framework/IPlugAPP.h"

#include <algorithm>

namespace iplug {

IPlugAPP::IPlugAPP(int nParams) : IEditorDelegate(nParams), IPlugAPIBase(nParams) {}

bool IPlugAPP::QueueMidiIn(const IMidiMsg& msg) {
  if (mMidiIn.Push(msg)) return true;
  mDropped.fetch_add(1, std::memory_order_relaxed);
  return false;
}

bool IPlugAPP::QueueSysExIn(const uint8_t* data, int size) {
  if (data && size > 0 && size <= SysExData::kMaxSize && mSysExIn.Push(SysExData(0, size, data)))
    return true;
  mDropped.fetch_add(1, std::memory_order_relaxed);
  return false;
}

void IPlugAPP::AppProcess(float** outputs, int nChannels, int nFrames) {
  for (int start = 0; start < nFrames; start += kBlockSize) {
    const int frames = std::min(kBlockSize, nFrames - start);
    IMidiMsg msg;
    while (mMidiIn.Pop(msg)) {
      ProcessMidiMsg(msg);
      if (!mMidiToUI.Push(msg)) mDropped.fetch_add(1, std::memory_order_relaxed);
    }
    SysExData sysex;
    while (mSysExIn.Pop(sysex)) {
      ProcessSysEx(ISysEx(sysex.mOffset, sysex.mData, sysex.mSize));
      if (!mSysExToUI.Push(sysex)) mDropped.fetch_add(1, std::memory_order_relaxed);
    }
    for (int c = 0; c < nChannels && outputs; ++c)
      if (outputs[c]) std::fill_n(outputs[c] + start, frames, 0.0f);
  }
}

void IPlugAPP::OnTimer() {
  IMidiMsg msg;
  while (mMidiToUI.Pop(msg))
    OnMidiMsgUI(msg);
  SysExData sysex;
  while (mSysExToUI.Pop(sysex))
    OnSysexMsgUI(ISysEx(sysex.mOffset, sysex.mData, sysex.mSize));
  OnIdle();
}

void IPlugAPP::OnEditorClosed() {
  for (int i = 0; i < NParams(); ++i)
    for (int open = GetGestureDepth(i); open > 0; --open)
      EndInformHostOfParamChangeFromUI(i);
}

bool IPlugAPP::SendMidiMsg(const IMidiMsg& msg) {
  return mSender && mSender->SendMidiMsg(msg);
}

bool IPlugAPP::SendSysEx(const ISysEx& msg) {
  return mSender && msg.mData && msg.mSize > 0 && mSender->SendSysEx(msg);
}

}  // namespace iplug
