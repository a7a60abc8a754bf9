#pragma once

#include <cairo.h>

#include <string>

#include "platform/objects/Geometry.h"
#include "platform/objects/Object.h"

namespace platform {

class CGContext;

enum class NSCompositingOperation { sourceOver, copy };

// An image over a Cairo ARGB32 surface (premultiplied). A flipped image draws its first
// row at the top of a rectangle in a y-up context; an image that is not flipped draws
// upright in a y-up context and upside down in a top-down one, as the platform does.
class NSImage : public NSObject {
 public:
  // An image holding a reference to the surface; null for a surface that is not an image.
  static NSImage* imageWithSurface(cairo_surface_t* surface);
  // A decoded PNG or JPEG file; null (logged) when it cannot be read.
  static NSImage* imageWithContentsOfFile(const std::string& path);
  // An image of the application's resource folder by name, with or without its
  // extension (".png", then ".jpg"); the same object for the same name (a new
  // reference each time); null when there is none.
  static NSImage* imageNamed(const std::string& name);
  // The application's resource folder; by default the "Resources" folder beside the
  // program. Setting it forgets the named images.
  static void setResourceFolder(const std::string& folder);
  static std::string resourceFolder();

  // A new image with a copy of the pixels, not flipped.
  NSImage* copy() const;

  NSSize size() const;
  bool isFlipped() const { return mFlipped; }
  void setFlipped(bool flipped) { mFlipped = flipped; }
  cairo_surface_t* surface() const { return mSurface; }

  // Draws the whole image scaled into the rectangle.
  void drawInRect(CGContext* context, const NSRect& rect,
                  NSCompositingOperation operation = NSCompositingOperation::sourceOver,
                  double fraction = 1) const;

 protected:
  void dealloc() override;

 private:
  NSImage() = default;
  cairo_surface_t* mSurface = nullptr;
  bool mFlipped = false;
};

}  // namespace platform
