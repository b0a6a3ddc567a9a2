// "色調補正" on a small picture against the correction computed here from the items: each
// item alone and together, with and without clamping, and the settings whose results are
// plain (the defaults give the picture back, no contrast gives mid grey, no luma and no
// saturation give black).
#include "builtin/filter/color_filter.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <numbers>
#include <optional>

#include "colour_reference.h"
#include "gpu/shader_run_support.h"
#include "in_place_filter_support.h"
#include "render/render_test_support.h"

namespace {

using TestSupport::CpuImage;
using TestSupport::Rgba;

struct Correction {
  double brightness = 100, contrast = 100, hue = 0, luminance = 100, saturation = 100;
  bool saturate = true;
};

CpuImage correctedOnCpu(const CpuImage& source, const Correction& c) {
  const auto contrast = static_cast<float>(c.contrast * 0.01);
  const auto brightness = static_cast<float>((c.brightness * 0.01 - 1.5) * c.contrast * 0.01 + 0.5);
  const auto hue = static_cast<float>(c.hue * std::numbers::pi / 180);
  const auto luminance = static_cast<float>(c.luminance * 0.01);
  const auto chroma = static_cast<float>(c.saturation * 0.01);
  CpuImage out = source;
  for (Rgba& p : out.pixels) {
    if (p[3] < 0.001f) continue;
    Rgba s = TestSupport::straight(p);
    if (hue != 0 || luminance != 1 || chroma != 1) {
      const TestSupport::Ycc ycc = TestSupport::lumaChroma(s);
      const float u = (ycc[1] * std::cos(hue) - ycc[2] * std::sin(hue)) * chroma;
      const float v = (ycc[1] * std::sin(hue) + ycc[2] * std::cos(hue)) * chroma;
      s = TestSupport::fromLumaChroma({ycc[0] * luminance, u, v}, p[3]);
    }
    for (int i = 0; i < 3; ++i) {
      s[i] = s[i] * contrast + brightness;
      if (c.saturate) s[i] = std::clamp(s[i], 0.0f, 1.0f);
    }
    p = {s[0] * p[3], s[1] * p[3], s[2] * p[3], p[3]};
  }
  return out;
}

class ColorFilterTest : public ::testing::Test {
 protected:
  void SetUp() override { world_.emplace(); }
  void TearDown() override { world_.reset(); }

  static CpuImage run(const CpuImage& source, const Correction& c) {
    Effect::ColorFilter filter;
    filter.brightness.setValue(c.brightness, 0);
    filter.contrast.setValue(c.contrast, 0);
    filter.hue.setValue(c.hue, 0);
    filter.luminance.setValue(c.luminance, 0);
    filter.saturation.setValue(c.saturation, 0);
    filter.saturate.value = c.saturate;
    return TestSupport::filtered(filter, source);
  }

  const CpuImage source_ = TestSupport::randomPicture(7, 5, 23);
  std::optional<TestSupport::RenderWorld> world_;
};

TEST_F(ColorFilterTest, CorrectsThePictureAsItsItemsSay) {
  const struct {
    const char* what;
    Correction correction;
  } cases[] = {
      {"brighter", {.brightness = 140}},
      {"darker", {.brightness = 55.5}},
      {"more contrast", {.contrast = 180}},
      {"less contrast", {.contrast = 40}},
      {"hue turned", {.hue = 75}},
      {"hue turned back past a whole turn", {.hue = -400}},
      {"brighter luma", {.luminance = 160}},
      {"washed out", {.saturation = 30}},
      {"vivid", {.saturation = 200}},
      {"everything", {120, 130, 200, 90, 150}},
      {"everything, unclamped", {160, 150, -30, 140, 180, false}},
  };
  for (const auto& c : cases)
    EXPECT_TRUE(TestSupport::imagesNear(run(source_, c.correction),
                                        correctedOnCpu(source_, c.correction)))
        << c.what;
}

TEST_F(ColorFilterTest, SettingsWithPlainResults) {
  // The defaults change nothing in a picture of colours within 0 to 1.
  const CpuImage inRange = TestSupport::noisePicture(6, 4, 5);
  EXPECT_TRUE(TestSupport::imagesNear(run(inRange, {}), inRange));

  CpuImage source(3, 1);
  source.pixels = {{0.2f, 0.4f, 0.1f, 0.5f}, {0.9f, 0.3f, 0.6f, 1.0f}, {}};
  const CpuImage grey = run(source, {.brightness = 170, .contrast = 0});
  EXPECT_TRUE(TestSupport::nearHalf(grey.get(0, 0), {0.25f, 0.25f, 0.25f, 0.5f})) << "mid grey";
  EXPECT_TRUE(TestSupport::nearHalf(grey.get(2, 0), {0, 0, 0, 0})) << "transparent stays";

  const CpuImage black = run(source, {.luminance = 0, .saturation = 0});
  EXPECT_TRUE(TestSupport::nearHalf(black.get(0, 0), {0, 0, 0, 0.5f}));
  EXPECT_TRUE(TestSupport::nearHalf(black.get(1, 0), {0, 0, 0, 1}));

  // The brightest setting adds 1 to every channel; unclamped, it stays above 1.
  const CpuImage bright = run(source, {.brightness = 200, .saturate = false});
  EXPECT_TRUE(TestSupport::nearHalf(bright.get(1, 0), {1.9f, 1.3f, 1.6f, 1}));
  EXPECT_TRUE(TestSupport::nearHalf(bright.get(0, 0), {0.7f, 0.9f, 0.6f, 0.5f}));
  const CpuImage clamped = run(source, {.brightness = 200});
  EXPECT_TRUE(TestSupport::nearHalf(clamped.get(1, 0), {1, 1, 1, 1}));
}

}  // namespace
