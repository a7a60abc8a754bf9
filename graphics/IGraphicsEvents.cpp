// Mouse, wheel, key, touch, drop and gesture routing. Every event passes here first: an open
// popup menu takes every mouse event, an edit in progress takes every mouse event and the keys
// it handles, and the rest goes to the control the hit test finds (or the one held by a press).

#include <cmath>
#include <vector>

#include "base/Finite.h"
#include "graphics/IGraphics.h"
#include "graphics/IPopupMenuControlBase.h"
#include "graphics/ITextEntryControlBase.h"

namespace iplug {
namespace igraphics {

IControl* IGraphics::GetMouseControl(float x, float y, bool mouseOver) const {
  if (!base::isFinite(x, y)) return nullptr;
  // The last attached is on top.
  for (auto it = mControls.rbegin(); it != mControls.rend(); ++it) {
    IControl* c = it->control.get();
    if (c->IsHidden() || c->GetIgnoreMouse()) continue;
    if (c->IsDisabled() && !(mouseOver ? c->GetMOWhenGrayed() : c->GetMEWhenGrayed())) continue;
    if (c->IsHit(x, y)) return c;
  }
  return nullptr;
}

bool IGraphics::ControlIsCaptured(const IControl* control) const {
  if (!control) return false;
  for (const auto& [touch, c] : mCapturedMap) {
    if (c == control) return true;
  }
  return false;
}

IControl* IGraphics::GetCapturedControl(int64_t touchID) const {
  auto it = mCapturedMap.find(touchID);
  return it == mCapturedMap.end() ? nullptr : it->second;
}

void IGraphics::ReleaseMouseCapture() {
  // The releases of the presses let go will not reach their controls: their gestures end here.
  std::vector<IControl*> held;
  for (const auto& [touchID, control] : mCapturedMap)
    held.push_back(control);
  mCapturedMap.clear();
  for (IControl* control : held)
    EndGesture(control);
  if (mCursorHidden) HideMouseCursor(false);
}

void IGraphics::HideMouseCursor(bool hide, bool lock) {
  mCursorHidden = hide;
  mCursorLock = hide && lock;
}

void IGraphics::AttachGestureRecognizer(int gestureType) {
  mRegisteredGestures.insert(gestureType);
}

void IGraphics::BeginGesture(IControl* control) {
  mControlsInGesture.insert(control);
  for (int v = 0; v < control->NVals(); ++v) {
    const int paramIdx = control->GetParamIdx(v);
    if (paramIdx > kNoParameter) mDelegate.BeginInformHostOfParamChangeFromUI(paramIdx);
  }
}

void IGraphics::EndGesture(IControl* control) {
  // Only a gesture that was begun is ended: a popup answer may have ended it already.
  if (!mControlsInGesture.erase(control)) return;
  for (int v = 0; v < control->NVals(); ++v) {
    const int paramIdx = control->GetParamIdx(v);
    if (paramIdx > kNoParameter) mDelegate.EndInformHostOfParamChangeFromUI(paramIdx);
  }
}

bool IGraphics::OpenContextMenu(IControl& control, float x, float y) {
  mPromptPopupMenu.Clear();
  mPromptPopupMenu.SetTitle("");
  control.CreateContextMenu(mPromptPopupMenu);
  if (mPromptPopupMenu.NItems() == 0) return false;
  CreatePopupMenu(control, mPromptPopupMenu, IRECT(x, y, x, y), kNoValIdx, true);
  return true;
}

void IGraphics::OnMouseDown(float x, float y, const IMouseMod& mod) {
  DispatchScope scope(*this);
  if (PopupMenuIsOpen()) {
    mPopupControl->OnMouseDown(x, y, mod);
    return;
  }
  if (TextEntryIsEditing()) {
    mTextEntryControl->OnMouseDown(x, y, mod);  // a press outside the field commits it
    return;
  }

  mMouseDownX = x;
  mMouseDownY = y;
  IControl* control = GetMouseControl(x, y);
  if (!control) return;
  // A right click opens the control's context menu when it offers one.
  if (mod.R && OpenContextMenu(*control, x, y)) return;

  mCapturedMap[mod.touchID] = control;
  BeginGesture(control);
  control->OnMouseDown(x, y, mod);
}

void IGraphics::OnMouseUp(float x, float y, const IMouseMod& mod) {
  DispatchScope scope(*this);
  if (PopupMenuIsOpen()) {
    mPopupControl->OnMouseUp(x, y, mod);
    if (mClosed) return;  // the menu's answer closed the editor
    // The press that opened the menu is over: its control hears the release and is let go (its
    // gesture ends with the menu's answer), so values from the delegate reach it meanwhile.
    if (IControl* held = GetCapturedControl(mod.touchID)) {
      held->OnMouseUp(x, y, mod);
      mCapturedMap.erase(mod.touchID);
    }
    return;
  }
  if (TextEntryIsEditing()) {
    mTextEntryControl->OnMouseUp(x, y, mod);
    if (mClosed) return;
    // As with a menu: the press that opened the edit is over and its control is let go, so
    // values from the delegate reach it meanwhile; its gesture ends with the edit.
    if (IControl* held = GetCapturedControl(mod.touchID)) {
      held->OnMouseUp(x, y, mod);
      mCapturedMap.erase(mod.touchID);
    }
    return;
  }

  if (IControl* control = GetCapturedControl(mod.touchID)) {
    // Still held while it handles the release, so delegate values do not overwrite it.
    control->OnMouseUp(x, y, mod);
    EndGesture(control);
    mCapturedMap.erase(mod.touchID);
  }
  // A release that closed the editor leaves no control to hover.
  if (!mClosed) OnMouseOver(x, y, mod);
}

void IGraphics::OnMouseDrag(float x, float y, float dX, float dY, const IMouseMod& mod) {
  DispatchScope scope(*this);
  if (PopupMenuIsOpen()) {
    mPopupControl->OnMouseDrag(x, y, dX, dY, mod);
    return;
  }
  if (TextEntryIsEditing()) {
    mTextEntryControl->OnMouseDrag(x, y, dX, dY, mod);
    return;
  }
  IControl* control = GetCapturedControl(mod.touchID);
  if (control && (dX != 0.f || dY != 0.f)) control->OnMouseDrag(x, y, dX, dY, mod);
}

bool IGraphics::OnMouseDblClick(float x, float y, const IMouseMod& mod) {
  DispatchScope scope(*this);
  if (PopupMenuIsOpen()) {
    mPopupControl->OnMouseDown(x, y, mod);  // a second click in an open menu is a click
    return true;
  }
  if (TextEntryIsEditing()) {
    mTextEntryControl->OnMouseDblClick(x, y, mod);
    return true;
  }
  IControl* control = GetMouseControl(x, y);
  if (!control) return false;
  if (control->GetDblAsSingleClick()) {
    OnMouseDown(x, y, mod);
  } else {
    mMouseDownX = x;
    mMouseDownY = y;
    control->OnMouseDblClick(x, y, mod);
  }
  return true;
}

bool IGraphics::OnMouseOver(float x, float y, const IMouseMod& mod) {
  DispatchScope scope(*this);
  if (PopupMenuIsOpen()) {
    mPopupControl->OnMouseOver(x, y, mod);
    return true;
  }
  IControl* control = GetMouseControl(x, y, true);
  if (control != mMouseOver) {
    IControl* previous = mMouseOver;
    mMouseOver = control;
    if (previous) previous->OnMouseOut();
  }
  if (control) control->OnMouseOver(x, y, mod);
  return control != nullptr;
}

void IGraphics::OnMouseOut() {
  DispatchScope scope(*this);
  if (PopupMenuIsOpen()) mPopupControl->OnMouseOut();
  if (IControl* previous = mMouseOver) {
    mMouseOver = nullptr;
    previous->OnMouseOut();
  }
}

void IGraphics::OnMouseWheel(float x, float y, const IMouseMod& mod, float delta) {
  if (!std::isfinite(delta)) return;
  DispatchScope scope(*this);
  if (PopupMenuIsOpen()) {
    mPopupControl->OnMouseWheel(x, y, mod, delta);
    return;
  }
  if (TextEntryIsEditing()) {
    mTextEntryControl->OnMouseWheel(x, y, mod, delta);
    return;
  }
  if (IControl* control = GetMouseControl(x, y)) control->OnMouseWheel(x, y, mod, delta);
}

bool IGraphics::OnKeyDown(float x, float y, const IKeyPress& key) {
  DispatchScope scope(*this);
  // An open menu, then the edit, take the keys they handle; the others go on to the control
  // under the pointer.
  if (PopupMenuIsOpen() && mPopupControl->OnKeyDown(x, y, key)) return true;
  if (TextEntryIsEditing() && mTextEntryControl->OnKeyDown(x, y, key)) return true;
  IControl* control = GetMouseControl(x, y);
  return control && control->OnKeyDown(x, y, key);
}

bool IGraphics::OnKeyUp(float x, float y, const IKeyPress& key) {
  DispatchScope scope(*this);
  if (TextEntryIsEditing() && mTextEntryControl->OnKeyUp(x, y, key)) return true;
  IControl* control = GetMouseControl(x, y);
  return control && control->OnKeyUp(x, y, key);
}

void IGraphics::OnTouchCancelled(float x, float y, const IMouseMod& mod) {
  DispatchScope scope(*this);
  if (IControl* control = GetCapturedControl(mod.touchID)) {
    control->OnTouchCancelled(x, y, mod);
    EndGesture(control);
    mCapturedMap.erase(mod.touchID);
  }
}

void IGraphics::OnDrop(const char* str, float x, float y) {
  if (!str) return;
  DispatchScope scope(*this);
  if (IControl* control = GetMouseControl(x, y)) control->OnDrop(str);
}

bool IGraphics::OnGestureRecognized(const IGestureInfo& info) {
  if (!mRegisteredGestures.count(info.type)) return false;
  DispatchScope scope(*this);
  IControl* control = GetMouseControl(info.x, info.y);
  return control && control->OnGesture(info);
}

}  // namespace igraphics
}  // namespace iplug
