// "反転" on a small picture: each stage alone and together against the same stages computed
// here, the edge values that show the arithmetic (white to black, a hue turned without
// clamping, transparency inverted), and the picture coming back untouched with no check set.
#include <gtest/gtest.h>

#include <optional>

#include "builtin/basic/basic_invert.h"
#include "gpu/shader_run_support.h"
#include "render/render_test_support.h"

namespace {

using TestSupport::nearHalf;
using TestSupport::CpuImage;
using TestSupport::Rgba;

struct Checks {
  bool vertical = false, horizontal = false, luminance = false, hue = false, alpha = false;
};

// The three stages on the CPU, on premultiplied pixels.
CpuImage invertOnCpu(const CpuImage& source, const Checks& checks) {
  CpuImage mirrored(source.width, source.height);
  for (int y = 0; y < source.height; ++y)
    for (int x = 0; x < source.width; ++x)
      mirrored.at(x, y) = source.get(checks.horizontal ? source.width - 1 - x : x,
                                    checks.vertical ? source.height - 1 - y : y);
  CpuImage result = mirrored;
  for (Rgba& p : result.pixels) {
    if ((checks.luminance || checks.hue) && p[3] >= 0.001f) {
      const float r = p[0] / p[3], g = p[1] / p[3], b = p[2] / p[3];
      float luma = 0.299f * r + 0.587f * g + 0.114f * b;
      float cb = -0.169f * r - 0.331f * g + 0.5f * b;
      float cr = 0.5f * r - 0.419f * g - 0.081f * b;
      if (checks.luminance) luma = 1.0f - luma;
      if (checks.hue) cb = -cb, cr = -cr;
      p = {(luma + 1.402f * cr) * p[3], (luma - 0.344f * cb - 0.714f * cr) * p[3],
           (luma + 1.772f * cb) * p[3], p[3]};
    }
    if (checks.alpha) {
      if (p[3] < 0.001f) {
        p = {1, 1, 1, 1};
      } else {
        const float a = 1.0f - p[3];
        p = {p[0] / p[3] * a, p[1] / p[3] * a, p[2] / p[3] * a, a};
      }
    }
  }
  return result;
}

class InvertFilterTest : public ::testing::Test {
 protected:
  void SetUp() override { world_.emplace(); }
  void TearDown() override { world_.reset(); }

  CpuImage run(const CpuImage& source, const Checks& checks) {
    Effect::BasicInvert invert;
    invert.flipVertical.value = checks.vertical;
    invert.flipHorizontal.value = checks.horizontal;
    invert.invertLuminance.value = checks.luminance;
    invert.invertHue.value = checks.hue;
    invert.invertAlpha.value = checks.alpha;
    Effect::EffectContext context;
    Effect::OwnedImage image = invert.filterVideo(context, TestSupport::upload(source));
    EXPECT_TRUE(image);
    return image ? TestSupport::download(*image) : CpuImage();
  }

  std::optional<TestSupport::RenderWorld> world_;
};

// Opaque, half-covered, empty and nearly empty pixels of several colours.
CpuImage sample() {
  CpuImage picture(3, 2);
  picture.pixels = {{1, 0, 0, 1},         {0, 0.5f, 0, 0.5f},         {0, 0, 0, 0},
                    {1, 1, 1, 1},         {0.16f, 0.24f, 0.32f, 0.8f}, {0.05f, 0.1f, 0.025f, 0.25f}};
  return picture;
}

TEST_F(InvertFilterTest, EachStageAndTheirSequenceMatchTheReference) {
  const struct {
    const char* what;
    Checks checks;
  } cases[] = {
      {"upside down", {.vertical = true}},
      {"left to right", {.horizontal = true}},
      {"turned half round", {.vertical = true, .horizontal = true}},
      {"luminance", {.luminance = true}},
      {"hue", {.hue = true}},
      {"luminance and hue", {.luminance = true, .hue = true}},
      {"transparency", {.alpha = true}},
      {"everything", {true, true, true, true, true}},
  };
  const CpuImage source = sample();
  for (const auto& c : cases)
    EXPECT_TRUE(TestSupport::imagesNear(run(source, c.checks), invertOnCpu(source, c.checks)))
        << c.what;
}

TEST_F(InvertFilterTest, EdgeValuesOfTheColourAndAlphaStages) {
  const CpuImage source = sample();
  const CpuImage luminance = run(source, {.luminance = true});
  EXPECT_TRUE(nearHalf(luminance.get(0, 1), {0, 0, 0, 1})) << "white turns black";
  EXPECT_TRUE(nearHalf(luminance.get(2, 0), {0, 0, 0, 0})) << "empty pixels stay as they are";

  // Red with its colour difference negated leaves the colour range: nothing clamps it.
  const CpuImage hue = run(source, {.hue = true});
  EXPECT_TRUE(nearHalf(hue.get(0, 0), {-0.402f, 0.598f, 0.598f, 1.0f}));

  const CpuImage alpha = run(source, {.alpha = true});
  EXPECT_TRUE(nearHalf(alpha.get(2, 0), {1, 1, 1, 1})) << "transparent turns opaque white";
  EXPECT_TRUE(nearHalf(alpha.get(0, 0), {0, 0, 0, 0})) << "opaque turns transparent";
  EXPECT_TRUE(nearHalf(alpha.get(1, 0), {0, 0.5f, 0, 0.5f})) << "half stays half";

  const CpuImage turned = run(source, {.vertical = true, .horizontal = true});
  EXPECT_TRUE(nearHalf(turned.get(0, 0), source.get(2, 1)));
  EXPECT_TRUE(nearHalf(turned.get(2, 1), source.get(0, 0)));
}

TEST_F(InvertFilterTest, WithoutAnyCheckTheSameCpuImageComesBack) {
  Effect::BasicInvert invert;
  Effect::EffectContext context;
  Effect::OwnedImage image = TestSupport::upload(sample());
  const Media::ResourceBuffer* before = image.get();
  image = invert.filterVideo(context, std::move(image));
  EXPECT_EQ(image.get(), before);
}

}  // namespace
