#pragma once

// The graphics context of the editor: it owns the controls, runs the frame cycle (animate,
// collect dirty regions, draw), routes mouse, wheel and key events by its hit-test rules, and
// offers prompts, popup menus and text entry. The drawing primitives are virtual: a renderer
// implements them, and a recording double logs them in tests. Composite drawing (bitmap frames
// and bitmap text, grids, data plots, normalised lines) is built once here from the primitives.

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <initializer_list>
#include <memory>
#include <set>
#include <unordered_map>
#include <unordered_set>
#include <vector>

#include "framework/IPlugEditorDelegate.h"
#include "framework/IPlugStructs.h"
#include "framework/WDLString.h"
#include "graphics/IControl.h"
#include "graphics/IGraphicsStructs.h"
#include "graphics/ILayer.h"
#include "graphics/IPopupMenu.h"

namespace iplug {
namespace igraphics {

class IBubbleControlBase;
class IPopupMenuControlBase;
class ITextEntryControlBase;

class IGraphics {
 public:
  // Builds the in-interface popup-menu control (text style, expanded bounds), or the text-entry
  // control. The control library installs factories for its own controls
  // (InstallDefaultControlFactories in controls/Controls.h); without one, menus and text entry
  // go to the platform. Each setter returns the factory it replaces, so a caller can put it back.
  using PopupMenuControlFactory =
      std::function<std::unique_ptr<IPopupMenuControlBase>(const IText&, const IRECT&)>;
  using TextEntryControlFactory = std::function<std::unique_ptr<ITextEntryControlBase>()>;
  // Builds the value bubble; without a factory no bubble is shown.
  using BubbleControlFactory = std::function<std::unique_ptr<IBubbleControlBase>()>;
  static PopupMenuControlFactory SetPopupMenuControlFactory(PopupMenuControlFactory factory);
  static TextEntryControlFactory SetTextEntryControlFactory(TextEntryControlFactory factory);
  static BubbleControlFactory SetBubbleControlFactory(BubbleControlFactory factory);

  // The answer of the native text field while no text-entry control is attached: what was
  // asked, kept until the platform answers through SetControlValueAfterTextEdit.
  struct PlatformTextEntry {
    bool open = false;
    int paramIdx = kNoParameter;
    IText text;
    IRECT bounds;
    int length = 0;
    WDL_String str;
  };

  IGraphics(IEditorDelegate& dlg, int w, int h, int fps = 60, float scale = 1.f);
  virtual ~IGraphics();
  IGraphics(const IGraphics&) = delete;
  IGraphics& operator=(const IGraphics&) = delete;

  // --- Closing ---
  // True while the context is handling one of its events or frames; the loops of menus and
  // dialogs opened from a control run inside.
  bool IsHandlingEvent() const { return mDispatchDepth > 0; }
  // True once the context was released while it was handling an event: code resuming after a
  // nested menu or dialog loop stops instead of answering a closed editor.
  bool IsClosed() const { return mClosed; }
  // Deletes the context, or, while it is handling an event, marks it closed and keeps it, with
  // its controls and menus, until the outermost event returns, since that code is still running
  // on it. whenDeleted (optional) runs once it is gone.
  static void Release(std::unique_ptr<IGraphics> graphics,
                      std::function<void()> whenDeleted = nullptr);

  // --- Size and scale ---
  int Width() const { return mWidth; }
  int Height() const { return mHeight; }
  int FPS() const { return mFPS; }
  float GetDrawScale() const { return mDrawScale; }
  float GetScreenScale() const { return mScreenScale; }
  // Changes the screen scale: every control gets OnRescale and is redrawn.
  void SetScreenScale(float scale);
  IRECT GetBounds() const {
    return IRECT(0.f, 0.f, static_cast<float>(mWidth), static_cast<float>(mHeight));
  }
  IEditorDelegate* GetDelegate() const { return &mDelegate; }

