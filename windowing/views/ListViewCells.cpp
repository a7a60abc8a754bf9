#include "windowing/views/ListViewCells.h"

#include <algorithm>
#include <cmath>

#include "platform/drawing/GraphicsContext.h"
#include "windowing/core/SendMessage.h"
#include "windowing/core/WindowApi.h"
#include "windowing/drawing/DrawingContext.h"
#include "windowing/views/ListView.h"

using platform::NSRect;

std::optional<platform::NSColor> Swell_vCorvaneBrisko_listviewcell::highlightColorWithFrame(
    const NSRect& frame, const platform::NSView* view) const {
  auto* colors = dynamic_cast<const SwellViewColors*>(view);
  if (colors && !colors->swellSelectionColors().empty()) return std::nullopt;
  return NSTextFieldCell::highlightColorWithFrame(frame, view);
}

NSRect Swell_vCorvaneBrisko_listviewcell::drawingRectForBounds(const NSRect& bounds) const {
  NSRect r = NSTextFieldCell::drawingRectForBounds(bounds);
  // Drawn for every cell of every row shown: the line's height needs no shaping.
  double d = std::floor((r.size.height - textCellHeight()) / 2);
  if (d > 0) {
    r.origin.y += d;
    r.size.height -= 2 * d;
  }
  return r;
}

void Swell_vCorvaneBrisko_statuscell::drawWithFrame(const NSRect& frame, platform::NSView* view) {
  if (status) {
    drawTopDown(frame, view, [&](platform::CGContext* cg, const NSRect& r) {
      double side = std::min(status->size().height, r.size.height);
      double width = std::min(side, r.size.width);
      if (!(side > 0) || !(width > 0)) return;
      NSRect place =
          platform::NSMakeRect(r.origin.x, r.origin.y + (r.size.height - side) / 2, width, side);
      status->drawInRect(cg, place);
    });
  }
  NSRect text = frame;
  double slot = frame.size.height + kImageGap;
  text.origin.x += slot;
  text.size.width = std::max(0.0, text.size.width - slot);
  Swell_vCorvaneBrisko_listviewcell::drawWithFrame(text, view);
}

void Swell_vCorvaneBrisko_ODlistviewcell::drawInteriorWithFrame(const NSRect& frame,
                                                                platform::NSView* view) {
  platform::CGContext* cg = platform::NSGraphicsContext::currentContext();
  if (!m_ownctl || !cg) {
    NSCell::drawInteriorWithFrame(frame, view);
    return;
  }
  HWND owner = swell::handleFromObject(m_ownctl);
  HWND parent = GetParent(owner);
  HDC hdc = SWELL_CreateGfxContextForNSContext(cg);
  if (!hdc) return;
  auto edge = [](double v) { return static_cast<LONG>(std::floor(v + 0.5)); };
  DRAWITEMSTRUCT dis;
  dis.CtlType = ODT_LISTBOX;
  dis.CtlID = static_cast<UINT>(m_ownctl->tag());
  dis.itemID = static_cast<UINT>(m_lastidx);
  dis.hwndItem = owner;
  dis.hDC = hdc;
  dis.rcItem = {edge(frame.minX()), edge(frame.minY()), edge(frame.maxX()), edge(frame.maxY())};
  dis.itemData = static_cast<DWORD_PTR>(m_ownctl->swellItemParam(m_lastidx));
  SendMessage(parent, WM_DRAWITEM, static_cast<WPARAM>(m_ownctl->tag()),
              reinterpret_cast<LPARAM>(&dis));
  SWELL_DeleteGfxContext(hdc);
}
