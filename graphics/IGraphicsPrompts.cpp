// Value prompts: the menu of a parameter's display texts, text entry, and the answers of both.

#include <cmath>
#include <cstring>
#include <utility>

#include "base/Log.h"
#include "graphics/IGraphics.h"
#include "graphics/IPopupMenuControlBase.h"
#include "graphics/ITextEntryControlBase.h"
#include "graphics/TypedNumber.h"

namespace iplug {
namespace igraphics {

void IGraphics::PromptUserInput(IControl& control, const IRECT& bounds, int valIdx) {
  const IParam* param = control.GetParam(valIdx);
  if (!param) return;

  const bool isEnum = param->Type() == IParam::kTypeEnum;
  const bool isBoolWithTexts = param->Type() == IParam::kTypeBool && param->NDisplayTexts() > 0;
  if (isEnum || isBoolWithTexts) {
    WDL_String current;
    param->GetDisplay(current, true);
    mPromptPopupMenu.Clear();
    for (int i = 0; i < param->NDisplayTexts(); ++i) {
      const char* text = param->GetDisplayTextAtIdx(i);
      if (!text) continue;
      const bool checked = std::strcmp(text, current.Get()) == 0;
      mPromptPopupMenu.AddItemWithFlags(
          text, checked ? IPopupMenu::Item::kChecked : IPopupMenu::Item::kNoFlags);
    }
    mPromptPopupMenu.SetTitle(param->GetName());
    CreatePopupMenu(control, mPromptPopupMenu, bounds, valIdx);
    return;
  }

  WDL_String current;
  param->GetDisplay(current, false);
  if (control.GetPromptShowsParamLabel()) {
    const char* label = param->GetCurrentDisplayText();
    if (label && *label) {
      current.Append(" ");
      current.Append(label);
    }
  }
  CreateTextEntry(control, control.GetText(), bounds, current.Get(), valIdx);
}

void IGraphics::CreatePopupMenu(IControl& control, IPopupMenu& menu, const IRECT& bounds,
                                int valIdx, bool isContext) {
  if (!mPopupControl && !HasPlatformPopupMenu()) AttachPopupMenuControl();
  // A native menu is on show while its requester is recorded and its call has not returned.
  const bool menuShowing = mPopupControl ? !mPopupControl->CanOpenMenu() : mInPopupMenu != nullptr;
  if (menuShowing) {
    // One menu at a time: this request gets "nothing chosen" now, and the menu on show keeps
    // its requester.
    if (!mPopupControl) base::warn("graphics", "CreatePopupMenu: a native menu is open; refused");
    DispatchScope scope(*this);
    menu.SetChosenItemIdx(-1);
    ReportPopupMenuResult(control, valIdx, isContext, nullptr);
    return;
  }

  mInPopupMenu = &control;
  mPopupMenuValIdx = valIdx;
  mIsContextMenu = isContext;

  if (mPopupControl) {
    mPopupControl->CreatePopupMenu(menu, bounds);  // answers later
    return;
  }
  DispatchScope scope(*this);
  IPopupMenu* answer = CreatePlatformPopupMenu(menu, bounds);
  if (mClosed) {
    // The editor closed while its menu was up: the requester hears nothing more.
    mInPopupMenu = nullptr;
    mPopupMenuValIdx = kNoValIdx;
    mIsContextMenu = false;
    return;
  }
  SetControlValueAfterPopupMenu(answer);
}

IPopupMenu* IGraphics::CreatePlatformPopupMenu(IPopupMenu& menu, const IRECT& bounds) {
  menu.SetChosenItemIdx(-1);  // no native menu here: nothing is chosen
  return &menu;
}

void IGraphics::CreateTextEntry(IControl& control, const IText& text, const IRECT& bounds,
                                const char* str, int valIdx) {
  if (!str) str = "";
  mInTextEntry = &control;
  mTextEntryValIdx = valIdx;
  const int paramIdx = control.GetParamIdx(valIdx);
  const int length = control.GetTextEntryLength();
  if (!mTextEntryControl && !HasPlatformTextEntry()) AttachTextEntryControl();
  if (mTextEntryControl) {
    mTextEntryControl->StartTextEntry(paramIdx, text, bounds, length, str);
  } else {
    CreatePlatformTextEntry(paramIdx, text, bounds, length, str);
  }
}

void IGraphics::CreatePlatformTextEntry(int paramIdx, const IText& text, const IRECT& bounds,
                                        int length, const char* str) {
  mPlatformTextEntry.open = true;
  mPlatformTextEntry.paramIdx = paramIdx;
  mPlatformTextEntry.text = text;
  mPlatformTextEntry.bounds = bounds;
  mPlatformTextEntry.length = length;
  mPlatformTextEntry.str.Set(str);
}

void IGraphics::SetControlValueAfterPopupMenu(IPopupMenu* menu) {
  if (!mInPopupMenu) return;
  DispatchScope scope(*this);
  // The record is cleared before the control hears the answer: it may open another menu.
  IControl* control = mInPopupMenu;
  const int valIdx = mPopupMenuValIdx;
  const bool isContext = mIsContextMenu;
  mInPopupMenu = nullptr;
  mPopupMenuValIdx = kNoValIdx;
  mIsContextMenu = false;
  ReportPopupMenuResult(*control, valIdx, isContext, menu);
}

void IGraphics::ReportPopupMenuResult(IControl& control, int valIdx, bool isContext,
                                      IPopupMenu* menu) {
  if (isContext) {
    control.OnContextMenuSelection(menu ? menu->GetChosenItemIdx() : -1);
  } else {
    control.OnPopupMenuSelection(menu && menu->GetChosenItemIdx() != -1 ? menu : nullptr, valIdx);
  }

  // The press that opened the menu ends here; its release must not end it again. A menu that
  // no press opened (a context menu, a prompt asked for by code) ends no gesture: an end
  // without its begin would close another control's gesture on the same parameter.
  EndGesture(&control);
}

void IGraphics::ClearInTextEntryControl() {
  IControl* control = std::exchange(mInTextEntry, nullptr);
  mTextEntryValIdx = kNoValIdx;
  if (control) EndGesture(control);
}

void IGraphics::SetControlValueAfterTextEdit(const char* str) {
  if (!mInTextEntry) return;
  DispatchScope scope(*this);
  IControl* control = std::exchange(mInTextEntry, nullptr);
  const int valIdx = std::exchange(mTextEntryValIdx, kNoValIdx);
  mPlatformTextEntry.open = false;
  // The press that opened the edit ends with its answer, after the value it sets. The control
  // stays alive meanwhile: a removal inside the dispatch is deferred.
  struct GestureEnd {
    IGraphics& g;
    IControl* control;
    ~GestureEnd() { g.EndGesture(control); }
  } gestureEnd{*this, control};

  if (!str) {
    base::warn("graphics", "SetControlValueAfterTextEdit: no text; value unchanged");
    return;
  }
  const IParam* param = control->GetParam(valIdx);
  if (!param) {
    control->OnTextEntryCompletion(str, valIdx);
    return;
  }

  double value = 0.;
  if (!param->MapDisplayText(str, &value)) {
    // Text that is no number ("abc", "-"), "nan", "inf" and numbers too large for a double
    // name no value of the parameter: taking them as 0 would silently set the minimum.
    double typed = 0.;
    if (!ParseTypedNumber(str, typed)) {
      base::warn("graphics",
                 "SetControlValueAfterTextEdit: \"%s\" is not a finite number; value unchanged",
                 str);
      return;
    }
    value = param->StringToValue(str);
  }
  if (!std::isfinite(value)) {
    base::warn("graphics", "SetControlValueAfterTextEdit: \"%s\" gives no value; value unchanged",
               str);
    return;
  }
  if (param->GetStepped()) {
    const double step = param->GetStep();
    if (step > 0.) value = std::round(value / step) * step;
  }
  value = std::clamp(value, param->GetMin(), param->GetMax());
  control->SetValueFromUserInput(param->ToNormalized(value), valIdx);
}

}  // namespace igraphics
}  // namespace iplug
