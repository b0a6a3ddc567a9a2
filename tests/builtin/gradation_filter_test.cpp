// "グラデーション" on a small picture against the gradient computed here: the four shapes, the
// colours that may be unset, the strength, and the blend modes that mix with the picture.
#include "builtin/filter/gradation_filter.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <numbers>
#include <optional>

#include "gpu/shader_run_support.h"
#include "in_place_filter_support.h"
#include "render/render_test_support.h"

namespace {

using TestSupport::CpuImage;
using TestSupport::Rgba;

constexpr uint32_t kUnset = 0xFFFFFFFF;

struct Gradient {
  double strength = 100, cx = 0, cy = 0, angle = 0, width = 6;
  int mode = 0, shape = 0;
  uint32_t start = 0xFFFFFF, end = kUnset;
};

double smooth(double t) {
  const double u = std::clamp(t, 0.0, 1.0);
  return u * u * (3.0 - 2.0 * u);
}

Rgba colourOf(uint32_t rgb) {
  if (rgb == kUnset) return {0, 0, 0, 0};
  return {static_cast<float>(rgb >> 16 & 0xFF) / 255.0f,
          static_cast<float>(rgb >> 8 & 0xFF) / 255.0f, static_cast<float>(rgb & 0xFF) / 255.0f, 1};
}

// What the chosen mode makes of the gradient texel s over the picture texel d (before the
// strength), for the modes the test uses.
Rgba mixed(const Rgba& s, const Rgba& d, int mode) {
  Rgba r = s;
  for (int c = 0; c < 3; ++c) {
    const float under = s[3] * d[c];
    if (mode == 1) r[c] = s[c] + under;
    if (mode == 3) r[c] = s[c] * d[c];
    if (mode == 12) r[c] = std::abs(under - s[c]);
  }
  return r;
}

CpuImage gradationOnCpu(const CpuImage& source, const Gradient& g) {
  const double theta = g.angle * std::numbers::pi / 180.0;
  const double dirX = std::sin(theta), dirY = -std::cos(theta);
  const double range = g.width + (g.shape == 0 ? 1 : 0);
  const Rgba c0 = colourOf(g.start), c1 = colourOf(g.end);
  const float s = static_cast<float>(g.strength / 100);
  CpuImage out = source;
  for (int y = 0; y < source.height; ++y)
    for (int x = 0; x < source.width; ++x) {
      const double qx = x + 0.5 - (source.width / 2.0 + g.cx);
      const double qy = y + 0.5 - (source.height / 2.0 + g.cy);
      const double d = qx * dirX + qy * dirY, across = -qx * dirY + qy * dirX;
      double k = 0;
      if (g.shape == 0) k = 1 - smooth((d + range / 2) / range);
      if (g.shape == 1) k = smooth(std::hypot(qx, qy) / range);
      if (g.shape == 2) k = 1 - smooth((range - std::abs(d) - std::abs(across)) / range);
      if (g.shape == 3) k = 1 - smooth((range - std::abs(d)) / range);
      const Rgba under = source.get(x, y);
      Rgba grad;
      for (int c = 0; c < 4; ++c)
        grad[c] = (c0[c] + static_cast<float>(k) * (c1[c] - c0[c])) * under[3];
      if (g.mode != 0 && grad[3] < 0.001f) continue;
      const Rgba top = g.mode == 0 ? grad : mixed(grad, under, g.mode);
      for (int c = 0; c < 4; ++c) out.at(x, y)[c] = top[c] * s + under[c] * (1 - grad[3] * s);
    }
  return out;
}

class GradationFilterTest : public ::testing::Test {
 protected:
  void SetUp() override { world_.emplace(); }
  void TearDown() override { world_.reset(); }

  CpuImage run(const CpuImage& source, const Gradient& g) {
    Effect::GradationFilter filter;
    filter.strength.setValue(g.strength, 0);
    filter.centerX.setValue(g.cx, 0);
    filter.centerY.setValue(g.cy, 0);
    filter.angle.setValue(g.angle, 0);
    filter.width.setValue(g.width, 0);
    filter.blendMode.value = g.mode;
    filter.shape.value = g.shape;
    for (auto [item, rgb] : {std::pair{&filter.startColor, g.start}, {&filter.endColor, g.end}}) {
      item->setRgb(rgb == kUnset ? 0 : rgb);
      item->none = rgb == kUnset;
    }
    return TestSupport::runInPlace(filter, source);
  }

  std::optional<TestSupport::RenderWorld> world_;
};

TEST_F(GradationFilterTest, ShapesColoursAndModesMatchTheReference) {
  const struct {
    const char* what;
    Gradient gradient;
  } cases[] = {
      {"white into nothing, downwards", {}},
      {"two colours, turned, off centre",
       {.cx = 2, .cy = -1, .angle = 30, .start = 0xFF0000, .end = 0x0000FF}},
      {"circle, half strength",
       {.strength = 50, .width = 5, .shape = 1, .start = 0x00FF00, .end = 0x202020}},
      {"rectangle", {.angle = 45, .width = 4, .shape = 2, .start = 0x808000, .end = 0x0080FF}},
      {"convex", {.angle = 90, .width = 3, .shape = 3, .start = kUnset, .end = 0xFFFFFF}},
      {"linear 0 wide: one pixel", {.width = 0, .start = 0xFF0000, .end = 0x00FF00}},
      {"added", {.mode = 1, .start = 0x404040, .end = 0x806000}},
      {"multiplied, weaker",
       {.strength = 70, .mode = 3, .shape = 1, .start = 0xFF8040, .end = 0x4080FF}},
      {"difference", {.angle = -60, .mode = 12, .start = 0xFFFFFF, .end = 0x000000}},
  };
  const CpuImage source = TestSupport::noisePicture(10, 8, 4);
  for (const auto& c : cases)
    EXPECT_TRUE(
        TestSupport::imagesNear(run(source, c.gradient), gradationOnCpu(source, c.gradient)))
        << c.what;
}

TEST_F(GradationFilterTest, UnsetColoursFadeToTransparency) {
  const CpuImage source =
      TestSupport::pictureOf(4, 21, [](int, int) { return Rgba{0, 0, 0, 1}; });
  // Both unset: nothing is laid over the picture.
  EXPECT_TRUE(TestSupport::imagesNear(run(source, {.start = kUnset, .end = kUnset}), source));
  // Initially white into unset, 20 pixels wide downwards: white above, untouched below.
  const CpuImage faded = run(source, {.width = 20});
  EXPECT_TRUE(TestSupport::nearHalf(faded.get(1, 0), {1, 1, 1, 1}, 0.02f));
  EXPECT_TRUE(TestSupport::nearHalf(faded.get(1, 10), {0.5f, 0.5f, 0.5f, 1}, 0.02f));
  EXPECT_TRUE(TestSupport::nearHalf(faded.get(1, 20), {0, 0, 0, 1}, 0.02f));
}

}  // namespace
