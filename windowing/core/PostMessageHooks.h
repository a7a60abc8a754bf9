#pragma once

#include "windowing/Win32Types.h"

// What the application delegate offers the posted-message queue: the target of the
// queue's run-loop timer, and the fallbacks PostMessage and SWELL_MessageQueue_Clear use
// when the queue was set up elsewhere.
class SwellPostMessageDelegate {
 public:
  virtual ~SwellPostMessageDelegate() = default;
  virtual BOOL swellPostMessage(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) = 0;
  virtual void swellPostMessageClearQ(HWND hwnd) = 0;
  virtual void swellPostMessageTick() = 0;
};

// The part of an application delegate that serves the layer's own queue, as the application
// stub's does: a post goes into the queue, a window's messages leave it with the window, and
// the queue's timer delivers what is due.
class SwellMessageQueueDelegate : public SwellPostMessageDelegate {
 public:
  BOOL swellPostMessage(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) override;
  void swellPostMessageClearQ(HWND hwnd) override;
  void swellPostMessageTick() override;
};