  // --- Control list ---
  // Takes ownership and attaches: delegate and graphics set, OnInit, OnResize, OnRescale, the
  // group, appended, OnAttached. Returns the control, or null when the tag (>= 0) is already in
  // use or the control is null; a refused control is deleted, never leaked.
  IControl* AttachControl(IControl* control, int ctrlTag = kNoTag, const char* group = "");
  int NControls() const { return static_cast<int>(mControls.size()); }
  IControl* GetControl(int idx) const;
  int GetControlIdx(const IControl* control) const;
  IControl* GetControlWithTag(int ctrlTag) const;
  int GetControlTag(const IControl* control) const;
  // Removes and deletes a control; every record that pointed at it (prompt requester, capture,
  // mouse-over) is cleared. A control removed while it is handling an event is deleted once the
  // event is over.
  void RemoveControl(IControl* control);
  void RemoveControlWithTag(int ctrlTag);
  void RemoveAllControls();
  // Calls func for every attached control, in attach order.
  void ForAllControlsFunc(const std::function<void(IControl*)>& func);
  void ForControlInGroup(const char* group, const std::function<void(IControl*)>& func);
  // Calls func for every control with a slot bound to the parameter.
  void ForControlWithParam(int paramIdx, const std::function<void(IControl*)>& func);
  // Marks every control dirty without running actions.
  void SetAllControlsDirty();
  void SetAllControlsClean();

  // The in-interface popup menu and text entry, kept apart from the list, built by the installed
  // factory. No effect when one exists already or no factory is installed.
  void AttachPopupMenuControl(const IText& text = DEFAULT_TEXT, const IRECT& bounds = IRECT());
  void AttachTextEntryControl();
  // A menu open in the popup-menu control when it is removed is answered with nothing chosen.
  // Where the platform has native menus, removing the control (attached or not yet) sends every
  // menu to them until a control is attached again.
  void RemovePopupMenuControl();
  bool PopupMenuControlWasRemoved() const { return mPopupControlRemoved; }
  void RemoveTextEntryControl();
  // The value bubble, kept apart from the list too: drawn above the controls and below an open
  // menu or text entry, never hit by the mouse. Attached on the first ShowBubbleControl.
  void AttachBubbleControl();
  void RemoveBubbleControl();
  IBubbleControlBase* GetBubbleControl() const { return mBubbleControl.get(); }
  IPopupMenuControlBase* GetPopupMenuControl() const { return mPopupControl.get(); }
  ITextEntryControlBase* GetTextEntryControl() const { return mTextEntryControl.get(); }

  // --- Values from the delegate ---
  // Gives value to every control with a slot bound to the parameter (never runs actions).
  void SendParameterValueFromDelegate(int paramIdx, double value, bool normalized);
  void SendControlMsgFromDelegate(int ctrlTag, int msgTag, int dataSize, const void* data);
  void SendMidiMsgFromDelegate(const IMidiMsg& msg);
  // Gives the value of the caller's slot to every other control bound to the same parameter.
  void UpdatePeers(IControl* caller, int callerValIdx);

  // --- Frame cycle ---
  // Runs every animation, collects the rectangles of dirty controls and marks them clean, in
  // list order. True when anything is to be drawn. Only the controls marked dirty since the
  // last frame, the animating ones and those asking to be tested every frame are looked at: a
  // frame costs what is dirty, not what is attached.
  bool IsDirty(IRECTList& rects);
  // Draws each control meeting a region, clipped to it, in attach order, then the popup-menu and
  // text-entry controls on top. The controls a region meets are found through a grid of them.
  void Draw(IRECTList& rects);
  // IsDirty then Draw: one frame of the redraw timer.
  bool DrawFrame();

