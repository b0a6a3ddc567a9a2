#pragma once
// The highlight weighting of the blurs with light strength, on the CPU: colours spread as
// e^(c x base + 1) before the blur and gathered by the logarithm after it; what lies below e
// came from the transparent outside and gathers to 0. And the fixture that starts the shared
// drawing resources whose shaders do both.
#include <algorithm>
#include <cmath>

#include "gpu/shader_run_support.h"
#include "gpu/style_services_support.h"

namespace TestSupport {

inline CpuImage spreadHighlights(CpuImage image, float base) {
  for (Rgba& pixel : image.pixels)
    for (int c = 0; c < 3; ++c) pixel[c] = std::exp(std::clamp(pixel[c], 0.0f, 1.0f) * base + 1.0f);
  return image;
}

inline CpuImage gatherHighlights(CpuImage image, float base) {
  for (Rgba& pixel : image.pixels)
    for (int c = 0; c < 3; ++c)
      pixel[c] = std::max(std::log(std::max(pixel[c], 1.0f)) - 1.0f, 0.0f) * (1.0f / base);
  return image;
}

class DrawingResourcesTest : public StyleServicesTest {
 protected:
  void SetUp() override {
    StyleServicesTest::SetUp();
    writeStyle(kStyleFonts);
    startServices();
  }
};

}  // namespace TestSupport
