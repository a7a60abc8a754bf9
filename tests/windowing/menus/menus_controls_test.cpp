#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "platform/core/Window.h"
#include "support/WindowHarness.h"
#include "windowing/Win32.h"
#include "windowing/controls/ControlClasses.h"
#include "windowing/core/WindowObject.h"
#include "windowing/menus/detail/MenuObjects.h"

using testsupport::MessageLog;

namespace {

const char* resid(std::uintptr_t id) {
  return reinterpret_cast<const char*>(id);
}

// The host's menu list: three submenus, each closed by its own record.
const SWELL_MenuGen_Entry kHostMenu[] = {
    {"/.BO^O:&File", 0, 0},
    {"&Preferences...\tCtrl+,", 40006, 0},
    {"&Firmware Update", 40029, 0},
    {"&Quit", 40007, 0},
    {"EN%%%^:", 0, 0},
    {"/.BO^O:&Debug", 0, 0},
    {"One", 40025, 0},
    {"Two", 40028, 0},
    {"Three", 40026, 0},
    {"Four", 40027, 0},
    {"EN%%%^:", 0, 0},
    {"/.BO^O:&Help", 0, 0},
    {"&About", 40005, 0},
    {"&Read Manual", 40008, 0},
    {"EN%%%^:", 0, 0},
};

std::string itemText(HMENU menu, int position, UINT cch = 256) {
  char buffer[256] = {};
  MENUITEMINFO info;
  info.fMask = MIIM_TYPE;
  info.dwTypeData = buffer;
  info.cch = cch;
  if (!GetMenuItemInfo(menu, position, TRUE, &info)) return "<none>";
  return buffer;
}

class MenusTest : public ::testing::Test {
 protected:
  testsupport::WindowHarness h;
  MessageLog log;
  SWELL_DialogResourceIndex mainRes{resid(40001), "Main", 28, nullptr, 300, 300};
  void SetUp() override { h.registerResource(&mainRes); }
};

TEST_F(MenusTest, TheHostListBuildsThreeSubmenusAndLooksUpItemsAtAnyDepth) {
  HMENU menu = CreatePopupMenu();
  EXPECT_EQ(SWELL_GenerateMenuFromList(menu, kHostMenu, 15), 16);
  ASSERT_EQ(GetMenuItemCount(menu), 3);
  EXPECT_EQ(itemText(menu, 0), "File");
  EXPECT_EQ(itemText(menu, 2), "Help");
  HMENU file = GetSubMenu(menu, 0);
  EXPECT_EQ(itemText(file, 0), "Preferences...");
  EXPECT_EQ(GetMenuItemID(file, 0), 40006);
  EXPECT_EQ(GetMenuItemID(menu, 0), -1);  // an item with a submenu
  EXPECT_EQ(GetMenuItemID(menu, 7), 0);   // no such position
  EXPECT_EQ(GetSubMenu(menu, -1), nullptr);
  // A submenu two levels down is found by id.
  HMENU nested = CreatePopupMenu();
  SWELL_Menu_AddMenuItem(nested, "Deep", 777, 0);
  SWELL_InsertMenu(GetSubMenu(menu, 1), 0, MF_BYPOSITION | MF_POPUP,
                   reinterpret_cast<UINT_PTR>(nested), "Nested");
  EXPECT_TRUE(EnableMenuItem(menu, 777, MF_GRAYED));
  EXPECT_TRUE(CheckMenuItem(menu, 777, MF_CHECKED));
  MENUITEMINFO info;
  info.fMask = MIIM_STATE;
  ASSERT_TRUE(GetMenuItemInfo(menu, 777, FALSE, &info));
  EXPECT_EQ(info.fState, MFS_CHECKED | 3u);
  EXPECT_FALSE(EnableMenuItem(menu, 778, 0));
  DestroyMenu(menu);
}

TEST_F(MenusTest, ListsAndTextsThatEndEarlyStayInsideTheirBounds) {
  // An unclosed submenu ends with the list: the count bounds every level.
  const SWELL_MenuGen_Entry unclosed[] = {{"/.BO^O:Open", 0, 0}, {"A", 1, 0}, {"B", 2, 0}};
  HMENU menu = CreatePopupMenu();
  EXPECT_EQ(SWELL_GenerateMenuFromList(menu, unclosed, 2), 3);
  EXPECT_EQ(GetMenuItemCount(GetSubMenu(menu, 0)), 1);
  EXPECT_EQ(SWELL_GenerateMenuFromList(menu, unclosed, 0), 1);
  // A trailing '&' ends the text; a doubled one shows once; the tab drops the shortcut.
  SWELL_Menu_AddMenuItem(menu, "Save&", 5, 0);
  SWELL_Menu_AddMenuItem(menu, "R&&D\tCtrl+R", 6, 0);
  EXPECT_EQ(itemText(menu, 1), "Save");
  EXPECT_EQ(itemText(menu, 2), "R&D");
  // The copy keeps cch - 1 bytes and never cuts a UTF-8 sequence ("é" is two bytes); cch
  // comes back as the bytes copied, or as the title's length when there is no buffer.
  SWELL_Menu_AddMenuItem(menu, "ab\xC3\xA9", 7, 0);
  SWELL_Menu_AddMenuItem(menu, nullptr, 0, 0);
  struct Case {
    int position;
    bool buffer;
    UINT cch;
    const char* text;  // the buffer after the call
    UINT cchOut;
  } const cases[] = {
      {3, true, 256, "ab\xC3\xA9", 4}, {3, true, 5, "ab\xC3\xA9", 4}, {3, true, 4, "ab", 2},
      {3, true, 3, "ab", 2},           {3, true, 1, "", 0},           {3, true, 0, "x", 4},
      {3, false, 0, "x", 4},           {3, false, 99, "x", 4},        {2, false, 0, "x", 3},
      {4, true, 256, "x", 256},  // a separator reports no title
  };
  for (const Case& c : cases) {
    char buffer[256] = "x";
    MENUITEMINFO info;
    info.fMask = MIIM_TYPE;
    info.dwTypeData = c.buffer ? buffer : nullptr;
    info.cch = c.cch;
    ASSERT_TRUE(GetMenuItemInfo(menu, c.position, TRUE, &info));
    EXPECT_STREQ(buffer, c.text) << c.position << ", " << c.cch;
    EXPECT_EQ(info.cch, c.cchOut) << c.position << ", " << c.cch;
  }
  DestroyMenu(menu);
}

TEST_F(MenusTest, KeyEquivalentsTakeCharactersUnlessTheKeyIsVirtual) {
  struct Row {
    int key;
    unsigned modifiers;
    std::string equivalent;
  };
  const Row rows[] = {
      {'P', FVIRTKEY | FCONTROL, "p"},
      {'p', FCONTROL, "p"},             // a character, not F1
      {112, FVIRTKEY, "\xEF\x9C\x84"},  // F1: U+F704
      {',', FCONTROL, ","},
      {38, FVIRTKEY, "\xEF\x9C\x80"},  // up
      {200, FVIRTKEY, ""},
  };
  HMENU menu = CreatePopupMenu();
  SWELL_Menu_AddMenuItem(menu, "Item", 9, 0);
  auto* item = swell::menuFromHandle(menu)->itemAtIndex(0);
  for (const Row& row : rows) {
    SCOPED_TRACE(row.key);
    EXPECT_TRUE(SetMenuItemModifier(menu, 9, MF_BYCOMMAND, row.key, row.modifiers));
    EXPECT_EQ(item->keyEquivalent(), row.equivalent);
  }
  // The shortcut after an item text's tab is its key equivalent when it names a command key
  // (else it only shows, and an equivalent set before stays); the character after the
  // first single '&' is its mnemonic.
  constexpr std::uint64_t kCommand = platform::NSEventModifierFlagCommand;
  struct Text {
    const char* text;
    const char* title;
    const char* mnemonic;
    const char* equivalent;
    std::uint64_t mask;
  } const texts[] = {
      {"&Preferences...\tCtrl+,", "Preferences...", "P", ",", kCommand},
      {"&Quit\tCtrl+Q", "Quit", "Q", "q", kCommand},
      {"Save &As\tCTRL+Shift+S", "Save As", "A", "S", kCommand},
      {"R&&D &x\talt++", "R&D x", "x", "+", platform::NSEventModifierFlagOption},
      {"Zoom\tF5", "Zoom", "", "+", platform::NSEventModifierFlagOption},
      {"\xC3\x89&\xC3\xA9\tQ", "\xC3\x89\xC3\xA9", "\xC3\xA9", "+",
       platform::NSEventModifierFlagOption},
  };
  for (const Text& t : texts) {
    SCOPED_TRACE(t.text);
    EXPECT_TRUE(SetMenuItemText(menu, 9, MF_BYCOMMAND, t.text));
    EXPECT_EQ(item->title(), t.title);
    EXPECT_EQ(item->mnemonic(), t.mnemonic);
    EXPECT_EQ(item->keyEquivalent(), t.equivalent);
    EXPECT_EQ(item->keyEquivalentModifierMask(), t.mask);
  }
  DestroyMenu(menu);
}

TEST_F(MenusTest, TrackPopupMenuReturnsOrSendsTheChoice) {
  struct Row {
    int flags;
    std::string answer;
    int result;
    int commands;
    bool initPopup;
  };
  const Row rows[] = {
      {TPM_RETURNCMD, "Two", 202, 0, true},
      {0, "Two", 1, 1, true},
      {0, "", 0, 0, true},
      {TPM_NONOTIFY | TPM_RETURNCMD, "One", 201, 0, false},
  };
  HWND view = SWELL_CreateDialog(SWELL_DialogResourceHead, resid(40001), nullptr,
                                 MessageLog::dialogProc, 0);
  ASSERT_NE(view, nullptr);
  for (const Row& row : rows) {
    SCOPED_TRACE(row.flags);
    HMENU menu = CreatePopupMenu();
    SWELL_Menu_AddMenuItem(menu, "One", 201, 0);
    SWELL_Menu_AddMenuItem(menu, "Two", 202, 0);
    log.clear();
    h.menus().add({row.answer});
    EXPECT_EQ(TrackPopupMenu(menu, row.flags, 100, 300, 0, view), row.result);
    EXPECT_EQ(log.count(WM_COMMAND, view), row.commands);
    EXPECT_EQ(log.count(WM_INITMENUPOPUP, view) > 0, row.initPopup);
    DestroyMenu(menu);
  }
  // An item inserted later is routed like its siblings.
  HMENU menu = CreatePopupMenu();
  SWELL_Menu_AddMenuItem(menu, "One", 201, 0);
  SWELL_SetMenuDestination(menu, view);
  SWELL_InsertMenu(menu, 1, MF_BYPOSITION, 203, "Three");
  log.clear();
  EXPECT_TRUE(testsupport::PlatformHarness::chooseMenuItem(swell::menuFromHandle(menu), "Three"));
  EXPECT_EQ(log.count(WM_COMMAND, view), 1);
  SWELL_SetMenuDestination(menu, nullptr);
  DestroyMenu(menu);
  DestroyWindow(view);
}

TEST_F(MenusTest, AMenuAWindowShowsIsNotFreedUnderIt) {
  HWND view = SWELL_CreateDialog(SWELL_DialogResourceHead, resid(40001), nullptr,
                                 MessageLog::dialogProc, 0);
  HMENU menu = CreatePopupMenu();
  ASSERT_TRUE(SetMenu(view, menu));
  DestroyMenu(menu);
  EXPECT_NE(swell::menuFromHandle(menu), nullptr);
  EXPECT_EQ(GetMenu(view), menu);
  DestroyWindow(view);  // the window frees it
  EXPECT_EQ(swell::menuFromHandle(menu), nullptr);
}

// A menu placed below itself would hold itself; a submenu placed under a second item is
// held by both, so freeing one parent leaves it to the other, and its menus free it.
TEST_F(MenusTest, SubmenusThatWouldFormACircleAreRefusedAndSharedOnesSurvive) {
  HMENU top = CreatePopupMenu();
  HMENU sub = CreatePopupMenu();
  HMENU other = CreatePopupMenu();
  auto popup = [](HMENU menu) { return reinterpret_cast<UINT_PTR>(menu); };
  SWELL_InsertMenu(top, 0, MF_BYPOSITION | MF_POPUP, popup(sub), "Sub");
  SWELL_InsertMenu(sub, 0, MF_BYPOSITION | MF_POPUP, popup(top), "Parent");
  SWELL_InsertMenu(top, 1, MF_BYPOSITION | MF_POPUP, popup(top), "Itself");
  EXPECT_EQ(GetMenuItemCount(sub), 0);
  EXPECT_EQ(GetMenuItemCount(top), 1);
  MENUITEMINFO info{};
  info.fMask = MIIM_SUBMENU;
  info.hSubMenu = top;
  SWELL_InsertMenu(sub, 0, MF_BYPOSITION, 7, "Plain");
  EXPECT_EQ(SetMenuItemInfo(sub, 0, TRUE, &info), FALSE);
  EXPECT_EQ(GetSubMenu(sub, 0), nullptr);

  SWELL_InsertMenu(other, 0, MF_BYPOSITION | MF_POPUP, popup(sub), "Shared");
  DestroyMenu(sub);  // still shown by its items: they free it
  EXPECT_EQ(GetSubMenu(top, 0), sub);
  DestroyMenu(top);
  ASSERT_NE(swell::menuFromHandle(sub), nullptr);
  EXPECT_EQ(GetSubMenu(other, 0), sub);
  EXPECT_EQ(GetMenuItemCount(sub), 1);
  DestroyMenu(other);
  EXPECT_EQ(swell::menuFromHandle(sub), nullptr);
}

// The "Preferences" control list at scale 1.5 on its flipped dialog view.
const SWELL_DlgResourceControl kPreferences[] = {
    {"__SWELL_BUTTON", 1, "OK", 1, 110, 105, 50, 14, 0},
    {"__SWELL_BUTTON", 0, "Apply", 40024, 165, 105, 50, 14, 0},
    {"__SWELL_BUTTON", 0, "Cancel", 2, 220, 105, 50, 14, 0},
    {"__SWELL_GROUP", 0, "MIDI Device Settings", 40020, 7, 7, 210, 90, 0},
    {"__SWELL_LABEL", -1, "&Output Device", 40021, 15, 60, 80, 10, 0},
    {"__SWELL_LABEL", -1, "Input Device", 40022, 15, 30, 80, 10, 0},
    {"__SWELL_COMBO", 0, "", 40019, 15, 70, 180, 100, 3},
    {"__SWELL_COMBO", 0, "", 40018, 15, 40, 180, 100, 3},
    {"__SWELL_ICON", 0, "", 9, 0, 0, 10, 10, 0},
    {"", 0, "", 10, 0, 0, 10, 10, 0},  // empty class: nothing
};

void makePreferences(HWND view, int) {
  SWELL_MakeSetCurParms(view, false, false, 1.5f, 1.5f, 0, 0);
  SWELL_GenerateDialogFromList(kPreferences, static_cast<int>(std::size(kPreferences)));
}

TEST_F(MenusTest, ThePreferencesListPlacesEveryControlByTheFrameRule) {
  SWELL_DialogResourceIndex prefs{resid(40002), "Preferences", 12, makePreferences, 334, 195};
  h.registerResource(&prefs);
  HWND view = SWELL_CreateDialog(SWELL_DialogResourceHead, resid(40002), nullptr,
                                 MessageLog::dialogProc, 0);
  ASSERT_NE(view, nullptr);
  struct Row {
    int id;
    platform::NSRect frame;
    std::string text;
  };
  const Row rows[] = {
      {1, platform::NSMakeRect(165, 158, 75, 21), "OK"},
      {40018, platform::NSMakeRect(23, 60, 270, 18), ""},
      {40021, platform::NSMakeRect(23, 90, 120, 15), "Output Device"},
      {40020, platform::NSMakeRect(11, 9, 315, 140), "MIDI Device Settings"},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.id);
    auto* control = swell::objectFromHandleAs<platform::NSView>(GetDlgItem(view, row.id));
    ASSERT_NE(control, nullptr);
    EXPECT_EQ(control->frame(), row.frame);
    if (!row.text.empty()) {
      char text[64] = {};
      GetDlgItemText(view, row.id, text, sizeof text);
      EXPECT_EQ(text, row.text);
    }
  }
  auto* content = swell::objectFromHandleAs<platform::NSView>(view);
  EXPECT_EQ(content->subviews().size(), 8u);
  EXPECT_EQ(content->subviews().front()->tag(), 40020);  // the group box lies below
  EXPECT_EQ(content->window()->defaultButtonCell(), swell::objectFromHandle(GetDlgItem(view, 1)));
  ShowWindow(view, SW_SHOW);
  EXPECT_TRUE(testsupport::PlatformHarness::renderPNG(content->window(),
                                                      ::testing::TempDir() + "prefs.png"));
  DestroyWindow(view);
}

