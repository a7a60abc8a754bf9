#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "platform/core/Pasteboard.h"
#include "platform/display/Event.h"
#include "views_support.h"
#include "windowing/core/TimerTargets.h"
#include "windowing/views/TreeItem.h"
#include "windowing/views/TreeViewObject.h"

using testsupport::ExpectedMessage;
using testsupport::Notification;

namespace {

constexpr int kTreeId = 200;

// A tree made by the factory holding
//   Presets (param 1)
//     Bank A (2)
//       Init (3)
//     Bank B (4)
//   Favourites (5)
// with Presets expanded.
class TreeTest : public testsupport::ViewsTest {
 protected:
  HWND tree = nullptr;
  HTREEITEM presets = nullptr, bankA = nullptr, init = nullptr, bankB = nullptr,
            favourites = nullptr;

  void SetUp() override {
    ViewsTest::SetUp();
    tree = make("SysTreeView32", kTreeId, 0, 10, 10, 200, 150);
    presets = add(nullptr, TVI_LAST, "Presets", 1, true);
    bankA = add(presets, TVI_LAST, "Bank A", 2, true);
    init = add(bankA, TVI_LAST, "Init", 3);
    bankB = add(presets, TVI_LAST, "Bank B", 4);
    favourites = add(TVI_ROOT, TVI_LAST, "Favourites", 5);
    TreeView_Expand(tree, presets, TVE_EXPAND);
    notifications.clear();
    log.clear();
  }
  HTREEITEM add(HTREEITEM parent, HTREEITEM after, const char* text, LPARAM param,
                bool children = false) {
    TVINSERTSTRUCT ins;
    ins.hParent = parent;
    ins.hInsertAfter = after;
    ins.item.mask = TVIF_TEXT | TVIF_PARAM | TVIF_CHILDREN;
    ins.item.pszText = const_cast<char*>(text);
    ins.item.lParam = param;
    ins.item.cChildren = children ? 1 : 0;
    return TreeView_InsertItem(tree, &ins);
  }
  Swell_vCorvaneBrisko_treeview* outline() const {
    return swell::objectFromHandleAs<Swell_vCorvaneBrisko_treeview>(tree);
  }
  std::vector<HTREEITEM> children(HTREEITEM parent) const {
    std::vector<HTREEITEM> out;
    for (HTREEITEM c = TreeView_GetChild(tree, parent); c; c = TreeView_GetNextSibling(tree, c))
      out.push_back(c);
    return out;
  }
  // A row's middle, or a point in its triangle, where a click goes.
  platform::NSPoint rowPoint(HTREEITEM item, bool triangle = false) const {
    const int row = outline()->rowForItem(item->m_dh);
    const platform::NSRect r =
        triangle ? outline()->frameOfOutlineCellAtRow(row) : outline()->rectOfRow(row);
    return inWindow(tree, {triangle ? r.midX() : 120, r.midY()});
  }
  Notification selChange(HTREEITEM item) const {
    return {kTreeId, TVN_SELCHANGED, tree, 0, item, item ? item->m_param : 0};
  }
  std::vector<UINT> codes() const {
    std::vector<UINT> out;
    for (const Notification& n : notifications)
      out.push_back(n.code);
    return out;
  }
};

TEST_F(TreeTest, InsertPositionsAndTheWalkFunctions) {
  ASSERT_NE(tree, nullptr);
  EXPECT_EQ(GetDlgItem(window, kTreeId), tree);
  EXPECT_EQ(TreeView_GetRoot(tree), presets);
  EXPECT_EQ(children(nullptr), (std::vector<HTREEITEM>{presets, favourites}));
  EXPECT_EQ(children(presets), (std::vector<HTREEITEM>{bankA, bankB}));
  EXPECT_EQ(TreeView_GetParent(tree, init), bankA);
  EXPECT_EQ(TreeView_GetParent(tree, presets), nullptr);
  EXPECT_EQ(TreeView_GetParent(tree, nullptr), presets);
  // After the first handle: at 0; after the sort handle: at the end; after an item: just
  // after it; after an item of another parent: at 0.
  HTREEITEM first = add(presets, TVI_FIRST, "First", 6);
  HTREEITEM sorted = add(presets, TVI_SORT, "Aardvark", 7);
  HTREEITEM middle = add(presets, bankA, "Middle", 8);
  HTREEITEM stray = add(presets, favourites, "Stray", 9);
  EXPECT_EQ(children(presets),
            (std::vector<HTREEITEM>{stray, first, bankA, middle, bankB, sorted}));
  EXPECT_EQ(outline()->numberOfRows(), 8);  // Presets is open, Bank A is not
  // A parent that is not an item of this tree, or no record, makes nothing.
  TreeItemRec foreign;
  EXPECT_EQ(add(&foreign, TVI_LAST, "x", 0), nullptr);
  EXPECT_EQ(TreeView_InsertItem(tree, nullptr), nullptr);
  EXPECT_EQ(TreeView_GetChild(tree, &foreign), nullptr);
  EXPECT_TRUE(h.logged("is not an item of this tree"));
  // Other windows are not trees.
  EXPECT_EQ(TreeView_GetRoot(window), nullptr);
  EXPECT_FALSE(TreeView_SetIndent(window, 10));
  EXPECT_TRUE(TreeView_SetIndent(tree, 10));
}

TEST_F(TreeTest, GetItemCutsOnWholeCharactersAndWritesNothingWithoutRoom) {
  TVITEM set;
  set.mask = TVIF_HANDLE | TVIF_TEXT;
  set.hItem = bankB;
  set.pszText = const_cast<char*>("Bänk B");  // "ä" is two bytes
  ASSERT_TRUE(TreeView_SetItem(tree, &set));
  struct Row {
    int capacity;
    bool buffer;
    std::string text;
  };
  for (const Row& row :
       {Row{64, true, "Bänk B"}, Row{3, true, "B"}, Row{4, true, "Bä"}, Row{0, true, "untouched"},
        Row{-4, true, "untouched"}, Row{64, false, ""}}) {
    SCOPED_TRACE(row.capacity);
    char buffer[64] = "untouched";
    TVITEM get;
    get.mask = TVIF_HANDLE | TVIF_TEXT;
    get.hItem = bankB;
    get.pszText = row.buffer ? buffer : nullptr;
    get.cchTextMax = row.capacity;
    ASSERT_TRUE(TreeView_GetItem(tree, &get));
    if (row.buffer) {
      EXPECT_EQ(std::string(buffer), row.text);
    }
    EXPECT_EQ(get.lParam, 4);
  }
  TVITEM get;
  get.mask = TVIF_HANDLE;
  get.hItem = presets;
  ASSERT_TRUE(TreeView_GetItem(tree, &get));
  EXPECT_EQ(get.state, TVIS_EXPANDED);
  EXPECT_EQ(get.cChildren, 1);
  get.mask = 0;  // no handle bit: refused
  EXPECT_FALSE(TreeView_GetItem(tree, &get));
}

TEST_F(TreeTest, SelectingNotifiesOncePerTreeEvenWhenHandlersSelectAgain) {
  HWND other = make("SysTreeView32", kTreeId + 1, 0, 10, 170, 200, 60);
  TVINSERTSTRUCT ins;
  ins.item.mask = TVIF_TEXT;
  ins.item.pszText = nullptr;  // no text counts as ""
  HTREEITEM otherItem = TreeView_InsertItem(other, &ins);
  // The handler selects again in this tree and once in the other one.
  onNotify = [&](const NMHDR* header) -> std::optional<LRESULT> {
    if (header->hwndFrom == tree) {
      TreeView_SelectItem(tree, favourites);
      TreeView_SelectItem(other, otherItem);
    }
    return std::nullopt;
  };
  TVITEM set;
  set.mask = TVIF_HANDLE;
  set.hItem = bankB;
  set.state = set.stateMask = TVIS_SELECTED;
  ASSERT_TRUE(TreeView_SetItem(tree, &set));
  EXPECT_EQ(notifications,
            (std::vector<Notification>{selChange(bankB),
                                       {kTreeId + 1, TVN_SELCHANGED, other, 0, otherItem, 0}}));
  EXPECT_EQ(TreeView_GetSelection(tree), favourites);
  onNotify = nullptr;
}

// An item inside collapsed branches is selected as on Windows: its ancestors open from the
// outermost down, each announced as it opens, then the selection changes. Making an item
// visible opens its ancestors the same way.
TEST_F(TreeTest, SelectingOrRevealingAnItemInsideCollapsedBranchesOpensThem) {
  struct Row {
    const char* what;
    BOOL (*call)(HWND, HTREEITEM);
    bool selects;
  };
  const Row rows[] = {{"select", TreeView_SelectItem, true},
                      {"ensure visible", TreeView_EnsureVisible, false}};
  for (const Row& row : rows) {
    SCOPED_TRACE(row.what);
    TreeView_Expand(tree, bankA, TVE_COLLAPSE);
    TreeView_Expand(tree, presets, TVE_COLLAPSE);
    TreeView_SelectItem(tree, favourites);
    notifications.clear();
    ASSERT_TRUE(row.call(tree, init));
    std::vector<Notification> want{{kTreeId, TVN_ITEMEXPANDING, tree, TVE_EXPAND, presets, 1},
                                   {kTreeId, TVN_ITEMEXPANDING, tree, TVE_EXPAND, bankA, 2}};
    if (row.selects) want.push_back(selChange(init));
    EXPECT_EQ(notifications, want);
    EXPECT_GE(outline()->rowForItem(init->m_dh), 0);
    EXPECT_EQ(TreeView_GetSelection(tree), row.selects ? init : favourites);
  }
}

TEST_F(TreeTest, DeletingTheSelectedSubtreeSelectsItsParentAfterItsRowsAreGone) {
  TreeView_Expand(tree, bankA, TVE_EXPAND);
  TreeView_SelectItem(tree, init);
  notifications.clear();
  auto holder = platform::Ref<platform::NSObject>(init->m_dh);
  int rowsSeen = -1;
  onNotify = [&](const NMHDR*) -> std::optional<LRESULT> {
    rowsSeen = outline()->numberOfRows();
    return std::nullopt;
  };
  // Deleting Bank A, parent of the selected item, selects Presets with one notification.
  ASSERT_TRUE(TreeView_DeleteItem(tree, bankA));
  EXPECT_EQ(notifications, std::vector<Notification>{selChange(presets)});
  EXPECT_EQ(rowsSeen, 3);
  // The holder the outline showed no longer leads to a record.
  EXPECT_EQ(TreeItemRec::fromHolder(holder.get()), nullptr);
  // At the root nothing is selected by the delete.
  notifications.clear();
  TreeView_SelectItem(tree, favourites);
  const Notification selected = selChange(favourites);
  TreeView_DeleteItem(tree, favourites);
  EXPECT_EQ(notifications, std::vector<Notification>{selected});
  EXPECT_EQ(TreeView_GetSelection(tree), nullptr);
  EXPECT_FALSE(TreeView_DeleteItem(tree, favourites));  // gone already
  EXPECT_TRUE(TreeView_DeleteAllItems(tree));
  EXPECT_EQ(outline()->numberOfRows(), 0);
}

TEST_F(TreeTest, ClicksOnRowsAndTrianglesAsTheUserMakesThem) {
  // A click on Bank A's triangle opens it; a click on a row selects it.
  h.click(nsWindow(), rowPoint(bankA, true));
  h.runUntilIdle();
  h.click(nsWindow(), rowPoint(init));
  h.click(nsWindow(), rowPoint(init), 0, 2);
  h.runUntilIdle();
  EXPECT_EQ(notifications, (std::vector<Notification>{
                               {kTreeId, NM_CLICK, tree},
                               {kTreeId, TVN_ITEMEXPANDING, tree, TVE_EXPAND, bankA, 2},
                               {kTreeId, NM_CLICK, tree},
                               selChange(init),
                               {kTreeId, NM_CLICK, tree},
                               {kTreeId, NM_DBLCLK, tree},
                           }));
  // Collapsing hides the selected item and so takes the selection away.
  notifications.clear();
  h.click(nsWindow(), rowPoint(bankA, true));
  h.runUntilIdle();
  EXPECT_EQ(codes(), (std::vector<UINT>{NM_CLICK, TVN_ITEMEXPANDING, TVN_SELCHANGED}));
  EXPECT_EQ(notifications[1].action, TVE_COLLAPSE);
  EXPECT_EQ(TreeView_GetSelection(tree), nullptr);
  TVHITTESTINFO hit;
  hit.pt = {20, static_cast<LONG>(outline()->rectOfRow(1).midY())};
  EXPECT_EQ(TreeView_HitTest(tree, &hit), bankA);
  hit.pt.y = 140;  // below the rows
  EXPECT_EQ(TreeView_HitTest(tree, &hit), nullptr);
  EXPECT_EQ(hit.flags, TVHT_NOWHERE);
  hit.pt.x = -5;  // outside the tree
  EXPECT_EQ(TreeView_HitTest(tree, &hit), nullptr);
  EXPECT_EQ(TreeView_HitTest(tree, nullptr), nullptr);
}

TEST_F(TreeTest, ControlClickIsARightClickWhenEmulated) {
  SWELL_EnableRightClickEmulate(TRUE);
  h.click(nsWindow(), rowPoint(bankB), platform::NSEventModifierFlagControl);
  h.runUntilIdle();
  // Answering NM_RCLICK keeps the context menu away.
  log.answer(WM_NOTIFY, 1);
  h.rightClick(nsWindow(), rowPoint(bankB));
  h.runUntilIdle();
  SWELL_EnableRightClickEmulate(FALSE);
  EXPECT_EQ(codes(), (std::vector<UINT>{NM_RCLICK, NM_RCLICK}));
  EXPECT_TRUE(testsupport::messagesMatch(log.messages(),
                                         {{WM_NOTIFY, WPARAM{kTreeId}},
                                          {WM_CONTEXTMENU, reinterpret_cast<WPARAM>(tree)},
                                          {WM_NOTIFY, WPARAM{kTreeId}}},
                                         {WM_NOTIFY, WM_CONTEXTMENU}));
  EXPECT_EQ(TreeView_GetSelection(tree), nullptr);  // no left click happened
}

TEST_F(TreeTest, ASelectedRowDrawsInTheStoredColoursWithAndWithoutFocus) {
  // Backgrounds blue with the focus and green without, each with its text colour.
  COLORREF colors[] = {0x0000FF, 0xFFFFFF, 0x00FF00, 0x000000};
  ListView_SetSelColors(tree, colors, 4);
  // A negative count or no array stores nothing.
  ListView_SetSelColors(tree, colors, -1);
  ListView_SetSelColors(tree, nullptr, 2);
  TreeView_SelectItem(tree, bankB);
  // Right of the text, where only the row's background shows.
  auto pixel = [&](HTREEITEM item) {
    const platform::NSRect r = outline()->rectOfRow(outline()->rowForItem(item->m_dh));
    const platform::NSPoint p = inWindow(tree, {outline()->visibleRect().maxX() - 10, r.midY()});
    return testsupport::PlatformHarness::pixelAt(nsWindow(), p.x, p.y);
  };
  const std::pair<HWND, std::uint32_t> focus[] = {{tree, 0xFF0000FF}, {window, 0xFF00FF00}};
  for (const auto& [focused, background] : focus) {
    SetFocus(focused);
    h.runUntilIdle();
    EXPECT_EQ(GetFocus(), focused);
    EXPECT_EQ(pixel(bankB), background);
    EXPECT_NE(pixel(favourites), background);
  }
  // The selected item's text takes the second colour of the pair.
  auto* cell = static_cast<platform::NSTextFieldCell*>(
      outline()->preparedCellAtColumn(0, outline()->rowForItem(bankB->m_dh)));
  EXPECT_EQ(cell->textColor(), (platform::NSColor{0, 0, 0, 1}));
}

TEST_F(TreeTest, TheWheelScrollsByRowsAndStopsAtBothEnds) {
  for (int i = 0; i < 20; ++i)
    add(nullptr, TVI_LAST, "More", 10 + i);
  h.runUntilIdle();
  const double pitch = outline()->rowPitch();
  const double bottom = outline()->numberOfRows() * pitch - outline()->visibleRect().size.height;
  ASSERT_GT(bottom, 2 * pitch);
  struct Step {
    double dy;
    double top;
  };
  for (const Step& step :
       {Step{-2, 2 * pitch}, Step{3, 0}, Step{-100, bottom}, Step{1, bottom - pitch}}) {
    const platform::NSRect shown = outline()->visibleRect();
    h.scroll(nsWindow(), inWindow(tree, {shown.midX(), shown.midY()}), 0, step.dy);
    h.runUntilIdle();
    EXPECT_EQ(outline()->visibleRect().minY(), step.top) << "after " << step.dy;
  }
}

// The parent steers a drag: it takes the capture when the drag begins and answers each
// move with where the drop goes.
class TreeDragTest : public TreeTest {
 protected:
  std::vector<LRESULT> answers;  // to WM_MOUSEMOVE, in turn; the last repeats
  int moves = 0;
  int releases = 0;
  bool releaseCapture = false;