  // --- Mouse, wheel and keys ---
  void OnMouseDown(float x, float y, const IMouseMod& mod);
  void OnMouseUp(float x, float y, const IMouseMod& mod);
  void OnMouseDrag(float x, float y, float dX, float dY, const IMouseMod& mod);
  bool OnMouseDblClick(float x, float y, const IMouseMod& mod);
  bool OnMouseOver(float x, float y, const IMouseMod& mod);
  void OnMouseOut();
  void OnMouseWheel(float x, float y, const IMouseMod& mod, float delta);
  bool OnKeyDown(float x, float y, const IKeyPress& key);
  bool OnKeyUp(float x, float y, const IKeyPress& key);
  void OnTouchCancelled(float x, float y, const IMouseMod& mod);
  void OnDrop(const char* str, float x, float y);
  bool OnGestureRecognized(const IGestureInfo& info);

  // The topmost control hit at (x, y) by the click test or, with mouseOver, the mouse-over test.
  IControl* GetMouseControl(float x, float y, bool mouseOver = false) const;
  IControl* GetMouseOver() const { return mMouseOver; }
  bool ControlIsCaptured() const { return !mCapturedMap.empty(); }
  bool ControlIsCaptured(const IControl* control) const;
  IControl* GetCapturedControl(int64_t touchID = 0) const;
  // Forgets every held control and shows a hidden cursor again.
  void ReleaseMouseCapture();
  // Where the last press happened.
  void GetMouseDownPoint(float& x, float& y) const {
    x = mMouseDownX;
    y = mMouseDownY;
  }
  // Asks the platform to recognise a gesture type (kept in a set the platform reads).
  void AttachGestureRecognizer(int gestureType);
  const std::set<int>& GetRegisteredGestures() const { return mRegisteredGestures; }

  // --- Prompts, popup menus and text entry ---
  // A menu of the parameter's display texts, or a text entry of its value.
  void PromptUserInput(IControl& control, const IRECT& bounds, int valIdx = 0);
  void CreatePopupMenu(IControl& control, IPopupMenu& menu, const IRECT& bounds, int valIdx = 0,
                       bool isContext = false);
  void CreatePopupMenuForControl(IControl& control, IPopupMenu& menu, const IRECT& bounds,
                                 int valIdx = 0) {
    CreatePopupMenu(control, menu, bounds, valIdx, false);
  }
  void CreateTextEntry(IControl& control, const IText& text, const IRECT& bounds,
                       const char* str = "", int valIdx = 0);
  // The answer of a popup menu: the menu that holds the chosen item (or null).
  void SetControlValueAfterPopupMenu(IPopupMenu* menu);
  // The answer of a text entry.
  void SetControlValueAfterTextEdit(const char* str);
  IControl* GetControlInTextEntry() const { return mInTextEntry; }
  int GetTextEntryValIdx() const { return mTextEntryValIdx; }
  // Forgets the requester of the text entry, whose edit ended without an answer; the gesture of
  // the press that opened the edit ends here.
  void ClearInTextEntryControl();
  IControl* GetControlInPopupMenu() const { return mInPopupMenu; }
  IPopupMenu& GetPromptPopupMenu() { return mPromptPopupMenu; }
  const PlatformTextEntry& GetPlatformTextEntry() const { return mPlatformTextEntry; }

  // --- Platform services (the platform form overrides them) ---
  // True on the thread that draws and handles events; work asked for on another thread waits
  // for the next frame there.
  static bool IsMainThread();
  virtual void HideMouseCursor(bool hide = true, bool lock = true);
  bool IsCursorHidden() const { return mCursorHidden; }
  virtual void SetMouseCursor(int cursor = 0) { mCursor = cursor; }
  int GetMouseCursor() const { return mCursor; }
  virtual bool GetTextFromClipboard(WDL_String& str) { return false; }
  virtual bool SetTextInClipboard(const char* str) { return false; }
  virtual void UpdateTooltips() {}
  // Opens a web address or a file; false where the platform cannot (the default).
  virtual bool OpenURL(const char* url, const char* msgWindowTitle = nullptr,
                       const char* confirmMsg = nullptr, const char* errMsgOnFailure = nullptr) {
    return false;
  }
  // Runs the platform colour chooser; false where there is none (the default) or on cancel.
  virtual bool PromptForColor(const IColor& color, const char* str = "",
                              IColorPickerHandlerFunc func = nullptr) {
    return false;
  }
  // Shows the value bubble with str, pointing at (x, y), for the caller (an attached control or
  // null). A null text, a point that is not finite or a caller not attached shows nothing.
  virtual void ShowBubbleControl(IControl* caller, float x, float y, const char* str,
                                 EDirection dir = EDirection::Horizontal,
                                 const IRECT& minimumContentBounds = IRECT());