TEST_F(MenusTest, FactoriesFollowStylesCreatorsAndUnknownClasses) {
  HWND view = SWELL_CreateDialog(SWELL_DialogResourceHead, resid(40001), nullptr,
                                 MessageLog::dialogProc, 0);
  SWELL_MakeSetCurParms(view, false, false, 1, 1, 0, 0);
  EXPECT_EQ(SWELL_MakeControl("x", 5, "NoSuchClass", 0, 0, 0, 10, 10, 0), nullptr);
  // An etched line is a static control, and hidden by the sign bit as every control is.
  HWND etched = SWELL_MakeControl("", 7, "Static", static_cast<int>(SS_ETCHEDHORZ | 0x80000000u), 0,
                                  0, 10, 2, 0);
  EXPECT_FALSE(IsWindowVisible(etched));
  auto* box = swell::objectFromHandleAs<Swell_vCorvaneBrisko_box>(etched);
  ASSERT_NE(box, nullptr);
  EXPECT_STREQ(box->swellGetClass(), "Static");
  EXPECT_NE(SWELL_MakeControl("", 6, "SysListView32", 0, 0, 0, 10, 10, 0), nullptr);
  // Three radios after a push button share a group; WS_GROUP starts the next.
  SWELL_MakeButton(0, "Push", 10, 0, 0, 20, 10, 0);
  HWND radios[4];
  for (int i = 0; i < 4; ++i)
    radios[i] = SWELL_MakeControl("r", 11 + i, "Button",
                                  static_cast<int>(BS_AUTORADIOBUTTON | (i == 3 ? WS_GROUP : 0)), 0,
                                  20 * i, 20, 10, 0);
  auto action = [&](int i) {
    return swell::objectFromHandleAs<platform::NSControl>(radios[i])->action();
  };
  EXPECT_EQ(action(0), action(2));
  EXPECT_NE(action(2), action(3));
  // A creator registered twice stays after one unregistration.
  static int calls = 0;
  SWELL_ControlCreatorProc creator = [](HWND, const char*, int, const char*, int, int, int, int,
                                        int) -> HWND {
    ++calls;
    return nullptr;
  };
  SWELL_RegisterCustomControlCreator(creator);
  SWELL_RegisterCustomControlCreator(creator);
  SWELL_UnregisterCustomControlCreator(creator);
  SWELL_MakeControl("", 20, "Edit", 0, 0, 0, 20, 10, 0);
  EXPECT_EQ(calls, 1);
  SWELL_UnregisterCustomControlCreator(creator);
  SWELL_MakeControl("", 21, "Edit", 0, 0, 0, 20, 10, 0);
  EXPECT_EQ(calls, 1);
  // A non-flipped parent puts the control's top edge at the dialog position.
  platform::NSView plain(platform::NSMakeRect(0, 0, 200, 100));
  SWELL_MakeSetCurParms(swell::handleFromObject(&plain), false, false, 1, 1, 0, 0);
  EXPECT_EQ(SWELL_MakeControlFrame(10, 20, 30, 15, false, false),
            platform::NSMakeRect(10, 65, 30, 15));
  DestroyWindow(view);
}

}  // namespace

