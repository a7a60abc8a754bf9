#include "windowing/views/TreeViewObject.h"

#include "base/Log.h"
#include "base/Utf8.h"
#include "windowing/core/Painting.h"
#include "windowing/core/TimerTargets.h"

namespace {

using Tree = Swell_vCorvaneBrisko_treeview;

Tree* treeFor(HWND hwnd, const char* call) {
  auto* tree = swell::objectFromHandleAs<Tree>(hwnd);
  if (!tree) base::warn("swell-cocoa", "%s: %p is not a tree view", call, (void*)hwnd);
  return tree;
}

bool isSpecialHandle(HTREEITEM item) {
  return item == TVI_ROOT || item == TVI_FIRST || item == TVI_LAST || item == TVI_SORT;
}

// The item when it is one of the tree's; logged otherwise.
bool found(Tree* tree, HTREEITEM item, TreeItemRec** parent, int* index, const char* call) {
  if (tree->findItem(item, parent, index)) return true;
  base::warn("swell-cocoa", "%s: %p is not an item of this tree", call, (void*)item);
  return false;
}

platform::NSObject* holderOf(TreeItemRec* record) {
  return record ? record->m_dh : nullptr;
}

std::vector<TreeItemRec*>& childrenOf(Tree* tree, TreeItemRec* parent) {
  return parent ? parent->m_children : tree->items();
}

// Opens the collapsed branches that hold a found item, outermost first, each announced as
// the user's opening is, so that the item has a row; Win32 programs select and reveal items
// without opening their branches themselves. False when a handler took the item away.
bool openBranchesAround(Tree* tree, TreeItemRec* item) {
  std::vector<TreeItemRec*> ancestors;
  TreeItemRec* parent = nullptr;
  for (TreeItemRec* at = item; tree->findItem(at, &parent, nullptr) && parent; at = parent)
    ancestors.push_back(parent);
  for (auto it = ancestors.rbegin(); it != ancestors.rend(); ++it) {
    if (!tree->findItem(*it, nullptr, nullptr)) return false;
    if (!tree->isItemExpanded((*it)->m_dh)) tree->expandItem((*it)->m_dh);
  }
  return tree->findItem(item, nullptr, nullptr) && tree->rowForItem(item->m_dh) >= 0;
}

}  // namespace

HTREEITEM TreeView_InsertItem(HWND hwnd, TVINSERTSTRUCT* insert) {
  Tree* tree = treeFor(hwnd, "TreeView_InsertItem");
  if (!tree || !insert) return nullptr;
  TreeItemRec* parent = nullptr;
  if (insert->hParent && !isSpecialHandle(insert->hParent)) {
    if (!found(tree, insert->hParent, nullptr, nullptr, "TreeView_InsertItem")) return nullptr;
    parent = insert->hParent;
  }
  std::vector<TreeItemRec*>& siblings = childrenOf(tree, parent);
  const HTREEITEM after = insert->hInsertAfter;
  std::size_t position = 0;
  if (!after || after == TVI_LAST || after == TVI_SORT) {
    position = siblings.size();  // sorting is not offered: at the end
  } else if (after != TVI_FIRST) {
    auto it = std::find(siblings.begin(), siblings.end(), after);
    position = it == siblings.end() ? 0 : static_cast<std::size_t>(it - siblings.begin()) + 1;
  }
  auto* record = new TreeItemRec;
  const TVITEM& item = insert->item;
  if (item.mask & TVIF_CHILDREN) record->m_haschildren = item.cChildren != 0;
  if (item.mask & TVIF_PARAM) record->m_param = item.lParam;
  if (item.mask & TVIF_TEXT) record->m_value = item.pszText ? item.pszText : "";
  siblings.insert(siblings.begin() + static_cast<std::ptrdiff_t>(position), record);
  tree->insertItemAtIndex(static_cast<int>(position), holderOf(parent));
  return record;
}

BOOL TreeView_DeleteItem(HWND hwnd, HTREEITEM item) {
  Tree* tree = treeFor(hwnd, "TreeView_DeleteItem");
  TreeItemRec* parent = nullptr;
  int index = 0;
  if (!tree || !found(tree, item, &parent, &index, "TreeView_DeleteItem")) return FALSE;
  platform::Ref<platform::NSObject> keep(tree);
  const bool selectedInside = item->contains(tree->selectedRecord());
  std::vector<TreeItemRec*>& siblings = childrenOf(tree, parent);
  siblings.erase(siblings.begin() + index);
  // The rows go first, so the parent is selected and announced in a tree without them.
  tree->removeItemAtIndex(index, holderOf(parent));
  delete item;
  if (selectedInside && parent) tree->selectAndNotify(parent);
  return TRUE;
}

