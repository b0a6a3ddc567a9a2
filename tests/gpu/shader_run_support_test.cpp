// The shader tests' own checks: a comparison that let a NaN or a wrong size through, or a CPU
// sampling that filtered differently from the sampler states, would make every shader test
// that leans on them pass or fail for the wrong reason.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <optional>

#include "gpu/shader_run_support.h"

namespace {

using TestSupport::CpuImage;
using TestSupport::Rgba;

constexpr float kNaN = std::numeric_limits<float>::quiet_NaN();
constexpr float kInfinity = std::numeric_limits<float>::infinity();

TEST(ShaderRunSupportTest, TheComparisonRefusesWhatNoShaderShouldGive) {
  const struct {
    Rgba actual;
    std::optional<Rgba> expected;
    bool matches;
    const char* what;
  } cases[] = {
      {{0.5f, 0.25f, 0, 1}, Rgba{0.5f, 0.25f, 0, 1}, true, "equal"},
      {{0.501f, 0.25f, 0, 1}, Rgba{0.5f, 0.25f, 0, 1}, true, "within the tolerance"},
      {{0.51f, 0.25f, 0, 1}, Rgba{0.5f, 0.25f, 0, 1}, false, "beyond the tolerance"},
      {{4.004f, 0, 0, 1}, Rgba{4.0f, 0, 0, 1}, true, "relative above 1"},
      {{kNaN, 0, 0, 1}, Rgba{0, 0, 0, 1}, false, "NaN"},
      {{kNaN, 0, 0, 1}, std::nullopt, false, "NaN where any colour would do"},
      {{0, 0, kInfinity, 1}, Rgba{0, 0, kInfinity, 1}, false, "infinity, even when expected"},
      {{0, 0, 0, -kInfinity}, std::nullopt, false, "negative infinity"},
      {{7, 7, 7, 7}, std::nullopt, true, "any finite colour where none is expected"},
  };
  for (const auto& c : cases) {
    CpuImage image(3, 2);
    image.at(2, 1) = c.actual;
    const auto result = TestSupport::matchesEverywhere(image, [&](int x, int y) {
      return x == 2 && y == 1 ? c.expected : std::optional<Rgba>(Rgba{});
    });
    EXPECT_EQ(static_cast<bool>(result), c.matches) << c.what;
  }
}

TEST(ShaderRunSupportTest, ImagesOfDifferentSizesNeverMatch) {
  const CpuImage wide(4, 2), tall(2, 4), empty;
  EXPECT_TRUE(TestSupport::imagesNear(wide, CpuImage(4, 2)));
  EXPECT_FALSE(TestSupport::imagesNear(wide, tall));
  EXPECT_FALSE(TestSupport::imagesNear(empty, wide));
  CpuImage broken(4, 2);
  broken.at(3, 1) = {kNaN, 0, 0, 0};
  EXPECT_FALSE(TestSupport::imagesNear(broken, broken)) << "a NaN is near nothing, not even itself";
}

// A 2 x 2 picture: red, green / blue, white.
CpuImage corners() {
  CpuImage image(2, 2);
  image.at(0, 0) = {1, 0, 0, 1};
  image.at(1, 0) = {0, 1, 0, 1};
  image.at(0, 1) = {0, 0, 1, 1};
  image.at(1, 1) = {1, 1, 1, 1};
  return image;
}

TEST(ShaderRunSupportTest, SamplingFiltersAndAddressesAsTheSamplerStates) {
  const CpuImage image = corners();
  const struct {
    float u, v;
    TestSupport::Sampler sampler;
    Rgba expected;
    const char* what;
  } cases[] = {
      {0.25f, 0.25f, TestSupport::kLinearClamp, {1, 0, 0, 1}, "a texel's centre"},
      {0.5f, 0.25f, TestSupport::kLinearClamp, {0.5f, 0.5f, 0, 1}, "between two texels"},
      {0.5f, 0.5f, TestSupport::kLinearClamp, {0.5f, 0.5f, 0.5f, 1}, "between four texels"},
      {0.0f, 0.25f, TestSupport::kLinearClamp, {1, 0, 0, 1}, "the edge, clamped"},
      {0.0f, 0.25f, TestSupport::kLinearBorder, {0.5f, 0, 0, 0.5f}, "the edge, border"},
      {0.0f, 0.25f, TestSupport::kLinearWrap, {0.5f, 0.5f, 0, 1}, "the edge, wrapped"},
      {-0.25f, 0.25f, TestSupport::kLinearWrap, {0, 1, 0, 1}, "past the edge, wrapped"},
      {0.74f, 0.76f, TestSupport::kNearestClamp, {1, 1, 1, 1}, "nearest"},
      {1.5f, -1.0f, TestSupport::kNearestClamp, {0, 1, 0, 1}, "nearest, clamped"},
  };
  for (const auto& c : cases) {
    EXPECT_TRUE(TestSupport::nearHalf(TestSupport::sample(image, c.u, c.v, c.sampler),
                                      c.expected))
        << c.what;
  }
  EXPECT_EQ(TestSupport::loadTexel(image, -1, 0), (Rgba{0, 0, 0, 0}));
  EXPECT_EQ(TestSupport::loadTexel(image, 1, 1), (Rgba{1, 1, 1, 1}));
}

// A picture read back from a format-10 image samples as the image itself does.
TEST(ShaderRunSupportTest, BothKindsOfPictureSampleAlike) {
  const CpuImage picture = TestSupport::randomPicture(5, 4, 9);
  auto image = Media::ImageBuffer::makeShared(10, 5, 4);
  for (int y = 0; y < 4; ++y)
    for (int x = 0; x < 5; ++x)
      TestSupport::setHalfPixel(*image, uint32_t(x), uint32_t(y), picture.get(x, y));
  EXPECT_TRUE(TestSupport::imagesNear(TestSupport::pictureOf(*image), picture, 0.0f));
  for (const float u : {-0.3f, 0.13f, 0.5f, 0.97f})
    EXPECT_EQ(TestSupport::sample(*image, u, 0.4f, TestSupport::kLinearBorder),
              TestSupport::sample(picture, u, 0.4f, TestSupport::kLinearBorder))
        << u;
}

}  // namespace
