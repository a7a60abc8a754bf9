#pragma once

// Controls for tests: one that logs the hooks the graphics context calls and paints its
// rectangle in its own colour, and stand-ins for the popup-menu and text-entry controls.

#include <string>
#include <vector>

#include "graphics/IGraphics.h"
#include "graphics/IPopupMenuControlBase.h"
#include "graphics/ITextEntryControlBase.h"

namespace testsupport {

using namespace iplug::igraphics;

// Logs every hook by name ("OnInit", "OnMouseDown", ...), fills its rectangle in mColor when
// drawn, and can lay out its target rectangle in OnResize.
class LoggingControl : public IControl {
 public:
  explicit LoggingControl(const IRECT& bounds, int paramIdx = kNoParameter,
                          const IColor& color = COLOR_GRAY)
      : IControl(bounds, paramIdx), mColor(color) {}
  LoggingControl(const IRECT& bounds, std::initializer_list<int> params)
      : IControl(bounds, params) {}
  ~LoggingControl() override {
    if (mDestroyed) *mDestroyed = true;
  }

  void Draw(IGraphics& g) override { g.FillRect(mColor, mRECT, &mBlend); }

  void OnInit() override { Log("OnInit"); }
  void OnResize() override {
    Log("OnResize");
    // A control that lays out its target from its drawing rectangle.
    if (mTargetInset >= 0.f) mTargetRECT = mRECT.GetPadded(-mTargetInset);
  }
  void OnRescale() override { Log("OnRescale"); }
  void OnAttached() override { Log("OnAttached"); }
  void OnMouseDown(float x, float y, const IMouseMod& mod) override {
    Log("OnMouseDown");
    IControl::OnMouseDown(x, y, mod);
  }
  void OnMouseUp(float x, float y, const IMouseMod& mod) override { Log("OnMouseUp"); }
  void OnMouseDrag(float x, float y, float dX, float dY, const IMouseMod& mod) override {
    Log("OnMouseDrag");
  }
  void OnMouseDblClick(float x, float y, const IMouseMod& mod) override {
    Log("OnMouseDblClick");
    IControl::OnMouseDblClick(x, y, mod);
  }
  void OnMouseWheel(float x, float y, const IMouseMod& mod, float d) override {
    Log("OnMouseWheel");
  }
  void OnMouseOver(float x, float y, const IMouseMod& mod) override {
    Log("OnMouseOver");
    IControl::OnMouseOver(x, y, mod);
  }
  void OnMouseOut() override {
    Log("OnMouseOut");
    IControl::OnMouseOut();
  }
  bool OnKeyDown(float x, float y, const iplug::IKeyPress& key) override {
    Log("OnKeyDown");
    return mHandleKeys;
  }
  void OnDrop(const char* str) override { Log(std::string("OnDrop ") + str); }
  void OnMidi(const iplug::IMidiMsg& msg) override { Log("OnMidi"); }
  void OnMsgFromDelegate(int msgTag, int dataSize, const void* data) override {
    Log("OnMsgFromDelegate " + std::to_string(msgTag));
  }
  void CreateContextMenu(IPopupMenu& menu) override {
    for (const std::string& item : mContextItems)
      menu.AddItem(item.c_str());
  }
  void OnContextMenuSelection(int itemIdx) override {
    Log("OnContextMenuSelection " + std::to_string(itemIdx));
  }
  void OnPopupMenuSelection(IPopupMenu* menu, int valIdx) override {
    Log(menu ? "OnPopupMenuSelection" : "OnPopupMenuSelection null");
    IControl::OnPopupMenuSelection(menu, valIdx);
  }
  void OnTextEntryCompletion(const char* str, int valIdx) override {
    Log(std::string("OnTextEntryCompletion ") + str);
  }

  void Log(const std::string& event) { mEvents.push_back(event); }
  bool Saw(const std::string& event) const;

  std::vector<std::string> mEvents;
  IColor mColor = COLOR_GRAY;
  float mTargetInset = -1.f;  // >= 0: OnResize sets the target to the drawing rect inset by it
  bool mHandleKeys = false;
  bool* mDestroyed = nullptr;
  std::vector<std::string> mContextItems;
};

// Stands in for the in-interface popup menu: open from CreatePopupMenu until Choose answers.
class FakePopupMenuControl : public IPopupMenuControlBase {
 public:
  FakePopupMenuControl() : IPopupMenuControlBase(IRECT(), kNoParameter) {}
  void Draw(IGraphics& g) override { g.FillRect(COLOR_WHITE, mRECT); }
  void CreatePopupMenu(IPopupMenu& menu, const IRECT& anchor) override;
  bool GetExpanded() const override { return mMenu != nullptr; }
  void OnMouseDown(float x, float y, const IMouseMod& mod) override {
    mEvents.push_back("OnMouseDown");
  }
  void OnMouseOver(float x, float y, const IMouseMod& mod) override {
    mEvents.push_back("OnMouseOver");
  }
  // Picks an item (-1: none) and reports the menu, as the real control does.
  void Choose(int idx);

  IPopupMenu* mMenu = nullptr;
  std::vector<std::string> mEvents;
};

// Stands in for the in-interface text entry: StartTextEntry opens, Commit hands the text back.
class FakeTextEntryControl : public ITextEntryControlBase {
 public:
  FakeTextEntryControl() : ITextEntryControlBase(IRECT(), kNoParameter) {}
  void Draw(IGraphics& g) override { g.FillRect(COLOR_WHITE, mRECT); }
  void StartTextEntry(int paramIdx, const IText& text, const IRECT& bounds, int length,
                      const char* str) override;
  bool EditInProgress() const override { return mEditing; }
  void DismissEdit() override;
  bool OnKeyDown(float x, float y, const iplug::IKeyPress& key) override;
  void OnMouseDown(float x, float y, const IMouseMod& mod) override {
    mEvents.push_back("OnMouseDown");
  }
  void Commit();

  bool mEditing = false;
  std::string mText;
  int mLength = 0;
  std::vector<std::string> mEvents;
};

// Attach a fake as the graphics context's popup-menu or text-entry control and hand it back; the
// installed factories stay as they were.
FakePopupMenuControl* AttachFakePopupMenuControl(IGraphics& g);
FakeTextEntryControl* AttachFakeTextEntryControl(IGraphics& g);

}  // namespace testsupport