  // --- Resources ---
  virtual IBitmap LoadBitmap(const char* name, int nStates = 1, bool framesAreHorizontal = false,
                             int targetScale = 0) {
    return IBitmap();
  }
  virtual ISVG LoadSVG(const char* name) { return ISVG(); }
  // The bitmap again at the screen scale rounded up.
  IBitmap GetScaledBitmap(const IBitmap& src);

  // --- Drawing primitives (a null blend draws plainly) ---
  virtual void DrawBitmap(const IBitmap& bitmap, const IRECT& dest, int srcX, int srcY,
                          const IBlend* blend = nullptr) = 0;
  virtual void DrawRotatedBitmap(const IBitmap& bitmap, float destCtrX, float destCtrY,
                                 double angle, const IBlend* blend = nullptr) = 0;
  virtual void DrawSVG(const ISVG& svg, const IRECT& bounds, const IBlend* blend = nullptr,
                       const IColor* strokeColor = nullptr, const IColor* fillColor = nullptr) = 0;
  virtual void DrawRotatedSVG(const ISVG& svg, float destCtrX, float destCtrY, float width,
                              float height, double angle, const IBlend* blend = nullptr) = 0;

  virtual void DrawLine(const IColor& color, float x1, float y1, float x2, float y2,
                        const IBlend* blend = nullptr, float thickness = 1.f) = 0;
  virtual void DrawTriangle(const IColor& color, float x1, float y1, float x2, float y2, float x3,
                            float y3, const IBlend* blend = nullptr, float thickness = 1.f) = 0;
  virtual void DrawRect(const IColor& color, const IRECT& bounds, const IBlend* blend = nullptr,
                        float thickness = 1.f) = 0;
  virtual void DrawRoundRect(const IColor& color, const IRECT& bounds, float cornerRadius,
                             const IBlend* blend = nullptr, float thickness = 1.f) = 0;
  virtual void DrawRoundRect(const IColor& color, const IRECT& bounds, float cRTL, float cRTR,
                             float cRBR, float cRBL, const IBlend* blend = nullptr,
                             float thickness = 1.f) = 0;
  // Angles in degrees clockwise from 12 o'clock.
  virtual void DrawArc(const IColor& color, float cx, float cy, float r, float a1, float a2,
                       const IBlend* blend = nullptr, float thickness = 1.f) = 0;
  virtual void DrawCircle(const IColor& color, float cx, float cy, float r,
                          const IBlend* blend = nullptr, float thickness = 1.f) = 0;
  virtual void DrawEllipse(const IColor& color, const IRECT& bounds, const IBlend* blend = nullptr,
                           float thickness = 1.f) = 0;

  virtual void FillTriangle(const IColor& color, float x1, float y1, float x2, float y2, float x3,
                            float y3, const IBlend* blend = nullptr) = 0;
  virtual void FillRect(const IColor& color, const IRECT& bounds,
                        const IBlend* blend = nullptr) = 0;
  virtual void FillRoundRect(const IColor& color, const IRECT& bounds, float cornerRadius,
                             const IBlend* blend = nullptr) = 0;
  virtual void FillRoundRect(const IColor& color, const IRECT& bounds, float cRTL, float cRTR,
                             float cRBR, float cRBL, const IBlend* blend = nullptr) = 0;
  virtual void FillCircle(const IColor& color, float cx, float cy, float r,
                          const IBlend* blend = nullptr) = 0;
  virtual void FillEllipse(const IColor& color, const IRECT& bounds,
                           const IBlend* blend = nullptr) = 0;

