#pragma once

#include <X11/Xlib.h>

#include "platform/core/Timer.h"

#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace platform::x11 {

// The general pasteboard's text as the CLIPBOARD selection. Owning answers TARGETS,
// UTF8_STRING, STRING and text/plain;charset=utf-8, in INCR pieces above the largest
// request; reading asks for UTF8_STRING (else STRING) and follows INCR. Every exchange
// ends within kTimeLimitMs: a requestor that vanishes or an owner that never answers
// frees what it held then.
class Clipboard {
 public:
  static constexpr double kTimeLimitMs = 1000;
  // The largest text taken from another program.
  static constexpr unsigned long kMaxForeignBytes = 64ul << 20;

  // On the backend's connection: the helper window owns the selection and takes
  // timestamps; the time of the last event and whether the connection was lost are read
  // from the backend as they change.
  Clipboard(Display* display, Window helperWindow, const Time& lastEventTime,
            const bool& connectionLost);
  ~Clipboard();

  void handleEvent(const XEvent& event);
  // Takes ownership of the selection with the text.
  void own(const std::string& text);
  // The text of another program owning the selection; none when this one owns it, nobody
  // does, or the owner did not answer in time.
  std::optional<std::string> readForeign();
  // Whether another program owns the selection now.
  bool foreignOwnerExists();

  // Transfers to other programs still going (for tests).
  std::size_t pendingTransfers() const { return mTransfers.size(); }
  // Drops transfers whose time ran out.
  void expireTransfers();

 private:
  struct Transfer {
    Window requestor;
    Atom property;
    Atom type;
    std::string data;
    std::size_t offset;
    double deadlineMs;
  };
  void answerRequest(const XSelectionRequestEvent& request);
  bool writeTarget(Window requestor, Atom property, Atom target);
  void continueTransfer(const XPropertyEvent& event);
  void scheduleExpiry();
  Time serverTime();
  // Waits for an event of the predicate until the deadline, keeping other events in order.
  bool waitFor(XEvent& out, const std::function<bool(const XEvent&)>& match, double deadlineMs);
  // The owner's value for the target, and the type it gave the value in *type.
  std::optional<std::string> readAs(Atom target, double deadlineMs, Atom* type);
  std::size_t chunkBytes() const;

  Display* mDisplay;
  Window mHelperWindow;
  const Time& mLastEventTime;
  const bool& mLost;
  Atom mClipboard, mTargets, mUtf8, mTextPlain, mIncr, mReadProperty;
  std::string mText;
  bool mOwned = false;
  std::vector<Transfer> mTransfers;
  Ref<NSTimer> mExpiryTimer;
};

}  // namespace platform::x11
