#pragma once

#include <gtest/gtest.h>

#include "platform/core/Box.h"
#include "platform/core/Button.h"
#include "platform/core/ScrollView.h"
#include "platform/core/Text.h"
#include "platform/core/TextField.h"
#include "platform/core/Window.h"
#include "support/WindowTest.h"
#include "windowing/Win32.h"
#include "windowing/core/WindowInterfaces.h"
#include "windowing/core/WindowObject.h"

namespace testsupport {

// Control ids of the dialog the fixture builds.
enum : int {
  kLabelId = 11,
  kEditId = 12,
  kButtonId = 13,
  kCheckId = 14,
  kBoxId = 15,
  kNotesId = 16,  // a text view inside a scroll view
};

// A view that takes the keyboard focus, with a tag.
class FocusView : public platform::NSView {
 public:
  FocusView(const platform::NSRect& frame, long tag) : NSView(frame), mTag(tag) {}
  bool acceptsFirstResponder() const override { return true; }
  long tag() const override { return mTag; }
  void setTag(long tag) { mTag = tag; }

 private:
  long mTag;
};

// A multi-line text view with a control id, as the layer's edit fields with scroll
// bars have.
class TaggedText : public platform::NSText {
 public:
  TaggedText(const platform::NSRect& frame, long tag) : NSText(frame), mTag(tag) {}
  long tag() const override { return mTag; }

 private:
  long mTag;
};

// The controls of the test dialog, in subview order: label, edit field, push button,
// check box, box, scroll view around a text view.
inline void makeDialogControls(HWND dialog, int) {
  auto* view = swell::objectFromHandleAs<platform::NSView>(dialog);
  auto* label =
      addControl(view, new platform::NSTextField(platform::NSMakeRect(10, 10, 80, 20)), kLabelId);
  label->setEditable(false);
  label->setSelectable(false);
  label->setStringValue("Name:");
  addControl(view, new platform::NSTextField(platform::NSMakeRect(100, 10, 80, 20)), kEditId);
  addControl(view, new platform::NSButton(platform::NSMakeRect(10, 40, 80, 20)), kButtonId)
      ->setTitle("OK");
  auto* check =
      addControl(view, new platform::NSButton(platform::NSMakeRect(100, 40, 80, 20)), kCheckId);
  check->setButtonType(platform::NSButtonTypeSwitch);
  auto* box = new platform::NSBox(platform::NSMakeRect(0, 70, 200, 40));
  box->setTitle("Group");
  view->addSubview(box);
  box->release();
  auto* scroll = new platform::NSScrollView(platform::NSMakeRect(10, 120, 180, 60));
  scroll->setHasVerticalScroller(true);
  auto* notes = new TaggedText(platform::NSMakeRect(0, 0, 165, 60), kNotesId);
  scroll->setDocumentView(notes);
  notes->release();
  view->addSubview(scroll);
  scroll->release();
}

class WindowApiFixture : public WindowTest {
 protected:
  SWELL_DialogResourceIndex dialogRes{reinterpret_cast<const char*>(7201),
                                      "Settings",
                                      SWELL_DLG_WS_FLIPPED | SWELL_DLG_WS_RESIZABLE,
                                      makeDialogControls,
                                      200,
                                      200};
  HWND dialog = nullptr;

  void SetUp() override {
    h.registerResource(&dialogRes);
    dialog = SWELL_CreateDialog(SWELL_DialogResourceHead, reinterpret_cast<const char*>(7201),
                                nullptr, MessageLog::dialogProc, 0);
    ASSERT_NE(dialog, nullptr);
    // Creation may have put the focus into the edit field; the tests start with no
    // field being edited.
    dialogWindow()->makeFirstResponder(nullptr);
  }
  void TearDown() override {
    if (IsWindow(dialog)) DestroyWindow(dialog);
  }

  platform::NSView* dialogView() const {
    return swell::objectFromHandleAs<platform::NSView>(dialog);
  }
  platform::NSWindow* dialogWindow() const { return dialogView()->window(); }
  HWND item(int id) const { return GetDlgItem(dialog, id); }
  template <class T>
  T* itemAs(int id) const {
    return swell::objectFromHandleAs<T>(item(id));
  }
  platform::NSScrollView* notesScroll() const {
    return dynamic_cast<platform::NSScrollView*>(dialogView()->subviews().back());
  }
  platform::NSText* notes() const {
    return dynamic_cast<platform::NSText*>(notesScroll()->documentView());
  }
  // A bare child window inside the dialog, with the recording window procedure.
  HWND childWindow() const { return bareWindow(dialog); }
};

}  // namespace testsupport
