// "カラーキー" on a small picture against the keying computed here from the items: the mask
// of the colours whose luma and colour differences lie near the key's, with and without
// boundary correction, the ranges that make luma count for nothing or key nothing at all;
// the work done on the picture it was given, and that picture left alone without a key.
#include "builtin/filter/color_key_filter.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <optional>

#include "in_place_filter_support.h"
#include "key_reference.h"
#include "render/render_test_support.h"

namespace {

using Effect::ColorKeyFilter;
using TestSupport::CpuImage;
using TestSupport::Rgba;

struct Keying {
  uint32_t key = 0x30A0C0;
  double luminanceRange = 400, chromaRange = 400, border = 1;
};

ColorKeyFilter::Constants constantsOf(const Keying& k) {
  const TestSupport::Ycc key = TestSupport::lumaChroma(TestSupport::colourOf(k.key));
  const int range = static_cast<int>(std::lround(k.border));
  const auto luma = static_cast<float>(k.luminanceRange / 4096);
  const auto chroma = static_cast<float>(k.chromaRange / 4096);
  return {{key[0], key[1], key[2]}, range, {luma, chroma, chroma}, TestSupport::divieOf(range)};
}

CpuImage keyedOnCpu(const CpuImage& picture, const Keying& k) {
  const ColorKeyFilter::Constants q = constantsOf(k);
  CpuImage mask(picture.width, picture.height);
  for (int y = 0; y < picture.height; ++y)
    for (int x = 0; x < picture.width; ++x)
      mask.at(x, y) = TestSupport::colourKeyMask(picture.get(x, y), q);
  CpuImage out(picture.width, picture.height);
  for (int y = 0; y < picture.height; ++y)
    for (int x = 0; x < picture.width; ++x) {
      const float m = mask.get(x, y)[3];
      const float kept =
          q.range < 1 || m < 0.001f ? m : TestSupport::windowWeight(mask, x, y, m, q.range, q.divie);
      out.at(x, y) = TestSupport::scaled(picture.get(x, y), kept);
    }
  return out;
}

// The key moved in luma along the rows and in colour difference along the columns, by steps
// that cross the default ranges (about 0.1); transparent and almost transparent pixels.
CpuImage picture(uint32_t keyRgb) {
  const TestSupport::Ycc key = TestSupport::lumaChroma(TestSupport::colourOf(keyRgb));
  constexpr int kWidth = 8, kHeight = 6;
  return TestSupport::pictureOf(kWidth, kHeight, [&](int x, int y) {
    const int i = x + kWidth * y;
    const float a = i % 9 == 4 ? 0.0f : i % 14 == 8 ? 0.0005f : 0.4f + 0.6f * float(i * 3 % 4) / 3;
    const float dy = 0.045f * static_cast<float>(y - 2);
    const float du = 0.035f * static_cast<float>(x - 3), dv = 0.02f * static_cast<float>(3 - x);
    const Rgba c = TestSupport::fromLumaChroma({key[0] + dy, key[1] + du, key[2] + dv}, 1.0f);
    return Rgba{c[0] * a, c[1] * a, c[2] * a, a};
  });
}

class ColorKeyFilterTest : public ::testing::Test {
 protected:
  void SetUp() override { world_.emplace(); }
  void TearDown() override { world_.reset(); }

  static CpuImage run(const CpuImage& source, const Keying& k) {
    ColorKeyFilter filter;
    filter.keyColor.setRgb(k.key);
    filter.keyColor.none = false;
    filter.luminanceRange.setValue(k.luminanceRange, 0);
    filter.chromaRange.setValue(k.chromaRange, 0);
    filter.borderCorrection.setValue(k.border, 0);
    return TestSupport::runInPlace(filter, source);
  }

  std::optional<TestSupport::RenderWorld> world_;
};

TEST_F(ColorKeyFilterTest, KeysThePictureAsItsItemsSay) {
  const struct {
    const char* what;
    Keying keying;
  } cases[] = {
      {"defaults: boundary corrected over a 3 x 3 window", {}},
      {"no boundary correction", {.border = 0}},
      {"wide window", {.border = 4}},
      {"narrow luma, wide colour", {.luminanceRange = 100, .chromaRange = 1200, .border = 0}},
      // A half-width of 1 takes in every luma: colour difference alone decides.
      {"luma ignored", {.luminanceRange = 4096, .border = 0}},
      {"a dark key", {.key = 0x102008, .border = 1}},
  };
  for (const auto& c : cases) {
    const CpuImage source = picture(c.keying.key);
    EXPECT_TRUE(TestSupport::imagesNear(run(source, c.keying), keyedOnCpu(source, c.keying)))
        << c.what;
  }
}

TEST_F(ColorKeyFilterTest, NoColourRangeKeysNothing) {
  // No difference is below a half-width of 0: the picture stays as it was.
  const CpuImage source = picture(0x30A0C0);
  EXPECT_TRUE(TestSupport::imagesNear(run(source, {.chromaRange = 0, .border = 0}), source));
  EXPECT_TRUE(TestSupport::imagesNear(run(source, {.luminanceRange = 0, .border = 0}), source));
}

TEST_F(ColorKeyFilterTest, TheKeysOwnColourGoesWhereOthersStay) {
  CpuImage source(3, 1);
  source.pixels = {TestSupport::colourOf(0x30A0C0), {0.9f, 0.2f, 0.1f, 1.0f}, {}};
  const CpuImage keyed = run(source, {.border = 0});
  EXPECT_TRUE(TestSupport::nearHalf(keyed.get(0, 0), {0, 0, 0, 0}));
  EXPECT_TRUE(TestSupport::nearHalf(keyed.get(1, 0), source.get(1, 0)));
  EXPECT_TRUE(TestSupport::nearHalf(keyed.get(2, 0), {0, 0, 0, 0}));
}

TEST_F(ColorKeyFilterTest, WithoutAKeyColourThePictureIsLeftAlone) {
  ColorKeyFilter filter;
  ASSERT_TRUE(filter.keyColor.none);
  const CpuImage source = picture(0x30A0C0);
  EXPECT_TRUE(TestSupport::imagesNear(TestSupport::runInPlace(filter, source), source));
}

}  // namespace
