// "リサイズ" on small pictures: the new size from the percentages or from pixel counts (kept,
// rounded, vanished, clamped), and the new pixels, sampled bilinearly or from the nearest
// pixel when growing and averaged over each pixel's footprint when shrinking.
#include "builtin/filter/resize_filter.h"

#include <gtest/gtest.h>

#include <optional>

#include "gpu/shader_run_support.h"
#include "render/render_test_support.h"

namespace {

using TestSupport::CpuImage;
using TestSupport::Rgba;

struct Settings {
  double zoom = 100, x = 100, y = 100;
  bool nearest = false, pixels = false;
};

class ResizeFilterTest : public ::testing::Test {
 protected:
  void SetUp() override { world_.emplace(); }
  void TearDown() override { world_.reset(); }

  static Effect::OwnedImage run(Effect::OwnedImage image, const Settings& s) {
    Effect::ResizeFilter resize;
    resize.zoom.setValue(s.zoom, 0);
    resize.x.setValue(s.x, 0);
    resize.y.setValue(s.y, 0);
    resize.nearest.value = s.nearest;
    resize.pixelSize.value = s.pixels;
    Effect::EffectContext context;
    return resize.filterVideo(context, std::move(image));
  }

  std::optional<TestSupport::RenderWorld> world_;
};

TEST_F(ResizeFilterTest, NewSizeFollowsTheItems) {
  const struct {
    const char* what;
    Settings settings;
    int width, height;  // 0 x 0: no image
  } cases[] = {
      {"zoom doubles both sides", {200, 100, 100}, 16, 12},
      {"X and Y scale their own side", {100, 150, 50}, 12, 3},
      {"the zoom multiplies X and Y", {50, 300, 100}, 12, 3},
      {"halves round away from zero", {100, 12.5, 100}, 1, 6},
      {"a side under half a pixel vanishes", {100, 6, 100}, 0, 0},
      {"X = 0 makes the object vanish", {100, 0, 100}, 0, 0},
      {"zoom 0 makes the object vanish", {0, 100, 100}, 0, 0},
      {"pixel counts set the size", {100, 3, 10, false, true}, 3, 10},
      {"pixel counts are rounded to whole pixels", {100, 2.5, 4.4, false, true}, 3, 4},
      {"the zoom scales pixel counts too", {200, 3, 10, false, true}, 6, 20},
      {"no pixels across vanishes", {100, 0.4, 10, false, true}, 0, 0},
      {"a side beyond a texture is clamped", {200, 10000, 1, false, true}, 16384, 2},
  };
  for (const auto& c : cases) {
    const Effect::OwnedImage image =
        run(TestSupport::upload(TestSupport::noisePicture(8, 6, 3)), c.settings);
    if (c.width == 0) {
      EXPECT_FALSE(image) << c.what;
      continue;
    }
    ASSERT_TRUE(image) << c.what;
    EXPECT_EQ(image->width(), uint32_t(c.width)) << c.what;
    EXPECT_EQ(image->height(), uint32_t(c.height)) << c.what;
  }
}

TEST_F(ResizeFilterTest, UnchangedSizeHandsBackTheVeryInput) {
  const Settings kept[] = {{100, 100, 100}, {50, 200, 200}, {100, 8, 6, false, true}};
  for (const Settings& s : kept) {
    Effect::OwnedImage input = TestSupport::upload(TestSupport::noisePicture(8, 6, 3));
    const Media::ResourceBuffer* given = input.get();
    const Effect::OwnedImage image = run(std::move(input), s);
    EXPECT_EQ(image.get(), given) << s.zoom << " " << s.x << " " << s.y;
  }
}

// Growing samples the input where each new pixel centre falls: bilinearly with the edges
// clamped, or the pixel under it without interpolation. Shrinking a little still takes one
// sample.
TEST_F(ResizeFilterTest, GrowingSamplesWhereEachPixelFalls) {
  const CpuImage source = TestSupport::noisePicture(5, 4, 11);
  const struct {
    Settings settings;
    TestSupport::Sampler sampler;
    float sx, sy;
  } cases[] = {
      {{200, 100, 100}, TestSupport::kLinearClamp, 2, 2},
      {{100, 300, 150}, TestSupport::kLinearClamp, 3, 1.5f},
      {{100, 97, 100}, TestSupport::kLinearClamp, 0.97f, 1},
      {{200, 100, 100, true}, TestSupport::kNearestClamp, 2, 2},
      // Sizes whose pixel centres never fall on a source pixel's edge, where the nearest pixel
      // would be a matter of rounding.
      {{100, 8, 12, true, true}, TestSupport::kNearestClamp, 8 / 5.0f, 12 / 4.0f},
  };
  for (const auto& c : cases) {
    const Effect::OwnedImage image = run(TestSupport::upload(source), c.settings);
    ASSERT_TRUE(image);
    const CpuImage result = TestSupport::download(*image);
    EXPECT_TRUE(TestSupport::matchesEverywhere(result, [&](int x, int y) -> std::optional<Rgba> {
      // Pixel centres map through the exact ratio, not the rounded size.
      const float u = (float(x) + 0.5f) / c.sx / float(source.width);
      const float v = (float(y) + 0.5f) / c.sy / float(source.height);
      return TestSupport::sample(source, u, v, c.sampler);
    })) << c.settings.zoom << " " << c.settings.x << " " << c.settings.y;
  }
}

// Shrinking by two averages the 2 x 2 pixels each new pixel covers: one pixel out of four
// keeps their mean.
TEST_F(ResizeFilterTest, ShrinkingAveragesTheFootprint) {
  const CpuImage source = TestSupport::noisePicture(4, 2, 5);
  const Effect::OwnedImage image = run(TestSupport::upload(source), {100, 2, 1, false, true});
  ASSERT_TRUE(image);
  const CpuImage result = TestSupport::download(*image);
  ASSERT_EQ(result.width, 2);
  ASSERT_EQ(result.height, 1);
  for (int x = 0; x < 2; ++x) {
    Rgba mean{};
    for (int dy = 0; dy < 2; ++dy)
      for (int dx = 0; dx < 2; ++dx)
        for (int k = 0; k < 4; ++k) mean[k] += source.get(2 * x + dx, dy)[k] / 4;
    EXPECT_TRUE(TestSupport::nearHalf(result.get(x, 0), TestSupport::roundedToHalf(mean), 2e-3f))
        << "at " << x;
  }
}

// Down to one pixel from a curved ramp 64 wide: the footprint is sampled on a grid capped at
// 16 across (bilinear samples every 4 pixels, each half way between two pixels), which gives
// neither the pixel in the middle nor the plain mean of all 64.
TEST_F(ResizeFilterTest, OnePixelAveragesSixteenSamplesAcross) {
  const auto curve = [](int x) { return float(x * x) / (64.0f * 64.0f); };
  const CpuImage ramp =
      TestSupport::pictureOf(64, 3, [&](int x, int) { return Rgba{curve(x), 0.5f, 0, 1}; });
  const Effect::OwnedImage image = run(TestSupport::upload(ramp), {100, 1, 1, false, true});
  ASSERT_TRUE(image);
  const CpuImage result = TestSupport::download(*image);
  ASSERT_EQ(result.width, 1);
  ASSERT_EQ(result.height, 1);
  float red = 0;
  for (int k = 0; k < 16; ++k) red += (ramp.get(4 * k + 1, 0)[0] + ramp.get(4 * k + 2, 0)[0]) / 32;
  EXPECT_TRUE(TestSupport::nearHalf(result.get(0, 0), Rgba{red, 0.5f, 0, 1}, 1e-3f));
}

}  // namespace
