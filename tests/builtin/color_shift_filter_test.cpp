// "色ずれ" on a small picture against the shift computed here from the items: every kind,
// shifts along either axis and slanted, partial strength, the growth of the picture by the
// shift's whole pixels; and the plain cases (no shift, no strength, a kind beyond the list).
#include "builtin/filter/color_shift_filter.h"

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>
#include <optional>

#include "colour_reference.h"
#include "gpu/shader_run_support.h"
#include "render/render_test_support.h"

namespace {

using TestSupport::CpuImage;
using TestSupport::Rgba;

struct Shift {
  double shift = 5, angle = 90, strength = 100;
  int kind = 0;
};

struct Growth {
  int x = 0, y = 0;
};

// The shift in pixels, from the angle in single precision as the filter takes it.
void shiftOf(const Shift& s, float& dx, float& dy) {
  const auto theta = static_cast<float>(s.angle * std::numbers::pi / 180);
  dx = -std::sin(theta) * static_cast<float>(s.shift);
  dy = std::cos(theta) * static_cast<float>(s.shift);
}

Growth growthOf(const Shift& s) {
  float dx = 0, dy = 0;
  shiftOf(s, dx, dy);
  return {static_cast<int>(std::ceil(std::fabs(dx) - 0.001f)),
          static_cast<int>(std::ceil(std::fabs(dy) - 0.001f))};
}

CpuImage shiftedOnCpu(const CpuImage& source, const Shift& s) {
  float dx = 0, dy = 0;
  shiftOf(s, dx, dy);
  const Growth g = growthOf(s);
  const float w = static_cast<float>(source.width), h = static_cast<float>(source.height);
  // Each channel's displacement in texture units: the pair's first by d, its second by -d.
  float offset[3][2] = {};
  const int first[3] = {0, 0, 1}, second[3] = {1, 2, 2};
  offset[first[s.kind % 3]][0] = dx / w;
  offset[first[s.kind % 3]][1] = dy / h;
  offset[second[s.kind % 3]][0] = -dx / w;
  offset[second[s.kind % 3]][1] = -dy / h;
  const float strength = static_cast<float>(s.strength * 0.01);
  CpuImage out(source.width + 2 * g.x, source.height + 2 * g.y);
  for (int y = 0; y < out.height; ++y)
    for (int x = 0; x < out.width; ++x) {
      const float px = TestSupport::centre(x) - static_cast<float>(g.x);
      const float py = TestSupport::centre(y) - static_cast<float>(g.y);
      Rgba reads[3];
      for (int c = 0; c < 3; ++c)
        reads[c] = TestSupport::sample(source, px / w + offset[c][0], py / h + offset[c][1],
                                       TestSupport::kLinearBorder);
      const float a = (reads[0][3] + reads[1][3] + reads[2][3]) / 3;
      Rgba shifted{reads[0][0], reads[1][1], reads[2][2], a};
      if (s.kind < 3)
        for (int c = 0; c < 3; ++c) shifted[c] *= a;
      const Rgba o = px >= 0 && py >= 0 ? TestSupport::loadTexel(source, int(px), int(py)) : Rgba{};
      for (int c = 0; c < 4; ++c) out.at(x, y)[c] = o[c] + (shifted[c] - o[c]) * strength;
    }
  return out;
}

class ColorShiftFilterTest : public ::testing::Test {
 protected:
  void SetUp() override { world_.emplace(); }
  void TearDown() override { world_.reset(); }

  static Effect::OwnedImage filter(Effect::OwnedImage image, const Shift& s) {
    Effect::ColorShiftFilter shift;
    shift.shift.setValue(s.shift, 0);
    shift.angle.setValue(s.angle, 0);
    shift.strength.setValue(s.strength, 0);
    shift.kind.value = s.kind;
    Effect::EffectContext context;
    return shift.filterVideo(context, std::move(image));
  }
  static CpuImage run(const CpuImage& source, const Shift& s) {
    Effect::OwnedImage image = filter(TestSupport::upload(source), s);
    EXPECT_TRUE(image);
    return image ? TestSupport::download(*image) : CpuImage();
  }