  // A soft shadow of the rounded inner box, offset and blurred over the outer box.
  virtual void DrawBoxShadow(const IRECT& inner, const IRECT& outer, const IBlend* blend,
                             float xOffset, float yOffset, float cornerRadius, float blur) = 0;

  // Text in a rectangle placed by the style's alignment; an empty string draws nothing.
  virtual void DrawText(const IText& text, const char* str, const IRECT& bounds,
                        const IBlend* blend = nullptr) = 0;
  // The string's width; bounds becomes its box placed inside bounds by the style's alignment.
  // An empty string gives an empty rectangle and 0.
  virtual float MeasureText(const IText& text, const char* str, IRECT& bounds) const = 0;

  // Paths.
  virtual void PathClear() = 0;
  virtual void PathClose() = 0;
  virtual void PathMoveTo(float x, float y) = 0;
  virtual void PathLineTo(float x, float y) = 0;
  virtual void PathArc(float cx, float cy, float r, float a1, float a2,
                       EWinding winding = EWinding::CW) = 0;
  virtual void PathRect(const IRECT& bounds) = 0;
  virtual void PathRoundRect(const IRECT& bounds, float cornerRadius) = 0;
  virtual void PathCircle(float cx, float cy, float r) = 0;
  virtual void PathEllipse(const IRECT& bounds) = 0;
  virtual void PathTriangle(float x1, float y1, float x2, float y2, float x3, float y3) = 0;
  virtual void PathFill(const IPattern& pattern, const IFillOptions& options = IFillOptions(),
                        const IBlend* blend = nullptr) = 0;
  virtual void PathStroke(const IPattern& pattern, float thickness,
                          const IStrokeOptions& options = IStrokeOptions(),
                          const IBlend* blend = nullptr) = 0;
  virtual void PathTransformSave() = 0;
  virtual void PathTransformRestore() = 0;
  virtual void PathTransformTranslate(float x, float y) = 0;
  virtual void PathTransformRotate(float angle) = 0;
  virtual void PathTransformScale(float s) = 0;

  // Limits drawing to r within the region being drawn (the whole region for an empty r).
  void PathClipRegion(const IRECT& r = IRECT());

  // --- Layers ---
  // Redirects drawing into an off-screen layer over r; EndLayer hands it back.
  void StartLayer(IControl* control, const IRECT& r);
  ILayerPtr EndLayer();
  // True while the layer can be drawn as it is (the owner's rectangle and the scale unchanged,
  // not marked invalid).
  bool CheckLayer(const ILayerPtr& layer);
  void DrawLayer(const ILayerPtr& layer, const IBlend* blend = nullptr);

  // --- Composite drawing ---
  // Frame 1..N of a multi-frame bitmap.
  void DrawBitmapFrame(const IBitmap& bitmap, const IRECT& bounds, int frame,
                       const IBlend* blend = nullptr);
  // Text drawn from a bitmap holding one frame per character (frame = code - 31).
  void DrawBitmapedText(const IBitmap& bitmap, const IRECT& bounds, const IText& text,
                        const IBlend* blend, const char* str, bool vCentre = true,
                        bool multiline = false, int charWidth = 6, int charHeight = 12,
                        int charOffset = 0);
  void DrawGrid(const IColor& color, const IRECT& bounds, float gridSizeH, float gridSizeV,
                const IBlend* blend = nullptr, float thickness = 1.f);
  void DrawData(const IColor& color, const IRECT& bounds, const float* normYPoints, int nPoints,
                const float* normXPoints = nullptr, const IBlend* blend = nullptr,
                float thickness = 1.f);
  // A line across bounds at a normalised position (0..1; y counted from the bottom).
  void DrawVerticalLine(const IColor& color, const IRECT& bounds, float x,
                        const IBlend* blend = nullptr, float thickness = 1.f);
  void DrawHorizontalLine(const IColor& color, const IRECT& bounds, float y,
                          const IBlend* blend = nullptr, float thickness = 1.f);

