#include "support/WindowHarness.h"

#include <algorithm>
#include <sstream>

#include "platform/Application.h"
#include "windowing/Win32.h"
#include "windowing/core/EventSupport.h"
#include "windowing/core/PostMessageHooks.h"

namespace testsupport {

namespace {

// The application delegate's part in posted messages, as the application stub has it.
class QueueDelegate : public platform::NSApplicationDelegate, public SwellPostMessageDelegate {
 public:
  BOOL swellPostMessage(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) override {
    return SWELL_MessageQueue_Add(hwnd, msg, wParam, lParam);
  }
  void swellPostMessageClearQ(HWND hwnd) override { SWELL_MessageQueue_RemoveWindow(hwnd); }
  void swellPostMessageTick() override { SWELL_MessageQueue_Flush(); }
};

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

std::optional<LRESULT> MessageLog::respond(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  mMessages.push_back({hwnd, msg, wParam, lParam});
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

::testing::AssertionResult messagesMatch(const std::vector<RecordedMessage>& received,
                                         const std::vector<ExpectedMessage>& expected,
                                         const std::vector<UINT>& relevant) {
  std::vector<RecordedMessage> got;
  for (const auto& m : received)
    if (relevant.empty() || std::find(relevant.begin(), relevant.end(), m.msg) != relevant.end())
      got.push_back(m);
  for (std::size_t i = 0; i < std::max(got.size(), expected.size()); ++i) {
    if (i >= got.size())
      return ::testing::AssertionFailure()
             << "row " << i << ": expected " << messageName(expected[i].msg)
             << ", the sequence ended";
    if (i >= expected.size())
      return ::testing::AssertionFailure()
             << "row " << i << ": unexpected " << messageName(got[i].msg);
    const auto& e = expected[i];
    const auto& g = got[i];
    if (g.msg != e.msg)
      return ::testing::AssertionFailure() << "row " << i << ": expected " << messageName(e.msg)
                                           << ", got " << messageName(g.msg);
    if (e.wParam && *e.wParam != g.wParam)
      return ::testing::AssertionFailure()
             << "row " << i << " (" << messageName(e.msg) << "): wParam " << g.wParam
             << ", expected " << *e.wParam;
    if (e.lParam && *e.lParam != g.lParam)
      return ::testing::AssertionFailure()
             << "row " << i << " (" << messageName(e.msg) << "): lParam " << g.lParam
             << ", expected " << *e.lParam;
  }
  return ::testing::AssertionSuccess();
}

}  // namespace testsupport
