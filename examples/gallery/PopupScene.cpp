#include "PopupScene.h"

#include <cstdio>

#include "GalleryControls.h"
#include "controls/Controls.h"
#include "demo/DemoEditorDelegate.h"

namespace gallery {

using namespace iplug::igraphics;
using P = demo::DemoEditorDelegate;

namespace {

const IColor kPageColor(255, 236, 238, 242);
const IColor kButtonColor(255, 70, 90, 120);
const IColor kCaptionBackground(255, 214, 228, 240);
// Where the page's pieces sit.
const IRECT kTitle(20, 8, 500, 32);
const IRECT kButton(20, 40, 180, 64);
// The captions sit clear of where the menus open.
const IRECT kModeLabel(300, 262, 360, 286);
const IRECT kModeCaption(365, 262, 500, 286);
const IRECT kGainLabel(300, 300, 360, 324);
const IRECT kGainCaption(365, 300, 500, 324);
// The row of the top-level menu that opens the banks.
constexpr int kBanksRow = 3;
// One frame's time, and enough for each fade to end.
constexpr double kFrameMs = 16.;
constexpr double kFadeOverMs = IPopupMenuControl::kFadeMs + 1.;
constexpr double kSubmenuFadeOverMs = IPopupMenuControl::kSubmenuFadeMs + 1.;

// A button that opens its own menu below itself when pressed.
class MenuButtonControl : public IControl {
 public:
  MenuButtonControl(const IRECT& bounds, const char* label) : IControl(bounds), mLabel(label) {}

  void Draw(IGraphics& g) override { DrawMenuButton(g, mRECT, kButtonColor, mLabel, &mBlend); }
  void OnMouseDown(float x, float y, const IMouseMod& mod) override {
    if (IGraphics* ui = GetUI()) ui->CreatePopupMenu(*this, mMenu, mRECT);
  }

  IPopupMenu& Menu() { return mMenu; }

 private:
  const char* mLabel;
  IPopupMenu mMenu;
};

void FillPatchMenu(IPopupMenu& menu) {
  menu.AddItem("New patch");
  menu.AddItem("Open...");
  menu.AddItemWithFlags("", IPopupMenu::Item::kSeparator);
  auto* banks = new IPopupMenu;
  for (int i = 1; i <= PopupScene::kBanks; ++i) {
    char name[24];
    std::snprintf(name, sizeof(name), "Bank %02d", i);
    banks->AddItem(name);
  }
  banks->GetItem(9)->SetChecked(true);
  menu.AddItem("Banks", banks);
  menu.AddItemWithFlags("Favourites", IPopupMenu::Item::kChecked);
  menu.AddItemWithFlags("Read only", IPopupMenu::Item::kDisabled);
}

}  // namespace

PopupScene::PopupScene(IGraphics& g) : mGraphics(g), mClock(0.) {
  platform::setClock(&mClock);

  g.AttachControl(new PanelControl(g.GetBounds(), kPageColor));
  g.AttachControl(new ITextControl(kTitle, "Patch", IText(16.f, EAlign::Near, COLOR_DARK_GRAY)));
  auto* button = new MenuButtonControl(kButton, "Patch menu");
  FillPatchMenu(button->Menu());
  mMenuButton = g.AttachControl(button);

  const IText labelText(14.f, EAlign::Near);
  g.AttachControl(new ITextControl(kModeLabel, "Mode", labelText));
  g.AttachControl(
      new ICaptionControl(kModeCaption, P::kParamEnum, IText(14.f), kCaptionBackground, false));
  g.AttachControl(new ITextControl(kGainLabel, "Gain", labelText));
  mEntryCaption = g.AttachControl(
      new ICaptionControl(kGainCaption, P::kParamGain, IText(14.f), kCaptionBackground, true));
}

PopupScene::~PopupScene() {
  platform::setClock(nullptr);
}

IPopupMenu& PopupScene::GetMenu() const {
  return static_cast<MenuButtonControl*>(mMenuButton)->Menu();
}

void PopupScene::Advance(double ms) {
  mClock.advance(ms);
  mGraphics.DrawFrame();
}

void PopupScene::MoveTo(const IRECT& r) {
  mGraphics.OnMouseOver(r.MW(), r.MH(), IMouseMod());
  Advance(kFrameMs);
}

void PopupScene::Render() {
  Advance(kFrameMs);  // the page

  const IRECT& b = mMenuButton->GetRECT();
  mGraphics.OnMouseDown(b.MW(), b.MH(), IMouseMod(true));
  mGraphics.OnMouseUp(b.MW(), b.MH(), IMouseMod(true));
  Advance(kFadeOverMs);

  auto* popup = dynamic_cast<IPopupMenuControl*>(mGraphics.GetPopupMenuControl());
  if (!popup || !popup->GetPanel(0)) {
    std::fprintf(stderr, "gallery: the patch menu did not open\n");
    return;
  }
  MoveTo(popup->GetPanel(0)->GetRow(kBanksRow));
  Advance(kSubmenuFadeOverMs);

  if (const IPopupMenuControl::MenuPanel* banks = popup->GetPanel(1)) {
    // Down the submenu onto its last row, which scrolls it a row per move, then back up onto a
    // bank.
    for (int i = 0; i < kScrollSteps; ++i)
      MoveTo(banks->GetRow(banks->NRows() - 1));
    MoveTo(banks->GetRow(banks->NRows() / 2));
  }

  StartTextEntry();
  Advance(kFrameMs);
}

}  // namespace gallery
