#include <cmath>

#include "platform/display/Event.h"
#include "windowing/core/Cursors.h"
#include "windowing/core/Keyboard.h"
#include "windowing/core/MessageWords.h"
#include "windowing/core/RunLoopControl.h"
#include "windowing/core/SendMessage.h"
#include "windowing/core/WindowApi.h"
#include "windowing/views/ListView.h"

using platform::NSEvent;
using platform::NSPoint;
using platform::Ref;

namespace {

bool controlClickIsRightClick(const NSEvent& e) {
  return (e.modifierFlags & platform::NSEventModifierFlagControl) &&
         SWELL_IsRightClickEmulateEnabled();
}

// A key held as GetAsyncKeyState reports it.
bool keyHeld(int key) {
  return (GetAsyncKeyState(key) & 0x8000) != 0;
}

LPARAM pointParam(POINT p) {
  return swell::packPoint(p.x, p.y);
}

}  // namespace

POINT Swell_vCorvaneBrisko_listview::clientPointOfTarget(const NSEvent&) const {
  POINT p;
  GetCursorPos(&p);
  ScreenToClient(swell::handleFromObject(target()), &p);
  return p;
}

void Swell_vCorvaneBrisko_listview::mouseDown(const NSEvent& e) {
  if (controlClickIsRightClick(e)) {
    m_fakerightmouse = true;
    m_start_item = m_start_subitem = -1;
    return;
  }
  Ref<Swell_vCorvaneBrisko_listview> keep(this);
  m_leftmousemovecnt = 0;
  m_fakerightmouse = false;
  NSPoint p = convertPointFromView(e.locationInWindow, nullptr);
  m_start_item = static_cast<int>(rowAtPoint(p));
  m_start_subitem = logicalColumnAtPoint(p);
  m_start_item_clickmode = 0;
  // The table's own press waits for the release, so that a drag does not select.
  if (m_start_item < 0) return;
  // Only a real column has a fast-click bit; the mask has 32 of them.
  if (m_start_subitem >= 0 && (m_fastClickMask & (1u << (m_start_subitem & 31)))) {
    notifyList(NM_CLICK, m_start_item, m_start_subitem, p, swellItemParam(m_start_item));
    m_start_item_clickmode = kClickFastSent;
  } else if (m_status_imagelist_type == LVSIL_STATE && p.x <= rowHeight()) {
    m_start_item_clickmode = kClickOnImage;
  }
}

void Swell_vCorvaneBrisko_listview::mouseDragged(const NSEvent& e) {
  Ref<Swell_vCorvaneBrisko_listview> keep(this);
  ++m_leftmousemovecnt;
  if (m_leftmousemovecnt == kDragStartMoves) {
    if (m_start_item >= 0 && !(m_start_item_clickmode & (kClickOnImage | kClickDragged)) &&
        !isListBox()) {
      if (!(m_start_item_clickmode & kClickFastSent) && !isRowSelected(m_start_item))
        selectRowIndexes(platform::NSIndexSet(static_cast<std::size_t>(m_start_item)),
                         keyHeld(VK_CONTROL) && !isSingleSelection());
      notifyList(LVN_BEGINDRAG, m_start_item, m_start_subitem);
      m_start_item_clickmode |= kClickDragged;
    }
  } else if (m_leftmousemovecnt > kDragStartMoves && !(m_start_item_clickmode & kClickOnImage)) {
    SendMessage(swell::handleFromObject(target()), WM_MOUSEMOVE, 0,
                pointParam(clientPointOfTarget(e)));
  }
}

void Swell_vCorvaneBrisko_listview::mouseUp(const NSEvent& e) {
  if (m_fakerightmouse || controlClickIsRightClick(e)) {
    rightMouseUp(e);
    return;
  }
  Ref<Swell_vCorvaneBrisko_listview> keep(this);
  if (!(m_start_item_clickmode & kClickOnImage)) {
    if (!(m_start_item_clickmode & kClickFastSent) && m_leftmousemovecnt < kDragStartMoves) {
      // The table's own press and release select as a click does.
      if (isListBox() && isSingleSelection()) {
        swellSuppressSelectionReports(true);
        deselectAll();
        swellSuppressSelectionReports(false);
      }
      NSTableView::mouseDown(e);
      NSTableView::mouseUp(e);
    } else if (m_leftmousemovecnt >= kDragStartMoves) {
      SendMessage(swell::handleFromObject(target()), WM_LBUTTONUP, 0,
                  pointParam(clientPointOfTarget(e)));
    }
  }
  if (!isListBox() && !(m_start_item_clickmode & (kClickDragged | kClickFastSent))) {
    NSPoint p = convertPointFromView(e.locationInWindow, nullptr);
    int row = static_cast<int>(rowAtPoint(p));
    notifyList(NM_CLICK, row, logicalColumnAtPoint(p), p, swellItemParam(row));
  }
}

void Swell_vCorvaneBrisko_listview::rightMouseUp(const NSEvent& e) {
  Ref<Swell_vCorvaneBrisko_listview> keep(this);
  handleRightRelease(e);
  m_fakerightmouse = false;
}

void Swell_vCorvaneBrisko_listview::handleRightRelease(const NSEvent& e) {
  if (!isListBox()) {
    NSPoint p = convertPointFromView(e.locationInWindow, nullptr);
    int row = static_cast<int>(rowAtPoint(p));
    if (row >= 0 && !isRowSelected(row))
      selectRowIndexes(platform::NSIndexSet(static_cast<std::size_t>(row)), false);
    if (notifyList(NM_RCLICK, row, logicalColumnAtPoint(p), p)) return;
  }
  POINT screen;
  GetCursorPos(&screen);
  SendMessage(swell::handleFromObject(target()), WM_CONTEXTMENU,
              reinterpret_cast<WPARAM>(swell::handleFromObject(this)), pointParam(screen));
}
