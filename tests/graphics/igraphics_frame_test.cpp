// The frame cycle: which regions are dirty, what is drawn, in which order and clip.

#include <gtest/gtest.h>

#include <thread>

#include "support/ControlTestFixture.h"
#include "support/TestControls.h"

using namespace iplug::igraphics;
using testsupport::AttachFakePopupMenuControl;
using testsupport::AttachFakeTextEntryControl;
using testsupport::LoggingControl;

namespace {

const IColor kRed(255, 255, 0, 0), kGreen(255, 0, 255, 0), kBlue(255, 0, 0, 255);

class GraphicsFrame : public testsupport::ControlTestFixture<> {
 protected:
  LoggingControl* Add(const IRECT& r, const IColor& color) {
    return static_cast<LoggingControl*>(
        g.AttachControl(new LoggingControl(r, kNoParameter, color)));
  }
  // The colours of the controls drawn in the last frame, in order.
  std::vector<IColor> Drawn() const {
    std::vector<IColor> out;
    for (const auto& call : g.Calls("FillRect"))
      out.push_back(call.color);
    return out;
  }
};

TEST_F(GraphicsFrame, ControlsAreDrawnInAttachOrderEachClippedToItsPartOfTheRegion) {
  Add(IRECT(0, 0, 100, 100), kRed);
  Add(IRECT(50, 50, 150, 150), kGreen);
  Add(IRECT(300, 0, 310, 10), kBlue);  // far away: its own region
  g.DrawFrame();
  EXPECT_EQ(Drawn(), (std::vector<IColor>{kRed, kGreen, kBlue}));
  const auto clips = g.Calls("Clip");
  ASSERT_GE(clips.size(), 3u);
  EXPECT_EQ(clips[0].rect, IRECT(0, 0, 100, 100));
  EXPECT_EQ(clips[1].rect, IRECT(50, 50, 150, 150));
  EXPECT_EQ(clips[2].rect, IRECT(300, 0, 310, 10));
}

TEST_F(GraphicsFrame, OnlyControlsMeetingADirtyRegionAreRedrawn) {
  auto* a = Add(IRECT(0, 0, 100, 100), kRed);
  Add(IRECT(50, 50, 150, 150), kGreen);
  Add(IRECT(300, 0, 310, 10), kBlue);
  g.DrawFrame();
  g.ClearLog();
  a->SetDirty(false);
  g.DrawFrame();
  EXPECT_EQ(Drawn(),
            (std::vector<IColor>{kRed, kGreen}));  // the overlapping one is repainted over it
}

TEST_F(GraphicsFrame, ControlsChangedOnAnotherThreadAreDrawnInTheNextFrame) {
  auto* a = Add(IRECT(0, 0, 100, 100), kRed);
  auto* b = Add(IRECT(200, 0, 300, 100), kGreen);
  Add(IRECT(0, 200, 100, 300), kBlue);
  g.DrawFrame();
  g.ClearLog();
  std::thread([&] {
    a->SetDirty(false);
    b->SetTargetAndDrawRECTs(IRECT(0, 200, 50, 250));
  }).join();
  b->SetDirty(false);
  g.DrawFrame();
  EXPECT_EQ(Drawn(), (std::vector<IColor>{kRed, kGreen, kBlue}))
      << "b is drawn where it has moved, under the blue control listed after it";
}

TEST_F(GraphicsFrame, HiddenControlsAreNotDrawnButTheAreaTheyLeaveIs) {
  auto* under = Add(IRECT(0, 0, 100, 100), kRed);
  auto* over = Add(IRECT(20, 20, 40, 40), kGreen);
  g.DrawFrame();
  g.ClearLog();
  over->Hide(true);
  g.DrawFrame();
  EXPECT_EQ(Drawn(), std::vector<IColor>{kRed});
  EXPECT_EQ(g.Calls("Clip")[0].rect, IRECT(20, 20, 40, 40));
  (void)under;
}

TEST_F(GraphicsFrame, OverlappingRegionsAreMergedSoNothingIsDrawnTwice) {
  auto* a = Add(IRECT(0, 0, 60, 60), kRed);
  auto* b = Add(IRECT(40, 40, 100, 100), kGreen);
  g.DrawFrame();
  g.ClearLog();
  a->SetDirty(false);
  b->SetDirty(false);
  IRECTList rects;
  ASSERT_TRUE(g.IsDirty(rects));
  EXPECT_EQ(rects.Size(), 1);
  g.Draw(rects);
  EXPECT_EQ(Drawn(), (std::vector<IColor>{kRed, kGreen}));
}

TEST_F(GraphicsFrame, PopupMenuAndTextEntryAreDrawnOnTopAndAnimated) {
  AttachFakePopupMenuControl(g);
  AttachFakeTextEntryControl(g);
  ASSERT_NE(g.GetPopupMenuControl(), nullptr);
  EXPECT_EQ(g.NControls(), 0);  // kept apart from the list

  Add(IRECT(0, 0, 200, 200), kRed);
  IPopupMenu menu("", {"a"});
  auto* requester = Add(IRECT(10, 10, 20, 20), kGreen);
  g.CreatePopupMenu(*requester, menu, IRECT(50, 50, 60, 60));
  int animated = 0;
  g.GetPopupMenuControl()->SetAnimation([&](IControl*) { ++animated; }, 100);
  g.ClearLog();
  g.DrawFrame();
  EXPECT_EQ(animated, 1);
  EXPECT_EQ(Drawn(), (std::vector<IColor>{kRed, kGreen, COLOR_WHITE}));
}

TEST_F(GraphicsFrame, ClipRequestsStayInsideTheControlBeingDrawn) {
  struct Clipping : LoggingControl {
    using LoggingControl::LoggingControl;
    void Draw(IGraphics& g) override {
      g.PathClipRegion(IRECT(-50, -50, 5, 5));
      g.PathClipRegion(IRECT(500, 500, 600, 600));
      g.PathClipRegion();
    }
  };
  g.AttachControl(new Clipping(IRECT(0, 0, 10, 10)));
  g.DrawFrame();
  const auto clips = g.Calls("Clip");
  ASSERT_GE(clips.size(), 4u);
  EXPECT_EQ(clips[1].rect, IRECT(0, 0, 5, 5));
  EXPECT_EQ(clips[2].rect.Area(), 0.f);  // a request outside clips everything
  EXPECT_EQ(clips[3].rect, IRECT(0, 0, 10, 10));
}

TEST_F(GraphicsFrame, LayersRedirectDrawingAndAreCheckedAgainstTheirControl) {
  auto* c = Add(IRECT(10, 10, 30, 30), kRed);
  g.StartLayer(c, c->GetRECT());
  static_cast<IGraphics&>(g).FillRect(kBlue, IRECT(10, 10, 20, 20));
  ILayerPtr layer = g.EndLayer();
  ASSERT_NE(layer, nullptr);
  EXPECT_EQ(layer->GetControl(), c);
  EXPECT_EQ(g.Ops(), (std::vector<std::string>{"StartLayer", "FillRect", "EndLayer"}));
  EXPECT_TRUE(g.CheckLayer(layer));
  c->SetRECT(IRECT(10, 10, 40, 30));
  EXPECT_FALSE(g.CheckLayer(layer));  // the owner no longer fits it
  EXPECT_EQ(g.EndLayer(), nullptr);   // nothing open
}

}  // namespace
