#pragma once

#include <string>
#include <vector>

#include "platform/core/View.h"
#include "platform/drawing/Font.h"

namespace platform {

class NSTabView;

// One tab: a label and an identifier the owner chooses.
class NSTabViewItem : public NSObject {
 public:
  explicit NSTabViewItem(std::string label = {}) : mLabel(std::move(label)) {}
  const std::string& label() const { return mLabel; }
  void setLabel(std::string label) { mLabel = std::move(label); }
  NSTabView* tabView() const { return mTabView; }

 private:
  friend class NSTabView;
  std::string mLabel;
  NSTabView* mTabView = nullptr;  // not retained: the tab view holds the item
};

class NSTabViewDelegate {
 public:
  virtual ~NSTabViewDelegate() = default;
  virtual void tabViewDidSelectTabViewItem(NSTabView* tabView, NSTabViewItem* item) = 0;
};

// A row of tabs along the top over a content area. The first tab inserted into an
// empty tab view becomes selected, and removing the selected tab selects a neighbour,
// as a click on a tab does: each such change tells the delegate.
class NSTabView : public NSView {
 public:
  // The tab row's height and a tab's padding beside its label; the content area lies
  // inset from the sides and bottom, below the row and its border.
  static constexpr double kTabHeight = 22;
  static constexpr double kTabPadding = 16;
  static constexpr double kContentSideInset = 7;
  static constexpr double kContentTop = 26;
  static constexpr double kContentBottomInset = 3;

  using NSView::NSView;

  bool isFlipped() const override { return true; }

  int numberOfTabViewItems() const { return static_cast<int>(mItems.size()); }
  // Null for an index out of range.
  NSTabViewItem* tabViewItemAtIndex(int index) const;
  int indexOfTabViewItem(const NSTabViewItem* item) const;
  // An index past the end appends; a negative one inserts at the start.
  void insertTabViewItem(NSTabViewItem* item, int index);
  void addTabViewItem(NSTabViewItem* item) { insertTabViewItem(item, numberOfTabViewItems()); }
  void removeTabViewItem(NSTabViewItem* item);
  // Out of range, or the tab already selected, changes nothing and tells nobody.
  void selectTabViewItemAtIndex(int index);
  NSTabViewItem* selectedTabViewItem() const;
  // -1 when no tab is selected.
  int indexOfSelectedTabViewItem() const { return mSelected; }

  NSTabViewDelegate* delegate() const { return mDelegate; }
  void setDelegate(NSTabViewDelegate* delegate) { mDelegate = delegate; }
  bool allowsTruncatedLabels() const { return mAllowsTruncated; }
  void setAllowsTruncatedLabels(bool allows) { mAllowsTruncated = allows; }
  const NSFont& font() const { return mFont; }
  void setFont(const NSFont& font) { mFont = font; }

  // The tab's rectangle in the view's coordinates; empty for an index out of range.
  NSRect rectOfTabAtIndex(int index) const;
  // The tab under a point in the view's coordinates, or -1.
  int tabIndexAtPoint(NSPoint point) const;
  // The area the selected tab's content takes.
  NSRect contentRect() const;

  void mouseDown(const NSEvent& e) override;
  void drawRect(const NSRect& dirtyRect) override;

 protected:
  void dealloc() override;

 private:
  void select(int index);

  std::vector<NSTabViewItem*> mItems;  // retained
  int mSelected = -1;
  NSTabViewDelegate* mDelegate = nullptr;
  bool mAllowsTruncated = false;
  NSFont mFont = NSFont::systemFontOfSize(10);
};

}  // namespace platform
