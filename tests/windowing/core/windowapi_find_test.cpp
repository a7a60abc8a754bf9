#include <string>
#include <vector>

#include "platform/core/Application.h"
#include "support/WindowApiFixture.h"

using testsupport::MessageLog;

namespace testsupport {
namespace {

class WindowApiFind : public WindowApiFixture {};

std::vector<HWND>* gVisited = nullptr;

BOOL collect(HWND hwnd, LPARAM stopAfter) {
  gVisited->push_back(hwnd);
  return static_cast<LPARAM>(gVisited->size()) != stopAfter;
}

TEST_F(WindowApiFind, ControlsByIdAndTheirNeighbours) {
  EXPECT_EQ(GetDlgItem(dialog, 0), dialog);
  // A window stands for its content view.
  HWND window = swell::handleFromObject(dialogWindow());
  EXPECT_EQ(GetDlgItem(window, kEditId), item(kEditId));
  // A text view in a scroll view is found by its own id.
  EXPECT_EQ(item(kNotesId), swell::handleFromObject(notes()));
  EXPECT_EQ(GetDlgItem(dialog, 999), nullptr);

  const auto& subs = dialogView()->subviews();
  EXPECT_EQ(GetWindow(dialog, GW_CHILD), item(kLabelId));
  EXPECT_EQ(GetWindow(item(kEditId), GW_HWNDFIRST), item(kLabelId));
  EXPECT_EQ(GetWindow(item(kEditId), GW_HWNDNEXT), item(kButtonId));
  EXPECT_EQ(GetWindow(item(kEditId), GW_HWNDPREV), item(kLabelId));
  EXPECT_EQ(GetWindow(item(kLabelId), GW_HWNDPREV), nullptr);
  // The text view answers for its scroll view among the siblings.
  EXPECT_EQ(GetWindow(item(kNotesId), GW_HWNDPREV), swell::handleFromObject(subs[4]));
  EXPECT_EQ(GetWindow(item(kNotesId), GW_HWNDLAST), swell::handleFromObject(subs.back()));
  EXPECT_EQ(GetWindow(item(kEditId), GW_OWNER), dialog);
  // The content view is alone at its level.
  EXPECT_EQ(GetWindow(dialog, GW_HWNDFIRST), dialog);
  EXPECT_EQ(GetWindow(dialog, GW_HWNDNEXT), nullptr);
  EXPECT_EQ(GetWindow(dialog, 99), nullptr);

  // A text view in a scroll view has the scroll view's parent.
  EXPECT_EQ(GetParent(item(kEditId)), dialog);
  EXPECT_EQ(GetParent(item(kNotesId)), dialog);
  EXPECT_EQ(GetParent(dialog), nullptr);
  EXPECT_EQ(GetParent(window), nullptr);
  EXPECT_EQ(GetParent(nullptr), nullptr);

  EXPECT_TRUE(IsChild(dialog, item(kNotesId)));
  EXPECT_TRUE(IsChild(window, item(kEditId)));
  EXPECT_FALSE(IsChild(item(kEditId), dialog));
  EXPECT_FALSE(IsChild(dialog, dialog));
  EXPECT_FALSE(IsChild(window, nullptr));
}

TEST_F(WindowApiFind, OwnerOfATopLevelWindowIsItsOwnersContentView) {
  HWND owned = SWELL_CreateDialog(SWELL_DialogResourceHead, reinterpret_cast<const char*>(0x400002),
                                  dialog, nullptr, 0);
  ASSERT_NE(owned, nullptr);
  EXPECT_EQ(GetWindow(owned, GW_OWNER), dialog);
  EXPECT_EQ(GetWindowLong(owned, GWL_HWNDPARENT), reinterpret_cast<LONG_PTR>(dialog));
  EXPECT_EQ(GetParent(owned), dialog);
  // A parent window comes before the owner.
  HWND other = SWELL_CreateDialog(SWELL_DialogResourceHead, reinterpret_cast<const char*>(0x400002),
                                  nullptr, nullptr, 0);
  ASSERT_NE(other, nullptr);
  auto* otherWindow = swell::objectFromHandleAs<platform::NSView>(other)->window();
  auto* ownedWindow = swell::objectFromHandleAs<platform::NSView>(owned)->window();
  otherWindow->addChildWindow(ownedWindow, platform::NSWindowAbove);
  EXPECT_EQ(GetParent(owned), other);
  EXPECT_EQ(GetParent(swell::handleFromObject(ownedWindow)), other);
  otherWindow->removeChildWindow(ownedWindow);
  DestroyWindow(other);
}

TEST_F(WindowApiFind, EnumeratesChildrenDepthFirstAndStopsWhenAsked) {
  HWND child = childWindow();
  auto* inner = addControl(swell::objectFromHandleAs<platform::NSView>(child),
                           new platform::NSButton(platform::NSMakeRect(0, 0, 10, 10)), 50);
  std::vector<HWND> visited;
  gVisited = &visited;
  EXPECT_TRUE(EnumChildWindows(dialog, collect, -1));
  const auto& subs = dialogView()->subviews();
  std::vector<HWND> expected;
  for (platform::NSView* v : subs) {
    // The scroll view is given as its document view.
    expected.push_back(v == subs[5] ? item(kNotesId) : swell::handleFromObject(v));
    if (v == subs[5]) continue;
    if (swell::handleFromObject(v) == child) expected.push_back(swell::handleFromObject(inner));
  }
  EXPECT_EQ(visited, expected);
  visited.clear();
  EXPECT_FALSE(EnumChildWindows(dialog, collect, 2));
  EXPECT_EQ(visited.size(), 2u);
  EXPECT_TRUE(EnumChildWindows(nullptr, collect, -1));
  EXPECT_FALSE(EnumChildWindows(dialog, nullptr, 0));

  // Top-level windows are given as their content views, in the platform's order.
  visited.clear();
  EXPECT_TRUE(EnumWindows(collect, -1));
  EXPECT_NE(std::find(visited.begin(), visited.end(), dialog), visited.end());
  visited.clear();
  EXPECT_FALSE(EnumWindows(collect, 1));
  EXPECT_EQ(visited.size(), 1u);
  gVisited = nullptr;
}

// A callback that destroys every window it is given, noting each and whether it was still a
// window at its turn.
BOOL destroyEach(HWND hwnd, LPARAM) {
  if (gVisited) gVisited->push_back(IsWindow(hwnd) ? hwnd : nullptr);
  DestroyWindow(hwnd);
  return 1;
}

// A callback that, at its first call, moves the window lParam out of the walk's tree.
BOOL moveOutAtFirst(HWND hwnd, LPARAM moved) {
  if (gVisited->empty()) SetParent(reinterpret_cast<HWND>(moved), nullptr);
  gVisited->push_back(hwnd);
  return 1;
}

TEST_F(WindowApiFind, EnumerationSkipsWindowsGoneBeforeTheirTurn) {
  // A window moved out of the tree before its turn is not given; the others keep their order.
  std::vector<HWND> visited;
  gVisited = &visited;
  HWND moved = item(kButtonId);
  EXPECT_TRUE(EnumChildWindows(dialog, moveOutAtFirst, reinterpret_cast<LPARAM>(moved)));
  EXPECT_EQ(visited, (std::vector<HWND>{item(kLabelId), item(kEditId), item(kCheckId),
                                        swell::handleFromObject(dialogView()->subviews()[3]),
                                        item(kNotesId)}));
  DestroyWindow(moved);

  // Destroying each window given: a child's own children go with it and are never given.
  visited.clear();
  HWND child = childWindow();
  HWND inner = swell::handleFromObject(
      addControl(swell::objectFromHandleAs<platform::NSView>(child),
                 new platform::NSButton(platform::NSMakeRect(0, 0, 10, 10)), 50));
  EXPECT_TRUE(EnumChildWindows(dialog, destroyEach, 0));
  EXPECT_EQ(std::count(visited.begin(), visited.end(), nullptr), 0);
  EXPECT_EQ(std::count(visited.begin(), visited.end(), inner), 0);
  EXPECT_EQ(visited.back(), child);
  gVisited = nullptr;
  // The scroll view was given as its text view, so it alone is left.
  ASSERT_EQ(dialogView()->subviews().size(), 1u);
  EXPECT_EQ(notes(), nullptr);
  HWND other = SWELL_CreateDialog(SWELL_DialogResourceHead, reinterpret_cast<const char*>(0x400002),
                                  nullptr, nullptr, 0);
  EXPECT_TRUE(EnumWindows(destroyEach, 0));
  EXPECT_FALSE(IsWindow(other));
  EXPECT_FALSE(IsWindow(dialog));
}

TEST_F(WindowApiFind, FindsChildrenByClassAndTitle) {
  // "Static" in any case finds the first text field.
  EXPECT_EQ(FindWindowEx(dialog, nullptr, "static", nullptr), item(kLabelId));
  EXPECT_EQ(FindWindowEx(dialog, item(kLabelId), "Static", nullptr), item(kEditId));
  EXPECT_EQ(FindWindowEx(dialog, nullptr, "Button", nullptr), item(kButtonId));
  EXPECT_EQ(FindWindowEx(dialog, item(kButtonId), "Button", nullptr), item(kCheckId));
  EXPECT_EQ(FindWindowEx(dialog, nullptr, nullptr, "OK"), item(kButtonId));
  EXPECT_EQ(FindWindowEx(dialog, nullptr, "Static", "OK"), nullptr);
  EXPECT_EQ(FindWindowEx(dialog, nullptr, nullptr, nullptr), item(kLabelId));
  // A starting point that is not a child ends the search instead of restarting it.
  EXPECT_EQ(FindWindowEx(dialog, dialog, nullptr, nullptr), nullptr);

  // Without a parent: top-level windows by title (and content class).
  EXPECT_EQ(FindWindowEx(nullptr, nullptr, nullptr, "Settings"), dialog);
  EXPECT_EQ(FindWindowEx(nullptr, dialog, nullptr, "Settings"), nullptr);
  EXPECT_EQ(FindWindowEx(nullptr, nullptr, nullptr, nullptr), nullptr);
  EXPECT_EQ(FindWindowEx(nullptr, nullptr, "Dialog", "Settings"), nullptr);
  SWELL_SetClassName(dialog, "Dialog");
  EXPECT_EQ(FindWindowEx(nullptr, nullptr, "Dialog", "Settings"), dialog);
}

TEST_F(WindowApiFind, ForegroundAndTheWindowUnderAPoint) {
  EXPECT_EQ(GetForegroundWindow(), nullptr);
  ShowWindow(dialog, SW_SHOW);
  platform::NSWindow* window = dialogWindow();
  window->setFrameOrigin({100, 100});
  auto* focusable =
      addControl(dialogView(), new FocusView(platform::NSMakeRect(0, 150, 5, 5), 0), 0);
  SetFocus(swell::handleFromObject(focusable));
  EXPECT_EQ(GetForegroundWindow(), swell::handleFromObject(focusable));
  window->makeFirstResponder(nullptr);
  EXPECT_EQ(GetForegroundWindow(), swell::handleFromObject(window));

  // The edit field sits 100..180 across and 10..30 down from the content's top.
  auto top = static_cast<LONG>(window->frame().origin.y + 200);
  EXPECT_EQ(WindowFromPoint({250, top - 20}), item(kEditId));
  EXPECT_EQ(WindowFromPoint({295, top - 5}), dialog);
  EXPECT_EQ(WindowFromPoint({250, top + 5}), dialog);  // the title bar
  EXPECT_EQ(WindowFromPoint({50, 50}), nullptr);
  ShowWindow(dialog, SW_HIDE);
  EXPECT_EQ(WindowFromPoint({250, top - 20}), nullptr);
}

}  // namespace
}  // namespace testsupport
