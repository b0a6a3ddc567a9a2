// "ルミナンスキー" on small pictures against the coverage computed here: every mode with a
// ramp and without one, a reference outside the luma range, transparent pixels copied; the
// modes without interpolation leave each pixel fully kept or fully cleared.
#include "builtin/filter/luminance_key_filter.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <optional>

#include "colour_reference.h"
#include "filter_run_support.h"

namespace {

using TestSupport::CpuImage;
using TestSupport::edgeRatio;
using TestSupport::Rgba;

struct Settings {
  double base = 2048, range = 512;
  int mode = 0;
};

// The kept share of a pixel, or none where a mode without a ramp sits on its step (rounding
// may tip it either way).
std::optional<float> keptShare(const Rgba& p, const Settings& s) {
  const float offset = static_cast<float>(s.base) / 4096.0f;
  const float range = static_cast<float>(s.range) / 4096.0f;
  const float luma = TestSupport::lumaChroma(TestSupport::straight(p))[0];
  const float apart = edgeRatio(std::fabs(luma - offset), range);
  switch (s.mode) {
    case 0: return edgeRatio(luma - offset, range) + 1.0f;
    case 1: return edgeRatio(offset - luma, range) + 1.0f;
    case 2: return 1.0f - apart;
    case 3: if (std::fabs(1.0f - apart) < 1e-3f) return std::nullopt;
            return 1.0f - apart >= 0.0f ? 1.0f : 0.0f;
    case 4: return apart;
    case 5: if (std::fabs(apart - 1.0f) < 1e-3f) return std::nullopt;
            return apart >= 1.0f ? 1.0f : 0.0f;
    default: return 0.0f;
  }
}

class LuminanceKeyFilterTest : public TestSupport::FilterWorldTest {
 protected:

  static CpuImage run(const CpuImage& source, const Settings& s) {
    Effect::LuminanceKeyFilter key;
    key.baseLuminance.setValue(s.base, 0);
    key.luminanceRange.setValue(s.range, 0);
    key.mode.value = s.mode;
    return TestSupport::filtered(key, source);
  }
};

TEST_F(LuminanceKeyFilterTest, EachModeScalesThePixelByItsLuma) {
  const CpuImage source = TestSupport::randomPicture(10, 8, 109);
  const Settings cases[] = {
      {2048, 512, 0}, {2048, 512, 1}, {1500, 1200, 2}, {2048, 700, 3}, {2600, 900, 4},
      {2048, 600, 5}, {-1000, 4096, 0}, {6000, 2000, 1}, {2048, 0, 2}, {2048, 0, 4},
      {2048, 512, 9},
  };
  for (const Settings& s : cases) {
    EXPECT_TRUE(TestSupport::matchesEverywhere(
        run(source, s),
        [&](int x, int y) -> std::optional<Rgba> {
          const Rgba p = source.get(x, y);
          if (p[3] < 0.001f) return p;
          const std::optional<float> share = keptShare(p, s);
          if (!share) return std::nullopt;
          return TestSupport::scaled(p, std::clamp(*share, 0.0f, 1.0f));
        }))
        << "reference " << s.base << ", range " << s.range << ", mode " << s.mode;
  }
}

TEST_F(LuminanceKeyFilterTest, ModesWithoutInterpolationKeepOrClearWholePixels) {
  const CpuImage source = TestSupport::randomPicture(12, 9, 113);
  for (const int mode : {3, 5}) {
    const CpuImage keyed = run(source, {2048, 800, mode});
    int kept = 0, cleared = 0;
    for (int y = 0; y < source.height; ++y)
      for (int x = 0; x < source.width; ++x) {
        const float before = source.get(x, y)[3], after = keyed.get(x, y)[3];
        if (before < 0.001f) continue;
        if (after == 0.0f)
          ++cleared;
        else if (std::fabs(after - before) < 1e-3f)
          ++kept;
        else
          ADD_FAILURE() << "mode " << mode << ": partly kept at " << x << ", " << y;
      }
    EXPECT_GT(kept, 0) << mode;
    EXPECT_GT(cleared, 0) << mode;
  }
}

}  // namespace
