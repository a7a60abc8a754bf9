#pragma once

// Curves of functions over 0..1 drawn on a grid, each in its own colour, the range minimum..
// maximum filling the plot's height. With layers on, the drawing is kept in an off-screen layer
// and redrawn only when a curve is added or the layer no longer fits.

#include <functional>
#include <initializer_list>
#include <vector>

#include "controls/IVectorBase.h"
#include "graphics/IControl.h"
#include "graphics/ILayer.h"

namespace iplug {
namespace igraphics {

class IVPlotControl : public IControl, public IVectorBase {
 public:
  struct Plot {
    IColor color;
    std::function<double(double)> func;
  };

  static constexpr int kDefaultNumPoints = 256;
  static constexpr int kDefaultDivisions = 10;

  // A negative point count counts as none; fewer than two points, or a minimum equal to the
  // maximum, draw the grid without curves.
  IVPlotControl(const IRECT& bounds, std::initializer_list<Plot> plots,
                int numPoints = kDefaultNumPoints, const char* label = "",
                const IVStyle& style = DEFAULT_STYLE, bool useLayer = false, float min = -1.f,
                float max = 1.f);

  void Draw(IGraphics& g) override;
  void OnResize() override;

  // Adds a curve (an empty function draws none) and redraws.
  void AddPlotFunc(const IColor& color, std::function<double(double)> func);

  int NPlots() const { return static_cast<int>(mPlots.size()); }
  int NPoints() const { return static_cast<int>(mPoints.size()); }
  const ILayerPtr& GetLayer() const { return mLayer; }

 private:
  // The grid, the curves and the frame.
  void DrawPlot(IGraphics& g);

  ILayerPtr mLayer;
  std::vector<Plot> mPlots;
  float mMin;
  float mMax;
  bool mUseLayer;
  int mHorizontalDivisions = kDefaultDivisions;
  int mVerticalDivisions = kDefaultDivisions;
  std::vector<float> mPoints;
};

}  // namespace igraphics
}  // namespace iplug
