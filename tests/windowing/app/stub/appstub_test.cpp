#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "appstub_host.h"
#include "platform/core/Pasteboard.h"
#include "platform/core/Text.h"
#include "platform/core/TextField.h"
#include "platform/core/TextView.h"
#include "platform/core/Window.h"
#include "platform/core/detail/TestHooks.h"
#include "support/WindowTest.h"
#include "windowing/Win32.h"
#include "windowing/app/detail/AppController.h"
#include "windowing/core/ControlButton.h"
#include "windowing/core/WindowObject.h"

using platform::NSMakeRect;
using testsupport::MessageLog;
using testsupport::messagesMatch;
using testsupport::messagesOf;

namespace {

constexpr std::uint16_t kEscapeKey = 53;
constexpr std::uint16_t kReturnKey = 36;
constexpr std::uint16_t kCKey = 8;
constexpr std::uint16_t kVKey = 9;
constexpr std::uint16_t kWKey = 13;
constexpr std::uint16_t kLKey = 37;

platform::NSView* view(HWND hwnd) {
  return swell::objectFromHandleAs<platform::NSView>(hwnd);
}

template <class T>
T* add(platform::NSView* parent, T* control, int id, platform::NSRect frame) {
  if constexpr (requires { control->setTag(id); }) control->setTag(id);
  control->setFrame(frame);
  parent->addSubview(control);
  control->release();
  return control;
}

// The "Preferences" dialog: a list (a window of its own), made first so that it takes the
// keyboard focus, then OK (the default button) and Cancel.
void makePreferences(HWND dialog, int) {
  platform::NSView* content = view(dialog);
  HWND list = testsupport::WindowTest::bareWindow(dialog);
  view(list)->setFrame(NSMakeRect(10, 50, 200, 100));
  ShowWindow(list, 1);
  auto* ok = add(content, new Swell_vCorvaneBrisko_button, IDOK, NSMakeRect(10, 10, 80, 24));
  add(content, new Swell_vCorvaneBrisko_button, IDCANCEL, NSMakeRect(100, 10, 80, 24));
  ok->setTarget(content);
}

class AppStubTest : public testsupport::WindowTest {
 protected:
  SWELLAppController* controller = swell::applicationController();
  SWELL_DialogResourceIndex mainRes{
      reinterpret_cast<const char*>(40001), "Main", SWELL_DLG_WS_FLIPPED, nullptr, 400, 300};
  SWELL_DialogResourceIndex prefsRes{reinterpret_cast<const char*>(40002),
                                     "Preferences",
                                     SWELL_DLG_WS_FLIPPED,
                                     makePreferences,
                                     300,
                                     200};
  HWND main = nullptr;
  platform::NSWindow* window = nullptr;

