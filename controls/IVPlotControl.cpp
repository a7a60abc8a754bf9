#include "controls/IVPlotControl.h"

#include <algorithm>
#include <cmath>

#include "graphics/IGraphics.h"

namespace iplug {
namespace igraphics {

IVPlotControl::IVPlotControl(const IRECT& bounds, std::initializer_list<Plot> plots, int numPoints,
                             const char* label, const IVStyle& style, bool useLayer, float min,
                             float max)
    : IControl(bounds),
      IVectorBase(style),
      mMin(min),
      mMax(max),
      mUseLayer(useLayer),
      mPoints(static_cast<size_t>(std::max(0, numPoints))) {
  AttachIControl(this, label);
  for (const Plot& plot : plots)
    AddPlotFunc(plot.color, plot.func);
}

void IVPlotControl::AddPlotFunc(const IColor& color, std::function<double(double)> func) {
  mPlots.push_back({color, std::move(func)});
  if (mLayer) mLayer->Invalidate();
  SetDirty(false);
}

void IVPlotControl::OnResize() {
  SetTargetRECT(MakeRects(mRECT, false));
  mMouseIsOver = false;
  SetDirty(false);
}

void IVPlotControl::Draw(IGraphics& g) {
  DrawBackground(g, mRECT);
  DrawLabel(g);
  if (!mUseLayer) {
    DrawPlot(g);
    return;
  }
  if (!g.CheckLayer(mLayer)) {
    g.StartLayer(this, mRECT);
    DrawPlot(g);
    // Where no layer can be made the plot was drawn straight onto the screen: there is nothing
    // to keep, and the next frame tries again.
    mLayer = g.EndLayer();
    if (!mLayer) return;
  }
  g.DrawLayer(mLayer, &mBlend);
}

void IVPlotControl::DrawPlot(IGraphics& g) {
  const IRECT& w = mWidgetBounds;
  const float gx = w.W() / static_cast<float>(mHorizontalDivisions);
  const float gy = w.H() / static_cast<float>(mVerticalDivisions + 2);
  const IRECT area(w.L, w.T + gy, w.R, w.B - gy);
  g.DrawGrid(GetColor(kSH), w, gx, gy, &mBlend, 1.f);

  const int n = NPoints();
  const double range = static_cast<double>(mMax) - mMin;
  // A single point has no place on the x axis, and an empty range maps nowhere.
  if (n >= 2 && range != 0. && std::isfinite(range)) {
    for (const Plot& plot : mPlots) {
      if (!plot.func) continue;
      for (int k = 0; k < n; ++k) {
        const double x = static_cast<double>(k) / (n - 1);
        mPoints[static_cast<size_t>(k)] = static_cast<float>((plot.func(x) - mMin) / range);
      }
      g.DrawData(plot.color, area, mPoints.data(), n, nullptr, &mBlend, mTrackSize);
    }
  }
  if (mStyle.drawFrame) g.DrawRect(GetColor(kFR), w, &mBlend, mStyle.frameThickness);
}

}  // namespace igraphics
}  // namespace iplug
