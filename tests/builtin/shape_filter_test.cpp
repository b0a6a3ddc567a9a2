// "シャープ" on small pictures: the picture pushed away from the registered blur's softening
// of it (edges repeated, same size) and kept within 0 ... alpha, for several strengths and
// ranges; no strength hands the picture back; without the blur's kind the filter refuses.
#include "builtin/filter/shape_filter.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <optional>
#include <string>

#include "builtin/filter/bokashi_filter.h"
#include "effect/effect_service.h"
#include "filter_run_support.h"

namespace {

using TestSupport::CpuImage;
using TestSupport::Rgba;

class ShapeFilterTest : public TestSupport::FilterWorldTest {
 protected:

  static void registerBlur() {
    ASSERT_TRUE(Effect::EffectService::instance()->registerEffect<Effect::BokashiFilter>());
  }

  static CpuImage run(const CpuImage& source, double strength, double range) {
    Effect::ShapeFilter sharpen;
    sharpen.strength.setValue(strength, 0);
    sharpen.range.setValue(range, 0);
    return TestSupport::filtered(sharpen, source);
  }
};

TEST_F(ShapeFilterTest, ThePictureMovesAwayFromItsBlurWithinItsAlpha) {
  registerBlur();
  const CpuImage source = TestSupport::randomPicture(12, 9, 71);
  Effect::BokashiFilter blur;
  const struct {
    double strength, range;
  } cases[] = {{50, 5}, {300, 2}, {800, 1}, {120, 0}};
  for (const auto& c : cases) {
    const CpuImage blurred = TestSupport::download(
        *blur.blur(TestSupport::upload(source), static_cast<int>(c.range), 0.0f,
                   Effect::BokashiFilter::kKeepEdge));
    const float level = static_cast<float>(c.strength) / 100.0f;
    EXPECT_TRUE(TestSupport::matchesEverywhere(
        run(source, c.strength, c.range),
        [&](int x, int y) -> std::optional<Rgba> {
          Rgba p = source.get(x, y);
          const Rgba b = blurred.get(x, y);
          for (int k = 0; k < 3; ++k) p[k] = std::clamp(p[k] + (p[k] - b[k]) * level, 0.0f, p[3]);
          return p;
        },
        4e-3f))
        << "strength " << c.strength << ", range " << c.range;
  }
}

TEST_F(ShapeFilterTest, NoStrengthHandsThePictureBack) {
  Effect::ShapeFilter sharpen;
  sharpen.strength.setValue(0, 0);
  EXPECT_TRUE(TestSupport::handsBack(sharpen, TestSupport::randomPicture(4, 4, 73)));
}

TEST_F(ShapeFilterTest, WithoutTheBlurKindTheFilterRefuses) {
  std::string what;
  try {
    run(TestSupport::randomPicture(4, 4, 79), 50, 5);
  } catch (const std::exception& failure) {
    what = failure.what();
  }
  EXPECT_NE(what.find("default effect not found"), std::string::npos) << what;
}

}  // namespace
