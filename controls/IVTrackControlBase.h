#pragma once

// The base of vector controls with several values drawn as tracks side by side (vertical) or
// stacked (horizontal), one per value, each bound to its own parameter. Optional steps divide
// the track area into bands that values snap their drawn span to; a baseline makes the span run
// from it rather than from the track's start. Subclasses draw; the base lays out and hit-tests.

#include <initializer_list>
#include <vector>

#include "controls/IVectorBase.h"
#include "framework/WDLString.h"
#include "graphics/IControl.h"

namespace iplug {
namespace igraphics {

class IVTrackControlBase : public IControl, public IVectorBase {
 public:
  // One value per entry of params, bound to it; one name per entry of trackNames (a null name
  // counts as empty). A negative step count counts as none.
  IVTrackControlBase(const IRECT& bounds, const char* label, const IVStyle& style,
                     std::initializer_list<int> params, int nSteps = 0,
                     EDirection dir = EDirection::Vertical,
                     std::initializer_list<const char*> trackNames = {});

  void OnMouseOver(float x, float y, const IMouseMod& mod) override;
  void OnMouseOut() override;
  void OnResize() override;
  // The first track holding the point, else -1.
  int GetValIdxForPos(float x, float y) const override;
  // A control without values has nothing to hit.
  bool IsHit(float x, float y) const override;

  void DrawWidget(IGraphics& g) override;
  // Clear, with the baseline across it when there is one.
  void DrawBackground(IGraphics& g, const IRECT& r) override;
  virtual void DrawTrack(IGraphics& g, const IRECT& r, int chIdx);
  virtual void DrawTrackBackground(IGraphics& g, const IRECT& r, int chIdx);
  virtual void DrawTrackName(IGraphics& g, const IRECT& r, int chIdx);
  virtual void DrawTrackHandle(IGraphics& g, const IRECT& r, int chIdx, bool aboveBaseline);
  virtual void DrawTrackMarker(IGraphics& g, const IRECT& r, int chIdx, bool aboveBaseline);
  virtual void MakeTrackRects(const IRECT& bounds);
  // nSteps (+1 with the extra step) equal bands across bounds, last first; none for 0.
  virtual void MakeStepRects(const IRECT& bounds, int nSteps);

  EDirection GetDirection() const { return mDirection; }
  int NTracks() const { return NVals(); }
  const IRECT& GetTrackBounds(int chIdx) const;
  const std::vector<IRECT>& GetStepBounds() const { return mStepBounds; }
  const char* GetTrackName(int chIdx) const;
  int GetStepCount() const { return mNSteps; }
  void SetHighlightedTrack(int chIdx) {
    mHighlightedTrack = chIdx;
    SetDirty(false);
  }
  int GetHighlightedTrack() const { return mHighlightedTrack; }
  int GetMouseOverTrack() const { return mMouseOverTrack; }
  void SetBaseValue(double value) {
    mBaseValue = value;
    SetDirty(false);
  }
  void SetTrackPadding(float padding) { mTrackPadding = padding; }
  void SetMarkerSize(float size) { mMarkerSize = size; }
  void SetDrawTrackFrame(bool draw) { mDrawTrackFrame = draw; }
  void SetZeroValueStepHasBounds(bool has) { mZeroValueStepHasBounds = has; }

 protected:
  EDirection mDirection;
  std::vector<IRECT> mTrackBounds;
  std::vector<IRECT> mStepBounds;
  std::vector<WDL_String> mTrackNames;
  int mNSteps;
  float mTrackPadding = 0.f;
  float mMarkerSize = 1.f;
  int mHighlightedTrack = -1;
  int mMouseOverTrack = -1;
  double mBaseValue = 0.;
  bool mDrawTrackFrame = true;
  bool mZeroValueStepHasBounds = true;
};

}  // namespace igraphics
}  // namespace iplug
