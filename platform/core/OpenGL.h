#pragma once

#include <cstdint>
#include <vector>

#include "platform/objects/Object.h"

namespace platform {

class NSView;

// Attributes of an OpenGL surface (kept; every request gets 8-bit RGBA).
class NSOpenGLPixelFormat : public NSObject {
 public:
  explicit NSOpenGLPixelFormat(std::vector<int> attributes) : mAttributes(std::move(attributes)) {}
  const std::vector<int>& attributes() const { return mAttributes; }

 private:
  std::vector<int> mAttributes;
};

// An OpenGL context: a real EGL context on Mesa's surfaceless platform, drawing into a
// pixel buffer of its view's size (times the window's backing scale when the view wants
// the best resolution). flushBuffer() reads the pixels back into the view's layer, which
// the display pass shows over the view.
class NSOpenGLContext : public NSObject {
 public:
  // A new context (one reference), or null when EGL cannot give one.
  static NSOpenGLContext* create(NSOpenGLPixelFormat* format, NSOpenGLContext* share);
  // Whether EGL offers contexts in this process (probed once).
  static bool available();

  void setView(NSView* view);
  NSView* view() const;
  // Makes this the thread's current context, its buffer sized to the view.
  void makeCurrentContext();
  static NSOpenGLContext* currentContext();
  static void clearCurrentContext();
  // Resizes the buffer to the view.
  void update();
  // Reads the buffer back into the view's layer and marks the view for display.
  void flushBuffer();
  int pixelWidth() const { return mWidth; }
  int pixelHeight() const { return mHeight; }

 protected:
  void dealloc() override;

 private:
  NSOpenGLContext() = default;
  bool resize();
  void* mContext = nullptr;  // EGLContext
  void* mSurface = nullptr;  // EGLSurface
  int mWidth = 0, mHeight = 0;
  NSView* mView = nullptr;
  std::uint64_t mViewSerial = 0;
};

}  // namespace platform