 protected:
  // The region the frame is drawing now (the whole editor outside a frame).
  const IRECT& GetClipRECT() const { return mClipRECT; }

  // Hooks of the renderer.
  // The screen scale changed; every control is redrawn next.
  virtual void ScaleChanged() {}
  virtual void BeginFrame(const IRECTList& rects) {}
  virtual void EndFrame() {}
  // Sets the effective clip, already limited to the region and layer being drawn; a rectangle
  // without area clips everything.
  virtual void SetClipRegion(const IRECT& r) = 0;
  // Starts drawing into a new off-screen surface over r; false when none can be made.
  virtual bool BeginLayerDrawing(const IRECT& r) { return false; }
  // Ends the innermost off-screen surface and hands it over (null when none).
  virtual ILayerPtr EndLayerDrawing() { return nullptr; }
  virtual void DrawLayerBitmap(const ILayer& layer, const IBlend* blend) {}
  // True when the layer's pixels still fit bounds at the current scale.
  virtual bool LayerFits(const ILayer& layer, const IRECT& bounds) const {
    return layer.Bounds() == bounds;
  }
  // True when menus go to the platform's native menu while no popup-menu control is attached.
  // When false the popup-menu control is attached on the first request (when the application
  // has not attached it) and shows every popup.
  virtual bool HasPlatformPopupMenu() const { return false; }
  // The native menu: shows it and returns the menu holding the chosen item (the menu itself
  // with chosen index -1 when nothing was chosen). The default chooses nothing.
  virtual IPopupMenu* CreatePlatformPopupMenu(IPopupMenu& menu, const IRECT& bounds);
  // True when the platform has a native text field. Linux has none: the text-entry control is
  // then attached on the first text prompt (when the application has not attached it) and edits
  // every one.
  virtual bool HasPlatformTextEntry() const { return false; }
  // The native text field. The default records the request; the answer comes back through
  // SetControlValueAfterTextEdit.
  virtual void CreatePlatformTextEntry(int paramIdx, const IText& text, const IRECT& bounds,
                                       int length, const char* str);

 private:
  friend class IControl;

  struct ControlEntry {
    std::unique_ptr<IControl> control;
    int tag = kNoTag;
  };

 protected:
  // Keeps removed controls, and a context released meanwhile, alive until the outermost event
  // or frame that may still be using them has returned. The context may be deleted on leaving
  // the outermost scope: nothing of it is touched after that.
  class DispatchScope {
   public:
    explicit DispatchScope(IGraphics& g) : mG(g) { ++mG.mDispatchDepth; }
    ~DispatchScope() {
      if (--mG.mDispatchDepth > 0) return;
      mG.mRemovedControls.clear();
      if (mG.mReleasedSelf) Delete(std::move(mG.mReleasedSelf));
    }
    DispatchScope(const DispatchScope&) = delete;
    DispatchScope& operator=(const DispatchScope&) = delete;

   private:
    IGraphics& mG;
  };

 private:
  // Deletes a released context, then runs what was to follow its deletion.
  static void Delete(std::unique_ptr<IGraphics> graphics);
  void ForgetControl(IControl* control);
  void DisposeControl(std::unique_ptr<IControl> control);
  void BeginGesture(IControl* control);
  void EndGesture(IControl* control);
  void DrawControl(IControl* control, const IRECT& region);

