#include "support/TestControls.h"

#include <algorithm>
#include <memory>
#include <utility>

namespace testsupport {

bool LoggingControl::Saw(const std::string& event) const {
  return std::find(mEvents.begin(), mEvents.end(), event) != mEvents.end();
}

void FakePopupMenuControl::CreatePopupMenu(IPopupMenu& menu, const IRECT& anchor) {
  mMenu = &menu;
  SetTargetAndDrawRECTs(anchor.GetPadded(20.f));
  Hide(false);
}

void FakePopupMenuControl::Choose(int idx) {
  IPopupMenu* menu = mMenu;
  mMenu = nullptr;
  if (!menu) return;
  menu->SetChosenItemIdx(idx);
  menu->ExecFunction();
  if (IGraphics* g = GetUI()) g->SetControlValueAfterPopupMenu(menu);
}

void FakeTextEntryControl::StartTextEntry(int paramIdx, const IText& text, const IRECT& bounds,
                                          int length, const char* str) {
  mEditing = true;
  mText = str;
  mLength = length;
  SetTargetAndDrawRECTs(bounds);
}

void FakeTextEntryControl::DismissEdit() {
  mEditing = false;
  if (IGraphics* g = GetUI()) g->ClearInTextEntryControl();
}

bool FakeTextEntryControl::OnKeyDown(float x, float y, const iplug::IKeyPress& key) {
  mEvents.push_back("OnKeyDown");
  if (key.VK == iplug::kVK_RETURN) {
    Commit();
    return true;
  }
  if (key.utf8[0] >= '0' && key.utf8[0] <= '9') {
    mText += key.utf8;
    return true;
  }
  return false;
}

void FakeTextEntryControl::Commit() {
  mEditing = false;
  if (IGraphics* g = GetUI()) g->SetControlValueAfterTextEdit(mText.c_str());
}

FakePopupMenuControl* AttachFakePopupMenuControl(IGraphics& g) {
  auto installed = IGraphics::SetPopupMenuControlFactory(
      [](const IText&, const IRECT&) { return std::make_unique<FakePopupMenuControl>(); });
  g.AttachPopupMenuControl();
  IGraphics::SetPopupMenuControlFactory(std::move(installed));
  return dynamic_cast<FakePopupMenuControl*>(g.GetPopupMenuControl());
}

FakeTextEntryControl* AttachFakeTextEntryControl(IGraphics& g) {
  auto installed = IGraphics::SetTextEntryControlFactory(
      [] { return std::make_unique<FakeTextEntryControl>(); });
  g.AttachTextEntryControl();
  IGraphics::SetTextEntryControlFactory(std::move(installed));
  return dynamic_cast<FakeTextEntryControl*>(g.GetTextEntryControl());
}

}  // namespace testsupport
