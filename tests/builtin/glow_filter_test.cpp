// "グロー" on a small picture against the light composed here: the bright pass (tinted by
// the light colour), each shape's streaks or the two blurs of the halo added into the grown
// image, the softening box blur, and the picture added with its alpha behind the light.
// The blurs themselves are the registered blur's, checked by their own tests.
#include "builtin/filter/glow_filter.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <optional>
#include <string>
#include <vector>

#include "builtin/filter/bokashi_filter.h"
#include "effect/effect_service.h"
#include "gpu/shader_run_support.h"
#include "render/render_test_support.h"
#include "streak_reference.h"

namespace {

using Effect::GlowFilter;
using TestSupport::CpuImage;
using TestSupport::download;
using TestSupport::imagesNear;
using TestSupport::Rgba;
using TestSupport::upload;

struct Settings {
  int shape = GlowFilter::kCross4;
  double strength = 40, spread = 4, angle = 25, threshold = 50, ratio = 100, blur = 0;
  std::optional<uint32_t> colour;
  bool lightOnly = false, fixed = false;
};

// The light of each pixel: its luma above the threshold times the gain, its colour limited.
CpuImage brightPass(const CpuImage& picture, float threshold, float gain) {
  CpuImage light(picture.width, picture.height);
  for (std::size_t i = 0; i < picture.pixels.size(); ++i) {
    const Rgba& p = picture.pixels[i];
    const float a = std::max(0.299f * p[0] + 0.587f * p[1] + 0.114f * p[2] - threshold, 0.0f) * gain;
    for (int c = 0; c < 3; ++c) light.pixels[i][c] = std::min(a * p[c], gain);
    light.pixels[i][3] = std::min(a, 1.0f);
  }
  return light;
}

// `source` moved into the middle of `target`: colours added, the source's alpha over the
// target's, or behind it.
void addCentred(CpuImage& target, const CpuImage& source, bool behind) {
  const int dx = (source.width - target.width) / 2;
  const int dy = (source.height - target.height) / 2;
  for (int y = 0; y < target.height; ++y)
    for (int x = 0; x < target.width; ++x) {
      const Rgba s = source.get(x + dx, y + dy);
      Rgba& d = target.at(x, y);
      for (int c = 0; c < 3; ++c) d[c] += s[c];
      d[3] = behind ? s[3] * (1.0f - d[3]) + d[3] : s[3] + d[3] * (1.0f - s[3]);
    }
}

struct Streak {
  float length, ratio, angle;
};

// The streaks of each shape, as (length, backward ratio, angle).
std::vector<Streak> streaksOf(const Settings& s) {
  const auto f = static_cast<float>(std::lround(s.spread));
  const float r = static_cast<float>(s.ratio) / 100.0f;
  const float i = f * r;
  const auto a = static_cast<float>(s.angle);
  switch (s.shape) {
    case GlowFilter::kCross4: return {{f, 1, a}, {i, 1, a + 90}};
    case GlowFilter::kCross6: return {{f, r, a}, {f, r, a + 120}, {f, r, a - 120}};
    case GlowFilter::kCross8: return {{f, 1, a}, {i, 1, a + 45}, {f, 1, a + 90}, {i, 1, a - 45}};
    case GlowFilter::kCross10:
      return {{f, r, a}, {f, r, a + 72}, {f, r, a + 144}, {f, r, a + 216}, {f, r, a + 288}};
    case GlowFilter::kCross12:
      return {{f, 1, a}, {i, 1, a + 30}, {f, 1, a + 60}, {i, 1, a + 90}, {f, 1, a + 120}, {i, 1, a + 150}};
    case GlowFilter::kLine: return {{i, 1, a + 90}};
    default: return {};
  }
}

class GlowFilterTest : public ::testing::Test {
 protected:
  void SetUp() override {
    world_.emplace();
    blur_ = Effect::EffectService::instance()->registerEffect<Effect::BokashiFilter>().get();
  }
  void TearDown() override { world_.reset(); }

