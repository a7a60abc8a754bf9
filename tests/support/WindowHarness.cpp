#include "support/WindowHarness.h"

#include <algorithm>
#include <cstdint>
#include <sstream>

#include "platform/core/Application.h"
#include "windowing/Win32.h"
#include "windowing/core/EventSupport.h"
#include "windowing/core/PostMessageHooks.h"
#include "windowing/core/detail/TestHooks.h"
#include "windowing/drawing/detail/TestHooks.h"

namespace testsupport {

namespace {

// The application delegate's part in posted messages, as the application stub has it.
class QueueDelegate : public platform::NSApplicationDelegate, public SwellMessageQueueDelegate {};

QueueDelegate& queueDelegate() {
  static QueueDelegate* d = new QueueDelegate;
  return *d;
}

}  // namespace

WindowHarness::WindowHarness() : mHeadAtStart(SWELL_DialogResourceHead) {
  platform::NSApp()->setDelegate(&queueDelegate());
  SWELL_Internal_PostMessage_Init();
  SWELL_MessageQueue_Clear(nullptr);
  swell::killAllTimersForTesting();
  swell::setTimerRestriction(nullptr);
  swell::resetQuittingForTesting();
  SWELL_EnableRightClickEmulate(1);
  ReleaseCapture();
  swell::setCursor(nullptr);
  swell::resetClipboardForTesting();
  SWELL_Metal_ResetProbeForTesting();
}

WindowHarness::~WindowHarness() {
  SWELL_DialogResourceHead = mHeadAtStart;
  SWELL_SetDefaultWindowMenu(nullptr);
  SWELL_SetDefaultModalWindowMenu(nullptr);
  swell::killAllTimersForTesting();
  SWELL_MessageQueue_Clear(nullptr);
  ReleaseCapture();
}

void WindowHarness::registerResource(SWELL_DialogResourceIndex* record) {
  SWELL_RegisterDialogResource(record);
}

void WindowHarness::flushPostedMessages() {
  SWELL_MessageQueue_Flush();
}

MessageLog* MessageLog::sCurrent = nullptr;

MessageLog::MessageLog() : mPrevious(sCurrent) {
  sCurrent = this;
}

MessageLog::~MessageLog() {
  sCurrent = mPrevious;
}

void MessageLog::answer(UINT msg, LRESULT value) {
  mFixed.push_back({msg, value});
}

namespace {

// Posted when this is the first message a procedure receives since the queue began
// handing over a posted message with the same number and parameters; anything the
// procedure is sent meanwhile comes after it.
Delivery deliveryOf(UINT msg, WPARAM wParam, LPARAM lParam) {
  static std::uint64_t claimed = 0;
  const swell::PostedDelivery* posted = swell::postedMessageInDelivery();
  if (!posted || posted->sequence == claimed || posted->msg != msg || posted->wParam != wParam ||
      posted->lParam != lParam)
    return Delivery::kSent;
  claimed = posted->sequence;
  return Delivery::kPosted;
}

}  // namespace

std::optional<LRESULT> MessageLog::respond(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  mMessages.push_back({hwnd, msg, wParam, lParam, deliveryOf(msg, wParam, lParam)});
  if (mScript)
    if (auto r = mScript(hwnd, msg, wParam, lParam)) return r;
  for (const auto& [m, v] : mFixed)
    if (m == msg) return v;
  return std::nullopt;
}

LRESULT MessageLog::windowProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  if (sCurrent)
    if (auto r = sCurrent->respond(hwnd, msg, wParam, lParam)) return *r;
  return DefWindowProc(hwnd, msg, wParam, lParam);
}

INT_PTR MessageLog::dialogProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  if (sCurrent)
    if (auto r = sCurrent->respond(hwnd, msg, wParam, lParam)) return *r;
  return 0;
}

std::vector<UINT> MessageLog::codes(HWND only, const std::vector<UINT>& skip) const {
  std::vector<UINT> out;
  for (const auto& m : mMessages) {
    if (only && m.hwnd != only) continue;
    if (std::find(skip.begin(), skip.end(), m.msg) != skip.end()) continue;
    out.push_back(m.msg);
  }
  return out;
}

int MessageLog::count(UINT msg, HWND only) const {
  return static_cast<int>(std::count_if(mMessages.begin(), mMessages.end(), [&](const auto& m) {
    return m.msg == msg && (!only || m.hwnd == only);
  }));
}

