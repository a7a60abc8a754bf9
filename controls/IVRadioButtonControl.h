#pragma once

// A tab switch drawn as a list of radio buttons: each state is a row with a small shape in an
// area at its left and its text beside it, the selected row's text in the pressed colour. A
// click anywhere on a row selects it, or only on its button when buttons alone respond.

#include "controls/IVTabSwitchControl.h"

namespace iplug {
namespace igraphics {

class IVRadioButtonControl : public IVTabSwitchControl {
 public:
  static constexpr float kDefaultButtonSize = 10.f;
  // The area left of each text that holds the button is this many button sizes wide.
  static constexpr float kButtonAreaWidthFactor = 3.f;

  // As the tab switch; a buttonSize that is negative, or too large for its button area to be
  // finite, is replaced by kDefaultButtonSize with a diagnostic.
  IVRadioButtonControl(const IRECT& bounds, int paramIdx = kNoParameter,
                       std::initializer_list<const char*> options = {}, const char* label = "",
                       const IVStyle& style = DEFAULT_STYLE, int shape = kVShapeEllipse,
                       EDirection direction = EDirection::Vertical,
                       float buttonSize = kDefaultButtonSize);
  IVRadioButtonControl(const IRECT& bounds, IActionFunction actionFunc,
                       std::initializer_list<const char*> options = {}, const char* label = "",
                       const IVStyle& style = DEFAULT_STYLE, int shape = kVShapeEllipse,
                       EDirection direction = EDirection::Vertical,
                       float buttonSize = kDefaultButtonSize);

  void DrawWidget(IGraphics& g) override;
  int GetButtonForPoint(float x, float y) const override;

  // With only set, a row is selected by a click on its button area alone, not on its text.
  void SetOnlyButtonsRespondToMouse(bool only) { mOnlyButtonsRespondToMouse = only; }
  bool GetOnlyButtonsRespondToMouse() const { return mOnlyButtonsRespondToMouse; }
  float GetButtonSize() const { return mButtonSize; }
  float GetButtonAreaWidth() const { return mButtonAreaWidth; }
  // The button of row k: a square of the button size (at least 1) in the row's button area.
  IRECT GetRadioButtonRect(int k) const;

 private:
  void SetButtonSize(float size);

  float mButtonSize = kDefaultButtonSize;
  float mButtonAreaWidth = kButtonAreaWidthFactor * kDefaultButtonSize;
  bool mOnlyButtonsRespondToMouse = false;
};

}  // namespace igraphics
}  // namespace iplug
