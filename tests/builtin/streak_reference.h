#pragma once
// A blur along a straight line both ways on the CPU, as the glow's streaks and the
// directional blur draw it: N taps forward by `step` and N - 1 backward by `step` x
// `stepRatio` from the output pixel's centre moved by `offset`, each read at the texel the
// position falls in (transparent outside), weighed by the weight of its index.
#include <algorithm>
#include <cmath>
#include <functional>

#include "builtin/filter/streak_constants.h"
#include "gpu/shader_run_support.h"

namespace TestSupport {

inline float smooth(float t) {
  t = std::clamp(t, 0.0f, 1.0f);
  return t * t * (3.0f - 2.0f * t);
}

using StreakWeight = std::function<float(float i, float n)>;
// The glow's weights: falling smoothly from 1 at the pixel to 0 at N taps.
inline const StreakWeight kGlowWeight = [](float i, float n) { return smooth((n - i) / n); };

inline CpuImage cpuStreak(const CpuImage& input, const Effect::StreakConstants& c, int width,
                          int height, const StreakWeight& weight) {
  const auto texelAt = [&](float x, float y) {
    return input.get(static_cast<int>(std::floor(x)), static_cast<int>(std::floor(y)));
  };
  CpuImage output(width, height);
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x) {
      const float fx = static_cast<float>(x) + 0.5f + c.offset[0];
      const float fy = static_cast<float>(y) + 0.5f + c.offset[1];
      const auto n = static_cast<float>(c.sampleNum);
      Rgba sum{0, 0, 0, 0};
      float weights = 0.0f;
      const auto add = [&](const Rgba& texel, float w) {
        for (int k = 0; k < 4; ++k) sum[k] += texel[k] * w;
        weights += w;
      };
      for (int i = 0; i < c.sampleNum; ++i) {
        const auto fi = static_cast<float>(i);
        const float w = weight(fi, n);
        add(texelAt(fx + c.step[0] * fi, fy + c.step[1] * fi), w);
        if (i > 0)
          add(texelAt(fx - c.step[0] * (fi * c.stepRatio), fy - c.step[1] * (fi * c.stepRatio)), w);
      }
      Rgba& pixel = output.at(x, y);
      if (!(weights > 0.0f)) {
        pixel = texelAt(fx, fy);
        continue;
      }
      for (int k = 0; k < 4; ++k) pixel[k] = sum[k] / weights;
    }
  return output;
}

}  // namespace TestSupport
