// "ライト" on a small picture against the light computed here: the front light added inside
// the shape (from the shape, or against the light from around it), the glow behind that
// grows the picture, the ratio that takes from either, and the plain cases that show the
// sums (no spread on an opaque picture, no strength at all).
#include "builtin/filter/light_filter.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <optional>

#include "gpu/shader_run_support.h"
#include "render/render_test_support.h"

namespace {

using TestSupport::nearHalf;
using TestSupport::CpuImage;
using TestSupport::Rgba;

struct Settings {
  double strength = 100, spread = 2, ratio = 0;
  bool backlight = false;
  uint32_t rgb = 0xFFFFFF;
};

// The light on the CPU, on premultiplied pixels, with transparent black outside.
CpuImage lightOnCpu(CpuImage image, const Settings& s) {
  const float power = static_cast<float>(s.strength) * 0.01f;
  const int r = static_cast<int>(std::lround(s.spread));
  const float k = static_cast<float>(s.ratio) * 0.01f;
  float front = k > 0 ? power * (1 - k) : power;
  const float back = k < 0 ? power * (1 + k) : power;
  const Rgba color{static_cast<float>(s.rgb >> 16 & 0xFF) / 255.0f,
                   static_cast<float>(s.rgb >> 8 & 0xFF) / 255.0f,
                   static_cast<float>(s.rgb & 0xFF) / 255.0f, 1.0f};
  const float n = static_cast<float>(2 * r + 1);
  const int w = image.width, h = image.height;

  if (front > 0) {
    if (!s.backlight) front *= 0.5f;
    CpuImage column(w, h);
    for (int y = 0; y < h; ++y)
      for (int x = 0; x < w; ++x) {
        float sum = 0;
        for (int d = -r; d <= r; ++d) {
          const float a = image.get(x, y + d)[3];
          sum += s.backlight ? 1 - a : a;
        }
        for (int c = 0; c < 4; ++c) column.at(x, y)[c] = color[c] * sum / n;
      }
    for (int y = 0; y < h; ++y)
      for (int x = 0; x < w; ++x) {
        Rgba& p = image.at(x, y);
        const float alpha = p[3];
        for (int c = 0; c < 3; ++c) {
          float sum = 0;
          for (int d = -r; d <= r; ++d) sum += column.get(x + d, y)[c];
          p[c] += sum * front / n * alpha;
        }
      }
  }
  if (back <= 0) return image;

  CpuImage tall(w, h + 2 * r);
  for (int y = 0; y < h + 2 * r; ++y)
    for (int x = 0; x < w; ++x) {
      float sum = 0;
      for (int j = y - 2 * r; j <= y; ++j) sum += image.get(x, j)[3];
      for (int c = 0; c < 4; ++c) tall.at(x, y)[c] = color[c] * sum / n;
    }
  CpuImage glow(w + 2 * r, h + 2 * r);
  for (int y = 0; y < glow.height; ++y)
    for (int x = 0; x < glow.width; ++x) {
      const Rgba over = image.get(x - r, y - r);
      for (int c = 0; c < 4; ++c) {
        float sum = 0;
        for (int i = x - 2 * r; i <= x; ++i) sum += tall.get(i, y)[c];
        glow.at(x, y)[c] = over[c] + sum * back / n * (1 - over[3]);
      }
    }
  return glow;
}

class LightFilterTest : public ::testing::Test {
 protected:
  void SetUp() override { world_.emplace(); }
  void TearDown() override { world_.reset(); }

  CpuImage run(const CpuImage& source, const Settings& s) {
    Effect::LightFilter light;
    light.strength.setValue(s.strength, 0);
    light.spread.setValue(s.spread, 0);
    light.ratio.setValue(s.ratio, 0);
    light.backlight.value = s.backlight;
    light.color.setRgb(s.rgb);
    Effect::EffectContext context;
    Effect::OwnedImage image = light.filterVideo(context, TestSupport::upload(source));
    EXPECT_TRUE(image);
    return image ? TestSupport::download(*image) : CpuImage();
  }

  std::optional<TestSupport::RenderWorld> world_;
};

// An opaque orange block, a half-covered blue pixel in a corner, the rest empty.
CpuImage shape() {
  CpuImage picture(6, 4);
  for (int y = 1; y <= 2; ++y)
    for (int x = 2; x <= 3; ++x) picture.at(x, y) = {1, 0.5f, 0, 1};
  picture.at(0, 3) = {0, 0, 0.5f, 0.5f};
  return picture;
}

TEST_F(LightFilterTest, FrontAndBackLightMatchTheReference) {
  const struct {
    const char* what;
    Settings settings;
  } cases[] = {
      {"both lights", {}},
      {"against the light, coloured", {.backlight = true, .rgb = 0x3366FF}},
      {"ratio 100: only the glow", {.strength = 150, .spread = 1, .ratio = 100}},
      {"ratio -100: only the front light, same size",
       {.spread = 2, .ratio = -100, .rgb = 0xFF8000}},
      {"back light weakened", {.strength = 50, .ratio = -40, .backlight = true}},
      {"front light weakened, wider than the shape", {.strength = 80, .spread = 3, .ratio = 30}},
  };
  const CpuImage source = shape();
  for (const auto& c : cases)
    EXPECT_TRUE(TestSupport::imagesNear(run(source, c.settings), lightOnCpu(source, c.settings)))
        << c.what;
}

TEST_F(LightFilterTest, WithoutSpreadAnOpaqueCpuImageGetsHalfTheLight) {
  CpuImage grey(3, 3);
  for (Rgba& p : grey.pixels) p = {0.2f, 0.2f, 0.2f, 1};
  // The glow lies behind the opaque picture and adds no margin.
  const CpuImage lit = run(grey, {.spread = 0});
  ASSERT_EQ(lit.width, 3);
  ASSERT_EQ(lit.height, 3);
  for (const Rgba& p : lit.pixels) EXPECT_TRUE(nearHalf(p, {0.7f, 0.7f, 0.7f, 1}));
  // Against the light nothing shines through an opaque picture.
  const CpuImage against = run(grey, {.spread = 0, .backlight = true});
  for (const Rgba& p : against.pixels) EXPECT_TRUE(nearHalf(p, {0.2f, 0.2f, 0.2f, 1}));
}

TEST_F(LightFilterTest, TheGlowGrowsTheCpuImageAroundItsCentre) {
  const CpuImage lit = run(shape(), {.spread = 3, .ratio = -20});
  EXPECT_EQ(lit.width, 12);
  EXPECT_EQ(lit.height, 10);
  // The block sits 3 further right and down, lit by the front light but still opaque.
  EXPECT_NEAR(lit.get(5, 4)[3], 1.0f, 2e-3f);
  EXPECT_GT(lit.get(5, 4)[0], 1.0f);
  EXPECT_EQ(lit.get(11, 0)[3], 0.0f) << "the glow ends at the radius";
}

TEST_F(LightFilterTest, NoStrengthLeavesTheCpuImageAlone) {
  Effect::LightFilter light;
  light.strength.setValue(0, 0);
  Effect::EffectContext context;
  Effect::OwnedImage image = TestSupport::upload(shape());
  const Media::ResourceBuffer* before = image.get();
  image = light.filterVideo(context, std::move(image));
  EXPECT_EQ(image.get(), before);
}

}  // namespace