  CpuImage run(const CpuImage& picture, const Settings& s) {
    GlowFilter glow;
    glow.shape.value = s.shape;
    glow.strength.setValue(s.strength, 0);
    glow.spread.setValue(s.spread, 0);
    glow.angle.setValue(s.angle, 0);
    glow.threshold.setValue(s.threshold, 0);
    glow.ratio.setValue(s.ratio, 0);
    glow.blur.setValue(s.blur, 0);
    if (s.colour) glow.lightColor.setRgb(*s.colour);
    glow.lightColor.none = !s.colour;
    glow.lightOnly.value = s.lightOnly;
    glow.fixedSize.value = s.fixed;
    Effect::EffectContext context;
    Effect::OwnedImage output = glow.filterVideo(context, upload(picture));
    return output ? download(*output) : CpuImage();
  }

  // The glow composed here; the blurs are drawn by the registered blur.
  CpuImage expected(const CpuImage& picture, const Settings& s) {
    float gain = static_cast<float>(s.strength) / 100.0f * 32.0f;
    if (s.shape == GlowFilter::kNormal) gain *= 4.0f;
    CpuImage light = brightPass(picture, static_cast<float>(s.threshold) / 100.0f, gain);
    if (s.colour)
      for (Rgba& p : light.pixels)
        p = {static_cast<float>(*s.colour >> 16 & 0xFF) / 255.0f * p[3],
             static_cast<float>(*s.colour >> 8 & 0xFF) / 255.0f * p[3],
             static_cast<float>(*s.colour & 0xFF) / 255.0f * p[3], p[3]};
    const int d = static_cast<int>(std::lround(s.spread));
    const int grow = s.fixed ? 0 : d;
    CpuImage output(picture.width + 2 * grow, picture.height + 2 * grow);
    if (s.shape == GlowFilter::kNormal) {
      Effect::OwnedImage halo = blur_->blur(upload(light), d / 2, 0.0f, Effect::BokashiFilter::kGrow);
      addCentred(output, download(*halo), false);
      halo = blur_->boxBlur(std::move(halo), d - d / 2);
      addCentred(output, download(*halo), false);
    }
    for (const Streak& streak : streaksOf(s)) {
      if (!(streak.length > 0.0f)) continue;
      const auto constants = GlowFilter::streakConstants(light.width, light.height, output.width,
                                                         output.height, streak.length,
                                                         streak.ratio, streak.angle);
      addCentred(output,
                 TestSupport::cpuStreak(light, constants, output.width, output.height,
                                        TestSupport::kGlowWeight),
                 false);
    }
    const int soften = static_cast<int>(std::lround(s.blur));
    if (soften > 0) output = download(*blur_->boxBlur(upload(output), soften));
    if (!s.lightOnly) addCentred(output, picture, true);
    return output;
  }