namespace {

// A top-level window shows its own menu as a bar above its client area, which keeps its
// size; a title pressed opens its menu, and the item chosen comes as WM_COMMAND.
TEST_F(MenusTest, ATopLevelWindowsMenuIsABarAboveAnUnchangedClientArea) {
  HWND view = SWELL_CreateDialog(SWELL_DialogResourceHead, resid(40001), nullptr,
                                 MessageLog::dialogProc, 0);
  ASSERT_NE(view, nullptr);
  ShowWindow(view, SW_SHOW);
  HMENU menu = CreatePopupMenu();
  SWELL_GenerateMenuFromList(menu, kHostMenu, 15);
  RECT client{}, frame{}, clientWithBar{}, frameWithBar{};
  GetClientRect(view, &client);
  GetWindowRect(view, &frame);
  EXPECT_TRUE(SetMenu(view, menu));
  EXPECT_EQ(GetMenu(view), menu);
  GetClientRect(view, &clientWithBar);
  GetWindowRect(view, &frameWithBar);
  EXPECT_EQ(clientWithBar.right - clientWithBar.left, client.right - client.left);
  EXPECT_EQ(clientWithBar.bottom - clientWithBar.top, client.bottom - client.top);
  EXPECT_EQ(std::abs(frameWithBar.bottom - frameWithBar.top) - std::abs(frame.bottom - frame.top),
            static_cast<int>(platform::NSWindow::kMenuBarHeight));

  // The menu opens from its title and by the keys: F10 opens File, Alt (Option on the
  // platform) with a title's '&' letter that title's menu, and Ctrl (Command) with ','
  // chooses "Preferences...", as its text names, with no menu shown. Each menu is updated
  // before its item acts.
  platform::NSWindow* w = swell::objectFromHandleAs<platform::NSView>(view)->window();
  const platform::NSRect help = w->menuBarItemRect(2);
  HMENU file = GetSubMenu(menu, 0), helpMenu = GetSubMenu(menu, 2);
  struct Row {
    std::uint16_t key;  // 0: a click on the Help title
    const char* characters;
    std::uint64_t modifiers;
    const char* answer;  // the item chosen from the menu shown, or null for none shown
    HMENU updated;
    WPARAM command;
  } const rows[] = {
      {0, "", 0, "Read Manual", helpMenu, 40008},
      {0x6D, "", 0, "Quit", file, 40007},
      {0x04, "h", platform::NSEventModifierFlagOption, "About", helpMenu, 40005},
      {0x2B, ",", platform::NSEventModifierFlagCommand, nullptr, file, 40006},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.command);
    const std::size_t poppedBefore = h.menus().popped().size();
    if (row.answer) h.menus().add({row.answer});
    log.clear();
    if (row.key)
      h.key(w, row.key, row.characters, row.modifiers);
    else
      h.click(w, {help.midX(), help.midY()});
    h.runUntilIdle();
    EXPECT_EQ(h.menus().popped().size() - poppedBefore, row.answer ? 1u : 0u);
    EXPECT_TRUE(testsupport::messagesMatch(
        messagesOf(log.messages(), view),
        {{WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(row.updated)}, {WM_COMMAND, row.command}},
        {WM_INITMENUPOPUP, WM_COMMAND}));
  }

  SetMenu(view, nullptr);
  EXPECT_EQ(w->menuBar(), nullptr);
  DestroyWindow(view);
  DestroyMenu(menu);
}

}  // namespace
