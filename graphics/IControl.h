#pragma once

// The base of every element of the editor surface: rectangles, text style, state flags, value
// slots bound to parameters, the action, animation and gesture handlers, and the links to the
// editor delegate and the graphics context that owns the control.

#include <cstdint>
#include <functional>
#include <initializer_list>
#include <unordered_map>
#include <vector>

#include "framework/IPlugEditorDelegate.h"
#include "framework/IPlugStructs.h"
#include "framework/WDLString.h"
#include "graphics/ControlGrid.h"
#include "graphics/IGraphicsStructs.h"

namespace iplug {
namespace igraphics {

class IGraphics;
class IPopupMenu;
class IControl;

using IActionFunction = std::function<void(IControl*)>;
using IAnimationFunction = std::function<void(IControl*)>;
using IGestureFunc = std::function<void(IControl*, const IGestureInfo&)>;

class IControl {
 public:
  // The blend weight of a disabled control.
  static constexpr float kDisabledBlendWeight = 0.25f;
  // Size of the value prompt opened for a parameter without display texts.
  static constexpr float kPromptHalfWidth = 20.f;
  static constexpr float kPromptHalfHeight = 8.f;
  static constexpr int kDefaultTextEntryLength = 7;

  // One slot bound to paramIdx.
  IControl(const IRECT& bounds, int paramIdx = kNoParameter, IActionFunction action = nullptr);
  // One slot per listed parameter index, in order; an empty list leaves none.
  IControl(const IRECT& bounds, std::initializer_list<int> params,
           IActionFunction action = nullptr);
  // One slot bound to no parameter.
  IControl(const IRECT& bounds, IActionFunction action);
  virtual ~IControl() = default;
  IControl(const IControl&) = delete;
  IControl& operator=(const IControl&) = delete;

  // Mouse and keys, routed by the graphics context.
  virtual void OnMouseDown(float x, float y, const IMouseMod& mod);
  virtual void OnMouseUp(float x, float y, const IMouseMod& mod) {}
  virtual void OnMouseDrag(float x, float y, float dX, float dY, const IMouseMod& mod) {}
  virtual void OnMouseDblClick(float x, float y, const IMouseMod& mod);
  virtual void OnMouseWheel(float x, float y, const IMouseMod& mod, float d) {}
  virtual bool OnKeyDown(float x, float y, const IKeyPress& key) { return false; }
  virtual bool OnKeyUp(float x, float y, const IKeyPress& key) { return false; }
  virtual void OnMouseOver(float x, float y, const IMouseMod& mod);
  virtual void OnMouseOut();
  virtual void OnTouchCancelled(float x, float y, const IMouseMod& mod) {}
  virtual void OnDrop(const char* str) {}

  // Life cycle: OnInit, OnResize, OnRescale on attach, then OnAttached.
  virtual void OnRescale() {}
  virtual void OnResize() {}
  virtual void OnInit() {}
  virtual void OnAttached() {}

  virtual void OnMsgFromDelegate(int msgTag, int dataSize, const void* data) {}
  virtual void OnMidi(const IMidiMsg& msg) {}
  virtual bool OnGesture(const IGestureInfo& info);
  // Fills the context menu (emptied beforehand) offered on a right click; an empty menu is not
  // shown.
  virtual void CreateContextMenu(IPopupMenu& contextMenu) {}
  virtual void OnPopupMenuSelection(IPopupMenu* menu, int valIdx);
  virtual void OnTextEntryCompletion(const char* str, int valIdx) {}
  virtual void OnContextMenuSelection(int itemIdx) {}

  virtual void Draw(IGraphics& g) = 0;
  virtual void DrawPTHighlight(IGraphics& g);

