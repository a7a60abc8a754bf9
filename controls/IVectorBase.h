#pragma once

// The vector-style part of a vector-drawn control: its IVStyle, the label and value strings and
// rectangles, the pressable shapes it draws and the splash of a click. A control derives from
// its control base and from this, in that order, and calls AttachIControl in its constructor.

#include "framework/WDLString.h"
#include "graphics/IControl.h"
#include "graphics/IGraphicsStructs.h"

namespace iplug {
namespace igraphics {

class IGraphics;

class IVectorBase {
 public:
  // The shapes of DrawPressableShape.
  enum EVShape {
    kVShapeRectangle = 0,
    kVShapeEllipse,
    kVShapeTriangle,
    kVShapeEndsRounded,
    kVShapeAllRounded
  };

  static constexpr float kDefaultMaxSplashRadius = 50.f;
  static constexpr float kDefaultTrackSize = 2.f;
  static constexpr float kDefaultValueDisplayFrac = 0.66f;

  explicit IVectorBase(const IVStyle& style, bool labelInWidget = false,
                       bool valueInWidget = false);
  virtual ~IVectorBase() = default;
  IVectorBase(const IVectorBase&) = delete;
  IVectorBase& operator=(const IVectorBase&) = delete;

  // Links the owner control, whose blend and graphics context the drawing uses.
  void AttachIControl(IControl* control, const char* label = "");

  virtual void SetStyle(const IVStyle& style) { mStyle = style; }
  virtual void DrawBackground(IGraphics& g, const IRECT& r);
  virtual void DrawWidget(IGraphics& g) {}
  virtual void DrawLabel(IGraphics& g);
  virtual void DrawValue(IGraphics& g, bool mouseOver);
  // Rectangle (0, 4), ellipse (1), triangle (2), rectangle with the top corners rounded (3).
  virtual void DrawPressableShape(IGraphics& g, int shape, const IRECT& bounds, bool pressed,
                                  bool mouseOver, bool disabled);

  // A pressable rectangle whose corners (top-left, top-right, bottom-right, bottom-left) are
  // rounded by half its smaller side times the style's roundness when their flag is set.
  IRECT DrawPressableRectangle(IGraphics& g, const IRECT& bounds, bool pressed, bool mouseOver,
                               bool disabled, bool tl = true, bool tr = true, bool br = true,
                               bool bl = true);
  IRECT DrawPressableEllipse(IGraphics& g, const IRECT& bounds, bool pressed, bool mouseOver,
                             bool disabled);
  // A triangle pointing up inside bounds, turned clockwise by angle degrees about its centre.
  IRECT DrawPressableTriangle(IGraphics& g, const IRECT& bounds, bool pressed, bool mouseOver,
                              bool disabled, float angle);
  // The splash of a click: a circle of the current radius at the splash point, clipped to clip.
  void DrawSplash(IGraphics& g, const IRECT& clip);

  // Lays out label, widget and value rectangles inside parent and returns the clickable area.
  IRECT MakeRects(const IRECT& parent, bool hasHandle = false);

  const IVStyle& GetStyle() const { return mStyle; }
  const IColor& GetColor(EVColor color) const { return mStyle.colorSpec.GetColor(color); }
  void SetColor(EVColor color, const IColor& c);
  void SetColors(const IVColorSet& colors);
  void SetLabelStr(const char* str);
  void SetValueStr(const char* str);
  const char* GetLabelStr() const { return mLabelStr.Get(); }
  const char* GetValueStr() const { return mValueStr.Get(); }
  void SetShape(int shape);
  int GetShape() const { return mShape; }
  float GetRoundedCornerRadius(const IRECT& bounds) const;

  void SetSplashPoint(float x, float y) {
    mSplashX = x;
    mSplashY = y;
  }
  void SetSplashRadius(float radius) { mSplashRadius = std::isfinite(radius) ? radius : 0.f; }
  float GetSplashRadius() const { return mSplashRadius; }
  float GetMaxSplashRadius() const { return mMaxSplashRadius; }
  void GetSplashPoint(float& x, float& y) const {
    x = mSplashX;
    y = mSplashY;
  }

  // True when the style shows the value and (x, y) is on the value text.
  bool IsOnValueText(float x, float y) const {
    return mStyle.showValue && mValueBounds.Contains(x, y);
  }
  // The value text becomes the parameter's display text of the normalised value, then a blank
  // and the parameter's unit when it has one.
  void SetValueStrFromParam(const IParam& param, double normalized);
  // A bound control's first look: its value as text, and the parameter's name for an empty label.
  void InitFromParam(const IParam& param, double normalized);

  const IRECT& GetWidgetBounds() const { return mWidgetBounds; }
  const IRECT& GetLabelBounds() const { return mLabelBounds; }
  const IRECT& GetValueBounds() const { return mValueBounds; }
  float GetTrackSize() const { return mTrackSize; }
  void SetTrackSize(float size) {
    if (std::isfinite(size) && size >= 0.f) mTrackSize = size;
  }

 protected:
  const IBlend* OwnerBlend() const { return mControl ? &mControl->GetBlend() : nullptr; }
  // Redraws the owner after a change of look.
  void DirtyOwner() {
    if (mControl) mControl->SetDirty(false);
  }

  IControl* mControl = nullptr;
  IVStyle mStyle;
  bool mLabelInWidget = false;
  bool mValueInWidget = false;
  float mSplashRadius = 0.f;
  float mSplashX = 0.f, mSplashY = 0.f;
  float mMaxSplashRadius = kDefaultMaxSplashRadius;
  float mTrackSize = kDefaultTrackSize;
  float mValueDisplayFrac = kDefaultValueDisplayFrac;
  IRECT mWidgetBounds;
  IRECT mLabelBounds;
  IRECT mValueBounds;
  WDL_String mLabelStr;
  WDL_String mValueStr;
  int mShape = kVShapeRectangle;
};

}  // namespace igraphics
}  // namespace iplug