  std::optional<TestSupport::RenderWorld> world_;
  Effect::BokashiFilter* blur_ = nullptr;
};

// A bright block with a dimmer rim on a half-transparent ground.
CpuImage picture() {
  return TestSupport::pictureOf(9, 7, [](int x, int y) -> Rgba {
    if (x >= 3 && x < 6 && y >= 2 && y < 5) return {1.0f, 0.9f, 0.7f, 1.0f};
    if (x >= 2 && x < 7 && y >= 1 && y < 6) return {0.6f, 0.5f, 0.4f, 1.0f};
    return {0.1f, 0.1f, 0.2f, 0.5f};
  });
}

TEST_F(GlowFilterTest, EachShapeAddsItsLightUnderThePicture) {
  const struct {
    const char* what;
    Settings settings;
  } cases[] = {
      {"4 rays, the cross arm half as long", {.shape = GlowFilter::kCross4, .ratio = 50}},
      {"6 rays, backward arms half as long", {.shape = GlowFilter::kCross6, .spread = 3, .angle = 10, .ratio = 50}},
      {"8 rays, fixed size", {.shape = GlowFilter::kCross8, .angle = 0, .fixed = true}},
      {"10 rays, coloured light only",
       {.shape = GlowFilter::kCross10, .spread = 3, .angle = 45, .colour = 0x3366FF, .lightOnly = true}},
      {"12 rays, short odd ones", {.shape = GlowFilter::kCross12, .spread = 5, .angle = -30, .ratio = 40}},
      {"a line across the angle", {.shape = GlowFilter::kLine, .angle = 0, .ratio = 75}},
      {"a halo", {.shape = GlowFilter::kNormal, .strength = 10}},
      {"a halo softened, coloured, fixed size",
       {.shape = GlowFilter::kNormal, .strength = 5, .spread = 5, .blur = 2, .colour = 0xFF8000, .fixed = true}},
      {"streaks softened", {.shape = GlowFilter::kCross4, .strength = 100, .spread = 3, .blur = 1.5}},
  };
  const CpuImage source = picture();
  for (const auto& c : cases)
    EXPECT_TRUE(imagesNear(run(source, c.settings), expected(source, c.settings), 1e-2f)) << c.what;
}

// No strength gives no light, yet the image still grows by the spread; a star without
// spread draws no streak at all, where the halo adds the unblurred light twice.
TEST_F(GlowFilterTest, NoStrengthOrNoSpreadAddNoLightOrTheBarePass) {
  const CpuImage source = picture();
  CpuImage centred(source.width + 6, source.height + 6);
  for (int y = 0; y < source.height; ++y)
    for (int x = 0; x < source.width; ++x) centred.at(x + 3, y + 3) = source.get(x, y);
  EXPECT_TRUE(imagesNear(run(source, {.shape = GlowFilter::kNormal, .strength = 0, .spread = 3}), centred));
  EXPECT_TRUE(imagesNear(run(source, {.shape = GlowFilter::kCross6, .spread = 0}), source));

  const Settings bare{.shape = GlowFilter::kNormal, .strength = 2, .spread = 0, .lightOnly = true};
  CpuImage twice = brightPass(source, 0.5f, 2.56f);
  for (Rgba& p : twice.pixels) p = {2 * p[0], 2 * p[1], 2 * p[2], p[3] + p[3] * (1 - p[3])};
  EXPECT_TRUE(imagesNear(run(source, bare), twice));
}

TEST(GlowStreakTest, StreaksStepAlongTheAngleWithOneTapPerPixel) {
  struct Case {
    int width, height, outputWidth, outputHeight;
    float length, ratio, angle;
    int taps;
    float stepX, stepY, offsetX, offsetY;
  };
  const Case cases[] = {
      {10, 8, 20, 18, 5, 1, 0, 5, 0, 1, -5, -5},        // 0 degrees points down the image
      {10, 8, 10, 8, 3, 0.5f, 90, 5, -0.6f, 0, 0, 0},   // at least 5 taps
      {3, 4, 13, 14, 12, 1, 180, 5, 0, -2.4f, -5, -5},  // no more taps than the diagonal
      {40, 30, 40, 30, 20.5f, 1, 0, 21, 0, 20.5f / 21, 0, 0},
  };
  for (const Case& c : cases) {
    const auto k = GlowFilter::streakConstants(c.width, c.height, c.outputWidth, c.outputHeight,
                                               c.length, c.ratio, c.angle);
    EXPECT_EQ(k.sampleNum, c.taps) << c.length << " at " << c.angle;
    EXPECT_NEAR(k.step[0], c.stepX, 1e-5f) << c.length << " at " << c.angle;
    EXPECT_NEAR(k.step[1], c.stepY, 1e-5f) << c.length << " at " << c.angle;
    EXPECT_FLOAT_EQ(k.stepRatio, c.ratio);
    EXPECT_FLOAT_EQ(k.offset[0], c.offsetX);
    EXPECT_FLOAT_EQ(k.offset[1], c.offsetY);
  }
}

TEST(GlowWithoutBlurTest, TheHaloNeedsTheRegisteredBlur) {
  TestSupport::RenderWorld world;
  GlowFilter glow;
  glow.shape.value = GlowFilter::kNormal;
  Effect::EffectContext context;
  try {
    glow.filterVideo(context, upload(picture()));
    FAIL() << "no exception";
  } catch (const std::exception& failure) {
    EXPECT_NE(std::string(failure.what()).find("default effect not found"), std::string::npos)
        << failure.what();
  }
}

}  // namespace