  // The frame cycle's bookkeeping of the listed controls (IGraphicsFrame.cpp). Attached and
  // removed controls join and leave it; a control tells it when it turns dirty, starts an
  // animation or moves.
  void ListControl(IControl& control);
  void UnlistControl(IControl& control);
  void NoteDirty(IControl& control);
  void NoteAnimating(IControl& control);
  void NoteMoved(IControl& control);
  void AddToList(std::vector<IControl*>& list, int IControl::FrameState::*pos, IControl& control);
  void DropFromList(std::vector<IControl*>& list, int IControl::FrameState::*pos,
                    IControl& control);
  // List order, by the controls' order stamps; sorting also drops repeats and removed (null)
  // entries.
  static bool ComesBefore(const IControl* a, const IControl* b);
  static void SortIntoListOrder(std::vector<IControl*>& controls);
  // Visits the controls of the given lists once each, in list order; see IGraphicsFrame.cpp.
  template <typename Visit>
  void WalkInListOrder(std::initializer_list<const std::vector<IControl*>*> lists, Visit&& visit);
  bool PopupMenuIsOpen() const;
  bool TextEntryIsEditing() const;
  bool OpenContextMenu(IControl& control, float x, float y);
  // Hands a popup menu's answer to the control that asked, and ends its press's gesture.
  void ReportPopupMenuResult(IControl& control, int valIdx, bool isContext, IPopupMenu* menu);

  IEditorDelegate& mDelegate;
  int mWidth;
  int mHeight;
  int mFPS;
  float mDrawScale;
  float mScreenScale;

  std::vector<ControlEntry> mControls;
  std::unordered_map<int, IControl*> mTaggedControls;
  std::unique_ptr<IPopupMenuControlBase> mPopupControl;
  bool mPopupControlRemoved = false;
  std::unique_ptr<ITextEntryControlBase> mTextEntryControl;
  std::unique_ptr<IBubbleControlBase> mBubbleControl;
  int mDispatchDepth = 0;
  bool mClosed = false;
  // The context owns itself from its release during an event until that event returns.
  std::unique_ptr<IGraphics> mReleasedSelf;
  std::function<void()> mWhenDeleted;
  std::vector<std::unique_ptr<IControl>> mRemovedControls;

  std::unordered_map<int64_t, IControl*> mCapturedMap;
  std::unordered_set<IControl*> mControlsInGesture;
  IControl* mMouseOver = nullptr;
  float mMouseDownX = 0.f;
  float mMouseDownY = 0.f;
  std::set<int> mRegisteredGestures;

  IPopupMenu mPromptPopupMenu;
  IControl* mInPopupMenu = nullptr;
  int mPopupMenuValIdx = kNoValIdx;
  bool mIsContextMenu = false;
  IControl* mInTextEntry = nullptr;
  int mTextEntryValIdx = kNoValIdx;
  PlatformTextEntry mPlatformTextEntry;

  bool mCursorHidden = false;
  bool mCursorLock = false;
  int mCursor = 0;

  struct OpenLayer {
    IControl* control;
    IRECT bounds;
  };
  IRECT mClipRECT;
  std::vector<OpenLayer> mLayers;  // layers being drawn, innermost last

  // The frame cycle's lists: unordered, each control knowing its place in them; a control may
  // stay listed after it turned clean or its animation ended, until the next frame drops it.
  std::vector<IControl*> mDirtyControls;
  std::vector<IControl*> mAnimatingControls;
  std::uint64_t mNextOrder = 1;
  std::uint64_t mListAdditions = 0;  // counts controls joining either list
  // The lists belong to the drawing thread: a control marked dirty, animated or moved on
  // another thread only sets this, and the next frame looks at every control.
  std::atomic<bool> mChangedElsewhere{false};
  // The controls still to visit of each walk in progress, outermost first.
  std::vector<std::vector<IControl*>> mWalks;
  std::size_t mWalkDepth = 0;
  ControlGrid mGrid;
  int mGridLaidOutFor = 0;  // the control count the grid's cells were spread for
  // Each frame's controls by region, kept between frames so a steady frame rate allocates
  // nothing.
  std::vector<IControl*> mByRegion;
  std::vector<std::size_t> mRegionStart;
};

}  // namespace igraphics
}  // namespace iplug
