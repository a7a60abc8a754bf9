#pragma once

// A bounded real number shown in a framed readout with "+" and "-" buttons beside it. The number
// changes by dragging vertically on the readout (finer with Shift or Control), by the wheel, by
// the buttons (one large step, 100 ms after the press, when the splash ends) and by typing after
// a double click on the readout. Bound to a parameter, every change goes to the parameter and
// values from the parameter side are shown.
//
// The readout and the two buttons are ordinary controls that the box attaches to the graphics
// context when it is attached itself; the context owns them. Until then they are null. When the
// box is deleted it removes them from the context, so no button outlives the box it steps.

#include <array>

#include "controls/IVButtonControl.h"
#include "controls/IVLabelControl.h"
#include "controls/IVectorBase.h"
#include "framework/WDLString.h"
#include "graphics/IControl.h"

namespace iplug {
namespace igraphics {

class IVNumberBoxControl : public IControl, public IVectorBase {
 public:
  static constexpr double kLargeIncrement = 1.0;
  // The fine step is the single-precision 0.1 widened to double.
  static constexpr double kSmallIncrement = static_cast<double>(0.1f);
  // Longest readout text, in bytes.
  static constexpr int kReadoutMaxLength = 32;
  // The format used when the caller's is not exactly one floating-point conversion.
  static constexpr const char* kFallbackFormat = "%g";
  // Share of the widget's width the readout takes; the buttons take the rest.
  static constexpr float kReadoutWidthFraction = 0.75f;

  // fmtStr must hold exactly one floating-point conversion (such as "%0.1f" or "%g dB"); any
  // other format, null included, is replaced by kFallbackFormat with a diagnostic. A null label
  // counts as empty.
  IVNumberBoxControl(const IRECT& bounds, int paramIdx = kNoParameter,
                     IActionFunction actionFunc = nullptr, const char* label = "",
                     const IVStyle& style = DEFAULT_STYLE, const char* fmtStr = "%0.2f",
                     double defaultValue = 50., double minValue = 1., double maxValue = 100.);
  ~IVNumberBoxControl() override;

  void OnMouseDown(float x, float y, const IMouseMod& mod) override;
  void OnMouseUp(float x, float y, const IMouseMod& mod) override;
  void OnMouseDrag(float x, float y, float dX, float dY, const IMouseMod& mod) override;
  // Over the readout: opens text entry prefilled with the readout's text.
  void OnMouseDblClick(float x, float y, const IMouseMod& mod) override;
  void OnMouseWheel(float x, float y, const IMouseMod& mod, float d) override;
  void OnResize() override;
  // Bound: the range becomes the parameter's and the value its current value.
  void OnInit() override;
  void OnAttached() override;
  // Text that does not start with a finite number leaves the value as it is.
  void OnTextEntryCompletion(const char* str, int valIdx) override;
  void Draw(IGraphics& g) override;
  void SetValueFromDelegate(double value, int valIdx = 0) override;
  void SetValueFromUserInput(double value, int valIdx = 0) override;
  void Hide(bool hide) override;
  void SetDisabled(bool disable) override;
  void SetStyle(const IVStyle& style) override;

  // Every local change passes here: the value is clamped to the bounds, shown, and (unless
  // preventAction) sent to the parameter with the action run.
  void OnValueChanged(bool preventAction = false);

  // The value in real units.
  double GetRealValue() const { return mRealValue; }
  double GetMinValue() const { return mMinValue; }
  double GetMaxValue() const { return mMaxValue; }
  const char* GetFormat() const { return mFmtStr.Get(); }
  bool GetHideCursor() const { return mHideCursor; }
  void SetHideCursor(bool hide) { mHideCursor = hide; }

  IVLabelControl* GetReadout() const { return mTextReadout; }
  IVButtonControl* GetIncButton() const { return mIncButton; }
  IVButtonControl* GetDecButton() const { return mDecButton; }

 private:
  struct Layout {
    IRECT readout, inc, dec;
  };
  // The readout and the two buttons; each may be null.
  std::array<IControl*, 3> Children() const { return {mTextReadout, mIncButton, mDecButton}; }
  // The readout and button rectangles inside the widget area.
  Layout LayoutChildren() const;
  // min(max, max(min, v)): a minimum above the maximum yields the maximum.
  double ClampToBounds(double v) const;
  // The step of a drag or wheel event.
  double StepFor(const IMouseMod& mod) const;
  void ShowValue(double v);
  // Takes a normalised value from the parameter side into the real value and the readout.
  void TakeNormalizedValue(double value);
  bool IsBound() const { return GetParam(0) != nullptr; }
  // Ends the gesture a press opened, when one is open.
  void EndParamGesture();

  IActionFunction mIncrementFunc;
  IActionFunction mDecrementFunc;
  IVLabelControl* mTextReadout = nullptr;
  IVButtonControl* mIncButton = nullptr;
  IVButtonControl* mDecButton = nullptr;
  WDL_String mFmtStr;
  double mLargeIncrement = kLargeIncrement;
  double mSmallIncrement = kSmallIncrement;
  double mMinValue;
  double mMaxValue;
  double mRealValue;
  bool mHideCursor = true;
  // The parameter whose gesture a press opened and its release has not ended yet, or none.
  int mGestureParamIdx = kNoParameter;
};

}  // namespace igraphics
}  // namespace iplug