std::string messageName(UINT msg) {
  static const std::pair<UINT, const char*> kNames[] = {
      {WM_CREATE, "WM_CREATE"},
      {WM_DESTROY, "WM_DESTROY"},
      {WM_MOVE, "WM_MOVE"},
      {WM_SIZE, "WM_SIZE"},
      {WM_ACTIVATE, "WM_ACTIVATE"},
      {WM_PAINT, "WM_PAINT"},
      {WM_CLOSE, "WM_CLOSE"},
      {WM_ERASEBKGND, "WM_ERASEBKGND"},
      {WM_MOUSEACTIVATE, "WM_MOUSEACTIVATE"},
      {WM_GETMINMAXINFO, "WM_GETMINMAXINFO"},
      {WM_NCCALCSIZE, "WM_NCCALCSIZE"},
      {WM_INITDIALOG, "WM_INITDIALOG"},
      {WM_COMMAND, "WM_COMMAND"},
      {WM_TIMER, "WM_TIMER"},
      {WM_CTLCOLORBTN, "WM_CTLCOLORBTN"},
      {WM_CTLCOLORDLG, "WM_CTLCOLORDLG"},
      {WM_CTLCOLORSTATIC, "WM_CTLCOLORSTATIC"},
      {WM_CAPTURECHANGED, "WM_CAPTURECHANGED"},
      {WM_SHOWWINDOW, "WM_SHOWWINDOW"},
      {WM_SETCURSOR, "WM_SETCURSOR"},
      {WM_CONTEXTMENU, "WM_CONTEXTMENU"},
      {WM_NCHITTEST, "WM_NCHITTEST"},
      {WM_NCPAINT, "WM_NCPAINT"},
      {WM_NCMOUSEMOVE, "WM_NCMOUSEMOVE"},
      {WM_NCLBUTTONDOWN, "WM_NCLBUTTONDOWN"},
      {WM_NCLBUTTONUP, "WM_NCLBUTTONUP"},
      {WM_NCRBUTTONUP, "WM_NCRBUTTONUP"},
      {WM_KEYDOWN, "WM_KEYDOWN"},
      {WM_KEYUP, "WM_KEYUP"},
      {WM_INITMENUPOPUP, "WM_INITMENUPOPUP"},
      {WM_GESTURE, "WM_GESTURE"},
      {WM_MOUSEMOVE, "WM_MOUSEMOVE"},
      {WM_LBUTTONDOWN, "WM_LBUTTONDOWN"},
      {WM_LBUTTONUP, "WM_LBUTTONUP"},
      {WM_LBUTTONDBLCLK, "WM_LBUTTONDBLCLK"},
      {WM_RBUTTONDOWN, "WM_RBUTTONDOWN"},
      {WM_RBUTTONUP, "WM_RBUTTONUP"},
      {WM_RBUTTONDBLCLK, "WM_RBUTTONDBLCLK"},
      {WM_MBUTTONDOWN, "WM_MBUTTONDOWN"},
      {WM_MBUTTONUP, "WM_MBUTTONUP"},
      {WM_MOUSEWHEEL, "WM_MOUSEWHEEL"},
      {WM_MOUSEHWHEEL, "WM_MOUSEHWHEEL"},
      {WM_DROPFILES, "WM_DROPFILES"},
      {WM_ACTIVATEAPP, "WM_ACTIVATEAPP"},
  };
  for (const auto& [m, name] : kNames)
    if (m == msg) return name;
  std::ostringstream out;
  out << "message " << msg;
  return out.str();
}

std::vector<RecordedMessage> messagesOf(const std::vector<RecordedMessage>& received, HWND hwnd) {
  std::vector<RecordedMessage> out;
  for (const auto& m : received)
    if (m.hwnd == hwnd) out.push_back(m);
  return out;
}

namespace {

bool rowMatches(const RecordedMessage& got, const ExpectedMessage& row) {
  return got.msg == row.msg && (!row.hwnd || got.hwnd == row.hwnd) &&
         (!row.delivery || *row.delivery == got.delivery) &&
         (!row.wParam || *row.wParam == got.wParam) && (!row.lParam || *row.lParam == got.lParam);
}

const char* deliveryName(Delivery d) {
  return d == Delivery::kPosted ? "posted" : "sent";
}

std::string describe(const RecordedMessage& m) {
  std::ostringstream out;
  out << messageName(m.msg) << " " << deliveryName(m.delivery) << " to " << m.hwnd << " (wParam "
      << m.wParam << ", lParam " << m.lParam << ")";
  return out.str();
}

std::string describe(const ExpectedMessage& row) {
  std::ostringstream out;
  out << messageName(row.msg);
  if (row.delivery) out << " " << deliveryName(*row.delivery);
  if (row.hwnd) out << " to " << row.hwnd;
  if (row.wParam) out << " wParam " << *row.wParam;
  if (row.lParam) out << " lParam " << *row.lParam;
  if (row.mayBeMissing) out << " (optional)";
  return out.str();
}

// Where matching got furthest: the received message and the row it stopped at.
struct Furthest {
  std::size_t received = 0;
  std::size_t row = 0;
};

// Whether got[i...] matches rows[j...], an optional row matching either one message
// or none. Tables are short, so trying both ways is cheap.
bool matchFrom(const std::vector<RecordedMessage>& got, const std::vector<ExpectedMessage>& rows,
               std::size_t i, std::size_t j, Furthest& furthest) {
  if (i > furthest.received || (i == furthest.received && j > furthest.row)) furthest = {i, j};
  if (j == rows.size()) return i == got.size();
  if (i < got.size() && rowMatches(got[i], rows[j]) && matchFrom(got, rows, i + 1, j + 1, furthest))
    return true;
  return rows[j].mayBeMissing && matchFrom(got, rows, i, j + 1, furthest);
}

}  // namespace

::testing::AssertionResult messagesMatch(const std::vector<RecordedMessage>& received,
                                         const std::vector<ExpectedMessage>& expected,
                                         const std::vector<UINT>& relevant) {
  std::vector<RecordedMessage> got;
  for (const auto& m : received)
    if (relevant.empty() || std::find(relevant.begin(), relevant.end(), m.msg) != relevant.end())
      got.push_back(m);
  Furthest at;
  if (matchFrom(got, expected, 0, 0, at)) return ::testing::AssertionSuccess();
  auto failure = ::testing::AssertionFailure() << "message " << at.received << ": ";
  if (at.row < expected.size() && at.received < got.size())
    return failure << "expected " << describe(expected[at.row]) << ", got "
                   << describe(got[at.received]);
  if (at.row < expected.size())
    return failure << "expected " << describe(expected[at.row]) << ", the sequence ended";
  return failure << "unexpected " << describe(got[at.received]);
}

}  // namespace testsupport
