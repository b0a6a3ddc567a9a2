// "特定色域変換" on a small picture against the recolouring computed here from the items,
// through the key map of the registered "クロマキー": with and without boundary correction
// and colour correction, a black source colour; the source colour itself turned into the
// target colour; the picture coming back untouched without either colour, and the failure
// when the key it borrows is not registered.
#include "builtin/filter/color_change_filter.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <optional>
#include <string>

#include "builtin/filter/chroma_key_filter.h"
#include "effect/effect_service.h"
#include "key_reference.h"
#include "in_place_filter_support.h"
#include "render/render_test_support.h"

namespace {

using Effect::ColorChangeFilter;
using TestSupport::CpuImage;
using TestSupport::Rgba;

struct Change {
  uint32_t before = 0x19CC40, after = 0xE03020;
  double hueRange = 16, saturationRange = 96, border = 1;
  bool colourCorrection = false;
};

CpuImage changedOnCpu(const CpuImage& picture, const Change& c) {
  const CpuImage map = TestSupport::keyMapOf(
      picture, TestSupport::chromaKeyConstants(c.before, c.hueRange, c.saturationRange, c.border,
                                               false, false));
  const TestSupport::Ycc before = TestSupport::lumaChroma(TestSupport::colourOf(c.before));
  const TestSupport::Ycc after = TestSupport::lumaChroma(TestSupport::colourOf(c.after));
  const int range = static_cast<int>(std::lround(c.border));
  const ColorChangeFilter::Constants q{after[0],  after[1],  after[2], std::max(before[0], 0.001f),
                                       before[1], before[2], range,    TestSupport::divieOf(range),
                                       c.colourCorrection ? 1.0f : 0.0f};
  CpuImage out(picture.width, picture.height);
  for (int y = 0; y < picture.height; ++y)
    for (int x = 0; x < picture.width; ++x)
      out.at(x, y) = TestSupport::colourChanged(picture, map, x, y, q, range >= 1);
  return out;
}

class ColorChangeFilterTest : public ::testing::Test {
 protected:
  void SetUp() override { world_.emplace(); }
  void TearDown() override { world_.reset(); }

  static void registerKey() {
    Effect::EffectService::instance()->registerEffect<Effect::ChromaKeyFilter>();
  }
  static CpuImage run(const CpuImage& source, const Change& c) {
    ColorChangeFilter filter;
    filter.beforeColor.setRgb(c.before);
    filter.beforeColor.none = false;
    filter.afterColor.setRgb(c.after);
    filter.afterColor.none = false;
    filter.hueRange.setValue(c.hueRange, 0);
    filter.saturationRange.setValue(c.saturationRange, 0);
    filter.borderCorrection.setValue(c.border, 0);
    filter.colorCorrection.value = c.colourCorrection;
    return TestSupport::filtered(filter, source);
  }

  std::optional<TestSupport::RenderWorld> world_;
};

TEST_F(ColorChangeFilterTest, RecoloursThePictureAsItsItemsSay) {
  registerKey();
  const struct {
    const char* what;
    Change change;
  } cases[] = {
      {"defaults: boundary corrected over a 3 x 3 window", {}},
      {"no boundary correction", {.border = 0}},
      {"wide window", {.border = 3}},
      {"colour correction", {.border = 0, .colourCorrection = true}},
      {"colour correction, boundary corrected", {.border = 2, .colourCorrection = true}},
      {"whole ranges", {.hueRange = 256, .saturationRange = 256, .border = 0}},
      {"into a grey", {.after = 0x606060, .border = 0}},
      // Black has no luma to scale by: the least luma of the source stands in for it.
      {"from black", {.before = 0x000000, .border = 0}},
  };
  for (const auto& c : cases) {
    const CpuImage source = TestSupport::pictureAroundKey(0x19CC40);
    EXPECT_TRUE(TestSupport::imagesNear(run(source, c.change), changedOnCpu(source, c.change)))
        << c.what;
  }
}

TEST_F(ColorChangeFilterTest, TheSourceColourBecomesTheTargetColour) {
  registerKey();
  CpuImage source(3, 1);
  const Rgba before = TestSupport::colourOf(0x19CC40);
  const Rgba red{0.9f, 0.1f, 0.2f, 1.0f};
  source.pixels = {before, TestSupport::scaled(before, 0.5f), red};
  const CpuImage changed = run(source, {.border = 0});
  const Rgba after = TestSupport::colourOf(0xE03020);
  EXPECT_TRUE(TestSupport::nearHalf(changed.get(0, 0), after, 4e-3f));
  EXPECT_TRUE(TestSupport::nearHalf(changed.get(1, 0), TestSupport::scaled(after, 0.5f), 4e-3f))
      << "coverage kept";
  EXPECT_TRUE(TestSupport::nearHalf(changed.get(2, 0), red, 4e-3f)) << "other colours stay";
}

TEST_F(ColorChangeFilterTest, WithoutEitherColourTheSamePictureComesBack) {
  registerKey();
  for (const bool beforeChosen : {false, true}) {
    ColorChangeFilter filter;
    filter.beforeColor.setRgb(0x19CC40);
    filter.beforeColor.none = !beforeChosen;
    filter.afterColor.none = beforeChosen;
    Effect::EffectContext context;
    Effect::OwnedImage image = TestSupport::upload(TestSupport::pictureAroundKey(0x19CC40));
    const Media::ResourceBuffer* sent = image.get();
    image = filter.filterVideo(context, std::move(image));
    EXPECT_EQ(image.get(), sent) << (beforeChosen ? "no target colour" : "no source colour");
  }
}

TEST_F(ColorChangeFilterTest, WithoutTheChromaKeyKindItFails) {
  try {
    run(TestSupport::pictureAroundKey(0x19CC40), {});
    ADD_FAILURE() << "no exception";
  } catch (const std::exception& failure) {
    EXPECT_NE(std::string(failure.what()).find("default effect not found"), std::string::npos)
        << failure.what();
  }
}

}  // namespace
