// Dirty regions at scale: merging them gives exactly what comparing every pair gives, on random
// sets of rectangles; and frames, through random changes to random controls, draw exactly what
// a walk over the whole control list draws.

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <memory>
#include <ostream>
#include <random>
#include <vector>

#include "base/Finite.h"
#include "framework/IPlugAPIBase.h"
#include "support/RecordingGraphics.h"

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

// What a frame draws: the controls in drawing order, each with the clip it was drawn in.
struct Drawn {
  IRECT clip;
  int id;
  bool operator==(const Drawn& o) const { return clip == o.clip && id == o.id; }
};

std::ostream& operator<<(std::ostream& out, const Drawn& d) {
  return out << "#" << d.id << " in (" << d.clip.L << ", " << d.clip.T << ", " << d.clip.R << ", "
             << d.clip.B << ")";
}

IColor ColorOf(int id) {
  return IColor(255, id & 0xFF, (id >> 8) & 0xFF, 0);
}

// A control known by its number, which it draws as its fill colour.
class NumberedControl : public IControl {
 public:
  NumberedControl(const IRECT& r, int id) : IControl(r), mId(id) {}
  void Draw(IGraphics& g) override { g.FillRect(ColorOf(mId), mRECT); }
  // Moves by writing its rectangle itself, then marks itself dirty, as a subclass may.
  void Jump(const IRECT& r) {
    mRECT = r;
    SetDirty(false);
  }
  const int mId;
};

// One of two editors given the same controls and operations: the graphics context draws the
// frames of one, a walk over the whole control list those of the other.
struct Editor {
  explicit Editor(bool installClock) : g(delegate, 800, 600, installClock) {}
  NumberedControl* At(int i) const { return static_cast<NumberedControl*>(g.GetControl(i)); }
  NumberedControl* WithId(int id) const {
    for (int i = 0; i < g.NControls(); ++i)
      if (At(i)->mId == id) return At(i);
    return nullptr;
  }

  iplug::IPlugAPIBase delegate{0};
  testsupport::RecordingGraphics g;
  std::vector<int> animated;  // the controls whose animation ran, in order
};

// An animation that runs `steps` frames; on its first it marks another control dirty (effect
// 1) or starts an animation of one frame on it (effect 2), which a walk over the list runs in
// the same frame only when that control comes later in the list.
IAnimationFunction Animation(Editor& ed, int steps, int other, int effect) {
  auto ran = std::make_shared<int>(0);
  return [&ed, steps, other, effect, ran](IControl* c) {
    ed.animated.push_back(static_cast<NumberedControl*>(c)->mId);
    if (++*ran == 1 && effect > 0) {
      if (NumberedControl* o = ed.WithId(other)) {
        if (effect == 1) o->SetDirty(false);
        if (effect == 2) o->SetAnimation(Animation(ed, 1, 0, 0));
      }
    }
    if (*ran >= steps) c->OnEndAnimation();
  };
}

IRECT Aligned(const IRECT& r) {
  return r.GetScaled(1.f).GetPixelAligned().GetScaled(1.f);
}

// The frame as a walk over the whole list draws it: every animation, every dirty test, then
// each region's controls in list order. With `exposed`, only those regions are drawn.
std::vector<Drawn> WalkedFrame(Editor& ed, const IRECTList* exposed) {
  IRECTList rects;
  if (exposed) {
    rects = *exposed;
  } else {
    for (int i = 0; i < ed.g.NControls(); ++i)
      ed.At(i)->Animate();
    for (int i = 0; i < ed.g.NControls(); ++i) {
      if (ed.At(i)->IsDirty()) rects.Add(ed.At(i)->GetRECT());
      ed.At(i)->SetClean();
    }
    rects.Optimize();
  }
  std::vector<Drawn> out;
  for (int r = 0; r < rects.Size(); ++r) {
    const IRECT region = Aligned(rects.Get(r));
    for (int i = 0; i < ed.g.NControls(); ++i) {
      const IRECT clip = region.Intersect(ed.At(i)->GetRECT());
      if (!ed.At(i)->IsHidden() && !clip.Empty()) out.push_back({clip, ed.At(i)->mId});
    }
  }
  return out;
}

