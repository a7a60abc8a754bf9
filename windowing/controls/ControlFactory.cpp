#include <strings.h>

#include <algorithm>
#include <cstring>

#include "platform/core/ScrollView.h"
#include "platform/core/Slider.h"
#include "platform/drawing/Font.h"
#include "windowing/controls/ControlClasses.h"
#include "windowing/controls/ControlFactories.h"
#include "windowing/controls/detail/ButtonKinds.h"
#include "windowing/controls/detail/ControlLayout.h"
#include "windowing/controls/detail/ViewFactories.h"
#include "windowing/core/ControlComboBox.h"
#include "windowing/core/ControlPopupButton.h"
#include "windowing/core/WindowApi.h"
#include "windowing/core/WindowMenus.h"
#include "windowing/core/WindowObject.h"
#include "windowing/views/ProgressBarObject.h"
#include "windowing/views/TabControlObject.h"
#include "windowing/views/TreeViewObject.h"

using platform::Ref;

namespace {

struct CreatorNode {
  SWELL_ControlCreatorProc proc;
  int count;
  CreatorNode* next;
};
CreatorNode* gCreators = nullptr;

constexpr double kSliderRange = 1000;
constexpr int kDropDownHeight = 18;
constexpr int kComboHeight = 22;
constexpr double kComboFontSize = 10;
constexpr int kPopUpBezelStyle = 6;
constexpr DWORD kComboKindMask = 3;
constexpr int kMinTreeColumnWidth = 300;

HWND makeSlider(int id, const char* className, int style, int x, int y, int w, int h) {
  Ref<platform::NSSlider> slider = Ref<platform::NSSlider>::adopt(new platform::NSSlider);
  slider->setTag(id);
  slider->setMinValue(0);
  slider->setMaxValue(kSliderRange);
  slider->setFrame(SWELL_MakeControlFrame(x, y, w, h, false, false));
  swell::setCommandTarget(slider.get(), kSwellCommandAction);
  (void)className;  // the mini control size is a look this platform does not have
  swell::finishControl(slider.get(), style);
  return swell::handleFromObject(slider.get());
}

// A tab view one dialog unit higher and six taller than asked, so that its tab row
// lines up with the controls beside it.
HWND makeTabControl(int id, int style, int x, int y, int w, int h) {
  swell::ControlLayoutState& state = swell::controlLayout();
  auto tabs = Ref<Swell_vCorvaneBrisko_tabview>::adopt(new Swell_vCorvaneBrisko_tabview);
  tabs->setTag(id);
  tabs->setDelegate(tabs.get());
  tabs->setAllowsTruncatedLabels(true);
  tabs->setNotificationWindow(swell::handleFromObject(state.parent));
  tabs->setFrame(SWELL_MakeControlFrame(x, y - 1, w, h + 6, false, false));
  if (auto* window = dynamic_cast<Swell_vCorvaneBrisko_hwnd*>(state.parent))
    window->setAllowNoMiddleMan(false);
  swell::finishControl(tabs.get(), style);
  return swell::handleFromObject(tabs.get());
}

HWND makeProgressBar(int id, int style, int x, int y, int w, int h) {
  auto bar = Ref<Swell_vCorvaneBrisko_progind>::adopt(new Swell_vCorvaneBrisko_progind);
  bar->setStyle(platform::NSProgressIndicatorStyleBar);
  bar->setIndeterminate(false);
  bar->setTag(id);
  bar->setFrame(SWELL_MakeControlFrame(x, y, w, h, false, false));
  swell::finishControl(bar.get(), style);
  return swell::handleFromObject(bar.get());
}

// A tree in a scroll view: one column at least kMinTreeColumnWidth wide, no header.
HWND makeTreeView(int id, int style, int x, int y, int w, int h) {
  swell::ControlLayoutState& state = swell::controlLayout();
  const platform::NSRect frame = SWELL_MakeControlFrame(x, y, w, h, false, false);
  auto scroll = Ref<platform::NSScrollView>::adopt(new platform::NSScrollView(frame));
  scroll->setHasVerticalScroller(true);
  const platform::NSSize shown = scroll->contentSize();
  auto tree = Ref<Swell_vCorvaneBrisko_treeview>::adopt(
      new Swell_vCorvaneBrisko_treeview(platform::NSMakeRect(0, 0, shown.width, shown.height)));
  tree->setTag(id);
  tree->swellSetStyle(style);
  tree->setTarget(state.parent);
  scroll->setDocumentView(tree.get());
  tree->setColumnWidth(std::max<double>(kMinTreeColumnWidth, shown.width));
  swell::finishControl(scroll.get(), style);
  return swell::handleFromObject(tree.get());
}

}  // namespace

