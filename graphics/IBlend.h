#pragma once

// How drawing combines with what is underneath.

#include <cstdint>

namespace iplug {
namespace igraphics {

enum class EBlend : int32_t {
  Default = 0,
  Clobber,
  SourceOver,
  SourceIn,
  SourceOut,
  SourceAtop,
  DestOver,
  DestIn,
  DestOut,
  DestAtop,
  Add,
  XOR
};

// How drawing combines with what is underneath; the weight is the opacity.
struct IBlend {
  EBlend mMethod = EBlend::Default;
  float mWeight = 1.f;

  IBlend() = default;
  IBlend(EBlend method, float weight = 1.f) : mMethod(method), mWeight(weight) {}
};

inline float BlendWeight(const IBlend* blend) {
  return blend ? blend->mWeight : 1.f;
}

}  // namespace igraphics
}  // namespace iplug
