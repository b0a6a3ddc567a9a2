// "マスク" on a small picture with a mask picture of known greys: the coverage multiplied by
// the mask's brightness as sampled here, the mask moved, turned, sized, stretched, fitted to
// the picture, inverted and blurred, and the masks of no size or without a picture.
#include "builtin/filter/mask_filter.h"

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>
#include <optional>
#include <string>

#include "builtin/filter/bokashi_filter.h"
#include "effect/mask_image_source.h"
#include "gpu/shader_run_support.h"
#include "in_place_filter_support.h"
#include "render/render_test_support.h"

namespace {

using TestSupport::CpuImage;
using TestSupport::Rgba;

// Gives every file the same mask picture, or none.
class MaskPictures : public Effect::MaskImageSource {
 public:
  void preloadImage(const std::string&) override {}
  void preloadSceneFrame(int32_t, double) override {}
  Effect::OwnedImage fileImage(const std::string&) override {
    return picture ? TestSupport::upload(*picture) : Effect::OwnedImage();
  }
  Effect::OwnedImage sceneFrameImage(int32_t, double) override { return {}; }
  Effect::OwnedImage namedBuffer(Render::ResourceCache&, const std::string&) override {
    return {};
  }
  std::optional<CpuImage> picture;
};

struct Mask {
  double x = 0, y = 0, rotation = 0, size = 8, aspect = 0, blur = 0;
  bool invert = false, fit = false;
};

// The coverage of the mask over a picture of width x height: the mask picture, scaled to its
// extent, sampled linearly with nothing outside.
CpuImage maskedOnCpu(const CpuImage& source, const CpuImage& mask, int side, const Mask& m) {
  const double scale = static_cast<double>(side) / std::max(mask.width, mask.height);
  const double d = m.aspect / 100;
  double extentX = m.fit ? source.width : mask.width * scale;
  double extentY = m.fit ? source.height : mask.height * scale;
  if (!m.fit && d > 0) extentX *= 1 - d;
  if (!m.fit && d < 0) extentY *= 1 + d;
  const double theta = m.rotation * std::numbers::pi / 180;
  const double s = std::sin(theta), c = std::cos(theta);
  CpuImage out = source;
  for (int y = 0; y < source.height; ++y)
    for (int x = 0; x < source.width; ++x) {
      const double qx = x + 0.5 - source.width / 2.0 - m.x;
      const double qy = y + 0.5 - source.height / 2.0 - m.y;
      const double u = (qx * c + qy * s) / extentX + 0.5, v = (-qx * s + qy * c) / extentY + 0.5;
      const Rgba t = TestSupport::sample(mask, static_cast<float>(u), static_cast<float>(v),
                                         TestSupport::kLinearBorder);
      float luma = 0.299f * t[0] + 0.587f * t[1] + 0.114f * t[2];
      if (m.invert) luma = 1 - luma;
      for (float& channel : out.at(x, y)) channel *= luma;
    }
  return out;
}

class MaskFilterTest : public ::testing::Test {
 protected:
  void SetUp() override {
    world_.emplace();
    Effect::setMaskImageSource(&pictures_);
    pictures_.picture = TestSupport::pictureOf(4, 3, [](int x, int y) {
      const float grey = 0.1f + 0.25f * static_cast<float>(x) + 0.05f * static_cast<float>(y);
      return Rgba{grey, grey * 0.5f, 1 - grey, 1};
    });
  }
  void TearDown() override {
    Effect::setMaskImageSource(nullptr);
    world_.reset();
  }

  CpuImage run(const Mask& m, const char* path = "mask.png") {
    Effect::MaskFilter filter;
    filter.x.setValue(m.x, 0);
    filter.y.setValue(m.y, 0);
    filter.rotation.setValue(m.rotation, 0);
    filter.size.setValue(m.size, 0);
    filter.aspect.setValue(m.aspect, 0);
    filter.blur.setValue(m.blur, 0);
    filter.invert.value = m.invert;
    filter.fitOriginalSize.value = m.fit;
    filter.mask.setFilePath(path);
    return TestSupport::runInPlace(filter, source_);
  }

  const CpuImage source_ = TestSupport::noisePicture(14, 10, 8);
  MaskPictures pictures_;
  std::optional<TestSupport::RenderWorld> world_;
};

TEST_F(MaskFilterTest, CoverageFollowsTheMasksBrightness) {
  const struct {
    const char* what;
    Mask mask;
  } cases[] = {
      {"centred, twice the picture's size", {}},
      {"moved and turned", {.x = 2, .y = -1.5, .rotation = 30}},
      {"larger than the picture, inverted", {.size = 20, .invert = true}},
      {"aspect 50: half as wide", {.aspect = 50}},
      {"aspect -40: shorter", {.rotation = -15, .aspect = -40}},
      {"fitted to the picture: the aspect does not count", {.aspect = 80, .fit = true}},
      {"fitted, turned and inverted", {.rotation = 90, .invert = true, .fit = true}},
  };
  for (const auto& c : cases) {
    const int side = static_cast<int>(std::lround(c.mask.size));
    EXPECT_TRUE(TestSupport::imagesNear(run(c.mask), maskedOnCpu(source_, *pictures_.picture,
                                                                 side, c.mask)))
        << c.what;
  }
}

TEST_F(MaskFilterTest, TheBlurSoftensTheMaskPicture) {
  const auto blur = Effect::EffectService::instance()->registerEffect<Effect::BokashiFilter>();
  ASSERT_TRUE(blur);
  const Mask m{.rotation = 20, .size = 10, .blur = 1};
  // The blur itself is the blur filter's; the grown picture keeps the scale of the sharp one.
  Effect::OwnedImage blurred = blur->blur(TestSupport::upload(*pictures_.picture), 1, 0.0f, 0);
  const CpuImage soft = TestSupport::download(*blurred);
  ASSERT_EQ(soft.width, 6);
  // 10 / 4 per texel, the scale of the sharp picture, over the blurred picture's 6 texels.
  const CpuImage expected = maskedOnCpu(source_, soft, 10 * 6 / 4, m);
  EXPECT_TRUE(TestSupport::imagesNear(run(m), expected));
}

TEST_F(MaskFilterTest, MasksOfNoSizeOrWithoutAPicture) {
  const CpuImage clear(source_.width, source_.height);
  EXPECT_TRUE(TestSupport::imagesNear(run({.size = 0}), clear)) << "size 0 covers nothing";
  EXPECT_TRUE(TestSupport::imagesNear(run({.size = 0, .invert = true}), source_));
  EXPECT_TRUE(TestSupport::imagesNear(run({.aspect = 100}), clear)) << "squeezed to nothing";
  EXPECT_TRUE(TestSupport::imagesNear(run({.aspect = -100, .invert = true}), source_));
  pictures_.picture.reset();
  EXPECT_TRUE(TestSupport::imagesNear(run({}), source_)) << "no mask picture: unchanged";
}

}  // namespace
