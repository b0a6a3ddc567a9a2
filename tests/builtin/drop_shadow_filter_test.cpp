// "ドロップシャドウ": the picture over its offset silhouette against the same composite made
// here, the blurred shadow that grows the picture, the centre offset that keeps the object in
// place, the missing blur, and the shadow drawn as an object of its own into the frame.
#include "builtin/filter/drop_shadow_filter.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <optional>
#include <string>

#include "builtin/filter/bokashi_filter.h"
#include "gpu/shader_run_support.h"
#include "render/render_test_support.h"

namespace {

using TestSupport::CpuImage;
using TestSupport::Rgba;

struct Shadow {
  double x = 0, y = 0, density = 100, spread = 0;
  uint32_t rgb = 0x000000;
  bool separate = false;
};

void setUp(Effect::DropShadowFilter& filter, const Shadow& s) {
  filter.x.setValue(s.x, 0);
  filter.y.setValue(s.y, 0);
  filter.density.setValue(s.density, 0);
  filter.spread.setValue(s.spread, 0);
  filter.color.setRgb(s.rgb);
  filter.separateObject.value = s.separate;
}

// The silhouette in the shadow colour at the density.
CpuImage silhouetteOnCpu(const CpuImage& source, const Shadow& s) {
  const float d = static_cast<float>(s.density) / 100.0f;
  const Rgba shade{static_cast<float>(s.rgb >> 16 & 0xFF) / 255.0f * d,
                   static_cast<float>(s.rgb >> 8 & 0xFF) / 255.0f * d,
                   static_cast<float>(s.rgb & 0xFF) / 255.0f * d, d};
  CpuImage shape(source.width, source.height);
  for (int y = 0; y < source.height; ++y)
    for (int x = 0; x < source.width; ++x)
      for (int c = 0; c < 4; ++c) shape.at(x, y)[c] = shade[c] * source.get(x, y)[3];
  return shape;
}

// The picture over the (already blurred) shadow, as the filter lays them out.
CpuImage composite(const CpuImage& source, const CpuImage& shadow, int dx, int dy, int spread) {
  CpuImage out(std::abs(dx) + shadow.width, std::abs(dy) + shadow.height);
  for (int y = 0; y < out.height; ++y)
    for (int x = 0; x < out.width; ++x) {
      const Rgba under = shadow.get(x - std::max(dx, 0), y - std::max(dy, 0));
      const Rgba over = source.get(x + std::min(dx, 0) - spread, y + std::min(dy, 0) - spread);
      for (int c = 0; c < 4; ++c) out.at(x, y)[c] = over[c] + under[c] * (1 - over[3]);
    }
  return out;
}

class DropShadowFilterTest : public ::testing::Test {
 protected:
  void SetUp() override { world_.emplace(); }
  void TearDown() override { world_.reset(); }

  static std::shared_ptr<Effect::BokashiFilter> registerBlur() {
    return Effect::EffectService::instance()->registerEffect<Effect::BokashiFilter>();
  }
  CpuImage run(const CpuImage& source, const Shadow& s) {
    Effect::DropShadowFilter filter;
    setUp(filter, s);
    context_ = Effect::EffectContext();
    Effect::OwnedImage image = filter.filterVideo(context_, TestSupport::upload(source));
    EXPECT_TRUE(image);
    return image ? TestSupport::download(*image) : CpuImage();
  }

