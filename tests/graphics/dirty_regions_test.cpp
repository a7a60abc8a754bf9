// Dirty regions at scale: merging them and finding the controls each one meets give exactly
// what comparing every pair gives, on random sets of rectangles.

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <random>
#include <vector>

#include "base/Finite.h"
#include "support/ControlTestFixture.h"
#include "support/TestControls.h"

using namespace iplug::igraphics;

namespace {

// Merging by comparing every pair and starting over after each merge: slow and plainly right.
std::vector<IRECT> MergeByPairs(const std::vector<IRECT>& in) {
  std::vector<IRECT> out;
  for (const IRECT& r : in)
    if (base::isFiniteRect(r) && r.W() > 0.f && r.H() > 0.f) out.push_back(r);
  for (bool merged = true; merged;) {
    merged = false;
    for (std::size_t i = 0; i < out.size() && !merged; ++i) {
      for (std::size_t j = i + 1; j < out.size() && !merged; ++j) {
        if (!out[i].Intersects(out[j])) continue;
        out[i] = out[i].Union(out[j]);
        out.erase(out.begin() + static_cast<std::ptrdiff_t>(j));
        merged = true;
      }
    }
  }
  return out;
}

std::vector<IRECT> Merged(const std::vector<IRECT>& in) {
  IRECTList list;
  for (const IRECT& r : in)
    list.Add(r);
  list.Optimize();
  std::vector<IRECT> out;
  for (int i = 0; i < list.Size(); ++i)
    out.push_back(list.Get(i));
  return out;
}

// How a random set is drawn: its size, the area it spreads over and the largest side.
struct Scatter {
  int count;
  float area;
  float maxSide;
};

std::vector<IRECT> RandomRects(std::mt19937& rng, const Scatter& s) {
  std::uniform_real_distribution<float> pos(-10.f, s.area), side(0.f, s.maxSide);
  std::uniform_int_distribution<int> odd(0, 40);
  std::vector<IRECT> out;
  for (int i = 0; i < s.count; ++i) {
    const float x = pos(rng), y = pos(rng);
    IRECT r(x, y, x + side(rng), y + side(rng));
    // Now and then whole-pixel edges (touching neighbours), or a rectangle the merge drops.
    switch (odd(rng)) {
      case 0:
        r = IRECT(std::round(r.L), std::round(r.T), std::round(r.R), std::round(r.B));
        break;
      case 1:
        r.R = r.L;
        break;
      case 2:
        r.L = std::numeric_limits<float>::quiet_NaN();
        break;
      case 3:
        std::swap(r.L, r.R);
        break;
      case 4:
        r = IRECT(0.f, 0.f, s.area, s.area);
        break;  // a background panel
      default:
        break;
    }
    out.push_back(r);
  }
  return out;
}

const Scatter kScatters[] = {
    {0, 100.f, 10.f},    {1, 100.f, 10.f},    {2, 10.f, 10.f},    {12, 100.f, 40.f},
    {60, 400.f, 30.f},   {60, 100.f, 30.f},   {200, 800.f, 40.f}, {300, 2000.f, 300.f},
    {500, 1920.f, 20.f}, {800, 1000.f, 60.f},
};

TEST(DirtyRegions, MergingEqualsComparingEveryPairOnRandomSets) {
  std::mt19937 rng(12);
  for (const Scatter& s : kScatters) {
    for (int round = 0; round < 20; ++round) {
      const std::vector<IRECT> rects = RandomRects(rng, s);
      ASSERT_EQ(Merged(rects), MergeByPairs(rects))
          << s.count << " rectangles over " << s.area << ", round " << round;
    }
  }
}

TEST(DirtyRegions, AChainJoinedOnlyThroughGrownBoxesMergesWhole) {
  // Each rectangle meets only the box of the ones before it, never one of them alone.
  std::vector<IRECT> stairs;
  for (int i = 0; i < 40; ++i)
    stairs.push_back(
        IRECT(10.f * i + 1.f, 10.f * (40 - i), 10.f * i + 12.f, 10.f * (40 - i) + 2.f));
  stairs.push_back(IRECT(0.f, 0.f, 2.f, 500.f));
  EXPECT_EQ(Merged(stairs), MergeByPairs(stairs));
}

// Random controls, some hidden, some dirty: each frame draws the controls every region meets,
// region by region in list order, each clipped to its part of the region.
class DirtyRegionFrames
    : public testsupport::ControlTestFixture<testsupport::RecordingGraphics, 800, 600> {};

TEST_F(DirtyRegionFrames, EachRegionDrawsExactlyTheControlsItMeetsInListOrder) {
  std::mt19937 rng(7);
  std::vector<IControl*> controls;
  for (const IRECT& r : RandomRects(rng, Scatter{300, 800.f, 60.f}))
    controls.push_back(g.AttachControl(new testsupport::LoggingControl(r)));
  std::bernoulli_distribution dirty(0.1), hidden(0.05);
  for (int frame = 0; frame < 10; ++frame) {
    g.DrawFrame();
    for (IControl* c : controls) {
      c->Hide(hidden(rng));
      if (dirty(rng)) c->SetDirty(false);
    }
    IRECTList regions;
    if (!g.IsDirty(regions)) continue;
    g.ClearLog();
    g.Draw(regions);  // leaves the regions as drawn, rounded out to whole pixels

    std::vector<IRECT> expected;
    for (int r = 0; r < regions.Size(); ++r) {
      for (IControl* c : controls) {
        const IRECT clip = regions.Get(r).Intersect(c->GetRECT());
        if (!c->IsHidden() && !clip.Empty()) expected.push_back(clip);
      }
    }
    std::vector<IRECT> clipped;
    for (const auto& call : g.Calls("Clip"))
      clipped.push_back(call.rect);
    ASSERT_FALSE(clipped.empty());
    clipped.pop_back();  // the whole surface, restored after the frame
    EXPECT_EQ(clipped, expected) << "frame " << frame;
  }
}

}  // namespace
