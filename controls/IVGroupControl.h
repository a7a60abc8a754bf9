#pragma once

// A rounded frame drawn around a set of other controls, its label sitting in a gap of the top
// edge. Given a group name, it sizes itself around the controls attached under that name. It
// never takes the mouse.

#include "controls/IVectorBase.h"
#include "framework/WDLString.h"

namespace iplug {
namespace igraphics {

class IVGroupControl : public IControl, public IVectorBase {
 public:
  static constexpr float kLabelPadding = 10.f;
  static constexpr float kDefaultLabelOffset = 10.f;

  // A frame with fixed bounds. A null label counts as empty.
  IVGroupControl(const IRECT& bounds, const char* label = "",
                 float labelOffset = kDefaultLabelOffset, const IVStyle& style = DEFAULT_STYLE);
  // A frame around the controls of groupName (null counts as ""), padded on each side; the
  // bounds are found when the frame is attached.
  IVGroupControl(const char* label, const char* groupName, float padL = 0.f, float padT = 0.f,
                 float padR = 0.f, float padB = 0.f, const IVStyle& style = DEFAULT_STYLE);
  ~IVGroupControl() override = default;

  void OnResize() override;
  void OnInit() override;
  void Draw(IGraphics& g) override;
  void DrawWidget(IGraphics& g) override;

  // Sizes the frame to the union of the draw rectangles of the group's controls (the frame
  // itself left out), grown by the paddings. With no such control the union is empty.
  void SetBoundsBasedOnGroup(const char* groupName, float padL, float padT, float padR, float padB);

  const char* GetGroupName() const { return mGroupName.Get(); }

 private:
  WDL_String mGroupName;
  float mPadL = 0.f, mPadT = 0.f, mPadR = 0.f, mPadB = 0.f;
  float mLabelOffset = kDefaultLabelOffset;
  float mLabelPadding = kLabelPadding;
};

}  // namespace igraphics
}  // namespace iplug