  void SetUp() override {
    apphost::reset();
    controller->awakeFromNib();
    h.registerResource(&mainRes);
    h.registerResource(&prefsRes);
  }
  void TearDown() override {
    if (main && IsWindow(main)) DestroyWindow(main);
    apphost::reset();
  }
  void openMain() {
    main = SWELL_CreateDialog(SWELL_DialogResourceHead, mainRes.resid, nullptr,
                              MessageLog::dialogProc, 0);
    window = view(main)->window();
    ShowWindow(main, 2);
    h.runUntilIdle();
    log.clear();
    apphost::calls().clear();
  }
  // A focusable child window of the main window, focused.
  HWND focusedChild() {
    HWND c = bareWindow(main);
    ShowWindow(c, 1);
    window->makeFirstResponder(view(c));
    log.clear();
    return c;
  }
  std::vector<apphost::Call> keyCalls() const {
    std::vector<apphost::Call> out;
    for (const auto& c : apphost::calls())
      if (c.code == SWELLAPP_PROCESSMESSAGE) out.push_back(c);
    return out;
  }
  int commandsTo(HWND hwnd, WPARAM id) const {
    int n = 0;
    for (const auto& m : messagesOf(log.messages(), hwnd))
      if (m.msg == WM_COMMAND && m.wParam == id) ++n;
    return n;
  }
};

TEST_F(AppStubTest, LoadComesBeforeLaunchingAndNoUntitledDocumentIsOpened) {
  // Set-up loaded the host already: code 1, with the controller as the delegate.
  EXPECT_EQ(apphost::codes(), (std::vector<int>{SWELLAPP_ONLOAD}));
  EXPECT_EQ(platform::NSApp()->delegate(), controller);
  EXPECT_TRUE(swell::messageQueueExists());
  platform::NSApp()->finishLaunching();
  EXPECT_EQ(apphost::codes(),
            (std::vector<int>{SWELLAPP_ONLOAD, SWELLAPP_LOADED, SWELLAPP_SHOULDOPENNEWFILE}));
  // A host that wants one gets asked to open it.
  apphost::reset();
  platform::resetApplicationForTesting();
  controller->awakeFromNib();
  apphost::setScript([](const apphost::Call& c) -> INT_PTR {
    return c.code == SWELLAPP_SHOULDOPENNEWFILE ? 1 : apphost::kHostAnswer;
  });
  platform::NSApp()->finishLaunching();
  EXPECT_EQ(apphost::codes(), (std::vector<int>{SWELLAPP_ONLOAD, SWELLAPP_LOADED,
                                                SWELLAPP_SHOULDOPENNEWFILE, SWELLAPP_NEWFILE}));
}

TEST_F(AppStubTest, TheStartUpRunsTheProgramUntilItTerminates) {
  apphost::reset();
  platform::resetApplicationForTesting();
  h.terminate();
  EXPECT_EQ(SWELL_ApplicationMain(0, nullptr), 0);
  EXPECT_EQ(apphost::codes(),
            (std::vector<int>{SWELLAPP_ONLOAD, SWELLAPP_LOADED, SWELLAPP_SHOULDOPENNEWFILE,
                              SWELLAPP_SHOULDDESTROY, SWELLAPP_DESTROY}));
  EXPECT_TRUE(platform::NSApp()->isTerminated());
  EXPECT_EQ(controller->swellGetAPPAPIFunc(), reinterpret_cast<void*>(&SWELL_GetAPIFunctionByName));
}

TEST_F(AppStubTest, QuittingAsksTheHostWhichMayPostponeIt) {
  apphost::setScript([](const apphost::Call& c) -> INT_PTR {
    return c.code == SWELLAPP_SHOULDDESTROY ? 1 : apphost::kHostAnswer;
  });
  platform::NSApp()->terminate(nullptr);
  EXPECT_FALSE(platform::NSApp()->isTerminated());
  EXPECT_EQ(apphost::codes().back(), SWELLAPP_SHOULDDESTROY);
  platform::NSApp()->replyToApplicationShouldTerminate(true);
  EXPECT_TRUE(platform::NSApp()->isTerminated());
  EXPECT_EQ(apphost::codes().back(), SWELLAPP_DESTROY);
}

TEST_F(AppStubTest, OpeningAFileHandsItsPathToTheHostOnlyWhenItFits) {
  apphost::calls().clear();
  EXPECT_FALSE(platform::NSApp()->openFile("/tmp/bank.syx"));
  ASSERT_EQ(apphost::calls().size(), 1u);
  EXPECT_EQ(apphost::calls()[0].code, SWELLAPP_OPENFILE);
  EXPECT_EQ(apphost::calls()[0].path, "/tmp/bank.syx");
  apphost::setScript([](const apphost::Call& c) -> INT_PTR {
    return c.code == SWELLAPP_OPENFILE ? 1 : apphost::kHostAnswer;
  });
  EXPECT_TRUE(platform::NSApp()->openFile("/tmp/bank.syx"));
  std::string longest = "/" + std::string(swell::kOpenFilePathCapacity - 2, 'a');
  EXPECT_TRUE(platform::NSApp()->openFile(longest));
  EXPECT_EQ(apphost::calls().back().path, longest);
  // One byte more would not fit with its NUL: refused, not cut to another name.
  apphost::calls().clear();
  EXPECT_FALSE(platform::NSApp()->openFile(longest + "b"));
  EXPECT_FALSE(platform::NSApp()->openFile(""));
  EXPECT_FALSE(platform::NSApp()->openFile(std::string("/tmp/a\0b", 8)));
  EXPECT_TRUE(apphost::calls().empty());
}

TEST_F(AppStubTest, ActivationIsToldToTheHostAndBroadcastUnlessItAnswers) {
  openMain();
  h.activate();
  h.runUntilIdle();
  ASSERT_FALSE(apphost::calls().empty());
  EXPECT_EQ(apphost::calls().back().code, SWELLAPP_ACTIVATE);
  EXPECT_EQ(apphost::calls().back().parm1, 1);
  EXPECT_TRUE(
      messagesMatch(messagesOf(log.messages(), main), {{WM_ACTIVATEAPP, 1, 0}}, {WM_ACTIVATEAPP}));
  log.clear();
  apphost::setScript([](const apphost::Call& c) -> INT_PTR {
    return c.code == SWELLAPP_ACTIVATE ? 1 : apphost::kHostAnswer;
  });
  h.deactivate();
  h.runUntilIdle();
  EXPECT_EQ(apphost::calls().back().parm1, 0);
  EXPECT_EQ(log.count(WM_ACTIVATEAPP), 0);
}

TEST_F(AppStubTest, ApplicationMenuCommandsWithATagReachTheHost) {
  apphost::calls().clear();
  auto* none = new platform::NSMenuItem("About");
  auto* item = new platform::NSMenuItem("Preferences...");
  item->setTag(40002);
  controller->performAction(0, none);
  EXPECT_TRUE(apphost::calls().empty());
  controller->performAction(0, item);
  ASSERT_EQ(apphost::calls().size(), 1u);
  EXPECT_EQ(apphost::calls()[0].code, SWELLAPP_ONCOMMAND);
  EXPECT_EQ(apphost::calls()[0].parm1, 40002);
  EXPECT_EQ(apphost::calls()[0].parm2, reinterpret_cast<INT_PTR>(item));
  none->release();
  item->release();
}

TEST_F(AppStubTest, KeysReachTheHostWithTheirMessageRecordBeforeTheWindow) {
  openMain();
  HWND c = focusedChild();
  h.key(window, 7, "x", platform::NSEventModifierFlagShift);
  h.runUntilIdle();
  auto keys = keyCalls();
  ASSERT_EQ(keys.size(), 1u);
  EXPECT_EQ(keys[0].msg.hwnd, c);
  EXPECT_EQ(keys[0].msg.message, WM_KEYDOWN);
  EXPECT_EQ(keys[0].msg.wParam, static_cast<WPARAM>('X'));
  EXPECT_EQ(keys[0].msg.lParam, FVIRTKEY | FSHIFT);
  EXPECT_NE(keys[0].parm2, 0);
  EXPECT_EQ(log.count(WM_KEYDOWN, c), 1);
  // A host that consumes the key keeps it from the window.
  log.clear();
  apphost::setScript([](const apphost::Call& call) -> INT_PTR {
    return call.code == SWELLAPP_PROCESSMESSAGE ? 1 : apphost::kHostAnswer;
  });
  h.key(window, 7, "x");
  h.keyUp(window, 7, "x");
  h.runUntilIdle();
  EXPECT_EQ(log.count(WM_KEYDOWN) + log.count(WM_KEYUP), 0);
  EXPECT_EQ(keyCalls().back().msg.message, WM_KEYUP);
}

TEST_F(AppStubTest, EscapeInAControlOfTheMainWindowIsConsumedByTheHost) {
  openMain();
  HWND c = focusedChild();
  h.key(window, kEscapeKey, "\x1b");
  h.runUntilIdle();
  // The host handed the key to the control and consumed it: no IDCANCEL follows.
  EXPECT_EQ(log.count(WM_KEYDOWN, c), 1);
  EXPECT_EQ(commandsTo(main, IDCANCEL), 0);
}

TEST_F(AppStubTest, KeysWithoutAWindowReachTheHostWithNoHandleAndKeysWithoutFocusSkipIt) {
  openMain();
  HWND c = focusedChild();
  h.key(nullptr, 7, "x");
  h.runUntilIdle();
  ASSERT_EQ(keyCalls().size(), 1u);
  EXPECT_EQ(keyCalls()[0].msg.hwnd, nullptr);
  // The key then went to the key window's focus.
  EXPECT_EQ(log.count(WM_KEYDOWN, c), 1);
  apphost::calls().clear();
  window->makeFirstResponder(nullptr);
  h.key(window, 7, "x");
  h.runUntilIdle();
  EXPECT_TRUE(keyCalls().empty());
}

TEST_F(AppStubTest, HeldKeysDeliverTheLastRepeatButTypingTwiceAndKeyUpsAllArrive) {
  openMain();
  HWND c = focusedChild();
  h.key(window, kLKey, "l");
  h.keyUp(window, kLKey, "l");
  h.key(window, kLKey, "l");
  h.keyUp(window, kLKey, "l");
  h.runUntilIdle();
  EXPECT_EQ(log.count(WM_KEYDOWN, c), 2);
  EXPECT_EQ(log.count(WM_KEYUP, c), 2);
  log.clear();
  h.key(window, kLKey, "l");
  h.key(window, kLKey, "l", 0, true);
  h.key(window, kLKey, "l", 0, true);
  h.key(window, kLKey, "l", 0, true);
  h.keyUp(window, kLKey, "l");
  h.runUntilIdle();
  // The first press and the newest repeat.
  EXPECT_EQ(log.count(WM_KEYDOWN, c), 2);
  EXPECT_EQ(log.count(WM_KEYUP, c), 1);
  // A repeat followed by a repeat of another key is not stale.
  log.clear();
  h.key(window, kLKey, "l", 0, true);
  h.key(window, 40, "k", 0, true);
  h.runUntilIdle();
  EXPECT_EQ(log.count(WM_KEYDOWN, c), 2);
}

TEST_F(AppStubTest, AWindowClosedByATimerWhileARepeatWaitsIsNotTouched) {
  openMain();
  focusedChild();
  // The timer falls due while the repeat looks for the next one, and closes the window.
  log.answer([this](HWND hwnd, UINT msg, WPARAM, LPARAM) -> std::optional<LRESULT> {
    if (hwnd == main && msg == WM_TIMER) DestroyWindow(main);
    return std::nullopt;
  });
  SetTimer(main, 1, 1, nullptr);
  h.key(window, kLKey, "l", 0, true);
  h.runUntilIdle();
  EXPECT_FALSE(IsWindow(main));
  EXPECT_TRUE(keyCalls().empty());
  EXPECT_EQ(log.count(WM_KEYDOWN), 0);
}

class PreferencesTest : public AppStubTest {
 protected:
  platform::NSView* dialogContent = nullptr;  // not retained: only compared
  platform::NSView* dialogList = nullptr;     // the same
  bool defaultEnabled = true;

