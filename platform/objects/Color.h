#pragma once

namespace platform {

// An RGBA colour, each component 0..1. Named system colours are the light appearance's:
// the dark appearance is never in use here.
struct NSColor {
  double red = 0;
  double green = 0;
  double blue = 0;
  double alpha = 1;
  bool operator==(const NSColor&) const = default;

  static NSColor colorWithRGBA(double r, double g, double b, double a) { return {r, g, b, a}; }
  static NSColor blackColor() { return {0, 0, 0, 1}; }
  static NSColor whiteColor() { return {1, 1, 1, 1}; }
  static NSColor clearColor() { return {0, 0, 0, 0}; }
  static NSColor textColor() { return {0, 0, 0, 1}; }
  static NSColor textBackgroundColor() { return {1, 1, 1, 1}; }
  // The face of windows and dialogs.
  static NSColor windowBackgroundColor() { return {236 / 255.0, 236 / 255.0, 236 / 255.0, 1}; }
  static NSColor controlColor() { return {1, 1, 1, 1}; }
  static NSColor selectedTextBackgroundColor() { return {179 / 255.0, 215 / 255.0, 1, 1}; }
};

}  // namespace platform
