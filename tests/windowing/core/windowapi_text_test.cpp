#include <cstring>
#include <string>

#include "platform/core/ComboBox.h"
#include "support/WindowApiFixture.h"
#include "windowing/Win32.h"

using testsupport::MessageLog;

namespace testsupport {
namespace {

class WindowApiText : public WindowApiFixture {};

TEST_F(WindowApiText, ReadsTheTextOfEachKindOfWindow) {
  char text[64];
  // The content view stands for its window: the resource title.
  EXPECT_TRUE(GetDlgItemText(dialog, 0, text, sizeof text));
  EXPECT_STREQ(text, "Settings");
  EXPECT_TRUE(GetDlgItemText(dialog, kLabelId, text, sizeof text));
  EXPECT_STREQ(text, "Name:");
  EXPECT_TRUE(GetDlgItemText(dialog, kButtonId, text, sizeof text));
  EXPECT_STREQ(text, "OK");
  notes()->setString("line one");
  EXPECT_TRUE(GetDlgItemText(dialog, kNotesId, text, sizeof text));
  EXPECT_STREQ(text, "line one");
  auto* box = swell::handleFromObject(dialogView()->subviews()[4]);
  EXPECT_TRUE(GetDlgItemText(box, 0, text, sizeof text));
  EXPECT_STREQ(text, "Group");
  EXPECT_EQ(GetWindowTextLength(item(kLabelId)), 5);
  // No such control: empty and 0.
  std::strcpy(text, "old");
  EXPECT_FALSE(GetDlgItemText(dialog, 999, text, sizeof text));
  EXPECT_STREQ(text, "");
}

TEST_F(WindowApiText, ABufferWithoutRoomIsNeverWritten) {
  char text[4] = {'x', 'y', 'z', 0};
  EXPECT_FALSE(GetDlgItemText(dialog, kLabelId, text, 0));
  EXPECT_FALSE(GetDlgItemText(dialog, kLabelId, text, -5));
  EXPECT_STREQ(text, "xyz");
  EXPECT_FALSE(GetDlgItemText(dialog, kLabelId, nullptr, 100));
  // A short buffer is cut, never inside a UTF-8 sequence.
  SetDlgItemText(dialog, kLabelId, "a\xC3\xA9");
  EXPECT_TRUE(GetDlgItemText(dialog, kLabelId, text, 3));
  EXPECT_STREQ(text, "a");
}

TEST_F(WindowApiText, SettingTheContentViewsTextRetitlesItsWindow) {
  EXPECT_TRUE(SetDlgItemText(dialog, 0, "Preferences"));
  EXPECT_EQ(dialogWindow()->title(), "Preferences");
  EXPECT_STREQ(swell::objectFromHandleAs<Swell_vCorvaneBrisko_hwnd>(dialog)->onSwellGetText(),
               "Preferences");
  EXPECT_TRUE(SetDlgItemText(dialog, kNotesId, "notes"));
  EXPECT_EQ(notes()->string(), "notes");
  EXPECT_FALSE(SetDlgItemText(dialog, 999, "nowhere"));
}

TEST_F(WindowApiText, SettingAnEditFieldsTextTellsItsParentButNotForLabelsOrComboBoxes) {
  EXPECT_TRUE(SetDlgItemText(dialog, kEditId, "typed"));
  EXPECT_TRUE(testsupport::messagesMatch(log.messages(),
                                         {{WM_COMMAND, WPARAM{kEditId} | (WPARAM{EN_CHANGE} << 16),
                                           reinterpret_cast<LPARAM>(item(kEditId))}},
                                         {WM_COMMAND}));
  log.clear();
  SetDlgItemText(dialog, kLabelId, "Label");
  auto* combo =
      addControl(dialogView(), new platform::NSComboBox(platform::NSMakeRect(0, 0, 50, 20)), 40);
  SetDlgItemText(dialog, 40, "entry");
  EXPECT_EQ(combo->stringValue(), "entry");
  EXPECT_EQ(log.count(WM_COMMAND), 0);
}

TEST_F(WindowApiText, NumbersAreReadRangeCheckedAndWritten) {
  struct Case {
    const char* text;
    BOOL isSigned;
    bool ok;
    int value;
  };
  const Case cases[] = {
      {"  0", 1, true, 0},
      {"\t42abc", 1, true, 42},
      {"+7", 0, true, 7},
      {"-5", 1, true, -5},
      {"-5", 0, false, 0},
      {"abc", 1, false, 0},
      {"", 1, false, 0},
      {"-0", 1, false, 0},
      {"2147483647", 1, true, 2147483647},
      {"-2147483648", 1, true, INT32_MIN},
      {"2147483648", 1, false, 0},
      {"-2147483649", 1, false, 0},
      {"4294967295", 0, true, -1},
      {"4294967296", 0, false, 0},
      {"99999999999999999999999", 1, false, 0},
  };
  for (const Case& c : cases) {
    SetDlgItemText(dialog, kEditId, c.text);
    BOOL ok = 7;
    EXPECT_EQ(GetDlgItemInt(dialog, kEditId, &ok, c.isSigned), c.value) << c.text;
    EXPECT_EQ(ok, c.ok ? 1 : 0) << c.text;
  }
  BOOL ok = 1;
  EXPECT_EQ(GetDlgItemInt(dialog, 999, &ok, 1), 0);
  EXPECT_EQ(ok, 0);
  SetDlgItemInt(dialog, kEditId, -3, 1);
  EXPECT_EQ(itemAs<platform::NSTextField>(kEditId)->stringValue(), "-3");
  SetDlgItemInt(dialog, kEditId, -3, 0);
  EXPECT_EQ(itemAs<platform::NSTextField>(kEditId)->stringValue(), "4294967293");
}

TEST_F(WindowApiText, CheckStatesOfButtonsAndOfOtherControls) {
  CheckDlgButton(dialog, kCheckId, BST_CHECKED);
  EXPECT_EQ(IsDlgButtonChecked(dialog, kCheckId), BST_CHECKED);
  // The mixed state as BM_SETCHECK gives it, on a check box that did not allow it yet.
  CheckDlgButton(dialog, kCheckId, 3);
  EXPECT_EQ(IsDlgButtonChecked(dialog, kCheckId), BST_INDETERMINATE);
  CheckDlgButton(dialog, kCheckId, BST_UNCHECKED);
  EXPECT_EQ(IsDlgButtonChecked(dialog, kCheckId), BST_UNCHECKED);
  CheckDlgButton(dialog, kEditId, BST_CHECKED);
  EXPECT_EQ(IsDlgButtonChecked(dialog, kEditId), BST_UNCHECKED);
  EXPECT_EQ(itemAs<platform::NSTextField>(kEditId)->stringValue(), "");
}

TEST_F(WindowApiText, ClassNamesAndKinds) {
  char name[32];
  EXPECT_EQ(GetClassName(item(kLabelId), name, sizeof name), 6);
  EXPECT_STREQ(name, "Static");
  GetClassName(item(kEditId), name, sizeof name);
  EXPECT_STREQ(name, "Edit");
  GetClassName(item(kButtonId), name, sizeof name);
  EXPECT_STREQ(name, "Button");
  EXPECT_EQ(GetClassName(dialog, name, sizeof name), 0);
  // The name is the window's own copy: the caller's buffer may change or go.
  {
    std::string temporary = "SettingsWindow";
    SWELL_SetClassName(dialog, temporary.c_str());
    temporary.assign("overwritten, and then freed");
  }
  EXPECT_EQ(GetClassName(dialog, name, sizeof name), 14);
  EXPECT_STREQ(name, "SettingsWindow");
  EXPECT_EQ(GetClassName(dialog, name, 5), 4);
  EXPECT_STREQ(name, "Sett");
  name[0] = 'q';
  EXPECT_EQ(GetClassName(dialog, name, 0), 0);
  EXPECT_EQ(name[0], 'q');

  EXPECT_TRUE(SWELL_IsButton(item(kCheckId)));
  EXPECT_FALSE(SWELL_IsButton(item(kLabelId)));
  EXPECT_TRUE(SWELL_IsStaticText(item(kLabelId)));
  EXPECT_FALSE(SWELL_IsStaticText(item(kEditId)));
}

// The layer's group box and etched line.
class EtchBox : public platform::NSBox, public SwellEtchBox {
 public:
  explicit EtchBox(int mode) : mMode(mode) {}
  int swellIsEtchBox() const override { return mMode; }

 private:
  int mMode;
};

TEST_F(WindowApiText, AGroupBoxIsNotAnEtchedLine) {
  auto* group = new EtchBox(0);
  auto* line = new EtchBox(16);
  EXPECT_TRUE(SWELL_IsGroupBox(swell::handleFromObject(group)));
  EXPECT_FALSE(SWELL_IsGroupBox(swell::handleFromObject(line)));
  EXPECT_FALSE(SWELL_IsGroupBox(item(kBoxId)));
  group->release();
  line->release();
}

}  // namespace
}  // namespace testsupport
