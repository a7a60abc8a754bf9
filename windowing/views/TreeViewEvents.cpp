#include <algorithm>
#include <cmath>

#include "base/Log.h"
#include "platform/core/Pasteboard.h"
#include "platform/core/Window.h"
#include "platform/display/Event.h"
#include "platform/drawing/GraphicsContext.h"
#include "windowing/core/Capture.h"
#include "windowing/core/Cursors.h"
#include "windowing/core/MessageWords.h"
#include "windowing/core/RunLoopControl.h"
#include "windowing/core/SendMessage.h"
#include "windowing/core/TimerTargets.h"
#include "windowing/core/WindowApi.h"
#include "windowing/core/WindowObject.h"
#include "windowing/views/ListViewCells.h"
#include "windowing/views/TreeViewObject.h"

using platform::NSObject;

namespace {

constexpr std::size_t kFocusedSelection = 0;
constexpr std::size_t kUnfocusedSelection = 2;

}  // namespace

Swell_vCorvaneBrisko_treeview::Swell_vCorvaneBrisko_treeview(const platform::NSRect& frame)
    : SwellDirtyMarking(frame) {
  // A tree has no column titles; its cell leaves the selection to the tree's colours.
  setHeaderView(nullptr);
  auto cell = platform::Ref<Swell_vCorvaneBrisko_listviewcell>::adopt(
      new Swell_vCorvaneBrisko_listviewcell);
  outlineTableColumn()->setDataCell(cell.get());
  setDataSource(this);
  setOutlineDelegate(this);
}

Swell_vCorvaneBrisko_treeview::~Swell_vCorvaneBrisko_treeview() {
  for (auto it = m_items.rbegin(); it != m_items.rend(); ++it)
    delete *it;
}

bool Swell_vCorvaneBrisko_treeview::findItem(const TreeItemRec* item, TreeItemRec** parent,
                                             int* index) const {
  return TreeItemRec::find(m_items, item, parent, index);
}

HWND Swell_vCorvaneBrisko_treeview::parentWindow() const {
  return GetParent(self());
}

LRESULT Swell_vCorvaneBrisko_treeview::notify(UINT code, const TreeItemRec* item, UINT action) {
  NMTREEVIEW record;
  record.hdr.hwndFrom = self();
  record.hdr.idFrom = static_cast<UINT_PTR>(tag());
  record.hdr.code = code;
  record.action = action;
  if (item) {
    record.itemNew.hItem = const_cast<TreeItemRec*>(item);
    record.itemNew.lParam = item->m_param;
  }
  return SendMessage(parentWindow(), WM_NOTIFY, static_cast<WPARAM>(tag()),
                     reinterpret_cast<LPARAM>(&record));
}

LRESULT Swell_vCorvaneBrisko_treeview::notifyHeaderOnly(UINT code) {
  NMHDR header;
  header.hwndFrom = self();
  header.idFrom = static_cast<UINT_PTR>(tag());
  header.code = code;
  return SendMessage(parentWindow(), WM_NOTIFY, static_cast<WPARAM>(tag()),
                     reinterpret_cast<LPARAM>(&header));
}

void Swell_vCorvaneBrisko_treeview::selectAndNotify(TreeItemRec* item) {
  platform::Ref<NSObject> keep(this);
  selectRow(item ? rowForItem(item->m_dh) : -1);
  // A handler that selects again in this tree is not told again; another tree still is.
  if (m_notifyingSelection) return;
  m_notifyingSelection = true;
  notify(TVN_SELCHANGED, selectedRecord());
  m_notifyingSelection = false;
}

void Swell_vCorvaneBrisko_treeview::swellSetSelectionColors(std::vector<platform::NSColor> colors) {
  m_selColors = std::move(colors);
  setNeedsDisplay(true);
}

void Swell_vCorvaneBrisko_treeview::swellSetTextColor(platform::NSColor color) {
  m_fgColor = color;
  setNeedsDisplay(true);
}

bool Swell_vCorvaneBrisko_treeview::hasFocus() const {
  return GetFocus() == self();
}

int Swell_vCorvaneBrisko_treeview::outlineViewNumberOfChildrenOfItem(platform::NSOutlineView*,
                                                                     NSObject* item) {
  if (!item) return static_cast<int>(m_items.size());
  const TreeItemRec* record = TreeItemRec::fromHolder(item);
  return record ? static_cast<int>(record->m_children.size()) : 0;
}

