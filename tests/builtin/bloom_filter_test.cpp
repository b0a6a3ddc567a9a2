// "発光" on a small picture against the glow computed here: the bright pass with its strength
// and threshold, the light colour, four blurred layers whose radii follow the spread speed,
// and the picture grown by the spread or kept at its size.
#include "builtin/filter/bloom_filter.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <optional>

#include "builtin/filter/bokashi_filter.h"
#include "effect/effect_service.h"
#include "filter_run_support.h"

namespace {

using TestSupport::CpuImage;
using TestSupport::Rgba;

struct Settings {
  double strength = 100, spread = 10, threshold = 30, speed = 0;
  std::optional<uint32_t> rgb = std::nullopt;
  bool fixed = false;
};

// One box pass of radius r along an axis: growing (the window ends at the pixel, the output
// 2r longer) or centred with transparency outside.
CpuImage boxPass(const CpuImage& in, bool horizontal, int r, bool grow) {
  if (r == 0) return in;
  CpuImage out(in.width + (grow && horizontal ? 2 * r : 0),
               in.height + (grow && !horizontal ? 2 * r : 0));
  for (int y = 0; y < out.height; ++y)
    for (int x = 0; x < out.width; ++x)
      for (int i = grow ? -2 * r : -r; i <= (grow ? 0 : r); ++i) {
        const Rgba t = horizontal ? in.get(x + i, y) : in.get(x, y + i);
        for (int c = 0; c < 4; ++c) out.at(x, y)[c] += t[c] / float(2 * r + 1);
      }
  return out;
}

// The blur of "ぼかし": two boxes per axis, ceil(R/2) then floor(R/2), vertical first.
CpuImage blurred(CpuImage image, int r, bool grow) {
  image = boxPass(image, false, r - r / 2, grow);
  image = boxPass(image, true, r - r / 2, grow);
  image = boxPass(image, false, r / 2, grow);
  return boxPass(image, true, r / 2, grow);
}

CpuImage bloomOnCpu(const CpuImage& input, const Settings& s) {
  float power = float(s.strength) * 0.01f;
  if (power > 1) power = 3 * power - 2;
  const float gain = 1.25f * power;
  CpuImage bright(input.width, input.height);
  for (int i = 0; i < int(input.pixels.size()); ++i) {
    const Rgba p = input.pixels[std::size_t(i)];
    const float l =
        std::max(0.299f * p[0] + 0.587f * p[1] + 0.114f * p[2] - float(s.threshold) * 0.01f, 0.0f) *
        gain;
    Rgba& b = bright.pixels[std::size_t(i)];
    for (int c = 0; c < 3; ++c) b[c] = std::min(l * p[c], gain);
    b[3] = std::min(l, 1.0f);
    if (s.rgb)
      b = {float(*s.rgb >> 16 & 0xFF) / 255 * b[3], float(*s.rgb >> 8 & 0xFF) / 255 * b[3],
           float(*s.rgb & 0xFF) / 255 * b[3], b[3]};
  }
  const int r = int(std::lround(s.spread));
  const int margin = s.fixed ? 0 : r;
  CpuImage canvas(input.width + 2 * margin, input.height + 2 * margin);
  for (int y = 0; y < input.height; ++y)
    for (int x = 0; x < input.width; ++x) canvas.at(x + margin, y + margin) = input.get(x, y);
  const int share = int(std::lround(s.speed)) + 50;
  int radius = r;
  for (int layer = 0; layer < 4; ++layer) {
    const CpuImage glow = blurred(bright, radius, !s.fixed);
    const int dx = (glow.width - canvas.width) / 2, dy = (glow.height - canvas.height) / 2;
    for (int y = 0; y < canvas.height; ++y)
      for (int x = 0; x < canvas.width; ++x) {
        const Rgba g = glow.get(x + dx, y + dy);
        Rgba& p = canvas.at(x, y);
        for (int c = 0; c < 3; ++c) p[c] += g[c];
        p[3] = g[3] + p[3] * (1 - g[3]);
      }
    radius = share * radius / 100;
  }
  return canvas;
}

class BloomFilterTest : public TestSupport::FilterRunTest {
 protected:
  void SetUp() override {
    FilterRunTest::SetUp();
    ASSERT_TRUE(Effect::EffectService::instance()->registerEffect<Effect::BokashiFilter>());
  }
  static CpuImage run(const CpuImage& source, const Settings& s) {
    Effect::BloomFilter bloom;
    bloom.strength.setValue(s.strength, 0);
    bloom.spread.setValue(s.spread, 0);
    bloom.threshold.setValue(s.threshold, 0);
    bloom.spreadSpeed.setValue(s.speed, 0);
    if (s.rgb) {
      bloom.lightColor.setRgb(*s.rgb);
      bloom.lightColor.none = false;
    }
    bloom.fixedSize.value = s.fixed;
    return runOn(bloom, source);
  }
};

// Bright, mid and dark pixels, one half transparent, in a clear margin.
CpuImage shape() {
  return TestSupport::pictureOf(7, 5, [](int x, int y) -> Rgba {
    if (x == 0 || y == 0) return {0, 0, 0, 0};
    if (x == 2 && y == 2) return {1, 1, 0.9f, 1};
    if (x == 4 && y == 3) return {0.45f, 0.3f, 0.05f, 0.5f};
    if (x == 5) return {0.1f, 0.6f, 0.9f, 1};
    return {0.1f, 0.1f, 0.1f, 1};
  });
}

TEST_F(BloomFilterTest, GlowMatchesTheReference) {
  const struct {
    const char* what;
    Settings settings;
  } cases[] = {
      {"the picture grows by the spread; radii 10, 5, 2, 1", {}},
      {"strength 200 is five times the light, coloured",
       {.strength = 200, .threshold = 60, .rgb = 0xFF8000}},
      {"speed 50 keeps all four radii", {.spread = 12, .speed = 50}},
      {"speed 60 grows each radius", {.strength = 40, .spread = 10, .speed = 60}},
      {"fixed size cuts the glow at the edges", {.strength = 150, .spread = 11, .fixed = true}},
      {"no strength adds nothing", {.strength = 0}},
  };
  const CpuImage source = shape();
  for (const auto& c : cases)
    EXPECT_TRUE(TestSupport::imagesNear(run(source, c.settings), bloomOnCpu(source, c.settings)))
        << c.what;
}

TEST_F(BloomFilterTest, TheOutputSizeFollowsTheSpreadUnlessFixed) {
  const CpuImage grown = run(shape(), {.spread = 10.5});
  EXPECT_EQ(grown.width, 7 + 22);
  EXPECT_EQ(grown.height, 5 + 22);
  const CpuImage fixed = run(shape(), {.spread = 40, .fixed = true});
  EXPECT_EQ(fixed.width, 7);
  EXPECT_EQ(fixed.height, 5);
}

}  // namespace
