// The frame cycle: animations, the collection of dirty regions and the drawing of the controls
// they meet, with the bookkeeping that keeps a frame's cost to what is dirty. Controls marked
// dirty and animating controls are listed apart, and a grid holds every control by where it
// is, so a frame never walks the whole control list; it draws the same controls, in the same
// order and with the same clipping, as a walk over the whole list would.

#include <algorithm>
#include <utility>
#include <vector>

#include "graphics/IBubbleControlBase.h"
#include "graphics/IGraphics.h"
#include "graphics/IPopupMenuControlBase.h"
#include "graphics/ITextEntryControlBase.h"

namespace iplug {
namespace igraphics {

namespace {

// The grid's cells are spread for at least this many controls, and again whenever the list
// outgrows the count they were spread for, for twice the list.
constexpr int kGridMinimumControls = 64;

}  // namespace

bool IGraphics::ComesBefore(const IControl* a, const IControl* b) {
  return a->mFrame.order < b->mFrame.order;
}

void IGraphics::SortIntoListOrder(std::vector<IControl*>& controls) {
  controls.erase(std::remove(controls.begin(), controls.end(), nullptr), controls.end());
  std::sort(controls.begin(), controls.end(), ComesBefore);
  controls.erase(std::unique(controls.begin(), controls.end()), controls.end());
}

// --- Bookkeeping ---

void IGraphics::AddToList(std::vector<IControl*>& list, int IControl::FrameState::*pos,
                          IControl& control) {
  int& at = control.mFrame.*pos;
  if (at >= 0) return;
  at = static_cast<int>(list.size());
  list.push_back(&control);
  ++mListAdditions;
}

void IGraphics::DropFromList(std::vector<IControl*>& list, int IControl::FrameState::*pos,
                             IControl& control) {
  int& at = control.mFrame.*pos;
  if (at < 0) return;
  IControl* last = list.back();
  list[static_cast<std::size_t>(at)] = last;
  last->mFrame.*pos = at;
  list.pop_back();
  at = -1;
}

void IGraphics::ListControl(IControl& control) {
  IControl::FrameState& state = control.mFrame;
  state.owner = this;
  state.order = mNextOrder++;
  // A new control is drawn in its first frame (it starts dirty), whatever it did before.
  AddToList(mDirtyControls, &IControl::FrameState::dirtyPos, control);
  if (control.GetAnimationFunction()) NoteAnimating(control);
  if (NControls() > mGridLaidOutFor) {
    // Spread the cells for twice as many: the list may double before the next spread, so each
    // control is filed anew a bounded number of times.
    mGridLaidOutFor = std::max(kGridMinimumControls, 2 * NControls());
    mGrid.Reset(GetBounds(), mGridLaidOutFor);
    for (ControlEntry& entry : mControls)
      mGrid.File(entry.control.get(), entry.control->mFrame.filing, entry.control->GetRECT());
  } else {
    mGrid.File(&control, state.filing, control.GetRECT());
  }
}

void IGraphics::UnlistControl(IControl& control) {
  IControl::FrameState& state = control.mFrame;
  if (state.owner != this) return;
  DropFromList(mDirtyControls, &IControl::FrameState::dirtyPos, control);
  DropFromList(mAnimatingControls, &IControl::FrameState::animatingPos, control);
  mGrid.Unfile(&control, state.filing);
  for (std::size_t depth = 0; depth < mWalkDepth; ++depth)
    std::replace(mWalks[depth].begin(), mWalks[depth].end(), &control,
                 static_cast<IControl*>(nullptr));
  state.owner = nullptr;
}

void IGraphics::NoteDirty(IControl& control) {
  if (!IsMainThread()) {
    mChangedElsewhere.store(true, std::memory_order_release);
    return;
  }
  AddToList(mDirtyControls, &IControl::FrameState::dirtyPos, control);
  // A control that moved by writing its rectangle itself is found where it is once it is
  // marked dirty, as it must be to be drawn there.
  NoteMoved(control);
}

void IGraphics::NoteAnimating(IControl& control) {
  if (!IsMainThread()) {
    mChangedElsewhere.store(true, std::memory_order_release);
    return;
  }
  AddToList(mAnimatingControls, &IControl::FrameState::animatingPos, control);
}

void IGraphics::NoteMoved(IControl& control) {
  if (!IsMainThread()) {
    mChangedElsewhere.store(true, std::memory_order_release);
    return;
  }
  mGrid.File(&control, control.mFrame.filing, control.GetRECT());
}

// A walk over every control would reach a control that turns dirty or starts an animation
// during the walk when it comes after the one at hand, and leave it for the next frame when it
// comes before; so does this walk. Each walk keeps what it has still to visit apart (walks
// nest when a visit runs a frame of its own), and a control removed meanwhile is taken out.
template <typename Visit>
void IGraphics::WalkInListOrder(std::initializer_list<const std::vector<IControl*>*> lists,
                                Visit&& visit) {
  const std::size_t depth = mWalkDepth;
  if (mWalks.size() <= depth) mWalks.resize(depth + 1);
  mWalks[depth].clear();
  for (const std::vector<IControl*>* list : lists)
    mWalks[depth].insert(mWalks[depth].end(), list->begin(), list->end());
  SortIntoListOrder(mWalks[depth]);

  struct Depth {
    std::size_t& depth;
    explicit Depth(std::size_t& d) : depth(d) { ++depth; }
    ~Depth() { --depth; }
  } inWalk(mWalkDepth);
  std::uint64_t additions = mListAdditions;
  for (std::size_t next = 0; next < mWalks[depth].size();) {
    IControl* control = mWalks[depth][next++];
    if (!control) continue;  // removed during the walk
    const std::uint64_t order = control->mFrame.order;
    visit(*control);
    if (mListAdditions == additions) continue;
    additions = mListAdditions;
    // Controls joined a list: those after the one just visited are visited in this walk.
    std::vector<IControl*>& rest = mWalks[depth];
    rest.erase(rest.begin(), rest.begin() + static_cast<std::ptrdiff_t>(next));
    next = 0;
    for (const std::vector<IControl*>* list : lists)
      for (IControl* joined : *list)
        if (joined->mFrame.order > order) rest.push_back(joined);
    SortIntoListOrder(rest);
  }
  mWalks[depth].clear();
}

// --- Frame cycle ---

bool IGraphics::IsDirty(IRECTList& rects) {
  DispatchScope scope(*this);
  if (mChangedElsewhere.exchange(false, std::memory_order_acquire)) {
    for (ControlEntry& entry : mControls) {
      IControl& control = *entry.control;
      AddToList(mDirtyControls, &IControl::FrameState::dirtyPos, control);
      if (control.GetAnimationFunction())
        AddToList(mAnimatingControls, &IControl::FrameState::animatingPos, control);
      mGrid.File(&control, control.mFrame.filing, control.GetRECT());
    }
  }
  // Animations run first, hidden controls included: a running animation ends on time even
  // while its control is not shown. A control whose animation has ended leaves the list.
  WalkInListOrder({&mAnimatingControls}, [this](IControl& control) {
    control.Animate();
    if (!control.GetAnimationFunction() && control.mFrame.owner == this)
      DropFromList(mAnimatingControls, &IControl::FrameState::animatingPos, control);
  });
  if (mBubbleControl) mBubbleControl->Animate();
  if (mPopupControl) mPopupControl->Animate();
  if (mTextEntryControl) mTextEntryControl->Animate();

  // A dirty hidden control is collected too: the area it just left must be redrawn. A control
  // that is neither listed dirty nor animating is clean, and cleaning it changes nothing.
  auto collect = [&rects](IControl* c) {
    if (c->IsDirty()) rects.Add(c->GetRECT());
    c->SetClean();
  };
  WalkInListOrder({&mDirtyControls, &mAnimatingControls}, [&](IControl& control) {
    if (!control.mFrame.testedEachFrame)
      DropFromList(mDirtyControls, &IControl::FrameState::dirtyPos, control);
    collect(&control);
    if (control.mFrame.owner == this) NoteMoved(control);
  });
  if (mBubbleControl) collect(mBubbleControl.get());
  if (mPopupControl) collect(mPopupControl.get());
  if (mTextEntryControl) collect(mTextEntryControl.get());

  rects.Optimize();
  return !rects.Empty();
}

void IGraphics::DrawControl(IControl* control, const IRECT& region) {
  if (!control || control->IsHidden()) return;
  const IRECT clip = region.Intersect(control->GetRECT());
  if (clip.Empty()) return;
  mClipRECT = clip;
  SetClipRegion(clip);
  control->Draw(*this);
  control->DrawPTHighlight(*this);
}

void IGraphics::Draw(IRECTList& rects) {
  if (rects.Empty()) return;
  DispatchScope scope(*this);
  // Regions are rounded out to whole device pixels, so the wipe and the clipped redraw cover
  // the same pixels and no half-covered edge pixel is left blended with the old frame.
  const float scale = GetScreenScale() * GetDrawScale();
  if (scale > 0.f) {
    IRECTList aligned;
    for (int r = 0; r < rects.Size(); ++r)
      aligned.Add(rects.Get(r).GetScaled(scale).GetPixelAligned().GetScaled(1.f / scale));
    rects = aligned;
  }
  BeginFrame(rects);
  // The controls each region meets, in list order, all found before any is drawn: a control
  // removed by another's drawing is still drawn in this frame, as it was found.
  const int regionCount = rects.Size();
  mByRegion.clear();
  mRegionStart.clear();
  for (int r = 0; r < regionCount; ++r) {
    const IRECT region = rects.Get(r);
    const std::size_t start = mByRegion.size();
    mRegionStart.push_back(start);
    mGrid.ForEachNear(region, [&](IControl* control) {
      if (!control->IsHidden() && region.Intersects(control->GetRECT()))
        mByRegion.push_back(control);
    });
    std::sort(mByRegion.begin() + static_cast<std::ptrdiff_t>(start), mByRegion.end(), ComesBefore);
  }
  mRegionStart.push_back(mByRegion.size());

  for (int r = 0; r < regionCount; ++r) {
    const IRECT region = rects.Get(r);
    for (std::size_t k = mRegionStart[static_cast<std::size_t>(r)];
         k < mRegionStart[static_cast<std::size_t>(r) + 1]; ++k)
      DrawControl(mByRegion[k], region);
    DrawControl(mBubbleControl.get(), region);
    DrawControl(mPopupControl.get(), region);
    DrawControl(mTextEntryControl.get(), region);
  }
  mClipRECT = GetBounds();
  SetClipRegion(mClipRECT);
  EndFrame();
}

bool IGraphics::DrawFrame() {
  IRECTList rects;
  if (!IsDirty(rects)) return false;
  Draw(rects);
  return true;
}

}  // namespace igraphics
}  // namespace iplug