BOOL TreeView_DeleteAllItems(HWND hwnd) {
  Tree* tree = treeFor(hwnd, "TreeView_DeleteAllItems");
  if (!tree) return FALSE;
  std::vector<TreeItemRec*> gone;
  gone.swap(tree->items());
  tree->reloadData();
  for (auto it = gone.rbegin(); it != gone.rend(); ++it)
    delete *it;
  return TRUE;
}

BOOL TreeView_Expand(HWND hwnd, HTREEITEM item, UINT action) {
  Tree* tree = treeFor(hwnd, "TreeView_Expand");
  if (!tree || !found(tree, item, nullptr, nullptr, "TreeView_Expand")) return FALSE;
  const bool expanded = tree->isItemExpanded(item->m_dh);
  if (action == TVE_EXPAND || (action == TVE_TOGGLE && !expanded)) {
    tree->expandItem(item->m_dh);
  } else if (action == TVE_COLLAPSE || action == TVE_TOGGLE) {
    tree->collapseItem(item->m_dh);
  } else {
    return FALSE;
  }
  return TRUE;
}

BOOL TreeView_EnsureVisible(HWND hwnd, HTREEITEM item) {
  Tree* tree = treeFor(hwnd, "TreeView_EnsureVisible");
  if (!tree || !found(tree, item, nullptr, nullptr, "TreeView_EnsureVisible")) return FALSE;
  platform::Ref<platform::NSObject> keep(tree);
  if (!openBranchesAround(tree, item)) return FALSE;
  tree->scrollRowToVisible(tree->rowForItem(item->m_dh));
  return TRUE;
}

BOOL TreeView_GetItem(HWND hwnd, TVITEM* item) {
  Tree* tree = treeFor(hwnd, "TreeView_GetItem");
  if (!tree || !item || !(item->mask & TVIF_HANDLE)) return FALSE;
  TreeItemRec* record = item->hItem;
  if (!found(tree, record, nullptr, nullptr, "TreeView_GetItem")) return FALSE;
  item->cChildren = record->m_haschildren ? 1 : 0;
  item->lParam = record->m_param;
  // Nothing is written without a buffer to hold at least the terminator.
  if ((item->mask & TVIF_TEXT) && item->pszText && item->cchTextMax > 0)
    base::copyUtf8(record->m_value ? *record->m_value : std::string(), item->pszText,
                   static_cast<std::size_t>(item->cchTextMax));
  item->state = (tree->selectedRecord() == record ? TVIS_SELECTED : 0) |
                (tree->isItemExpanded(record->m_dh) ? TVIS_EXPANDED : 0);
  return TRUE;
}

BOOL TreeView_SetItem(HWND hwnd, TVITEM* item) {
  Tree* tree = treeFor(hwnd, "TreeView_SetItem");
  if (!tree || !item || !(item->mask & TVIF_HANDLE)) return FALSE;
  TreeItemRec* record = item->hItem;
  if (!found(tree, record, nullptr, nullptr, "TreeView_SetItem")) return FALSE;
  platform::Ref<platform::NSObject> keep(tree);
  bool childrenChanged = false;
  if (item->mask & TVIF_CHILDREN) {
    const bool has = item->cChildren != 0;
    childrenChanged = has != record->m_haschildren;
    record->m_haschildren = has;
  }
  if (item->mask & TVIF_PARAM) record->m_param = item->lParam;
  if ((item->mask & TVIF_TEXT) && item->pszText) {
    record->m_value = item->pszText;
    InvalidateRect(hwnd, nullptr, FALSE);
  }
  if ((item->stateMask & TVIS_SELECTED) && (item->state & TVIS_SELECTED) &&
      tree->rowForItem(record->m_dh) >= 0)
    tree->selectAndNotify(record);
  // The handler of the notification may have deleted the item.
  if (!tree->findItem(record, nullptr, nullptr)) return TRUE;
  if (item->stateMask & TVIS_EXPANDED) {
    if (item->state & TVIS_EXPANDED)
      tree->expandItem(record->m_dh);
    else
      tree->collapseItem(record->m_dh);
  }
  if (childrenChanged && tree->findItem(record, nullptr, nullptr))
    tree->reloadItem(record->m_dh, true);
  return TRUE;
}