  // Binds a slot; an index outside the slots throws std::out_of_range.
  virtual void SetParamIdx(int paramIdx, int valIdx = 0);
  virtual int GetValIdxForPos(float x, float y) const { return NVals() == 1 ? 0 : kNoValIdx; }
  virtual void SetValueFromDelegate(double value, int valIdx = 0);
  virtual void SetValueFromUserInput(double value, int valIdx = 0);
  virtual void SetValueToDefault(int valIdx = kNoValIdx);
  // Stores the value in the slot, nothing else; an index outside the slots is ignored.
  virtual void SetValue(double value, int valIdx = 0);
  virtual void SetText(const IText& text) { mText = text; }
  virtual void SetPosition(float x, float y);
  virtual void SetSize(float w, float h);
  virtual void Hide(bool hide);
  virtual void SetDisabled(bool disable);
  virtual bool IsHit(float x, float y) const { return mTargetRECT.Contains(x, y); }
  virtual void SetDirty(bool triggerAction = true, int valIdx = kNoValIdx);
  // The graphics context asks only the controls marked dirty since its last frame, or
  // animating, whether they are dirty, and cleans only those. An override of IsDirty that can
  // turn true by other means (a request left by another thread) asks to be tested every frame
  // with SetDirtyTestedEachFrame.
  virtual void SetClean() { mDirty = false; }
  virtual bool IsDirty() { return mAnimationFunc ? true : mDirty; }
  virtual void SnapToMouse(float x, float y, EDirection direction, const IRECT& bounds,
                           int valIdx = kNoValIdx, double minClip = 0., double maxClip = 1.);
  // Removes the animation, marks the control dirty and runs the animation-end action once.
  virtual void OnEndAnimation();

  // Value slots. Indices outside the slots read as unbound with value 0 and are never written.
  int NVals() const { return static_cast<int>(mVals.size()); }
  int GetParamIdx(int valIdx = 0) const;
  int GetValIdxForParam(int paramIdx) const;
  double GetValue(int valIdx = 0) const;
  // The slot's parameter from the delegate, or null when there is none (or no delegate).
  const IParam* GetParam(int valIdx = 0) const;
  bool IsBoundToParam(int valIdx = 0) const { return GetParamIdx(valIdx) > kNoParameter; }

  // Asks the graphics context for a value: a menu of display texts or a text entry.
  void PromptUserInput(int valIdx = 0);
  void PromptUserInput(const IRECT& bounds, int valIdx = 0);

  void SetPTParameterHighlight(bool highlighted, int colourIdx);
  void AttachGestureRecognizer(int gestureType, IGestureFunc func);
  int GetLastGesture() const { return mLastGesture; }

  // Animation. StartAnimation only stamps the start: set the function first.
  void SetAnimation(IAnimationFunction func);
  void SetAnimation(IAnimationFunction func, int durationMs) {
    SetAnimation(std::move(func));
    StartAnimation(durationMs);
  }
  void StartAnimation(int durationMs);
  const IAnimationFunction& GetAnimationFunction() const { return mAnimationFunc; }
  void SetAnimationEndActionFunction(IActionFunction func) {
    mAnimationEndActionFunc = std::move(func);
  }
  // Elapsed fraction of the animation, unclamped; 0 when no animation is set.
  double GetAnimationProgress() const;
  double GetAnimationDuration() const { return mAnimationDuration; }
  // Runs (a copy of) the animation function, which may end or replace itself.
  void Animate();

  void SetActionFunction(IActionFunction func) { mActionFunc = std::move(func); }
  const IActionFunction& GetActionFunction() const { return mActionFunc; }

  // Rectangles. The setters only store: a caller that moves a control calls OnResize itself
  // (or uses SetPosition and SetSize). A control moves its drawing rectangle through them, so
  // the graphics context finds it where it now is.
  const IRECT& GetRECT() const { return mRECT; }
  void SetRECT(const IRECT& r) {
    mRECT = r;
    NoteMoved();
  }
  const IRECT& GetTargetRECT() const { return mTargetRECT; }
  void SetTargetRECT(const IRECT& r) { mTargetRECT = r; }
  void SetTargetAndDrawRECTs(const IRECT& r) {
    mRECT = mTargetRECT = r;
    NoteMoved();
  }

  const char* GetGroup() const { return mGroup.Get(); }
  void SetGroup(const char* group) { mGroup.Set(group ? group : ""); }
  const IText& GetText() const { return mText; }
  const IBlend& GetBlend() const { return mBlend; }
  void SetBlend(const IBlend& blend) { mBlend = blend; }
  int GetTextEntryLength() const { return mTextEntryLength; }
  void SetTextEntryLength(int len) { mTextEntryLength = len; }

