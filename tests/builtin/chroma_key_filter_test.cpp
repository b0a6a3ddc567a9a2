// "クロマキー" on a small picture against the keying computed here from the items: the key
// map of the chosen colour, the keying through it with and without boundary correction, the
// colour and transparency corrections, a grey key; the key's own colour going while colours
// far from it stay; and the picture coming back untouched without a key colour.
#include "builtin/filter/chroma_key_filter.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <optional>

#include "key_reference.h"
#include "in_place_filter_support.h"
#include "render/render_test_support.h"

namespace {

using Effect::ChromaKeyFilter;
using TestSupport::CpuImage;
using TestSupport::Rgba;

struct Keying {
  uint32_t key = 0x19CC40;
  double hueRange = 16, saturationRange = 96, border = 1;
  bool colourCorrection = false, transparencyCorrection = false;
};

ChromaKeyFilter::Constants constantsOf(const Keying& k) {
  return TestSupport::chromaKeyConstants(k.key, k.hueRange, k.saturationRange, k.border,
                                         k.colourCorrection, k.transparencyCorrection);
}

CpuImage keyedOnCpu(const CpuImage& picture, const Keying& k) {
  const ChromaKeyFilter::Constants q = constantsOf(k);
  const CpuImage map = TestSupport::keyMapOf(picture, q);
  CpuImage out(picture.width, picture.height);
  for (int y = 0; y < picture.height; ++y)
    for (int x = 0; x < picture.width; ++x)
      out.at(x, y) = TestSupport::chromaKeyed(picture, map, x, y, q, q.range >= 1);
  return out;
}

class ChromaKeyFilterTest : public ::testing::Test {
 protected:
  void SetUp() override { world_.emplace(); }
  void TearDown() override { world_.reset(); }

  static CpuImage run(const CpuImage& source, const Keying& k) {
    ChromaKeyFilter filter;
    filter.keyColor.setRgb(k.key);
    filter.keyColor.none = false;
    filter.hueRange.setValue(k.hueRange, 0);
    filter.saturationRange.setValue(k.saturationRange, 0);
    filter.borderCorrection.setValue(k.border, 0);
    filter.colorCorrection.value = k.colourCorrection;
    filter.transparencyCorrection.value = k.transparencyCorrection;
    return TestSupport::filtered(filter, source);
  }

  std::optional<TestSupport::RenderWorld> world_;
};

TEST_F(ChromaKeyFilterTest, KeysThePictureAsItsItemsSay) {
  // The picture's colours lie round `around`: the key, or a colour for a grey key to tell
  // from.
  const struct {
    const char* what;
    Keying keying;
    uint32_t around = 0x19CC40;
  } cases[] = {
      {"defaults: boundary corrected over a 3 x 3 window", {}},
      {"no boundary correction", {.border = 0}},
      {"wide window", {.border = 3}},
      {"narrow ranges", {.hueRange = 4, .saturationRange = 20, .border = 0}},
      {"whole ranges", {.hueRange = 256, .saturationRange = 256, .border = 0}},
      {"colour correction", {.border = 0, .colourCorrection = true}},
      {"transparency correction", {.border = 0, .transparencyCorrection = true}},
      {"both corrections, boundary corrected",
       {.border = 2, .colourCorrection = true, .transparencyCorrection = true}},
      {"a blue key", {.key = 0x2040E0, .border = 0}, 0x2040E0},
      // No saturation to key by: the key's hue is 0 and its saturation 0.001.
      {"a grey key", {.key = 0x808080, .border = 0}},
  };
  for (const auto& c : cases) {
    const CpuImage source = TestSupport::pictureAroundKey(c.around);
    EXPECT_TRUE(TestSupport::imagesNear(run(source, c.keying), keyedOnCpu(source, c.keying)))
        << c.what;
  }
}

TEST_F(ChromaKeyFilterTest, TheKeysOwnColourGoesAndColoursFarFromItStay) {
  CpuImage source(4, 1);
  const Rgba key = TestSupport::colourOf(0x19CC40);
  source.pixels = {key, {0.9f, 0.1f, 0.2f, 1.0f}, TestSupport::scaled(key, 0.5f), {}};
  const CpuImage plain = run(source, {.border = 0});
  EXPECT_TRUE(TestSupport::nearHalf(plain.get(0, 0), {0, 0, 0, 0})) << "the key colour";
  EXPECT_TRUE(TestSupport::nearHalf(plain.get(1, 0), source.get(1, 0))) << "red stays";
  EXPECT_TRUE(TestSupport::nearHalf(plain.get(2, 0), {0, 0, 0, 0})) << "half covered key";
  EXPECT_TRUE(TestSupport::nearHalf(plain.get(3, 0), {0, 0, 0, 0})) << "transparent stays";

  // Boundary correction leaves the red beside keyed pixels only what its window keeps:
  // 1 + (3 kept of 9, the edge repeated, - 1) = 1/3.
  const CpuImage eroded = run(source, {.border = 1});
  EXPECT_TRUE(TestSupport::nearHalf(eroded.get(1, 0), TestSupport::scaled(source.get(1, 0), 1.0f / 3)));
}

TEST_F(ChromaKeyFilterTest, AnOpaquePictureKeepsItsEdgesUnderBoundaryCorrection) {
  // Reds and magentas, far from the green key: nothing keyed, and the window's neighbours
  // beyond the edge repeat the edge rather than eat it away.
  const CpuImage source = TestSupport::pictureOf(
      5, 4, [](int x, int y) { return Rgba{0.8f, 0.1f * float(x), 0.15f * float(y), 1.0f}; });
  EXPECT_TRUE(TestSupport::imagesNear(run(source, {.border = 2}), source));
}

TEST_F(ChromaKeyFilterTest, WithoutAKeyColourTheSamePictureComesBack) {
  ChromaKeyFilter filter;
  ASSERT_TRUE(filter.keyColor.none);
  Effect::EffectContext context;
  Effect::OwnedImage image = TestSupport::upload(TestSupport::pictureAroundKey(0x19CC40));
  const Media::ResourceBuffer* before = image.get();
  image = filter.filterVideo(context, std::move(image));
  EXPECT_EQ(image.get(), before);
}

}  // namespace
