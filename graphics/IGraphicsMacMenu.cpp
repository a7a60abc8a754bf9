// Popup menus shown as platform menus: built from the popup-menu model, popped up over the
// view, and the chosen entry traced back to the model's menu that holds it.

#include <algorithm>

#include "base/Log.h"
#include "graphics/IGraphicsMac.h"
#include "graphics/IGraphicsMacView.h"
#include "platform/core/Menu.h"

namespace iplug {
namespace igraphics {

namespace {

// The model's menu mirroring the platform menu that holds item, found by walking both trees
// together (BuildNSMenu gives them the same shape), with the item's index in it.
IPopupMenu* ModelMenuHolding(IPopupMenu& menu, const platform::NSMenu& built,
                             const platform::NSMenuItem* item, int& index) {
  const int n = std::min(menu.NItems(), built.numberOfItems());
  for (int i = 0; i < n; ++i) {
    const platform::NSMenuItem* entry = built.itemAtIndex(i);
    if (entry == item) {
      index = i;
      return &menu;
    }
    IPopupMenu* submenu = menu.GetItem(i)->GetSubmenu();
    if (submenu && entry->submenu()) {
      if (IPopupMenu* found = ModelMenuHolding(*submenu, *entry->submenu(), item, index))
        return found;
    }
  }
  return nullptr;
}

}  // namespace

platform::Ref<platform::NSMenu> IGraphicsMac::BuildNSMenu(const IPopupMenu& menu) {
  auto built = platform::Ref<platform::NSMenu>::adopt(new platform::NSMenu(menu.GetTitle()));
  // The entries' states come from the items' flags alone.
  built->setAutoenablesItems(false);
  for (int i = 0; i < menu.NItems(); ++i) {
    const IPopupMenu::Item* item = menu.GetItem(i);
    if (item->GetIsSeparator()) {
      auto separator =
          platform::Ref<platform::NSMenuItem>::adopt(platform::NSMenuItem::separatorItem());
      built->addItem(separator.get());
      continue;
    }
    WDL_String text;
    menu.FormatItemText(i, text);
    auto entry = platform::Ref<platform::NSMenuItem>::adopt(new platform::NSMenuItem(text.Get()));
    entry->setTag(i);
    if (const IPopupMenu* submenu = item->GetSubmenu())
      entry->setSubmenu(BuildNSMenu(*submenu).get());
    entry->setIndentationLevel(item->GetIsIndented() ? 1 : 0);
    entry->setEnabled(item->GetEnabled());
    entry->setState(item->GetChecked() ? platform::NSControlStateValueOn
                                       : platform::NSControlStateValueOff);
    built->addItem(entry.get());
  }
  return built;
}

IPopupMenu* IGraphicsMac::CreatePlatformPopupMenu(IPopupMenu& menu, const IRECT& bounds) {
  menu.SetChosenItemIdx(-1);
  platform::Ref<platform::NSMenu> built = BuildNSMenu(menu);
  // The menu opens at the bottom left of the rectangle, in the view's points.
  const double scale = GetDrawScale();
  const platform::NSPoint at{bounds.L * scale, bounds.B * scale};
  // The view is held while the menu is up: the editor may be closed from the menu's event loop.
  const platform::Ref<IGraphicsMacView> view(GetView());
  const platform::Ref<platform::NSMenuItem> chosen = built->popUpMenu(at, view.get());
  // Closed from the menu's loop: no choice is traced and no completion runs for it.
  if (IsClosed()) {
    menu.SetChosenItemIdx(-1);
    return &menu;
  }

  IPopupMenu* answer = &menu;
  if (chosen && !chosen->hasSubmenu()) {
    int index = -1;
    if (IPopupMenu* holder = ModelMenuHolding(menu, *built, chosen.get(), index)) {
      answer = holder;
      answer->SetChosenItemIdx(index);
    } else {
      base::warn("graphics", "CreatePlatformPopupMenu: the chosen entry \"%s\" is not in the menu",
                 chosen->title().c_str());
    }
  }
  answer->ExecFunction();
  return answer;
}

}  // namespace igraphics
}  // namespace iplug
