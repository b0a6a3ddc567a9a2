// "拡散光" on small pictures: the registered blur's copy of the picture laid over the picture
// as the brighter of the two at the strength's level, in an image grown by the blur unless
// the size is fixed; and the failure when no blur is registered.
#include "builtin/filter/diffusion_filter.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <optional>
#include <string>

#include "builtin/filter/bokashi_filter.h"
#include "effect/effect_service.h"
#include "gpu/shader_run_support.h"
#include "render/render_test_support.h"

namespace {

using TestSupport::CpuImage;
using TestSupport::download;
using TestSupport::imagesNear;
using TestSupport::Rgba;
using TestSupport::upload;

class DiffusionFilterTest : public ::testing::Test {
 protected:
  void SetUp() override { world_.emplace(); }
  void TearDown() override { world_.reset(); }

  Effect::BokashiFilter& registerBlur() {
    return *Effect::EffectService::instance()->registerEffect<Effect::BokashiFilter>();
  }
  Effect::OwnedImage run(const CpuImage& picture, double strength, double spread, bool fixed) {
    Effect::DiffusionFilter filter;
    filter.strength.setValue(strength, 0);
    filter.spread.setValue(spread, 0);
    filter.fixedSize.value = fixed;
    Effect::EffectContext context;
    return filter.filterVideo(context, upload(picture));
  }

  std::optional<TestSupport::RenderWorld> world_;
};

// A half-covered picture: an opaque bright block and a dim, half-transparent corner.
CpuImage picture() {
  CpuImage image = TestSupport::pictureOf(8, 6, [](int x, int y) -> Rgba {
    if (x >= 2 && x < 6 && y >= 1 && y < 4) return {0.9f, 0.6f, 0.2f, 1.0f};
    if (x < 2 && y >= 4) return {0.1f, 0.05f, 0.2f, 0.5f};
    return {0, 0, 0, 0};
  });
  return image;
}

// The light over the centred picture: light = (max(blurred, picture under it x blurred
// alpha), blurred alpha) x level, drawn "over".
CpuImage cpuDiffusion(const CpuImage& input, const CpuImage& blurred, float level) {
  const int dx = (blurred.width - input.width) / 2;
  const int dy = (blurred.height - input.height) / 2;
  CpuImage output(blurred.width, blurred.height);
  for (int y = 0; y < output.height; ++y)
    for (int x = 0; x < output.width; ++x) {
      const Rgba b = blurred.get(x, y);
      const Rgba o = input.get(x - dx, y - dy);
      Rgba& pixel = output.at(x, y);
      for (int c = 0; c < 4; ++c) {
        const float light = (c < 3 ? std::max(b[c], o[c] * b[3]) : b[3]) * level;
        pixel[c] = light + o[c] * (1.0f - b[3] * level);
      }
    }
  return output;
}

TEST_F(DiffusionFilterTest, LaysTheBrighterBlurOverThePicture) {
  Effect::BokashiFilter& blur = registerBlur();
  const CpuImage source = picture();
  struct Case {
    double strength, spread;
    bool fixed;
  };
  for (const Case& c : {Case{50, 3, false}, Case{80, 2.5, true}, Case{100, 0, false},
                        Case{0, 3, false}}) {
    const int radius = static_cast<int>(std::lround(c.spread));
    const CpuImage blurred = download(*blur.blur(
        upload(source), radius, 0.0f,
        c.fixed ? Effect::BokashiFilter::kKeepTransparent : Effect::BokashiFilter::kGrow));
    ASSERT_EQ(blurred.width, source.width + (c.fixed ? 0 : 2 * radius));
    const CpuImage expected = cpuDiffusion(source, blurred, static_cast<float>(c.strength) * 0.01f);
    Effect::OwnedImage output = run(source, c.strength, c.spread, c.fixed);
    ASSERT_TRUE(output);
    EXPECT_TRUE(imagesNear(download(*output), expected))
        << c.strength << " " << c.spread << " " << c.fixed;
  }
}

// With no strength the picture comes back as it was, centred in the grown image.
TEST_F(DiffusionFilterTest, NoStrengthCentresThePictureInTheGrownImage) {
  registerBlur();
  const CpuImage source = picture();
  CpuImage expected(source.width + 8, source.height + 8);
  for (int y = 0; y < source.height; ++y)
    for (int x = 0; x < source.width; ++x) expected.at(x + 4, y + 4) = source.get(x, y);
  EXPECT_TRUE(imagesNear(download(*run(source, 0, 4, false)), expected));
  EXPECT_TRUE(imagesNear(download(*run(source, 0, 4, true)), source));
}

TEST_F(DiffusionFilterTest, WithoutTheRegisteredBlurTheFrameFails) {
  try {
    run(picture(), 50, 3, false);
    FAIL() << "no exception";
  } catch (const std::exception& failure) {
    EXPECT_NE(std::string(failure.what()).find("default effect not found"), std::string::npos)
        << failure.what();
  }
}

}  // namespace
