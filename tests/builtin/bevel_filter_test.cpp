// "凸エッジ" on small pictures against the same shading computed here: the light's angle and
// the width and height that scale it, the width limited to half the picture, the interior of
// an opaque shape left alone, and no width returning the picture itself.
#include "builtin/filter/bevel_filter.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <numbers>
#include <optional>

#include "filter_run_support.h"

namespace {

using TestSupport::CpuImage;
using TestSupport::Rgba;

struct Settings {
  double width = 4, height = 1, angle = 45;
};

// Whether a sample position lies so near a texel edge that rounding may pick either texel.
bool onEdge(float v) { return std::fabs(v - std::round(v)) < 1e-3f; }

// The shading on the CPU; none where a sample sits on a texel edge.
std::optional<Rgba> bevelOnCpu(const CpuImage& image, int x, int y, const Settings& s) {
  const Rgba p = image.get(x, y);
  const int n = std::min({static_cast<int>(std::lround(s.width)), image.width / 2,
                          image.height / 2});
  if (n <= 0 || p[3] < 0.001f) return p;
  const float turn = -static_cast<float>(s.angle) * std::numbers::pi_v<float> / 180.0f;
  const float stepX = std::sin(turn), stepY = std::cos(turn);
  const float depth = static_cast<float>(s.height) * 0.5f / static_cast<float>(n);
  const auto alphaAt = [&](float px, float py) -> std::optional<float> {
    if (onEdge(px) || onEdge(py)) return std::nullopt;
    if (px < 0 || py < 0) return 0.0f;
    return image.get(static_cast<int>(px), static_cast<int>(py))[3];
  };
  float sum = 0;
  for (int i = 1; i <= n; ++i) {
    const float cx = float(x) + 0.5f, cy = float(y) + 0.5f;
    const auto ahead = alphaAt(cx + float(i) * stepX, cy + float(i) * stepY);
    const auto behind = alphaAt(cx - float(i) * stepX, cy - float(i) * stepY);
    if (!ahead || !behind) return std::nullopt;
    sum += *ahead - *behind;
  }
  Rgba out;
  for (int c = 0; c < 3; ++c) out[c] = std::clamp(p[c] / p[3] + sum * depth, 0.0f, 1.0f) * p[3];
  out[3] = p[3];
  return out;
}

class BevelFilterTest : public TestSupport::FilterRunTest {
 protected:
  static void set(Effect::BevelFilter& bevel, const Settings& s) {
    bevel.width.setValue(s.width, 0);
    bevel.height.setValue(s.height, 0);
    bevel.angle.setValue(s.angle, 0);
  }
  static CpuImage run(const CpuImage& source, const Settings& s) {
    Effect::BevelFilter bevel;
    set(bevel, s);
    return runOn(bevel, source);
  }
};

// An opaque grey block with a soft blue corner in a clear picture.
CpuImage shape(int width, int height) {
  return TestSupport::pictureOf(width, height, [&](int x, int y) -> Rgba {
    if (x >= 3 && y >= 3 && x < width - 3 && y < height - 3) return {0.4f, 0.4f, 0.4f, 1};
    if (x < 2 && y < 2) return {0, 0, 0.3f, 0.5f};
    return {0, 0, 0, 0};
  });
}

TEST_F(BevelFilterTest, ShadingMatchesTheReference) {
  const struct {
    const char* what;
    int width, height;
    Settings settings;
  } cases[] = {
      {"light from the upper right", 16, 12, {}},
      {"light from below, higher", 16, 12, {.width = 3, .height = 2.5, .angle = 180}},
      {"a turned light, beyond one turn", 16, 12, {.width = 2, .height = 0.7, .angle = -400.25}},
      {"width 100 on 20 x 30 takes 10 steps", 20, 30, {.width = 100, .height = 3, .angle = 30}},
      {"a random picture", 13, 11, {.width = 5, .height = 1.5, .angle = 77}},
  };
  for (const auto& c : cases) {
    const CpuImage source = std::string_view(c.what) == "a random picture"
                                ? TestSupport::randomPicture(c.width, c.height, 7)
                                : shape(c.width, c.height);
    const CpuImage result = run(source, c.settings);
    ASSERT_EQ(result.width, c.width) << c.what;
    ASSERT_EQ(result.height, c.height) << c.what;
    EXPECT_TRUE(TestSupport::matchesEverywhere(
        result, [&](int x, int y) { return bevelOnCpu(source, x, y, c.settings); }))
        << c.what;
  }
}

TEST_F(BevelFilterTest, OneDiagonalPairOfEdgesLightsAndTheOtherShades) {
  CpuImage block(20, 20);
  for (int y = 4; y < 16; ++y)
    for (int x = 4; x < 16; ++x) block.at(x, y) = {0.5f, 0.5f, 0.5f, 1};
  const CpuImage lit = run(block, {.width = 3, .height = 1, .angle = 45});
  // The steps lead down and to the left: the lower left edges find the clear outside ahead
  // and shade, the upper right ones find the shape ahead and light.
  EXPECT_LT(lit.get(4, 15)[0], 0.5f - 0.1f) << "lower left corner";
  EXPECT_GT(lit.get(15, 4)[0], 0.5f + 0.1f) << "upper right corner";
  // Farther than the width from every edge nothing changes.
  for (int y = 8; y < 12; ++y)
    for (int x = 8; x < 12; ++x)
      EXPECT_TRUE(TestSupport::nearHalf(lit.get(x, y), {0.5f, 0.5f, 0.5f, 1})) << x << ", " << y;
  EXPECT_TRUE(TestSupport::nearHalf(lit.get(1, 1), {0, 0, 0, 0})) << "clear stays clear";
}

TEST_F(BevelFilterTest, NoStepsReturnThePictureItself) {
  const struct {
    const char* what;
    int width, height;
    double steps;
  } cases[] = {{"width 0", 8, 8, 0}, {"width 0.4 rounds to 0", 8, 8, 0.4},
               {"a picture one pixel high", 8, 1, 4}};
  for (const auto& c : cases) {
    Effect::BevelFilter bevel;
    set(bevel, {.width = c.steps});
    EXPECT_TRUE(returnsItsInput(bevel, shape(c.width, c.height))) << c.what;
  }
}

}  // namespace