NSObject* Swell_vCorvaneBrisko_treeview::outlineViewChildOfItem(platform::NSOutlineView*, int index,
                                                                NSObject* item) {
  const std::vector<TreeItemRec*>* list = &m_items;
  if (item) {
    const TreeItemRec* record = TreeItemRec::fromHolder(item);
    if (!record) return nullptr;
    list = &record->m_children;
  }
  if (index < 0 || index >= static_cast<int>(list->size())) return nullptr;
  return (*list)[static_cast<std::size_t>(index)]->m_dh;
}

bool Swell_vCorvaneBrisko_treeview::outlineViewIsItemExpandable(platform::NSOutlineView*,
                                                                NSObject* item) {
  const TreeItemRec* record = TreeItemRec::fromHolder(item);
  return record && record->m_haschildren;
}

std::string Swell_vCorvaneBrisko_treeview::outlineViewTextOfItem(platform::NSOutlineView*,
                                                                 NSObject* item) {
  const TreeItemRec* record = TreeItemRec::fromHolder(item);
  return record && record->m_value ? *record->m_value : std::string();
}

void Swell_vCorvaneBrisko_treeview::outlineViewItemWillExpand(platform::NSOutlineView*,
                                                              NSObject* item) {
  notify(TVN_ITEMEXPANDING, TreeItemRec::fromHolder(item), TVE_EXPAND);
}

void Swell_vCorvaneBrisko_treeview::outlineViewItemWillCollapse(platform::NSOutlineView*,
                                                                NSObject* item) {
  notify(TVN_ITEMEXPANDING, TreeItemRec::fromHolder(item), TVE_COLLAPSE);
}

void Swell_vCorvaneBrisko_treeview::outlineViewSelectionDidChange(platform::NSOutlineView*) {
  if (m_notifyingSelection) return;
  m_notifyingSelection = true;
  notify(TVN_SELCHANGED, selectedRecord());
  m_notifyingSelection = false;
}

void Swell_vCorvaneBrisko_treeview::outlineViewWillDisplayItem(platform::NSOutlineView*,
                                                               NSObject* item,
                                                               platform::NSColor& textColor) {
  if (item && item == selectedItem() && !m_selColors.empty()) {
    const std::size_t pair = hasFocus() ? 0 : 1;
    if (m_selColors.size() >= 2 * pair + 2) {
      textColor = m_selColors[2 * pair + 1];
      return;
    }
  }
  if (m_fgColor) textColor = *m_fgColor;
}

void Swell_vCorvaneBrisko_treeview::drawSelectionHighlight(platform::CGContext* cg,
                                                           const platform::NSRect& rowRect) {
  const std::size_t entry = hasFocus() ? kFocusedSelection : kUnfocusedSelection;
  if (entry >= m_selColors.size()) {
    NSOutlineView::drawSelectionHighlight(cg, rowRect);
    return;
  }
  const platform::NSColor c = m_selColors[entry];
  cg->setFillColor(c.red, c.green, c.blue, c.alpha);
  cg->fillRect(rowRect);
}

void Swell_vCorvaneBrisko_treeview::outlineViewDoubleClick(platform::NSOutlineView*, int) {
  notifyHeaderOnly(NM_DBLCLK);
}

void Swell_vCorvaneBrisko_treeview::mouseDown(const platform::NSEvent& e) {
  if ((e.modifierFlags & platform::NSEventModifierFlagControl) &&
      SWELL_IsRightClickEmulateEnabled()) {
    m_fakerightmouse = true;
    return;
  }
  platform::Ref<NSObject> keep(this);
  notifyHeaderOnly(NM_CLICK);
  NSOutlineView::mouseDown(e);
}

void Swell_vCorvaneBrisko_treeview::mouseUp(const platform::NSEvent& e) {
  if (!m_fakerightmouse && !(e.modifierFlags & platform::NSEventModifierFlagControl)) {
    NSOutlineView::mouseUp(e);
    return;
  }
  rightMouseUp(e);
}

void Swell_vCorvaneBrisko_treeview::mouseDragged(const platform::NSEvent& e) {
  // Drags stay with the tree (its own item drag), never reaching the parent as moves.
  if (!m_fakerightmouse) NSOutlineView::mouseDragged(e);
}

