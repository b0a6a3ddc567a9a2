#pragma once
// The lens blur's kernel on the CPU: each output pixel the mean of n x n taps weighed by the
// alpha of the kernel picture at (i, j); a kernel without weight gives the middle tap.
#include <algorithm>
#include <functional>

#include "gpu/shader_run_support.h"

namespace TestSupport {

// `tap` gives the colour of tap (i, j) for the output pixel whose centre is (px, py).
inline CpuImage cpuBokeh(const CpuImage& kernel, int n, int width, int height,
                         const std::function<Rgba(float px, float py, int i, int j)>& tap) {
  CpuImage output(width, height);
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x) {
      const float px = static_cast<float>(x) + 0.5f;
      const float py = static_cast<float>(y) + 0.5f;
      Rgba sum{0, 0, 0, 0};
      float weights = 0.0f;
      for (int j = 0; j < n; ++j)
        for (int i = 0; i < n; ++i) {
          const float w = kernel.get(i, j)[3];
          if (w == 0.0f) continue;
          const Rgba texel = tap(px, py, i, j);
          for (int c = 0; c < 4; ++c) sum[c] += w * texel[c];
          weights += w;
        }
      const int middle = std::max(n - 1, 0) / 2;
      if (weights == 0.0f) {
        output.at(x, y) = tap(px, py, middle, middle);
        continue;
      }
      for (int c = 0; c < 4; ++c) output.at(x, y)[c] = sum[c] / weights;
    }
  return output;
}

}  // namespace TestSupport