HWND SWELL_MakeCombo(int id, int x, int y, int w, int, int style) {
  swell::ControlLayoutState& state = swell::controlLayout();
  const platform::NSFont font = platform::NSFont::systemFontOfSize(kComboFontSize);
  if ((static_cast<DWORD>(style) & kComboKindMask) == static_cast<DWORD>(CBS_DROPDOWNLIST)) {
    Ref<Swell_vCorvaneBrisko_pub> popup =
        Ref<Swell_vCorvaneBrisko_pub>::adopt(new Swell_vCorvaneBrisko_pub);
    popup->setTag(id);
    popup->setFont(font);
    popup->setFrame(SWELL_MakeControlFrame(x, y, w, kDropDownHeight, true, true));
    popup->setSwellStyle(style);
    popup->setAutoenablesItems(false);
    swell::setCommandTarget(popup.get(), kSwellCommandAction);
    popup->setBezelStyle(kPopUpBezelStyle);
    swell::finishControl(popup.get(), style);
    return swell::handleFromObject(popup.get());
  }
  Ref<Swell_vCorvaneBrisko_cbox> combo =
      Ref<Swell_vCorvaneBrisko_cbox>::adopt(new Swell_vCorvaneBrisko_cbox);
  combo->setFont(font);
  combo->setEditable(true);
  combo->setSwellStyle(style);
  combo->setTag(id);
  combo->setFrame(SWELL_MakeControlFrame(x, y - 1, w, kComboHeight, true, true));
  swell::setCommandTarget(combo.get(), kSwellCommandAction);
  combo->setDelegate(state.parent);
  swell::finishControl(combo.get(), style);
  return swell::handleFromObject(combo.get());
}

HWND SWELL_MakeCheckBox(const char* text, int id, int x, int y, int w, int h, int style) {
  return SWELL_MakeControl(text, id, "Button", style | static_cast<int>(BS_AUTOCHECKBOX), x, y, w,
                           h, 0);
}

HWND SWELL_MakeListBox(int id, int x, int y, int w, int h, int style) {
  return SWELL_MakeControl("", id, "SysListView32_LB", style, x, y, w, h, 0);
}

HWND SWELL_MakeControl(const char* text, int id, const char* className, int style, int x, int y,
                       int w, int h, int exStyle) {
  if (!className) return nullptr;
  swell::ControlLayoutState& state = swell::controlLayout();
  for (CreatorNode* node = gCreators; node; node = node->next) {
    const platform::NSRect f = SWELL_MakeControlFrame(x, y, w, h, false, false);
    HWND made = node->proc(swell::handleFromObject(state.parent), text, id, className, style,
                           static_cast<int>(f.origin.x), static_cast<int>(f.origin.y),
                           static_cast<int>(f.size.width), static_cast<int>(f.size.height));
    if (!made) continue;
    if (exStyle) SetWindowLong(made, GWL_EXSTYLE, exStyle);
    return made;
  }
  auto is = [&](const char* name) { return strcasecmp(className, name) == 0; };
  if (is("SysTabControl32")) return makeTabControl(id, style, x, y, w, h);
  if (is("msctls_progress32")) return makeProgressBar(id, style, x, y, w, h);
  if (is("SysTreeView32")) return makeTreeView(id, style, x, y, w, h);
  if (is("SysListView32") || is("SysListView32_LB"))
    return swell::makeListViewControl(id, is("SysListView32_LB"), style, x, y, w, h);
  if (is("Edit")) return SWELL_MakeEditField(id, x, y, w, h, style);
  if (is("Static")) return swell::makeStaticControl(text, id, style, x, y, w, h);
  if (is("Button")) return swell::makeButtonControl(text, id, style, x, y, w, h);
  if (is("msctls_trackbar32") || is("GLEANERhfader"))
    return makeSlider(id, className, style, x, y, w, h);
  if (is("COMBOBOX")) return SWELL_MakeCombo(id, x, y, w, 0, style);
  return nullptr;
}

void SWELL_RegisterCustomControlCreator(SWELL_ControlCreatorProc proc) {
  if (!proc) return;
  CreatorNode** link = &gCreators;
  for (; *link; link = &(*link)->next)
    if ((*link)->proc == proc) {
      ++(*link)->count;
      return;
    }
  *link = new CreatorNode{proc, 1, nullptr};
}

void SWELL_UnregisterCustomControlCreator(SWELL_ControlCreatorProc proc) {
  for (CreatorNode** link = &gCreators; *link; link = &(*link)->next) {
    if ((*link)->proc != proc) continue;
    if ((*link)->count > 1) {
      --(*link)->count;
      return;
    }
    CreatorNode* gone = *link;
    *link = gone->next;
    delete gone;
    return;
  }
}

void SetAllowNoMiddleManRendering(HWND hwnd, bool allow) {
  if (auto* window = swell::objectFromHandleAs<Swell_vCorvaneBrisko_hwnd>(hwnd))
    window->setAllowNoMiddleMan(allow);
}

void SWELL_DisableContextMenu(HWND hwnd, bool disable) {
  platform::NSObject* object = swell::objectFromHandle(hwnd);
  if (auto* own = dynamic_cast<SwellContextMenuSwitch*>(object)) {
    own->swellDisableContextMenu(disable);
  } else if (auto* combo = dynamic_cast<Swell_vCorvaneBrisko_cbox*>(object)) {
    combo->swellDisableContextMenu(disable);
  }
}
