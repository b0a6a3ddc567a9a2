// "単色化" on small pictures against the tint computed here: with and without keeping the
// luma, several colours and strengths; a full tint without keeping the luma paints the
// colour itself; no strength hands the picture back.
#include "builtin/filter/monochrome_filter.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <optional>

#include "colour_reference.h"
#include "filter_run_support.h"

namespace {

using TestSupport::CpuImage;
using TestSupport::Rgba;

struct Settings {
  double strength = 100;
  uint32_t rgb = 0xFFFFFF;
  bool keepLuminance = true;
};

CpuImage tintedOnCpu(const CpuImage& source, const Settings& s) {
  const float share = static_cast<float>(s.strength) / 100.0f;
  const float level[3] = {s.keepLuminance ? 0.0f : share, share, share};
  const TestSupport::Ycc target =
      TestSupport::lumaChroma({static_cast<float>(s.rgb >> 16 & 0xFF) / 255.0f,
                               static_cast<float>(s.rgb >> 8 & 0xFF) / 255.0f,
                               static_cast<float>(s.rgb & 0xFF) / 255.0f, 1.0f});
  CpuImage result(source.width, source.height);
  for (int y = 0; y < source.height; ++y)
    for (int x = 0; x < source.width; ++x) {
      const Rgba p = source.get(x, y);
      TestSupport::Ycc ycc = TestSupport::lumaChroma(p);
      for (int k = 0; k < 3; ++k) ycc[k] += level[k] * (target[k] * p[3] - ycc[k]);
      result.at(x, y) = TestSupport::fromLumaChroma(ycc, p[3]);
    }
  return result;
}

class MonochromeFilterTest : public TestSupport::FilterWorldTest {
 protected:
  static void apply(Effect::MonochromeFilter& filter, const Settings& s) {
    filter.strength.setValue(s.strength, 0);
    filter.color.setRgb(s.rgb);
    filter.keepLuminance.value = s.keepLuminance;
  }
  static CpuImage run(const CpuImage& source, const Settings& s) {
    Effect::MonochromeFilter filter;
    apply(filter, s);
    return TestSupport::filtered(filter, source);
  }
};

TEST_F(MonochromeFilterTest, TheColourTakesOverByTheStrength) {
  const CpuImage source = TestSupport::randomPicture(8, 6, 101);
  const Settings cases[] = {
      {}, {40, 0xFF8000, true}, {100, 0x2080FF, false}, {65, 0x00FF40, false}};
  for (const Settings& s : cases) {
    EXPECT_TRUE(TestSupport::imagesNear(run(source, s), tintedOnCpu(source, s)))
        << "strength " << s.strength << ", colour " << s.rgb << ", keep " << s.keepLuminance;
  }
}

TEST_F(MonochromeFilterTest, AFullTintWithoutKeepingTheLumaPaintsTheColour) {
  const CpuImage source = TestSupport::randomPicture(5, 4, 103);
  // Red through the luma and colour difference and back lands within the coefficients' slack.
  EXPECT_TRUE(TestSupport::matchesEverywhere(
      run(source, {100, 0xFF0000, false}),
      [&](int x, int y) -> std::optional<Rgba> {
        const float a = source.get(x, y)[3];
        return Rgba{a, 0, 0, a};
      },
      2e-3f));
}

TEST_F(MonochromeFilterTest, NoStrengthHandsThePictureBack) {
  Effect::MonochromeFilter filter;
  apply(filter, {0, 0x00FF00, false});
  EXPECT_TRUE(TestSupport::handsBack(filter, TestSupport::randomPicture(4, 4, 107)));
}

}  // namespace