  void SetUp() override {
    TreeTest::SetUp();
    onNotify = [this](const NMHDR* header) -> std::optional<LRESULT> {
      if (header->code == TVN_BEGINDRAG) SetCapture(window);
      return std::nullopt;
    };
    log.answer([this](HWND, UINT msg, WPARAM, LPARAM lParam) -> std::optional<LRESULT> {
      if (msg == WM_NOTIFY && lParam) {
        const auto* header = reinterpret_cast<const NMHDR*>(lParam);
        Notification n{kTreeId, header->code, header->hwndFrom};
        if (testsupport::carriesTreeRecord(header->code)) {
          n.item = reinterpret_cast<const NMTREEVIEW*>(lParam)->itemNew.hItem;
          n.param = reinterpret_cast<const NMTREEVIEW*>(lParam)->itemNew.lParam;
        }
        notifications.push_back(n);
        return onNotify(header);
      }
      if (msg == WM_MOUSEMOVE && GetCapture() == window) {
        ++moves;
        return answers[std::min<std::size_t>(moves, answers.size()) - 1];
      }
      if (msg == WM_LBUTTONUP) {
        ++releases;
        if (releaseCapture) ReleaseCapture();
      }
      return std::nullopt;
    });
  }
  void dragBankB(platform::NSPoint to) {
    h.drag(nsWindow(), rowPoint(bankB), to, 4);
    h.runUntilIdle();
  }
};

TEST_F(TreeDragTest, ARefusingParentGetsNoDropOnlyTheEnd) {
  answers = {kTreeDropRefused};
  dragBankB(rowPoint(favourites));
  EXPECT_EQ(codes(), (std::vector<UINT>{NM_CLICK, TVN_SELCHANGED, TVN_BEGINDRAG}));
  EXPECT_EQ(notifications.back().item, bankB);
  EXPECT_GE(moves, 3);
  EXPECT_EQ(releases, 1);  // the end of the drag, no drop
  EXPECT_EQ(outline()->registeredDraggedTypes(), std::vector<std::string>{});
  EXPECT_EQ(log.count(WM_LBUTTONDOWN), 0);
}

TEST_F(TreeDragTest, AnAcceptedDropIsAnnouncedAndStaleHandlesAreIgnored) {
  TreeItemRec stranger;
  answers = {reinterpret_cast<LRESULT>(&stranger), kTreeDropAtEnd, reinterpret_cast<LRESULT>(init)};
  dragBankB(rowPoint(favourites));
  EXPECT_EQ(releases, 2);  // the drop and the end
  auto board = platform::NSPasteboard::pasteboardWithName(platform::NSPasteboardNameDrag)
                   .stringForType(Swell_vCorvaneBrisko_treeview::kDragType);
  EXPECT_EQ(board, std::optional<std::string>(""));
  ReleaseCapture();
  // A parent that lets the capture go at the drop hears of the end no more.
  releases = 0;
  releaseCapture = true;
  answers = {kTreeDropAtEnd};
  dragBankB(rowPoint(presets));
  EXPECT_EQ(releases, 1);
}

TEST_F(TreeDragTest, NoDragWhenTheStyleForbidsIt) {
  outline()->swellSetStyle(TVS_DISABLEDRAGDROP);
  answers = {0};
  dragBankB(rowPoint(favourites));
  EXPECT_EQ(codes(), (std::vector<UINT>{NM_CLICK, TVN_SELCHANGED}));
  EXPECT_EQ(moves, 0);
  EXPECT_EQ(releases, 0);
}

}  // namespace