  const CpuImage source_ = TestSupport::noisePicture(9, 7, 31);
  std::optional<TestSupport::RenderWorld> world_;
};

TEST_F(ColorShiftFilterTest, ShiftsTheChannelsAsItsItemsSay) {
  const struct {
    const char* what;
    Shift shift;
  } cases[] = {
      {"red and green apart, across", {}},
      {"red and blue apart", {.kind = 1}},
      {"green and blue apart", {.kind = 2}},
      {"red and green, colours unweighted", {.kind = 3}},
      {"red and blue, colours unweighted", {.kind = 4}},
      {"green and blue, colours unweighted", {.kind = 5}},
      {"down the columns", {.shift = 3, .angle = 0}},
      {"slanted by part pixels", {.shift = 3.7, .angle = 33.3, .kind = 1}},
      {"slanted the other way", {.shift = 2.5, .angle = -135, .kind = 5}},
      {"half strength", {.shift = 4, .angle = 60, .strength = 50, .kind = 2}},
  };
  for (const auto& c : cases) {
    const Growth g = growthOf(c.shift);
    const CpuImage shifted = run(source_, c.shift);
    EXPECT_EQ(shifted.width, source_.width + 2 * g.x) << c.what;
    EXPECT_EQ(shifted.height, source_.height + 2 * g.y) << c.what;
    EXPECT_TRUE(TestSupport::imagesNear(shifted, shiftedOnCpu(source_, c.shift))) << c.what;
  }
}

TEST_F(ColorShiftFilterTest, TheDefaultsGrowFiveColumnsEachSideAndNoRows) {
  const CpuImage shifted = run(source_, {});
  EXPECT_EQ(shifted.width, source_.width + 10);
  EXPECT_EQ(shifted.height, source_.height);
}

TEST_F(ColorShiftFilterTest, NoShiftOrNoStrength) {
  CpuImage source(3, 1);
  source.pixels = {{0.2f, 0.6f, 0.4f, 1.0f}, {0.1f, 0.2f, 0.3f, 0.5f}, {}};
  // Without a shift opaque pixels stay; the A kinds weight a half-covered colour by its
  // alpha once more, the B kinds leave it.
  const CpuImage weighted = run(source, {.shift = 0});
  ASSERT_EQ(weighted.width, 3);
  EXPECT_TRUE(TestSupport::nearHalf(weighted.get(0, 0), source.get(0, 0)));
  EXPECT_TRUE(TestSupport::nearHalf(weighted.get(1, 0), {0.05f, 0.1f, 0.15f, 0.5f}));
  EXPECT_TRUE(TestSupport::nearHalf(weighted.get(2, 0), {0, 0, 0, 0}));
  EXPECT_TRUE(TestSupport::imagesNear(run(source, {.shift = 0, .kind = 4}), source));

  // No strength: the picture as it was, in the middle of the grown image.
  const CpuImage placed = run(source_, {.shift = 2.2, .angle = 45, .strength = 0});
  const Growth g = growthOf({.shift = 2.2, .angle = 45});
  ASSERT_EQ(placed.width, source_.width + 2 * g.x);
  for (int y = 0; y < placed.height; ++y)
    for (int x = 0; x < placed.width; ++x)
      ASSERT_TRUE(TestSupport::nearHalf(placed.get(x, y), source_.get(x - g.x, y - g.y)))
          << x << ", " << y;
}

TEST_F(ColorShiftFilterTest, AKindBeyondTheListGivesThePictureBack) {
  Effect::OwnedImage image = TestSupport::upload(source_);
  const Media::ResourceBuffer* sent = image.get();
  image = filter(std::move(image), {.kind = 6});
  EXPECT_EQ(image.get(), sent);
}

}  // namespace
