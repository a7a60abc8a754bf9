#include <gtest/gtest.h>

#include "appstub_host.h"
#include "platform/core/Text.h"
#include "windowing/app/detail/AppController.h"
#include "windowing/core/WindowInterfaces.h"

namespace apphost {

namespace {
std::vector<Call> gCalls;
Script gScript;
}  // namespace

std::vector<Call>& calls() {
  return gCalls;
}

void setScript(Script script) {
  gScript = std::move(script);
}

void reset() {
  gCalls.clear();
  gScript = nullptr;
}

std::vector<int> codes() {
  std::vector<int> out;
  for (const auto& c : gCalls)
    out.push_back(c.code);
  return out;
}

}  // namespace apphost

// The host's callback. Unscripted, it answers as the host program does: every code 0,
// except that Escape and Return pressed in a window that is not text are handed to the
// focused view's key handling and consumed.
INT_PTR AppMainProc(int code, INT_PTR parm1, INT_PTR parm2) {
  apphost::Call call{code, parm1, parm2, {}, {}};
  if (code == SWELLAPP_PROCESSMESSAGE && parm1) call.msg = *reinterpret_cast<const MSG*>(parm1);
  if (code == SWELLAPP_OPENFILE && parm1) call.path = reinterpret_cast<const char*>(parm1);
  apphost::gCalls.push_back(call);
  if (apphost::gScript) {
    INT_PTR answer = apphost::gScript(call);
    if (answer != apphost::kHostAnswer) return answer;
  }
  if (code != SWELLAPP_PROCESSMESSAGE || !parm1 || !parm2) return 0;
  const MSG& msg = *reinterpret_cast<const MSG*>(parm1);
  const auto& event = *reinterpret_cast<const platform::NSEvent*>(parm2);
  auto* view = swell::objectFromHandleAs<platform::NSView>(msg.hwnd);
  if (msg.message != WM_KEYDOWN || !view || dynamic_cast<platform::NSText*>(view) ||
      msg.lParam > FVIRTKEY)
    return 0;
  if (msg.wParam != VK_ESCAPE && msg.wParam != VK_RETURN) return 0;
  view->keyDown(event);
  return 1;
}

int main(int argc, char** argv) {
  // The application class is chosen before anything makes the application.
  if (!swell::installApplicationClass()) return 1;
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
