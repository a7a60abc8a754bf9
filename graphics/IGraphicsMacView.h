#pragma once

// The view that hosts an IGraphicsMac: a flipped platform view (y down, like the editor) of the
// editor's size. Its redraw timer asks the graphics context for dirty regions every 1/FPS
// seconds and draws them into the context's surface; drawRect copies the surface into the
// window's backing store. Mouse, wheel and key events of the view become IGraphics events.

#include <string>
#include <vector>

#include "graphics/IGraphicsStructs.h"
#include "platform/core/Timer.h"
#include "platform/core/View.h"

namespace iplug {
namespace igraphics {

class IGraphicsMac;

class IGraphicsMacView : public platform::NSView {
 public:
  explicit IGraphicsMacView(IGraphicsMac* graphics);

  IGraphicsMac* GetGraphics() const { return mGraphics; }
  // Forgets the graphics context and stops the timer: from then on the view draws nothing and
  // passes its events on. Called when the editor closes; the view may outlive it.
  void Detach();

  // --- Redraw timer ---
  // Starts (or restarts) the repeating timer at 1/fps seconds in every run-loop mode, so
  // frames go on during modal loops and mouse tracking.
  void StartRedrawTimer(int fps);
  void StopRedrawTimer();
  bool RedrawTimerIsRunning() const { return mTimer && mTimer->isValid(); }
  // One frame: matches the surface to the window's backing scale, draws what is dirty and
  // marks it for display; the window's display pass then copies it.
  void OnFrameTick();

  // --- Tooltips, in editor coordinates ---
  void ClearToolTips() { mToolTips.clear(); }
  void AddToolTip(const IRECT& bounds, const char* text);
  int NToolTips() const { return static_cast<int>(mToolTips.size()); }
  // The text of the last registered rectangle holding the point, or null.
  const char* ToolTipAt(float x, float y) const;

  // --- Where the pointer was last seen, in editor coordinates ---
  float MouseX() const { return mMouseX; }
  float MouseY() const { return mMouseY; }
  // While the pointer is locked, positions stay where it was locked and drags move by the
  // events' deltas.
  void SetPointerLocked(bool locked) { mPointerLocked = locked; }
  bool PointerLocked() const { return mPointerLocked; }

  // --- platform::NSView ---
  bool isFlipped() const override { return true; }
  bool acceptsFirstResponder() const override { return true; }
  bool acceptsFirstMouse(const platform::NSEvent* event) override { return true; }
  void drawRect(const platform::NSRect& dirtyRect) override;
  void viewDidMoveToWindow() override;

  void mouseDown(const platform::NSEvent& e) override;
  void mouseUp(const platform::NSEvent& e) override;
  void mouseDragged(const platform::NSEvent& e) override;
  void mouseMoved(const platform::NSEvent& e) override;
  // The pointer left the view: the control under it loses its mouse-over look.
  void mouseExited(const platform::NSEvent& e) override;
  void rightMouseDown(const platform::NSEvent& e) override;
  void rightMouseUp(const platform::NSEvent& e) override;
  void rightMouseDragged(const platform::NSEvent& e) override;
  void scrollWheel(const platform::NSEvent& e) override;
  void keyDown(const platform::NSEvent& e) override;
  void keyUp(const platform::NSEvent& e) override;

 protected:
  void dealloc() override;

 private:
  struct ToolTip {
    IRECT bounds;
    std::string text;
  };

  // The event's position in editor coordinates; false (and logged) for a position that is not
  // a finite number, which is then dropped.
  bool EventPosition(const platform::NSEvent& e, float& x, float& y);
  // Position and drag deltas of a mouse event, honouring the pointer lock.
  bool TrackPointer(const platform::NSEvent& e, float& x, float& y, float& dX, float& dY);
  // What a press, a release and a drag of either button do (a double click only for the left).
  void Press(const platform::NSEvent& e, const IMouseMod& mod, bool doubleClicks);
  void Release(const platform::NSEvent& e, const IMouseMod& mod);
  void Drag(const platform::NSEvent& e, const IMouseMod& mod);
  void SyncScreenScale();
  platform::NSRect ToViewRect(const IRECT& r) const;

  IGraphicsMac* mGraphics;  // not owned; null once detached
  platform::Ref<platform::NSTimer> mTimer;
  std::vector<ToolTip> mToolTips;
  float mMouseX = 0.f;
  float mMouseY = 0.f;
  bool mPointerLocked = false;
};

}  // namespace igraphics
}  // namespace iplug
