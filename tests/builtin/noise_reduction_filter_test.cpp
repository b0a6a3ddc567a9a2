// "ノイズ除去" on small pictures against the pull computed here: several strengths, ranges and
// thresholds, transparent pixels left alone and the picture's surroundings counting as
// transparent; without threshold or strength the picture comes back untouched.
#include "builtin/filter/noise_reduction_filter.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

#include "filter_run_support.h"

namespace {

using TestSupport::CpuImage;
using TestSupport::Rgba;

struct Settings {
  double strength = 100, range = 2, threshold = 20;
};

CpuImage reducedOnCpu(const CpuImage& source, const Settings& s) {
  const int r = static_cast<int>(std::lround(s.range));
  const float window = static_cast<float>(2 * r + 1);
  const float level = static_cast<float>(s.strength) / 100.0f / (window * window);
  const float limit = static_cast<float>(s.threshold) / 512.0f;
  CpuImage result = source;
  for (int y = 0; y < source.height; ++y)
    for (int x = 0; x < source.width; ++x) {
      const Rgba c = source.get(x, y);
      if (c[3] < 0.001f) continue;
      for (int k = 0; k < 3; ++k) {
        float sum = 0.0f;
        for (int j = -r; j <= r; ++j)
          for (int i = -r; i <= r; ++i) {
            const Rgba n = source.get(x + i, y + j);
            const float d = n[k] - c[k], size = std::fabs(d);
            float t = std::max(size - std::max(2.0f * (size - limit), 0.0f), 0.0f);
            t = std::min({t, c[3], n[3]});
            sum += d > 0 ? t : d < 0 ? -t : 0.0f;
          }
        result.at(x, y)[k] = c[k] + sum * level;
      }
    }
  return result;
}

class NoiseReductionFilterTest : public TestSupport::FilterWorldTest {
 protected:
  static void apply(Effect::NoiseReductionFilter& filter, const Settings& s) {
    filter.strength.setValue(s.strength, 0);
    filter.range.setValue(s.range, 0);
    filter.threshold.setValue(s.threshold, 0);
  }
};

TEST_F(NoiseReductionFilterTest, SmallDifferencesPullEachPixelTowardsItsNeighbours) {
  // Gentle noise over a few sharp steps, so that both sides of the threshold show.
  const CpuImage source = TestSupport::pictureOf(11, 8, [](int x, int y) {
    const float a = (x + 2 * y) % 7 == 0 ? 0.0f : 0.6f + 0.05f * static_cast<float>(x % 3);
    const float base = x < 5 ? 0.2f : 0.8f;
    const float wobble = 0.03f * static_cast<float>((x * 5 + y * 3) % 4);
    return Rgba{(base + wobble) * a, (0.5f - wobble) * a, (1.0f - base) * a, a};
  });
  const Settings cases[] = {{}, {50, 1, 60}, {100, 3, 200}, {75, 8, 5}};
  for (const Settings& s : cases) {
    Effect::NoiseReductionFilter filter;
    apply(filter, s);
    EXPECT_TRUE(TestSupport::imagesNear(TestSupport::filtered(filter, source),
                                        reducedOnCpu(source, s)))
        << "strength " << s.strength << ", range " << s.range << ", threshold " << s.threshold;
  }
}

TEST_F(NoiseReductionFilterTest, WithoutThresholdOrStrengthThePictureComesBack) {
  for (const Settings& s : {Settings{.threshold = 0}, Settings{.strength = 0}}) {
    Effect::NoiseReductionFilter filter;
    apply(filter, s);
    EXPECT_TRUE(TestSupport::handsBack(filter, TestSupport::randomPicture(5, 4, 83)))
        << "strength " << s.strength << ", threshold " << s.threshold;
  }
}

}  // namespace
