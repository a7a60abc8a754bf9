#pragma once

// The value bubble: a small rounded callout with a text, pointing at a place beside a control.
// It stays while its control is held with the mouse and goes kHideDelayMs after the last call
// otherwise, so a stream of wheel steps keeps it up. It stays inside the editor, on the other
// side of the point when the preferred one has no room.

#include "framework/WDLString.h"
#include "graphics/IBubbleControlBase.h"

namespace iplug {
namespace igraphics {

class IBubbleControl : public IBubbleControlBase {
 public:
  static constexpr int kHideDelayMs = 500;
  // Length of the pointer from the body to the point, and half its width at the body.
  static constexpr float kArrowSize = 8.f;
  // Room between the text and the body's edge.
  static constexpr float kTextPadding = 5.f;
  static constexpr float kCornerRadius = 4.f;

  explicit IBubbleControl(const IText& text = DEFAULT_TEXT, const IColor& fillColor = COLOR_WHITE,
                          const IColor& strokeColor = COLOR_BLACK);

  // A null text or a point that is not finite shows nothing (and logs).
  void ShowBubble(IControl* caller, float x, float y, const char* str, EDirection dir,
                  const IRECT& minimumContentBounds) override;
  void HideBubble() override;
  IControl* GetCaller() const override { return mShowing ? mCaller : nullptr; }
  bool IsShowing() const override { return mShowing; }

  void Draw(IGraphics& g) override;
  // Redrawn when it changes, not on every frame its timer runs.
  bool IsDirty() override { return mDirty; }
  // Once its frame is collected the bubble covers only where it now is: the area it left was
  // collected with it and is redrawn by the controls beneath.
  void SetClean() override;

  const IRECT& GetBodyBounds() const { return mBody; }
  const char* GetStr() const { return mStr.Get(); }
  // The tip and the two base corners of the pointer.
  void GetArrow(float (&x)[3], float (&y)[3]) const;

 private:
  void Layout(float x, float y, EDirection dir, const IRECT& minimumContentBounds);
  // Keeps the bubble up while the caller is held; hides it once the delay has passed.
  void Tick();

  IControl* mCaller = nullptr;  // not owned; the graphics core hides the bubble when it goes
  WDL_String mStr;
  IColor mFillColor;
  IColor mStrokeColor;
  IRECT mBody;
  float mArrowX[3] = {0.f, 0.f, 0.f};
  float mArrowY[3] = {0.f, 0.f, 0.f};
  IRECT mArea;       // body and pointer
  IRECT mDrawnArea;  // what the last collected frame showed
  bool mShowing = false;
};

}  // namespace igraphics
}  // namespace iplug
