// The control list, the popup-menu and text-entry controls kept apart from it, and values from
// the delegate. The frame cycle is in IGraphicsFrame.cpp.

#include "graphics/IGraphics.h"

#include <cmath>
#include <cstring>
#include <utility>
#include <vector>

#include "base/Finite.h"
#include "base/Log.h"
#include "graphics/IBubbleControlBase.h"
#include "graphics/IPopupMenuControlBase.h"
#include "graphics/ITextEntryControlBase.h"
#include "platform/MainThread.h"

namespace iplug {
namespace igraphics {

namespace {
IGraphics::PopupMenuControlFactory& PopupFactory() {
  static IGraphics::PopupMenuControlFactory factory;
  return factory;
}
IGraphics::TextEntryControlFactory& TextEntryFactory() {
  static IGraphics::TextEntryControlFactory factory;
  return factory;
}
IGraphics::BubbleControlFactory& BubbleFactory() {
  static IGraphics::BubbleControlFactory factory;
  return factory;
}

}  // namespace

IGraphics::PopupMenuControlFactory IGraphics::SetPopupMenuControlFactory(
    PopupMenuControlFactory factory) {
  return std::exchange(PopupFactory(), std::move(factory));
}

IGraphics::TextEntryControlFactory IGraphics::SetTextEntryControlFactory(
    TextEntryControlFactory factory) {
  return std::exchange(TextEntryFactory(), std::move(factory));
}

bool IGraphics::IsMainThread() {
  return platform::isMainThread();
}

IGraphics::BubbleControlFactory IGraphics::SetBubbleControlFactory(BubbleControlFactory factory) {
  return std::exchange(BubbleFactory(), std::move(factory));
}

IGraphics::IGraphics(IEditorDelegate& dlg, int w, int h, int fps, float scale)
    : mDelegate(dlg),
      mWidth(std::max(w, 0)),
      mHeight(std::max(h, 0)),
      mFPS(fps),
      mDrawScale(1.f),
      mScreenScale(std::isfinite(scale) && scale > 0.f ? scale : 1.f) {
  mClipRECT = GetBounds();
}

IGraphics::~IGraphics() {
  // Controls may reach the graphics context while they are destroyed: empty the records first.
  mInPopupMenu = mInTextEntry = mMouseOver = nullptr;
  mCapturedMap.clear();
  mControlsInGesture.clear();
  mBubbleControl.reset();
  mPopupControl.reset();
  mTextEntryControl.reset();
  mTaggedControls.clear();
  // A control destroyed now may still mark itself dirty: nothing of the frame cycle is kept.
  for (ControlEntry& entry : mControls)
    entry.control->mFrame.owner = nullptr;
  while (!mControls.empty())
    mControls.pop_back();
  mRemovedControls.clear();
}

void IGraphics::Release(std::unique_ptr<IGraphics> graphics, std::function<void()> whenDeleted) {
  if (!graphics) return;
  IGraphics& g = *graphics;
  g.mWhenDeleted = std::move(whenDeleted);
  if (g.mDispatchDepth == 0) {
    Delete(std::move(graphics));
    return;
  }
  g.mClosed = true;
  g.mReleasedSelf = std::move(graphics);
}

void IGraphics::Delete(std::unique_ptr<IGraphics> graphics) {
  std::function<void()> whenDeleted = std::move(graphics->mWhenDeleted);
  graphics.reset();
  if (whenDeleted) whenDeleted();
}

void IGraphics::SetScreenScale(float scale) {
  if (!std::isfinite(scale) || scale <= 0.f) {
    base::warn("graphics", "SetScreenScale: refusing scale %g", static_cast<double>(scale));
    return;
  }
  mScreenScale = scale;
  ScaleChanged();
  DispatchScope scope(*this);
  for (size_t i = 0; i < mControls.size(); ++i)
    mControls[i].control->OnRescale();
  if (mBubbleControl) mBubbleControl->OnRescale();
  if (mPopupControl) mPopupControl->OnRescale();
  if (mTextEntryControl) mTextEntryControl->OnRescale();
  SetAllControlsDirty();
}

// --- Control list ---

IControl* IGraphics::AttachControl(IControl* control, int ctrlTag, const char* group) {
  if (!control) {
    base::warn("graphics", "AttachControl: null control");
    return nullptr;
  }
  if (control->mFrame.owner == this) {
    base::warn("graphics", "AttachControl: control is already attached");
    return nullptr;
  }
  if (ctrlTag > kNoTag && mTaggedControls.count(ctrlTag)) {
    base::warn("graphics", "AttachControl: tag %d is already in use; control deleted", ctrlTag);
    delete control;
    return nullptr;
  }

  DispatchScope scope(*this);
  control->SetDelegate(&mDelegate);
  control->SetGraphics(this);
  control->OnInit();
  control->OnResize();
  control->OnRescale();
  control->SetGroup(group);
  mControls.push_back({std::unique_ptr<IControl>(control), ctrlTag});
  ListControl(*control);
  if (ctrlTag > kNoTag) mTaggedControls[ctrlTag] = control;
  control->OnAttached();
  return control;
}

IControl* IGraphics::GetControl(int idx) const {
  if (idx < 0 || idx >= NControls()) return nullptr;
  return mControls[static_cast<size_t>(idx)].control.get();
}

int IGraphics::GetControlIdx(const IControl* control) const {
  if (!control) return -1;
  // By address alone: a control deleting its children may ask after ones already deleted.
  for (size_t i = 0; i < mControls.size(); ++i) {
    if (mControls[i].control.get() == control) return static_cast<int>(i);
  }
  return -1;
}

IControl* IGraphics::GetControlWithTag(int ctrlTag) const {
  auto it = mTaggedControls.find(ctrlTag);
  return it == mTaggedControls.end() ? nullptr : it->second;
}

int IGraphics::GetControlTag(const IControl* control) const {
  const int idx = GetControlIdx(control);
  return idx < 0 ? kNoTag : mControls[static_cast<size_t>(idx)].tag;
}

void IGraphics::ForgetControl(IControl* control) {
  if (mInPopupMenu == control) {
    mInPopupMenu = nullptr;
    mPopupMenuValIdx = kNoValIdx;
    // Nothing is left to hear the answer, and the menu may have gone with its owner.
    if (mPopupControl && !mPopupControl->CanOpenMenu()) mPopupControl->DismissMenu();
  }
  if (mInTextEntry == control) {
    ClearInTextEntryControl();
    mPlatformTextEntry.open = false;
    // Nothing is left to receive the text: end the edit without a result.
    if (mTextEntryControl && mTextEntryControl->EditInProgress()) mTextEntryControl->DismissEdit();
  }
  if (mMouseOver == control) mMouseOver = nullptr;
  // The bubble of a removed control has nothing left to show for.
  if (mBubbleControl && control && mBubbleControl->GetCaller() == control)
    mBubbleControl->HideBubble();
  for (auto it = mCapturedMap.begin(); it != mCapturedMap.end();) {
    it = it->second == control ? mCapturedMap.erase(it) : std::next(it);
  }
  EndGesture(control);  // a press in progress on it ends here, not never
}

void IGraphics::DisposeControl(std::unique_ptr<IControl> control) {
  if (mDispatchDepth > 0) {
    mRemovedControls.push_back(std::move(control));
  }
  // else the control is deleted here
}

void IGraphics::RemoveControl(IControl* control) {
  const int idx = GetControlIdx(control);
  if (idx < 0) return;
  ControlEntry entry = std::move(mControls[static_cast<size_t>(idx)]);
  mControls.erase(mControls.begin() + idx);
  UnlistControl(*control);
  if (entry.tag > kNoTag) mTaggedControls.erase(entry.tag);
  ForgetControl(control);
  DisposeControl(std::move(entry.control));
}

void IGraphics::RemoveControlWithTag(int ctrlTag) {
  RemoveControl(GetControlWithTag(ctrlTag));
}

void IGraphics::RemoveAllControls() {
  while (!mControls.empty())
    RemoveControl(mControls.back().control.get());
}

void IGraphics::ForAllControlsFunc(const std::function<void(IControl*)>& func) {
  DispatchScope scope(*this);
  // By index: func may attach or remove controls.
  for (size_t i = 0; i < mControls.size(); ++i)
    func(mControls[i].control.get());
}

void IGraphics::ForControlInGroup(const char* group, const std::function<void(IControl*)>& func) {
  if (!group) return;
  ForAllControlsFunc([&](IControl* c) {
    if (std::strcmp(c->GetGroup(), group) == 0) func(c);
  });
}

void IGraphics::ForControlWithParam(int paramIdx, const std::function<void(IControl*)>& func) {
  ForAllControlsFunc([&](IControl* c) {
    if (c->GetValIdxForParam(paramIdx) > kNoValIdx) func(c);
  });
}

void IGraphics::SetAllControlsDirty() {
  ForAllControlsFunc([](IControl* c) { c->SetDirty(false); });
}

void IGraphics::SetAllControlsClean() {
  ForAllControlsFunc([](IControl* c) { c->SetClean(); });
}

void IGraphics::AttachPopupMenuControl(const IText& text, const IRECT& bounds) {
  if (mPopupControl) return;
  if (!PopupFactory()) {
    base::warn("graphics",
               "AttachPopupMenuControl: no popup-menu control factory is installed; menus stay "
               "native");
    return;
  }
  mPopupControl = PopupFactory()(text, bounds);
  if (!mPopupControl) {
    base::warn("graphics",
               "AttachPopupMenuControl: the factory made no control; menus stay native");
    return;
  }
  mPopupControlRemoved = false;
  mPopupControl->SetDelegate(&mDelegate);
  mPopupControl->SetGraphics(this);
  mPopupControl->OnInit();
  mPopupControl->OnResize();
  mPopupControl->OnRescale();
}

void IGraphics::AttachTextEntryControl() {
  if (mTextEntryControl) return;
  if (!TextEntryFactory()) {
    base::warn("graphics",
               "AttachTextEntryControl: no text-entry control factory is installed; entry stays "
               "native");
    return;
  }
  mTextEntryControl = TextEntryFactory()();
  if (!mTextEntryControl) {
    base::warn("graphics",
               "AttachTextEntryControl: the factory made no control; entry stays native");
    return;
  }
  mTextEntryControl->SetDelegate(&mDelegate);
  mTextEntryControl->SetGraphics(this);
  mTextEntryControl->OnInit();
  mTextEntryControl->OnResize();
  mTextEntryControl->OnRescale();
}

void IGraphics::AttachBubbleControl() {
  if (mBubbleControl) return;
  if (!BubbleFactory()) {
    base::warn("graphics",
               "AttachBubbleControl: no bubble control factory is installed; no bubble shown");
    return;
  }
  mBubbleControl = BubbleFactory()();
  if (!mBubbleControl) {
    base::warn("graphics", "AttachBubbleControl: the factory made no control; no bubble is shown");
    return;
  }
  mBubbleControl->SetDelegate(&mDelegate);
  mBubbleControl->SetGraphics(this);
  mBubbleControl->OnInit();
  mBubbleControl->OnResize();
  mBubbleControl->OnRescale();
}

void IGraphics::RemoveBubbleControl() {
  if (!mBubbleControl) return;
  ForgetControl(mBubbleControl.get());
  DisposeControl(std::move(mBubbleControl));
}

void IGraphics::ShowBubbleControl(IControl* caller, float x, float y, const char* str,
                                  EDirection dir, const IRECT& minimumContentBounds) {
  if (!str || !base::isFinite(x, y)) {
    base::warn("graphics",
               "ShowBubbleControl: no text or a point that is not finite; nothing shown");
    return;
  }
  // The bubble keeps its caller until the caller is removed; one never attached could go
  // without the graphics context hearing of it.
  if (caller && GetControlIdx(caller) < 0) {
    base::warn("graphics",
               "ShowBubbleControl: the caller is not an attached control; nothing shown");
    return;
  }
  AttachBubbleControl();
  if (mBubbleControl) mBubbleControl->ShowBubble(caller, x, y, str, dir, minimumContentBounds);
}

void IGraphics::RemovePopupMenuControl() {
  mPopupControlRemoved = true;
  if (!mPopupControl) return;
  // A menu still waiting for its answer is answered "nothing chosen" before the control goes,
  // so its requester hears back and the gesture of the press that opened it ends. The control
  // is still in place meanwhile, so a menu the requester asks for in reply is refused at once
  // rather than opened in a control about to be deleted.
  if (mInPopupMenu) SetControlValueAfterPopupMenu(nullptr);
  if (mPopupControl && !mPopupControl->CanOpenMenu()) mPopupControl->DismissMenu();
  if (!mPopupControl) return;  // the requester removed it in reply
  ForgetControl(mPopupControl.get());
  DisposeControl(std::move(mPopupControl));
}

void IGraphics::RemoveTextEntryControl() {
  if (!mTextEntryControl) return;
  ForgetControl(mTextEntryControl.get());
  DisposeControl(std::move(mTextEntryControl));
}

bool IGraphics::PopupMenuIsOpen() const {
  return mPopupControl && mPopupControl->GetExpanded();
}

bool IGraphics::TextEntryIsEditing() const {
  return mTextEntryControl && mTextEntryControl->EditInProgress();
}

// --- Values from the delegate ---

void IGraphics::SendParameterValueFromDelegate(int paramIdx, double value, bool normalized) {
  if (!normalized) {
    const IParam* param = mDelegate.GetParam(paramIdx);
    if (!param) return;
    value = param->ToNormalized(value);
  }
  ForAllControlsFunc([&](IControl* c) {
    const int valIdx = c->GetValIdxForParam(paramIdx);
    if (valIdx > kNoValIdx) c->SetValueFromDelegate(value, valIdx);
  });
}

void IGraphics::SendControlMsgFromDelegate(int ctrlTag, int msgTag, int dataSize,
                                           const void* data) {
  DispatchScope scope(*this);
  if (IControl* c = GetControlWithTag(ctrlTag)) c->OnMsgFromDelegate(msgTag, dataSize, data);
}

void IGraphics::SendMidiMsgFromDelegate(const IMidiMsg& msg) {
  ForAllControlsFunc([&](IControl* c) {
    if (c->GetWantsMidi()) c->OnMidi(msg);
  });
}

void IGraphics::UpdatePeers(IControl* caller, int callerValIdx) {
  if (!caller) return;
  const int paramIdx = caller->GetParamIdx(callerValIdx);
  if (paramIdx <= kNoParameter) return;
  const double value = caller->GetValue(callerValIdx);
  ForAllControlsFunc([&](IControl* c) {
    if (c == caller) return;
    const int valIdx = c->GetValIdxForParam(paramIdx);
    if (valIdx > kNoValIdx) c->SetValueFromDelegate(value, valIdx);
  });
}

void IGraphics::PathClipRegion(const IRECT& r) {
  const IRECT area = mLayers.empty() ? mClipRECT : mLayers.back().bounds;
  // A request that misses the area gives a rectangle without area: everything is clipped.
  SetClipRegion(r.Empty() ? area : r.Intersect(area));
}

// --- Layers ---

void IGraphics::StartLayer(IControl* control, const IRECT& r) {
  const IRECT bounds = r.GetPixelAligned();
  if (!BeginLayerDrawing(bounds)) {
    base::warn("graphics", "StartLayer: cannot make a layer over (%g, %g, %g, %g)",
               static_cast<double>(r.L), static_cast<double>(r.T), static_cast<double>(r.R),
               static_cast<double>(r.B));
    return;
  }
  mLayers.push_back({control, bounds});
  SetClipRegion(bounds);
}

ILayerPtr IGraphics::EndLayer() {
  if (mLayers.empty()) return nullptr;
  const OpenLayer open = mLayers.back();
  mLayers.pop_back();
  ILayerPtr layer = EndLayerDrawing();
  if (layer) layer->SetControl(open.control);
  PathClipRegion();
  return layer;
}

bool IGraphics::CheckLayer(const ILayerPtr& layer) {
  if (!layer || !layer->GetAPIBitmap() || layer->IsInvalid()) return false;
  const IControl* owner = layer->GetControl();
  const IRECT wanted = owner ? owner->GetRECT().GetPixelAligned() : layer->Bounds();
  if (!LayerFits(*layer, wanted)) {
    layer->Invalidate();
    return false;
  }
  return true;
}

void IGraphics::DrawLayer(const ILayerPtr& layer, const IBlend* blend) {
  if (!layer || !layer->GetAPIBitmap()) return;
  DrawLayerBitmap(*layer, blend);
}

IBitmap IGraphics::GetScaledBitmap(const IBitmap& src) {
  const int scale = static_cast<int>(std::ceil(mScreenScale));
  return LoadBitmap(src.GetResourceName(), src.N, src.GetFramesAreHorizontal(), scale);
}

}  // namespace igraphics
}  // namespace iplug
