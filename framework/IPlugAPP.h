#pragma once

#include <atomic>
#include <cstdint>

#include "framework/IPlugAPIBase.h"
#include "framework/IPlugQueue.h"
#include "framework/IPlugStructs.h"

namespace iplug {

// Where the application's outgoing MIDI goes: the standalone host's output port.
class IMidiSender {
 public:
  virtual ~IMidiSender() = default;
  virtual bool SendMidiMsg(const IMidiMsg& msg) = 0;
  virtual bool SendSysEx(const ISysEx& msg) = 0;
};

// The application base of the standalone program. MIDI arrives on the MIDI thread into
// two rings, is handed to the application on the audio thread block by block, and is
// copied on to the main thread, which takes it on its 20 ms tick. The editor delegate is a
// virtual base: an application with a screen also derives from the graphics core's editor
// delegate, and both share the one parameter list (the application's constructor makes it).
class IPlugAPP : public IPlugAPIBase {
 public:
  static constexpr int kBlockSize = 64;
  static constexpr int kTimerIntervalMs = 20;
  static constexpr std::size_t kMidiRingUsable = 32;
  static constexpr std::size_t kSysExRingUsable = 4;

  explicit IPlugAPP(int nParams);

  // MIDI thread, lock-free: false when the message does not fit (full ring, or a
  // System Exclusive message longer than SysExData::kMaxSize); the drop is counted.
  bool QueueMidiIn(const IMidiMsg& msg);
  bool QueueSysExIn(const uint8_t* data, int size);

  // Audio thread: runs the application over nFrames in blocks of kBlockSize, handing it
  // the queued MIDI first. The outputs (nChannels buffers of nFrames) are cleared.
  void AppProcess(float** outputs, int nChannels, int nFrames);

  // Main thread, every kTimerIntervalMs: hands MIDI copied by the audio thread to the
  // user-interface hooks, then calls OnIdle.
  void OnTimer();

  // Messages dropped since the last call (MIDI thread and audio thread together).
  std::uint64_t TakeDroppedMessages() { return mDropped.exchange(0); }

  // The editor closes: each gesture still open on a parameter (a control held) ends, so
  // the host hears the End call as after a release.
  void OnEditorClosed();

  // Outgoing MIDI through the host's sender; false without one or when it refuses.
  void SetMidiSender(IMidiSender* sender) { mSender = sender; }
  bool SendMidiMsg(const IMidiMsg& msg);
  bool SendSysEx(const ISysEx& msg);

  // Application hooks. Process* run on the audio thread, the others on the main thread.
  virtual void ProcessMidiMsg(const IMidiMsg&) {}
  virtual void ProcessSysEx(const ISysEx&) {}
  virtual void OnMidiMsgUI(const IMidiMsg&) {}
  virtual void OnSysexMsgUI(const ISysEx&) {}
  virtual void OnIdle() {}
  // A command of the host's menu that the host does not handle itself.
  virtual void OnHostMenuCommand(int) {}
  // A change in the host's devices the user should see (its MIDI and audio server went away or
  // answers again), as one line of text.
  virtual void OnHostStatus(const char*) {}

 private:
  IRingQueue<IMidiMsg, kMidiRingUsable + 1> mMidiIn;
  IRingQueue<SysExData, kSysExRingUsable + 1> mSysExIn;
  IRingQueue<IMidiMsg, kMidiRingUsable + 1> mMidiToUI;
  IRingQueue<SysExData, kSysExRingUsable + 1> mSysExToUI;
  std::atomic<std::uint64_t> mDropped{0};
  IMidiSender* mSender = nullptr;
};

// Made by the application unit: the one application object of the program.
IPlugAPP* CreateAppInstance();

}  // namespace iplug