  bool IsHidden() const { return mHide; }
  bool IsDisabled() const { return mDisabled; }
  bool GetPromptDisabled() const { return mDisablePrompt; }
  void DisablePrompt(bool disable) { mDisablePrompt = disable; }
  bool GetDblAsSingleClick() const { return mDblAsSingleClick; }
  void SetDblAsSingleClick(bool v) { mDblAsSingleClick = v; }
  bool GetMOWhenGrayed() const { return mMOWhenGrayed; }
  void SetMOWhenGrayed(bool v) { mMOWhenGrayed = v; }
  bool GetMEWhenGrayed() const { return mMEWhenGrayed; }
  void SetMEWhenGrayed(bool v) { mMEWhenGrayed = v; }
  bool GetIgnoreMouse() const { return mIgnoreMouse; }
  void SetIgnoreMouse(bool v) { mIgnoreMouse = v; }
  bool GetWantsMidi() const { return mWantsMidi; }
  void SetWantsMidi(bool v) { mWantsMidi = v; }
  bool GetWantsCapture() const { return mCapture; }
  void SetWantsCapture(bool v) { mCapture = v; }
  bool GetPromptShowsParamLabel() const { return mPromptShowsParamLabel; }
  void SetPromptShowsParamLabel(bool v) { mPromptShowsParamLabel = v; }
  bool GetMouseIsOver() const { return mMouseIsOver; }
  const char* GetTooltip() const { return mTooltip.Get(); }
  void SetTooltip(const char* str) { mTooltip.Set(str ? str : ""); }
  const IColor& GetPTHighlightColor() const { return mPTHighlightColor; }
  bool GetPTHighlighted() const { return mPTisHighlighted; }

  IEditorDelegate* GetDelegate() const { return mDelegate; }
  void SetDelegate(IEditorDelegate* dlg) { mDelegate = dlg; }
  IGraphics* GetUI() const { return mGraphics; }
  void SetGraphics(IGraphics* g) { mGraphics = g; }

 protected:
  // SetDirty and SetValueToDefault act on slot 0 of a one-slot control whatever the index.
  int ApplyValIdxRule(int valIdx) const { return NVals() == 1 ? 0 : valIdx; }
  bool ValidValIdx(int valIdx) const { return valIdx >= 0 && valIdx < NVals(); }
  // For a control whose IsDirty can turn true without SetDirty or an animation: the graphics
  // context then asks it every frame.
  void SetDirtyTestedEachFrame(bool tested);

  IRECT mRECT;
  IRECT mTargetRECT;
  WDL_String mGroup;
  IText mText;
  IBlend mBlend;
  int mTextEntryLength = kDefaultTextEntryLength;
  bool mDirty = true;  // set through SetDirty, which tells the graphics context
  bool mHide = false;
  bool mDisabled = false;
  bool mDisablePrompt = true;
  bool mDblAsSingleClick = false;
  bool mMOWhenGrayed = false;
  bool mMEWhenGrayed = false;
  bool mIgnoreMouse = false;
  bool mWantsMidi = false;
  bool mCapture = false;
  bool mPromptShowsParamLabel = false;
  bool mMouseIsOver = false;
  WDL_String mTooltip;
  IColor mPTHighlightColor = COLOR_RED;
  bool mPTisHighlighted = false;

 private:
  friend class IGraphics;

  // What the graphics context listing the control keeps in it for the frame cycle.
  struct FrameState {
    IGraphics* owner = nullptr;  // the context whose control list holds it
    std::uint64_t order = 0;     // its place in that list: a control attached later has more
    int dirtyPos = -1;           // where it stands in the context's list of dirty controls
    int animatingPos = -1;       // and in its list of animating controls
    bool testedEachFrame = false;
    ControlGrid::Filing filing;
  };

  // Tell the listing graphics context that the control is dirty, animating or has moved.
  void NoteDirty();
  void NoteMoved();

  struct ValueSlot {
    int paramIdx = kNoParameter;
    double value = 0.;
  };

  IEditorDelegate* mDelegate = nullptr;
  IGraphics* mGraphics = nullptr;
  IActionFunction mActionFunc;
  IActionFunction mAnimationEndActionFunc;
  IAnimationFunction mAnimationFunc;
  double mAnimationStartTime = 0.;
  double mAnimationDuration = 0.;
  std::vector<ValueSlot> mVals;
  std::unordered_map<int, IGestureFunc> mGestureFuncs;
  int mLastGesture = 0;
  FrameState mFrame;
};

}  // namespace igraphics
}  // namespace iplug
