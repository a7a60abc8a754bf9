#pragma once

// Marks a place on a screen under construction: a white box crossed by two red diagonals, with
// its position and size printed on it and a caption that a double click edits.

#include "controls/ITextControl.h"

namespace iplug {
namespace igraphics {

class PlaceHolder : public ITextControl {
 public:
  // Bytes of each of the position and size texts, the terminating zero included.
  static constexpr int kMaxInfoLen = 32;
  static constexpr float kCaptionSize = 20.f;

  PlaceHolder(const IRECT& bounds, const char* str = "Place Holder");
  ~PlaceHolder() override = default;

  void OnMouseDblClick(float x, float y, const IMouseMod& mod) override;
  void OnResize() override;
  void OnTextEntryCompletion(const char* str, int valIdx) override;
  void Draw(IGraphics& g) override;

  const char* GetPositionStr() const { return mTLGCStr.Get(); }
  const char* GetWidthStr() const { return mWidthStr.Get(); }
  const char* GetHeightStr() const { return mHeightStr.Get(); }
  const IRECT& GetCaptionBounds() const { return mCaptionBounds; }

 private:
  // Draws str with its measured box, moved to (x, y), filled first with the background.
  void DrawInfo(IGraphics& g, const IText& style, const char* str, float x, float y,
                float fillWeight);

  IRECT mCaptionBounds;
  WDL_String mTLGCStr;
  WDL_String mWidthStr;
  WDL_String mHeightStr;
  IText mTLHCText = IText().WithAlign(EAlign::Near);
  IText mWidthText;
  IText mHeightText = IText().WithAngle(270.f);
};

}  // namespace igraphics
}  // namespace iplug
