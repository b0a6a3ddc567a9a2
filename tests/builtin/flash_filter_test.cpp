// "閃光" on a small picture: the registered radial blur's burst, tinted by the light colour
// and weakened by the strength, with the picture added in front of it, drawn over it or left
// out, in the place it held before the burst grew around it; the centre offset follows the
// growth. The burst itself is the radial blur's, checked by its own tests.
#include "builtin/filter/flash_filter.h"

#include <gtest/gtest.h>

#include <cmath>
#include <optional>
#include <string>

#include "builtin/filter/blur_filter.h"
#include "effect/effect_service.h"
#include "gpu/shader_run_support.h"
#include "render/render_test_support.h"

namespace {

using Effect::BlurFilter;
using Effect::FlashFilter;
using TestSupport::CpuImage;
using TestSupport::download;
using TestSupport::imagesNear;
using TestSupport::Rgba;
using TestSupport::upload;

struct Settings {
  double strength = 100, x = 0, y = 0;
  int composite = FlashFilter::kFront;
  std::optional<uint32_t> colour;
  bool fixed = false;
};

CpuImage picture() {
  return TestSupport::pictureOf(10, 8, [](int x, int y) -> Rgba {
    if (x >= 3 && x < 7 && y >= 2 && y < 6) return {0.9f, 0.7f, 0.3f, 1.0f};
    if (x < 3) return {0.1f, 0.2f, 0.3f, 0.5f};
    return {0, 0, 0, 0};
  });
}

class FlashFilterTest : public ::testing::Test {
 protected:
  void SetUp() override { world_.emplace(); }
  void TearDown() override { world_.reset(); }

  BlurFilter& registerRadialBlur() {
    return *Effect::EffectService::instance()->registerEffect<BlurFilter>();
  }
  Effect::OwnedImage run(const CpuImage& source, const Settings& s, Effect::EffectContext& context) {
    FlashFilter flash;
    flash.strength.setValue(s.strength, 0);
    flash.x.setValue(s.x, 0);
    flash.y.setValue(s.y, 0);
    flash.composite.value = s.composite;
    if (s.colour) flash.lightColor.setRgb(*s.colour);
    flash.lightColor.none = !s.colour;
    flash.fixedSize.value = s.fixed;
    return flash.filterVideo(context, upload(source));
  }

  std::optional<TestSupport::RenderWorld> world_;
};

TEST_F(FlashFilterTest, TheBurstIsTintedWeakenedAndComposedWithThePicture) {
  BlurFilter& radial = registerRadialBlur();
  const CpuImage source = picture();
  const struct {
    const char* what;
    Settings settings;
  } cases[] = {
      {"full strength, picture in front", {}},
      {"weakened, coloured, picture over the light, off centre",
       {.strength = 40, .x = 3, .y = -2, .composite = FlashFilter::kBehind, .colour = 0x4080FF}},
      {"light only, fixed size", {.strength = 70, .x = -2, .composite = FlashFilter::kLightOnly, .fixed = true}},
      {"in front, off centre, fixed size", {.strength = 60, .x = -4, .y = 3, .fixed = true}},
  };
  for (const auto& c : cases) {
    const Settings& s = c.settings;
    float cx = 0.0f, cy = 0.0f;
    Effect::OwnedImage input = upload(source);
    CpuImage expected = download(*BlurFilter::radialBlur(radial, *input, cx, cy, FlashFilter::kBurstRange,
                                                         static_cast<float>(s.x),
                                                         static_cast<float>(s.y), s.fixed));
    const auto layout = BlurFilter::radialLayout(source.width, source.height, FlashFilter::kBurstRange,
                                                 static_cast<float>(s.x), static_cast<float>(s.y), s.fixed);
    const float level = static_cast<float>(s.strength) / 100.0f;
    for (int y = 0; y < expected.height; ++y)
      for (int x = 0; x < expected.width; ++x) {
        Rgba& light = expected.at(x, y);
        if (s.colour)
          light = {static_cast<float>(*s.colour >> 16 & 0xFF) / 255.0f * light[3],
                   static_cast<float>(*s.colour >> 8 & 0xFF) / 255.0f * light[3],
                   static_cast<float>(*s.colour & 0xFF) / 255.0f * light[3], light[3]};
        for (float& channel : light) channel *= level;
        if (s.composite == FlashFilter::kLightOnly) continue;
        // Output pixel (x, y) lies over input pixel (x + left, y + top).
        const Rgba p = source.get(x + layout.left, y + layout.top);
        const float keep = s.composite == FlashFilter::kBehind ? 1.0f - p[3] : 1.0f;
        for (int k = 0; k < 3; ++k) light[k] = p[k] + light[k] * keep;
        light[3] = p[3] + light[3] * (1.0f - p[3]);
      }

    Effect::EffectContext context;
    context.outputView.centerX = 1.0f;
    context.outputView.centerY = -2.0f;
    Effect::OwnedImage output = run(source, s, context);
    ASSERT_TRUE(output);
    EXPECT_TRUE(imagesNear(download(*output), expected)) << c.what;
    EXPECT_FLOAT_EQ(context.outputView.centerX, 1.0f + cx) << c.what;
    EXPECT_FLOAT_EQ(context.outputView.centerY, -2.0f + cy) << c.what;
    if (!s.fixed) EXPECT_GT(expected.width, source.width) << c.what;
  }
}

// Off centre the burst grows more on one side: the centre offset moves by half the
// difference so that the picture stays where it was.
TEST_F(FlashFilterTest, AnOffCentreBurstMovesTheCentreOffset) {
  registerRadialBlur();
  Effect::EffectContext context;
  const CpuImage source = picture();
  Effect::OwnedImage output = run(source, {.x = 5}, context);
  const auto layout = BlurFilter::radialLayout(10, 8, FlashFilter::kBurstRange, 5, 0, false);
  EXPECT_NE(layout.shift[0], 0.0f);
  EXPECT_FLOAT_EQ(context.outputView.centerX, -layout.shift[0]);
  EXPECT_FLOAT_EQ(context.outputView.centerY, -layout.shift[1]);
  // The picture's opaque block shows unchanged where it lay: input (5, 3) at output
  // (5 - left, 3 - top), in front of the light that adds to it.
  const Rgba shown = download(*output).get(5 - layout.left, 3 - layout.top);
  EXPECT_GE(shown[0], 0.9f - 2e-3f);
  EXPECT_NEAR(shown[3], 1.0f, 2e-3f);
}

TEST_F(FlashFilterTest, WithoutTheRegisteredRadialBlurTheFrameFails) {
  Effect::EffectContext context;
  try {
    run(picture(), {}, context);
    FAIL() << "no exception";
  } catch (const std::exception& failure) {
    EXPECT_NE(std::string(failure.what()).find("default effect not found"), std::string::npos)
        << failure.what();
  }
}

}  // namespace