  // Runs the "Preferences" dialog with keys typed once it is up; returns its result.
  int runWithKeys(std::function<void(platform::NSWindow*)> type) {
    log.answer([this](HWND hwnd, UINT msg, WPARAM wParam, LPARAM) -> std::optional<LRESULT> {
      if (hwnd == main) return std::nullopt;
      if (msg == WM_INITDIALOG) {
        platform::NSView* content = view(hwnd);
        auto* ok = static_cast<Swell_vCorvaneBrisko_button*>(content->subviews().at(1));
        ok->setEnabled(defaultEnabled);
        content->window()->setDefaultButtonCell(ok);
        return 1;
      }
      if (msg == WM_COMMAND && (wParam == IDOK || wParam == IDCANCEL)) {
        EndDialog(hwnd, static_cast<int>(wParam));
        return 1;
      }
      return std::nullopt;
    });
    bool typed = false;
    h.onModal([&](platform::NSWindow* w) {
      dialogContent = w->contentView();
      dialogList = dialogContent->subviews().front();
      if (typed) return;
      typed = true;
      type(w);
    });
    h.setWatchdog(10000);
    int result =
        SWELL_DialogBox(SWELL_DialogResourceHead, prefsRes.resid, main, MessageLog::dialogProc, 0);
    h.onModal(nullptr);
    return result;
  }
};

TEST_F(PreferencesTest, EscapeCancelsAndKeysNeverReachTheHost) {
  openMain();
  EXPECT_EQ(runWithKeys([this](platform::NSWindow* w) { h.key(w, kEscapeKey, "\x1b"); }), IDCANCEL);
  EXPECT_TRUE(keyCalls().empty());
}

TEST_F(PreferencesTest, ReturnPressesTheDefaultButton) {
  openMain();
  EXPECT_EQ(runWithKeys([this](platform::NSWindow* w) { h.key(w, kReturnKey, "\r"); }), IDOK);
  EXPECT_TRUE(keyCalls().empty());
}

TEST_F(PreferencesTest, ReturnWithoutAnEnabledDefaultButtonFocusesTheDialog) {
  openMain();
  defaultEnabled = false;
  platform::NSResponder* focusAfterReturn = nullptr;
  platform::NSResponder* focusBefore = nullptr;
  int result = runWithKeys([&](platform::NSWindow* w) {
    focusBefore = w->firstResponder();
    h.key(w, kReturnKey, "\r");
    h.perform([&focusAfterReturn, w] { focusAfterReturn = w->firstResponder(); });
    h.key(w, kWKey, "w", platform::NSEventModifierFlagCommand);
  });
  EXPECT_EQ(result, IDCANCEL);  // from Command+W
  ASSERT_NE(dialogContent, nullptr);
  EXPECT_EQ(focusBefore, dialogList);
  EXPECT_EQ(focusAfterReturn, dialogContent);
}

TEST_F(AppStubTest, CommandCopyAndPasteWorkInAField) {
  openMain();
  auto* field = add(view(main), new platform::NSTextField, 20, NSMakeRect(10, 10, 150, 22));
  auto* other = add(view(main), new platform::NSTextField, 21, NSMakeRect(10, 50, 150, 22));
  field->setStringValue("abc");
  window->makeFirstResponder(field);
  ASSERT_NE(field->currentEditor(), nullptr);
  field->currentEditor()->selectAll();
  h.key(window, kCKey, "c", platform::NSEventModifierFlagCommand);
  h.runUntilIdle();
  EXPECT_EQ(platform::NSPasteboard::generalPasteboard().stringForType(), "abc");
  window->makeFirstResponder(other);
  h.key(window, kVKey, "v", platform::NSEventModifierFlagCommand);
  h.runUntilIdle();
  EXPECT_EQ(other->stringValue(), "abc");
  // Escape in a field's editor cancels the dialog around it.
  h.key(window, kEscapeKey, "\x1b");
  h.runUntilIdle();
  EXPECT_EQ(commandsTo(main, IDCANCEL), 1);
}

TEST_F(AppStubTest, TextViewsKeepReturnAndShiftEscapeLeavesThem) {
  openMain();
  auto* text = add(view(main), new platform::NSTextView, 30, NSMakeRect(10, 10, 200, 100));
  window->makeFirstResponder(text);
  h.key(window, kReturnKey, "\r");
  h.runUntilIdle();
  EXPECT_EQ(commandsTo(main, IDOK), 0);
  EXPECT_EQ(text->string(), "\n");
  h.key(window, kEscapeKey, "\x1b", platform::NSEventModifierFlagShift);
  h.runUntilIdle();
  EXPECT_EQ(window->firstResponder(), view(main));
  EXPECT_EQ(commandsTo(main, IDCANCEL), 0);
  // A text that cannot be edited cancels.
  text->setEditable(false);
  window->makeFirstResponder(text);
  h.key(window, kEscapeKey, "\x1b");
  h.runUntilIdle();
  EXPECT_EQ(commandsTo(main, IDCANCEL), 1);
}

}  // namespace
