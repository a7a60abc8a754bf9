#include <cstring>

#include "platform/core/Application.h"
#include "platform/core/TextField.h"
#include "support/WindowApiFixture.h"
#include "windowing/Win32.h"

using testsupport::ExpectedMessage;
using testsupport::MessageLog;

namespace testsupport {
namespace {

class WindowApiTopLevel : public WindowApiFixture {
 protected:
  HWND makeTopLevel(HWND owner = nullptr) {
    return SWELL_CreateDialog(SWELL_DialogResourceHead, reinterpret_cast<const char*>(0x400002),
                              owner, MessageLog::windowProc, 0);
  }
};

TEST_F(WindowApiTopLevel, DestroyingAChildDropsItsFocusTimersAndPlace) {
  ShowWindow(dialog, SW_SHOW);
  HWND child = childWindow();
  auto* focus = addControl(swell::objectFromHandleAs<platform::NSView>(child),
                           new FocusView(platform::NSMakeRect(0, 0, 5, 5), 0), 0);
  dialogWindow()->makeFirstResponder(focus);
  SetTimer(child, 1, 10, nullptr);
  log.clear();
  EXPECT_TRUE(DestroyWindow(child));
  EXPECT_TRUE(testsupport::messagesMatch(log.messages(), {{WM_DESTROY}}));
  EXPECT_FALSE(platform::isLiveObject(child));
  EXPECT_EQ(dialogWindow()->firstResponder(), dialogWindow());
  h.advance(50);
  EXPECT_EQ(log.count(WM_TIMER), 0);
}

TEST_F(WindowApiTopLevel, DestroyingAContentViewClosesItsWindowAfterItsOwnedWindows) {
  HWND owned = makeTopLevel(dialog);
  HWND window = swell::handleFromObject(dialogWindow());
  log.clear();
  EXPECT_TRUE(DestroyWindow(dialog));
  // The dialog procedure sees WM_DESTROY; the owned window's procedure goes in its turn.
  EXPECT_EQ(log.count(WM_DESTROY, dialog), 1);
  EXPECT_EQ(log.count(WM_DESTROY, owned), 1);
  EXPECT_FALSE(IsWindow(window));
  EXPECT_FALSE(IsWindow(owned));
}

TEST_F(WindowApiTopLevel, ReparentingBetweenViewsAndTopLevelWindows) {
  HWND top = makeTopLevel(dialog);
  platform::NSWindow* topWindow = swell::objectFromHandleAs<platform::NSView>(top)->window();
  HWND topWindowHandle = swell::handleFromObject(topWindow);
  SetDlgItemText(top, 0, "Floating");
  // A content view moves into another view: its window goes, its text stays.
  EXPECT_EQ(SetParent(top, dialog), dialog);
  EXPECT_FALSE(IsWindow(topWindowHandle));
  EXPECT_TRUE(IsChild(dialog, top));
  char text[32];
  GetDlgItemText(top, 0, text, sizeof text);
  EXPECT_STREQ(text, "Floating");
  // Back to top-level: a new window owned by the remembered owner's window.
  EXPECT_EQ(SetParent(top, nullptr), nullptr);
  platform::NSWindow* again = swell::objectFromHandleAs<platform::NSView>(top)->window();
  ASSERT_NE(again, nullptr);
  EXPECT_EQ(again->contentView(), swell::objectFromHandleAs<platform::NSView>(top));
  EXPECT_EQ(again->title(), "Floating");
  EXPECT_TRUE(again->isVisible());
  EXPECT_EQ(GetWindow(top, GW_OWNER), dialog);
  // Between views: the scroll view moves with its text view; the old parent is returned.
  HWND child = childWindow();
  EXPECT_EQ(SetParent(item(kNotesId), child), dialog);
  EXPECT_EQ(notesScroll(), nullptr);
  EXPECT_NE(GetDlgItem(child, kNotesId), nullptr);
  // Never into itself or its own inside.
  EXPECT_EQ(SetParent(dialog, child), nullptr);
  EXPECT_EQ(SetParent(child, GetDlgItem(child, kNotesId)), nullptr);
  EXPECT_TRUE(IsChild(dialog, child));
  EXPECT_EQ(SetParent(top, nullptr), nullptr);
  EXPECT_TRUE(IsWindow(top));
}

TEST_F(WindowApiTopLevel, ModalSessionsRunStepByStepAndEndBoundedly) {
  ShowWindow(dialog, SW_SHOW);
  void* session = SWELL_ModalWindowStart(item(kEditId));
  ASSERT_NE(session, nullptr);
  EXPECT_EQ(platform::NSApp()->modalWindow(), dialogWindow());
  int result = 0;
  EXPECT_TRUE(SWELL_ModalWindowRun(session, &result));
  platform::NSApp()->stopModalWithCode(7);
  EXPECT_FALSE(SWELL_ModalWindowRun(session, &result));
  EXPECT_EQ(result, 7);
  SWELL_ModalWindowEnd(session);
  EXPECT_EQ(platform::NSApp()->modalDepth(), 0u);
  // An ended session is no longer known.
  result = 0;
  EXPECT_FALSE(SWELL_ModalWindowRun(session, &result));
  SWELL_ModalWindowEnd(session);

  // A session under another one cannot be stopped; ending it gives up after about a
  // second instead of waiting forever.
  HWND other = makeTopLevel();
  void* lower = SWELL_ModalWindowStart(dialog);
  void* upper = SWELL_ModalWindowStart(other);
  double start = h.now();
  SWELL_ModalWindowEnd(lower);
  EXPECT_LE(h.now() - start, 1100);
  EXPECT_TRUE(h.logged("did not stop"));
  EXPECT_EQ(platform::NSApp()->modalDepth(), 1u);
  SWELL_ModalWindowEnd(upper);
  EXPECT_EQ(platform::NSApp()->modalDepth(), 0u);
}

TEST_F(WindowApiTopLevel, LevelsAndRaiseAmounts) {
  platform::NSWindow* window = dialogWindow();
  EXPECT_EQ(SWELL_SetWindowLevel(item(kEditId), 3), 0);
  EXPECT_EQ(SWELL_SetWindowLevel(dialog, 5), 3);
  // While inactive the raise is only remembered.
  SWELL_SetWindowWantRaiseAmt(dialog, 2);
  EXPECT_EQ(SWELL_GetWindowWantRaiseAmt(item(kEditId)), 2);
  EXPECT_EQ(window->level(), 5);
  h.activate();
  h.runUntilIdle();
  SWELL_SetWindowWantRaiseAmt(dialog, 6);
  EXPECT_EQ(window->level(), 9);
  // Managed and cycled with the others, as the layer's own windows are made.
  window->setCollectionBehavior(0);
  SWELL_SetCollectionBehaviorForWindow(swell::handleFromObject(window));
  EXPECT_EQ(window->collectionBehavior(), 36u);
}

TEST_F(WindowApiTopLevel, DocumentStateUnlessTheContentViewRefusesIt) {
  platform::NSWindow* window = dialogWindow();
  SWELL_SetWindowRepre(item(kEditId), "/tmp/settings.ini", true);
  EXPECT_TRUE(window->isDocumentEdited());
  EXPECT_EQ(window->representedFilename(), "/tmp/settings.ini");
  SWELL_SetWindowRepre(dialog, nullptr, false);
  EXPECT_EQ(window->representedFilename(), "");
  SetProp(dialog, "SWELL_DisableWindowRepre", reinterpret_cast<HANDLE>(1));
  SWELL_SetWindowRepre(dialog, "/tmp/other", true);
  EXPECT_FALSE(window->isDocumentEdited());
}

TEST_F(WindowApiTopLevel, MenuBarAndDockHidingRestoresWhatItFound) {
  platform::NSApplication* app = platform::NSApp();
  unsigned original = app->presentationOptions();
  EXPECT_TRUE(SWELL_SetMenuBarAndDockHiding(1));
  EXPECT_EQ(app->presentationOptions(), 5u);
  EXPECT_TRUE(SWELL_SetMenuBarAndDockHiding(4));
  EXPECT_EQ(app->presentationOptions(), 6u);
  EXPECT_TRUE(SWELL_SetMenuBarAndDockHiding(-1));
  EXPECT_EQ(app->presentationOptions(), original);
}

TEST_F(WindowApiTopLevel, DefaultButtonFieldEditorAndNullGestureRecords) {
  auto* button = itemAs<platform::NSButton>(kButtonId);
  EXPECT_EQ(SWELL_GetDefaultButtonID(dialog, false), 0);
  dialogWindow()->setDefaultButtonCell(button);
  EXPECT_EQ(SWELL_GetDefaultButtonID(dialog, true), kButtonId);
  button->setEnabled(false);
  EXPECT_EQ(SWELL_GetDefaultButtonID(dialog, true), 0);
  EXPECT_EQ(SWELL_GetDefaultButtonID(dialog, false), kButtonId);
  // The window keeps its default button readable after the button left the dialog.
  button->removeFromSuperview();
  EXPECT_EQ(SWELL_GetDefaultButtonID(dialog, false), kButtonId);
  dialogWindow()->setDefaultButtonCell(nullptr);

  // An editor inside a text field is that field's editor, in either order.
  auto* field = itemAs<platform::NSTextField>(kEditId);
  auto* editor = new platform::NSText(platform::NSMakeRect(0, 0, 80, 20));
  field->addSubview(editor);
  editor->release();
  HWND editorHandle = swell::handleFromObject(editor);
  EXPECT_TRUE(SWELL_IsFieldEditorOf(editorHandle, item(kEditId)));
  EXPECT_TRUE(SWELL_IsFieldEditorOf(item(kEditId), editorHandle));
  EXPECT_FALSE(SWELL_IsFieldEditorOf(editorHandle, item(kLabelId)));
  EXPECT_FALSE(SWELL_IsFieldEditorOf(item(kNotesId), item(kEditId)));

  GESTUREINFO sent;
  GESTUREINFO got;
  EXPECT_FALSE(SWELL_GetGestureInfo(0, &got));
  EXPECT_FALSE(SWELL_GetGestureInfo(reinterpret_cast<LPARAM>(&sent), nullptr));
}

TEST_F(WindowApiTopLevel, ClosingAContentViewClosesItsWindow) {
  HWND top = makeTopLevel();
  ShowWindow(top, SW_SHOW);
  platform::NSWindow* window = swell::objectFromHandleAs<platform::NSView>(top)->window();
  platform::Ref<platform::NSWindow> keep(window);
  SWELL_CloseWindow(top);
  EXPECT_TRUE(window->isClosed());
}

}  // namespace
}  // namespace testsupport