std::vector<Drawn> DrawnFrame(Editor& ed, const IRECTList* exposed) {
  ed.g.ClearLog();
  if (exposed) {
    IRECTList rects = *exposed;
    ed.g.Draw(rects);
  } else {
    ed.g.DrawFrame();
  }
  std::vector<Drawn> out;
  IRECT clip;
  for (const auto& call : ed.g.Log()) {
    if (call.op == "Clip") clip = call.rect;
    if (call.op == "FillRect") out.push_back({clip, call.color.R | call.color.G << 8});
  }
  return out;
}

TEST(DirtyRegionFrames, DrawTheControlsAWalkOverTheWholeListDraws) {
  std::mt19937 rng(7);
  Editor drawn(true), walked(false);
  Editor* both[] = {&drawn, &walked};
  int nextId = 0;
  auto attach = [&](const IRECT& r) {
    for (Editor* ed : both)
      ed->g.AttachControl(new NumberedControl(r, nextId));
    ++nextId;
  };
  for (const IRECT& r : RandomRects(rng, Scatter{200, 800.f, 60.f}))
    attach(r);

  std::uniform_int_distribution<int> op(0, 13), steps(1, 4), effect(0, 2);
  std::uniform_real_distribution<float> pos(-20.f, 800.f), side(0.f, 80.f);
  for (int frame = 0; frame < 60; ++frame) {
    for (int n = 0; n < 25; ++n) {
      const int count = drawn.g.NControls();
      const int i = count > 0 ? std::uniform_int_distribution<int>(0, count - 1)(rng) : -1;
      const int kind = op(rng);
      if (i < 0 && kind > 0) continue;
      const float x = pos(rng), y = pos(rng), w = side(rng), h = side(rng);
      const bool flag = std::bernoulli_distribution(0.5)(rng);
      const int s = steps(rng), e = effect(rng);
      const int other = count > 0 ? std::uniform_int_distribution<int>(0, nextId)(rng) : 0;
      for (Editor* ed : both) {
        NumberedControl* c = i >= 0 ? ed->At(i) : nullptr;
        switch (kind) {
          case 0:
            break;  // attached below, once for both
          case 1:
            ed->g.RemoveControl(c);
            break;
          case 2:
            c->SetTargetAndDrawRECTs(IRECT(x, y, x + w, y + h));
            break;
          case 3:
            c->SetRECT(IRECT(x, y, x + w, y + h));
            break;
          case 4:
            c->SetPosition(x, y);
            break;
          case 5:
            c->SetSize(w, h);
            break;
          case 6:
            c->Jump(IRECT(x, y, x + w, y + h));
            break;
          case 7:
            c->Hide(flag);
            break;
          case 8:
            c->SetDisabled(flag);
            break;
          case 9:
            c->SetDirty(false);
            break;
          case 10:
            c->SetValueFromDelegate(x / 800.f);
            break;
          case 11:
            c->SetAnimation(Animation(*ed, s, other, e));
            break;
          case 12:
            if (n == 0) ed->g.SetAllControlsDirty();
            break;
          default:
            c->SetClean();
            break;
        }
      }
      if (kind == 0) attach(IRECT(x, y, x + w, y + h));
    }
    ASSERT_EQ(DrawnFrame(drawn, nullptr), WalkedFrame(walked, nullptr)) << "frame " << frame;
    ASSERT_EQ(drawn.animated, walked.animated) << "frame " << frame;
    drawn.animated.clear();
    walked.animated.clear();
    if (frame % 10 == 9) {  // the window uncovered: regions drawn without a dirty test
      IRECTList exposed;
      exposed.Add(IRECT(pos(rng), pos(rng), pos(rng) + 300.f, pos(rng) + 200.f));
      ASSERT_EQ(DrawnFrame(drawn, &exposed), WalkedFrame(walked, &exposed)) << "frame " << frame;
    }
  }
}

}  // namespace
