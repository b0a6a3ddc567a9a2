#pragma once
// The maths the effect shaders share, done on the CPU for their tests: luma and colour
// differences, straight colours, the soft step and the ratios of the edges.
#include <algorithm>
#include <array>
#include <cmath>
#include <limits>

#include "gpu/gpu_test_support.h"

namespace TestSupport {

using Ycc = std::array<float, 3>;

inline Ycc lumaChroma(const Rgba& c) {
  return {0.299f * c[0] + 0.587f * c[1] + 0.114f * c[2],
          -0.169f * c[0] - 0.331f * c[1] + 0.5f * c[2],
          0.5f * c[0] - 0.419f * c[1] - 0.081f * c[2]};
}

// Back to RGB with the given alpha.
inline Rgba fromLumaChroma(const Ycc& ycc, float alpha) {
  return {ycc[0] + 1.402f * ycc[2], ycc[0] - 0.344f * ycc[1] - 0.714f * ycc[2],
          ycc[0] + 1.772f * ycc[1], alpha};
}

// The colour divided by its alpha (the caller checks that the alpha is not 0).
inline Rgba straight(const Rgba& c) { return {c[0] / c[3], c[1] / c[3], c[2] / c[3], c[3]}; }

inline Rgba scaled(Rgba c, float factor) {
  for (float& v : c) v *= factor;
  return c;
}

inline float softStep(float t) {
  t = std::clamp(t, 0.0f, 1.0f);
  return t * t * (3.0f - 2.0f * t);
}

// a / width, where a width of 0 makes the edge a step: plus or minus infinity by the sign
// of a, and 0 for a of 0.
inline float edgeRatio(float a, float width) {
  if (width != 0.0f) return a / width;
  if (a == 0.0f) return 0.0f;
  return a > 0.0f ? std::numeric_limits<float>::infinity()
                  : -std::numeric_limits<float>::infinity();
}

// The pixel centre of column or row i.
inline float centre(int i) { return static_cast<float>(i) + 0.5f; }

}  // namespace TestSupport
