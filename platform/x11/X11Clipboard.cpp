#include "platform/x11/detail/X11Clipboard.h"

#include <X11/Xatom.h>
#include <poll.h>

#include <algorithm>
#include <cmath>

#include "base/Log.h"
#include "base/Utf8.h"
#include "platform/core/Pasteboard.h"
#include "platform/core/RunLoop.h"
#include "platform/system/Clock.h"

namespace platform::x11 {

namespace {

// Room left in a request for the request's own header.
constexpr std::size_t kRequestHeaderBytes = 100;

// Characters beyond Latin-1, and bytes that are no UTF-8, become '?'.
std::string latin1Of(const std::string& utf8) {
  constexpr char32_t kLastLatin1 = 0xFF;
  std::string out;
  for (std::size_t i = 0; i < utf8.size();) {
    const base::Utf8Char c = base::decodeUtf8(utf8, i);
    out.push_back(c.wellFormed && c.codePoint <= kLastLatin1 ? static_cast<char>(c.codePoint)
                                                             : '?');
    i += c.length;
  }
  return out;
}

std::string utf8OfLatin1(const std::string& latin1) {
  std::string out;
  for (char c : latin1)
    base::appendUtf8(static_cast<unsigned char>(c), out);
  return out;
}

// Exchanges with other programs run on real time, whatever clock the program reads.
double realNowMs() {
  static const SteadyClock steady;
  return steady.nowMs();
}

}  // namespace

Clipboard::Clipboard(Display* display, Window helperWindow, const Time& lastEventTime,
                     const bool& connectionLost)
    : mDisplay(display),
      mHelperWindow(helperWindow),
      mLastEventTime(lastEventTime),
      mLost(connectionLost) {
  mClipboard = XInternAtom(mDisplay, "CLIPBOARD", False);
  mTargets = XInternAtom(mDisplay, "TARGETS", False);
  mUtf8 = XInternAtom(mDisplay, "UTF8_STRING", False);
  mTextPlain = XInternAtom(mDisplay, "text/plain;charset=utf-8", False);
  mIncr = XInternAtom(mDisplay, "INCR", False);
  mReadProperty = XInternAtom(mDisplay, "PLATFORM_CLIPBOARD", False);
}

Clipboard::~Clipboard() {
  if (mExpiryTimer) mExpiryTimer->invalidate();
}

std::size_t Clipboard::chunkBytes() const {
  // The core limit, not the big-requests one: requestors take pieces of this size.
  // Requests are counted in 4-byte units.
  return static_cast<std::size_t>(XMaxRequestSize(mDisplay)) * 4 - kRequestHeaderBytes;
}

Time Clipboard::serverTime() {
  // A zero-length append changes nothing but brings back the server's time.
  Window helper = mHelperWindow;
  XChangeProperty(mDisplay, helper, mReadProperty, XA_STRING, 8, PropModeAppend, nullptr, 0);
  XEvent e;
  bool got = waitFor(
      e,
      [&](const XEvent& ev) {
        return ev.type == PropertyNotify && ev.xproperty.window == helper &&
               ev.xproperty.atom == mReadProperty;
      },
      realNowMs() + kTimeLimitMs);
  return got ? e.xproperty.time : mLastEventTime;
}

bool Clipboard::waitFor(XEvent& out, const std::function<bool(const XEvent&)>& match,
                        double deadlineMs) {
  XFlush(mDisplay);
  auto predicate = [](Display*, XEvent* e, XPointer arg) -> Bool {
    return (*reinterpret_cast<const std::function<bool(const XEvent&)>*>(arg))(*e);
  };
  for (;;) {
    if (mLost) return false;
    if (XCheckIfEvent(
            mDisplay, &out, predicate,
            reinterpret_cast<XPointer>(const_cast<std::function<bool(const XEvent&)>*>(&match))))
      return true;
    double left = deadlineMs - realNowMs();
    if (left <= 0) return false;
    pollfd fd{ConnectionNumber(mDisplay), POLLIN, 0};
    poll(&fd, 1, static_cast<int>(std::ceil(left)));
    XEventsQueued(mDisplay, QueuedAfterReading);
  }
}

void Clipboard::own(const std::string& text) {
  if (mLost) return;
  mText = text;
  Time time = serverTime();
  XSetSelectionOwner(mDisplay, mClipboard, mHelperWindow, time);
  mOwned = XGetSelectionOwner(mDisplay, mClipboard) == mHelperWindow;
  if (!mOwned) base::warn("platform", "display: could not take the clipboard");
}

bool Clipboard::foreignOwnerExists() {
  if (mLost) return false;
  Window owner = XGetSelectionOwner(mDisplay, mClipboard);
  return owner != None && owner != mHelperWindow;
}

void Clipboard::handleEvent(const XEvent& event) {
  switch (event.type) {
    case SelectionRequest:
      answerRequest(event.xselectionrequest);
      return;
    case SelectionClear:
      if (event.xselectionclear.selection == mClipboard &&
          event.xselectionclear.window == mHelperWindow) {
        // Another program copied: what was here is no longer the pasteboard's.
        mOwned = false;
        mText.clear();
        NSPasteboard::generalPasteboard().noteForeignChange();
      }
      return;
    case PropertyNotify:
      if (event.xproperty.state == PropertyDelete) continueTransfer(event.xproperty);
      return;
    default:
      return;
  }
}

void Clipboard::answerRequest(const XSelectionRequestEvent& request) {
  XSelectionEvent reply{};
  reply.type = SelectionNotify;
  reply.requestor = request.requestor;
  reply.selection = request.selection;
  reply.target = request.target;
  reply.time = request.time;
  // Old clients name no property: the target is the property then.
  Atom property = request.property != None ? request.property : request.target;
  bool ok = request.selection == mClipboard && mOwned && request.owner == mHelperWindow &&
            writeTarget(request.requestor, property, request.target);
  reply.property = ok ? property : None;
  XSendEvent(mDisplay, request.requestor, False, NoEventMask, reinterpret_cast<XEvent*>(&reply));
  XFlush(mDisplay);
}

bool Clipboard::writeTarget(Window requestor, Atom property, Atom target) {
  if (target == mTargets) {
    Atom targets[] = {mTargets, mUtf8, XA_STRING, mTextPlain};
    XChangeProperty(mDisplay, requestor, property, XA_ATOM, 32, PropModeReplace,
                    reinterpret_cast<unsigned char*>(targets), 4);
    return true;
  }
  std::string data;
  if (target == mUtf8 || target == mTextPlain)
    data = mText;
  else if (target == XA_STRING)
    data = latin1Of(mText);
  else
    return false;
  if (data.size() <= chunkBytes()) {
    XChangeProperty(mDisplay, requestor, property, target, 8, PropModeReplace,
                    reinterpret_cast<const unsigned char*>(data.data()),
                    static_cast<int>(data.size()));
    return true;
  }
  // Too big for one request: INCR, one piece each time the requestor deletes the property.
  XSelectInput(mDisplay, requestor, PropertyChangeMask);
  long size = static_cast<long>(data.size());
  XChangeProperty(mDisplay, requestor, property, mIncr, 32, PropModeReplace,
                  reinterpret_cast<unsigned char*>(&size), 1);
  mTransfers.push_back(
      {requestor, property, target, std::move(data), 0, realNowMs() + kTimeLimitMs});
  scheduleExpiry();
  return true;
}

void Clipboard::continueTransfer(const XPropertyEvent& event) {
  auto it = std::find_if(mTransfers.begin(), mTransfers.end(), [&](const Transfer& t) {
    return t.requestor == event.window && t.property == event.atom;
  });
  if (it == mTransfers.end()) return;
  std::size_t piece = std::min(chunkBytes(), it->data.size() - it->offset);
  XChangeProperty(mDisplay, it->requestor, it->property, it->type, 8, PropModeReplace,
                  reinterpret_cast<const unsigned char*>(it->data.data() + it->offset),
                  static_cast<int>(piece));
  XFlush(mDisplay);
  if (piece == 0) {
    // The empty piece ends the transfer.
    XSelectInput(mDisplay, it->requestor, NoEventMask);
    mTransfers.erase(it);
    return;
  }
  it->offset += piece;
  it->deadlineMs = realNowMs() + kTimeLimitMs;
}

void Clipboard::expireTransfers() {
  double now = realNowMs();
  auto expired = [now](const Transfer& t) { return t.deadlineMs <= now; };
  std::size_t before = mTransfers.size();
  mTransfers.erase(std::remove_if(mTransfers.begin(), mTransfers.end(), expired), mTransfers.end());
  if (mTransfers.size() != before)
    base::warn("platform",
               "display: a clipboard transfer was dropped: the requestor stopped answering");
  if (!mTransfers.empty()) scheduleExpiry();
}

void Clipboard::scheduleExpiry() {
  if (mExpiryTimer && mExpiryTimer->isValid()) return;
  mExpiryTimer = NSTimer::timerWithTimeInterval(kTimeLimitMs / 1000.0, false, [this](NSTimer*) {
    // The firing timer is kept alive by the loop; a new one follows when transfers remain.
    mExpiryTimer = nullptr;
    expireTransfers();
  });
  NSRunLoop::mainRunLoop().addTimer(mExpiryTimer.get(), NSRunLoopCommonModes);
}

std::optional<std::string> Clipboard::readForeign() {
  if (mLost || mOwned || !foreignOwnerExists()) return std::nullopt;
  double deadline = realNowMs() + kTimeLimitMs;
  // An owner may give its value as STRING whatever was asked for: that is Latin-1, made
  // UTF-8 here. Other values are kept byte for byte (the readers sanitise what they show).
  for (Atom target : {mUtf8, Atom(XA_STRING)}) {
    Atom type = None;
    std::optional<std::string> text = readAs(target, deadline, &type);
    if (!text) continue;
    if (type == XA_STRING || (target == XA_STRING && type != mUtf8)) return utf8OfLatin1(*text);
    return text;
  }
  return std::nullopt;
}

std::optional<std::string> Clipboard::readAs(Atom target, double deadlineMs, Atom* valueType) {
  Window helper = mHelperWindow;
  XDeleteProperty(mDisplay, helper, mReadProperty);
  XConvertSelection(mDisplay, mClipboard, target, mReadProperty, helper, mLastEventTime);
  XEvent e;
  if (!waitFor(
          e,
          [&](const XEvent& ev) {
            return ev.type == SelectionNotify && ev.xselection.requestor == helper &&
                   ev.xselection.selection == mClipboard;
          },
          deadlineMs)) {
    base::warn("platform", "display: the clipboard's owner did not answer");
    return std::nullopt;
  }
  if (e.xselection.property == None) return std::nullopt;

  // Reads the whole property after checking its size; deletes it (which asks an INCR owner
  // for the next piece).
  auto takeProperty = [&](Atom& type, std::string& out) -> bool {
    int format;
    unsigned long count, after;
    unsigned char* data = nullptr;
    if (XGetWindowProperty(mDisplay, helper, mReadProperty, 0, 0, False, AnyPropertyType, &type,
                           &format, &count, &after, &data) != Success)
      return false;
    if (data) XFree(data);
    // No property: a notice of a value already taken.
    if (type == None) return true;
    if (after > kMaxForeignBytes) {
      base::warn("platform", "display: the clipboard's text is too big (%lu bytes)", after);
      XDeleteProperty(mDisplay, helper, mReadProperty);
      return false;
    }
    data = nullptr;
    const Atom sizedType = type;
    if (XGetWindowProperty(mDisplay, helper, mReadProperty, 0, long((after + 3) / 4), True,
                           AnyPropertyType, &type, &format, &count, &after, &data) != Success)
      return false;
    if (type != sizedType || after != 0) {
      // The owner replaced the value between the two reads (it had taken an earlier delete as
      // its cue): nothing was deleted, and the new value's notice is still to come.
      if (data) XFree(data);
      type = None;
      return true;
    }
    std::size_t unit = format == 32 ? sizeof(long) : std::size_t(format / 8);
    if (data && unit > 0) out.assign(reinterpret_cast<char*>(data), count * unit);
    if (data) XFree(data);
    return true;
  };

  Atom type;
  std::string first;
  if (!takeProperty(type, first)) return std::nullopt;
  if (type == None) {
    base::warn("platform", "display: the clipboard's owner named a property it did not write");
    return std::nullopt;
  }
  *valueType = type;
  if (type != mIncr) return first;
  // INCR: pieces arrive each as a new value of the property, until an empty one.
  std::string text;
  for (;;) {
    if (!waitFor(
            e,
            [&](const XEvent& ev) {
              return ev.type == PropertyNotify && ev.xproperty.window == helper &&
                     ev.xproperty.atom == mReadProperty && ev.xproperty.state == PropertyNewValue;
            },
            deadlineMs)) {
      base::warn("platform", "display: the clipboard's owner stopped answering");
      XDeleteProperty(mDisplay, helper, mReadProperty);
      return std::nullopt;
    }
    std::string piece;
    if (!takeProperty(type, piece)) return std::nullopt;
    if (type == None) continue;
    *valueType = type;
    if (piece.empty()) return text;
    if (text.size() + piece.size() > kMaxForeignBytes) {
      base::warn("platform", "display: the clipboard's text is too big");
      return std::nullopt;
    }
    text += piece;
  }
}

}  // namespace platform::x11
