#include "platform/core/TabView.h"

#include <algorithm>

#include "platform/core/ControlDrawing.h"
#include "platform/display/Event.h"

namespace platform {

namespace {
constexpr double kTabGap = 2;
constexpr double kMinTabWidth = 24;
}  // namespace

void NSTabView::dealloc() {
  for (NSTabViewItem* item : mItems) {
    item->mTabView = nullptr;
    item->release();
  }
  mItems.clear();
  NSView::dealloc();
}

NSTabViewItem* NSTabView::tabViewItemAtIndex(int index) const {
  if (index < 0 || index >= numberOfTabViewItems()) return nullptr;
  return mItems[static_cast<std::size_t>(index)];
}

int NSTabView::indexOfTabViewItem(const NSTabViewItem* item) const {
  auto it = std::find(mItems.begin(), mItems.end(), item);
  return it == mItems.end() ? -1 : static_cast<int>(it - mItems.begin());
}

void NSTabView::insertTabViewItem(NSTabViewItem* item, int index) {
  if (!item || item->mTabView) return;
  index = std::clamp(index, 0, numberOfTabViewItems());
  item->retain();
  item->mTabView = this;
  mItems.insert(mItems.begin() + index, item);
  if (mSelected >= index) ++mSelected;
  setNeedsDisplay(true);
  if (mSelected < 0) select(index);
}

void NSTabView::removeTabViewItem(NSTabViewItem* item) {
  const int index = indexOfTabViewItem(item);
  if (index < 0) return;
  Ref<NSTabViewItem> keep(item);
  mItems.erase(mItems.begin() + index);
  item->mTabView = nullptr;
  item->release();
  setNeedsDisplay(true);
  if (mSelected > index) {
    --mSelected;
  } else if (mSelected == index) {
    mSelected = -1;
    if (!mItems.empty()) select(std::min(index, numberOfTabViewItems() - 1));
  }
}

void NSTabView::selectTabViewItemAtIndex(int index) {
  if (index < 0 || index >= numberOfTabViewItems() || index == mSelected) return;
  select(index);
}

NSTabViewItem* NSTabView::selectedTabViewItem() const {
  return tabViewItemAtIndex(mSelected);
}

void NSTabView::select(int index) {
  Ref<NSTabView> keep(this);
  mSelected = index;
  setNeedsDisplay(true);
  if (mDelegate) mDelegate->tabViewDidSelectTabViewItem(this, tabViewItemAtIndex(index));
}

NSRect NSTabView::rectOfTabAtIndex(int index) const {
  if (index < 0 || index >= numberOfTabViewItems()) return {};
  double x = kContentSideInset;
  for (int i = 0;; ++i) {
    const double width = std::max(
        kMinTabWidth,
        mFont.sizeOfString(mItems[static_cast<std::size_t>(i)]->label()).width + kTabPadding);
    if (i == index) return NSMakeRect(x, 0, width, kTabHeight);
    x += width + kTabGap;
  }
}

int NSTabView::tabIndexAtPoint(NSPoint point) const {
  for (int i = 0; i < numberOfTabViewItems(); ++i)
    if (NSPointInRect(point, rectOfTabAtIndex(i))) return i;
  return -1;
}

NSRect NSTabView::contentRect() const {
  const NSRect b = bounds();
  return NSMakeRect(b.origin.x + kContentSideInset, b.origin.y + kContentTop,
                    std::max(0.0, b.size.width - 2 * kContentSideInset),
                    std::max(0.0, b.size.height - kContentTop - kContentBottomInset));
}

void NSTabView::mouseDown(const NSEvent& e) {
  const int index = tabIndexAtPoint(convertPointFromView(e.locationInWindow, nullptr));
  if (index >= 0 && index != mSelected) select(index);
}

void NSTabView::drawRect(const NSRect&) {
  controldrawing::topDown(this, [&](CGContext* cg) {
    const NSColor border = NSColor::colorWithRGBA(0.6, 0.6, 0.6, 1);
    const NSRect b = bounds();
    const NSRect panel = NSMakeRect(b.origin.x + 0.5, b.origin.y + kTabHeight + 0.5,
                                    b.size.width - 1, b.size.height - kTabHeight - 1);
    controldrawing::strokeRect(cg, panel, border);
    for (int i = 0; i < numberOfTabViewItems(); ++i) {
      const NSRect tab = rectOfTabAtIndex(i);
      const bool selected = i == mSelected;
      controldrawing::fillRect(
          cg, tab,
          selected ? NSColor::controlColor() : NSColor::colorWithRGBA(0.85, 0.85, 0.85, 1));
      controldrawing::strokeRect(cg, tab, border);
      controldrawing::drawText(cg, mItems[static_cast<std::size_t>(i)]->label(), tab, mFont,
                               NSColor::textColor(), NSTextAlignmentCenter);
    }
  });
}

}  // namespace platform