HTREEITEM TreeView_GetSelection(HWND hwnd) {
  Tree* tree = treeFor(hwnd, "TreeView_GetSelection");
  return tree ? tree->selectedRecord() : nullptr;
}

BOOL TreeView_SelectItem(HWND hwnd, HTREEITEM item) {
  Tree* tree = treeFor(hwnd, "TreeView_SelectItem");
  if (!tree) return FALSE;
  if (item && !found(tree, item, nullptr, nullptr, "TreeView_SelectItem")) return FALSE;
  platform::Ref<platform::NSObject> keep(tree);
  if (item && !openBranchesAround(tree, item)) return FALSE;
  tree->selectAndNotify(item);
  return TRUE;
}

HTREEITEM TreeView_HitTest(HWND hwnd, TVHITTESTINFO* info) {
  Tree* tree = treeFor(hwnd, "TreeView_HitTest");
  if (!tree || !info) return nullptr;
  info->hItem = nullptr;
  info->flags = 0;
  const platform::NSPoint p{static_cast<double>(info->pt.x), static_cast<double>(info->pt.y)};
  if (!platform::NSPointInRect(p, tree->bounds())) return nullptr;
  const int row = tree->rowAtPoint(p);
  if (row < 0) {
    info->flags = TVHT_NOWHERE;
    return nullptr;
  }
  info->hItem = TreeItemRec::fromHolder(tree->itemAtRow(row));
  return info->hItem;
}

HTREEITEM TreeView_GetRoot(HWND hwnd) {
  Tree* tree = treeFor(hwnd, "TreeView_GetRoot");
  return tree && !tree->items().empty() ? tree->items().front() : nullptr;
}

HTREEITEM TreeView_GetParent(HWND hwnd, HTREEITEM item) {
  Tree* tree = treeFor(hwnd, "TreeView_GetParent");
  if (!tree) return nullptr;
  if (!item) return TreeView_GetRoot(hwnd);
  TreeItemRec* parent = nullptr;
  return found(tree, item, &parent, nullptr, "TreeView_GetParent") ? parent : nullptr;
}

HTREEITEM TreeView_GetChild(HWND hwnd, HTREEITEM item) {
  Tree* tree = treeFor(hwnd, "TreeView_GetChild");
  if (!tree) return nullptr;
  if (!item || item == TVI_ROOT) return TreeView_GetRoot(hwnd);
  if (!found(tree, item, nullptr, nullptr, "TreeView_GetChild")) return nullptr;
  return item->m_children.empty() ? nullptr : item->m_children.front();
}

HTREEITEM TreeView_GetNextSibling(HWND hwnd, HTREEITEM item) {
  Tree* tree = treeFor(hwnd, "TreeView_GetNextSibling");
  if (!tree) return nullptr;
  if (!item) return TreeView_GetRoot(hwnd);
  TreeItemRec* parent = nullptr;
  int index = 0;
  if (!found(tree, item, &parent, &index, "TreeView_GetNextSibling")) return nullptr;
  const std::vector<TreeItemRec*>& siblings = childrenOf(tree, parent);
  const auto next = static_cast<std::size_t>(index) + 1;
  return next < siblings.size() ? siblings[next] : nullptr;
}

BOOL TreeView_SetIndent(HWND hwnd, int indent) {
  Tree* tree = treeFor(hwnd, "TreeView_SetIndent");
  if (!tree) return FALSE;
  tree->setIndentationPerLevel(indent);
  return TRUE;
}

void TreeView_SetBkColor(HWND hwnd, int color) {
  if (Tree* tree = treeFor(hwnd, "TreeView_SetBkColor"))
    tree->setBackgroundColor(swell::colorFromRGB(static_cast<COLORREF>(color)));
}

void TreeView_SetTextColor(HWND hwnd, int color) {
  if (Tree* tree = treeFor(hwnd, "TreeView_SetTextColor"))
    tree->swellSetTextColor(swell::colorFromRGB(static_cast<COLORREF>(color)));
}
