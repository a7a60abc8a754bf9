#pragma once

// How a path is filled and stroked.

namespace iplug {
namespace igraphics {

enum class EFillRule { Winding = 0, EvenOdd = 1 };
enum class ELineCap { Butt = 0, Round, Square };
enum class ELineJoin { Miter = 0, Round, Bevel };
// The direction an arc is traced in, as seen on screen.
enum class EWinding { CW = 0, CCW = 1 };

struct IFillOptions {
  EFillRule mFillRule = EFillRule::Winding;
  bool mPreserve = false;
};

struct IStrokeOptions {
  float mMiterLimit = 10.f;
  ELineCap mCapOption = ELineCap::Butt;
  ELineJoin mJoinOption = ELineJoin::Miter;
  bool mPreserve = false;
  // Dash lengths; none is a solid line.
  static constexpr int kMaxDashes = 8;
  float mDashArray[kMaxDashes] = {};
  int mDashCount = 0;
  float mDashOffset = 0.f;
};

}  // namespace igraphics
}  // namespace iplug