  const CpuImage source_ = TestSupport::noisePicture(6, 5, 11);
  Effect::EffectContext context_;
  std::optional<TestSupport::RenderWorld> world_;
};

TEST_F(DropShadowFilterTest, ThePictureLiesOverItsOffsetSilhouette) {
  const struct {
    const char* what;
    Shadow shadow;
  } cases[] = {
      {"no offset: the shadow exactly behind", {}},
      {"right and up, coloured", {.x = 3, .y = -2, .rgb = 0x3366FF}},
      {"left and down, half dense", {.x = -4, .y = 5, .density = 50, .rgb = 0xFF8000}},
      {"offsets rounded half away from zero", {.x = 1.5, .y = -2.5}},
      {"no density: only the picture, moved", {.x = 2, .y = 2, .density = 0}},
  };
  for (const auto& c : cases) {
    const int dx = static_cast<int>(std::lround(c.shadow.x));
    const int dy = static_cast<int>(std::lround(c.shadow.y));
    const CpuImage expected = composite(source_, silhouetteOnCpu(source_, c.shadow), dx, dy, 0);
    EXPECT_TRUE(TestSupport::imagesNear(run(source_, c.shadow), expected)) << c.what;
    EXPECT_FLOAT_EQ(context_.outputView.centerX, -dx * 0.5f) << c.what;
    EXPECT_FLOAT_EQ(context_.outputView.centerY, -dy * 0.5f) << c.what;
  }
}

TEST_F(DropShadowFilterTest, TheSpreadBlursTheShadowAndGrowsThePicture) {
  const auto blur = registerBlur();
  ASSERT_TRUE(blur);
  const Shadow s{.x = -4, .y = 3, .density = 80, .spread = 2, .rgb = 0x204080};
  // The blur itself is the blur filter's; here its output is laid out as the filter does.
  Effect::OwnedImage blurred =
      blur->blur(TestSupport::upload(silhouetteOnCpu(source_, s)), 2, 0.0f, 0);
  const CpuImage expected = composite(source_, TestSupport::download(*blurred), -4, 3, 2);
  const CpuImage shadowed = run(source_, s);
  EXPECT_EQ(shadowed.width, 6 + 4 + 2 * 2);
  EXPECT_EQ(shadowed.height, 5 + 3 + 2 * 2);
  EXPECT_TRUE(TestSupport::imagesNear(shadowed, expected));
  EXPECT_FLOAT_EQ(context_.outputView.centerX, 2.0f);
  EXPECT_FLOAT_EQ(context_.outputView.centerY, -1.5f);
}

TEST_F(DropShadowFilterTest, ASpreadWithoutTheBlurKindIsReported) {
  try {
    run(source_, {.spread = 3});
    ADD_FAILURE() << "no exception";
  } catch (const std::exception& failure) {
    EXPECT_NE(std::string(failure.what()).find("default effect not found"), std::string::npos)
        << failure.what();
  }
}

// In a scene: the shadow drawn as an object of its own gives the frame that the shadow in
// the picture gives, and leaves the picture it passes on unchanged.
class DropShadowRenderTest : public TestSupport::RenderWorldTest {
 protected:
  std::shared_ptr<Media::ImageBuffer> frameWith(const Shadow& s) {
    resize(64, 48);
    auto filter = std::make_shared<Effect::DropShadowFilter>();
    setUp(*filter, s);
    auto object = world_->placeSolid(0, 0, 10);
    object->effects.push_back(filter);
    return renderFrame(0);
  }
};

TEST_F(DropShadowRenderTest, AShadowObjectLooksLikeTheShadowInThePicture) {
  const Shadow inPicture{.x = 10, .y = 6, .rgb = 0x0000FF};
  Shadow separate = inPicture;
  separate.separate = true;
  const auto expected = frameWith(inPicture);
  const auto actual = frameWith(separate);
  ASSERT_TRUE(expected && actual);
  const CpuImage a = TestSupport::pictureOf(*actual);
  EXPECT_TRUE(TestSupport::imagesNear(a, TestSupport::pictureOf(*expected)));
  // The red square of 8 at the centre, its blue shadow 10 right and 6 down.
  EXPECT_TRUE(TestSupport::nearHalf(a.get(32, 24), {1, 0, 0, 1}));
  EXPECT_TRUE(TestSupport::nearHalf(a.get(44, 32), {0, 0, 1, 1}));
  EXPECT_TRUE(TestSupport::nearHalf(a.get(44, 22), {0, 0, 0, 0}));
}

}  // namespace