void Swell_vCorvaneBrisko_treeview::rightMouseUp(const platform::NSEvent&) {
  platform::Ref<NSObject> keep(this);
  m_fakerightmouse = false;
  if (notifyHeaderOnly(NM_RCLICK)) return;
  POINT cursor;
  GetCursorPos(&cursor);
  SendMessage(parentWindow(), WM_CONTEXTMENU, reinterpret_cast<WPARAM>(self()),
              swell::packPoint(cursor.x, cursor.y));
}

bool Swell_vCorvaneBrisko_treeview::parentHoldsCapture() const {
  const HWND parent = parentWindow();
  return parent && GetCapture() == parent;
}

LPARAM Swell_vCorvaneBrisko_treeview::parentPoint(platform::NSPoint screen) const {
  POINT p{static_cast<LONG>(std::floor(screen.x + 0.5)),
          static_cast<LONG>(std::floor(screen.y + 0.5))};
  ScreenToClient(parentWindow(), &p);
  return swell::packPoint(p.x, p.y);
}

LPARAM Swell_vCorvaneBrisko_treeview::parentPoint(const platform::NSDraggingInfo& info) const {
  platform::NSPoint screen = info.draggingLocation;
  if (info.draggingDestinationWindow)
    screen = info.draggingDestinationWindow->convertPointToScreen(screen);
  return parentPoint(screen);
}

bool Swell_vCorvaneBrisko_treeview::outlineViewWriteItems(platform::NSOutlineView*,
                                                          const std::vector<NSObject*>&,
                                                          platform::NSPasteboard& pasteboard) {
  if (style & TVS_DISABLEDRAGDROP) return false;
  pasteboard.declareTypes({kDragType});
  pasteboard.setString("", kDragType);
  return true;
}

void Swell_vCorvaneBrisko_treeview::outlineViewDraggingSessionWillBegin(
    platform::NSOutlineView*, platform::NSPoint, const std::vector<NSObject*>& items) {
  if (style & TVS_DISABLEDRAGDROP) return;
  platform::Ref<NSObject> keep(this);
  TreeItemRec* dragged = items.empty() ? nullptr : TreeItemRec::fromHolder(items.front());
  if (dragged && selectedRecord() != dragged) selectAndNotify(dragged);
  notify(TVN_BEGINDRAG, dragged);
  if (parentHoldsCapture()) registerForDraggedTypes({kDragType});
}

platform::NSDragOperation Swell_vCorvaneBrisko_treeview::outlineViewValidateDrop(
    platform::NSOutlineView*, const platform::NSDraggingInfo& info, NSObject*& item,
    int& childIndex) {
  if (!parentHoldsCapture()) return platform::NSDragOperationNone;
  platform::Ref<NSObject> keep(this);
  const LRESULT answer = SendMessage(parentWindow(), WM_MOUSEMOVE, 0, parentPoint(info));
  if (answer == kTreeDropRefused) return platform::NSDragOperationNone;
  if (answer == kTreeDropAtEnd) {
    // The end: after the last child of the deepest last item that has children.
    TreeItemRec* last = m_items.empty() ? nullptr : m_items.back();
    if (last && !last->m_children.empty()) {
      while (!last->m_children.back()->m_children.empty())
        last = last->m_children.back();
      item = last->m_dh;
      childIndex = static_cast<int>(last->m_children.size());
    }
  } else if (answer >= kTreeDropFirstHandle) {
    // A handle is used only when it is an item of this tree.
    auto* before = reinterpret_cast<TreeItemRec*>(answer);
    TreeItemRec* parent = nullptr;
    int index = 0;
    if (findItem(before, &parent, &index) && parent) {
      item = parent->m_dh;
      childIndex = index;
    }
  }
  return platform::NSDragOperationPrivate;
}

bool Swell_vCorvaneBrisko_treeview::outlineViewAcceptDrop(platform::NSOutlineView*,
                                                          const platform::NSDraggingInfo& info,
                                                          NSObject*, int) {
  if (parentHoldsCapture()) SendMessage(parentWindow(), WM_LBUTTONUP, 0, parentPoint(info));
  return true;
}

void Swell_vCorvaneBrisko_treeview::outlineViewDraggingSessionEnded(platform::NSOutlineView*,
                                                                    platform::NSPoint screenPoint,
                                                                    platform::NSDragOperation) {
  if (parentHoldsCapture()) SendMessage(parentWindow(), WM_LBUTTONUP, 0, parentPoint(screenPoint));
  unregisterDraggedTypes();
}
