// "ノイズ" on a small picture: the constants it gives the noise shader (time, speeds, seed,
// cycles, threshold, the table of the type) checked by drawing that shader here with the
// constants worked out from the items, the two compositions, the strengths that leave the
// picture alone or take everything, and the seed's fractions.
#include "builtin/filter/noise_filter.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <span>

#include "builtin/movement/random_move.h"
#include "edit/scene.h"
#include "filter_run_support.h"
#include "gpu/resource/resource_service.h"

namespace {

using TestSupport::CpuImage;
using TestSupport::Rgba;

struct Settings {
  double strength = 100, speedX = 0, speedY = 0, change = 0, cycleX = 1, cycleY = 1,
         threshold = 0;
  int seed = 0, composite = 0, kind = 0;
};

// The object starts at frame 15 of a 30 frames-per-second scene; the frame is 45: 1 second.
constexpr int kStart = 15;
constexpr int kFrame = 45;
constexpr double kSeconds = 1.0;

class NoiseFilterTest : public TestSupport::FilterRunTest {
 protected:
  CpuImage run(const CpuImage& source, const Settings& s) {
    Effect::NoiseFilter noise;
    noise.strength.setValue(s.strength, 0);
    noise.speedX.setValue(s.speedX, 0);
    noise.speedY.setValue(s.speedY, 0);
    noise.changeSpeed.setValue(s.change, 0);
    noise.cycleX.setValue(s.cycleX, 0);
    noise.cycleY.setValue(s.cycleY, 0);
    noise.threshold.setValue(s.threshold, 0);
    noise.seed.value = s.seed;
    noise.composite.value = s.composite;
    noise.kind.value = s.kind;
    Edit::Scene& scene = world_->scene();
    scene.rate = 30;
    scene.scale = 1;
    Effect::EffectContext context;
    context.scene = &scene;
    context.frame = kFrame;
    context.time = kFrame;
    context.objectFrames.start = kStart;
    context.objectFrames.end = 100;
    return runOn(noise, source, context);
  }

  // The noise shader's alpha over a picture of that size, drawn here with the constants the
  // items give.
  static CpuImage noiseAlpha(int width, int height, const Settings& s) {
    float shift[2];
    Effect::RandomMove::randomFractions(0, s.seed, shift);
    const float limit = static_cast<float>(s.threshold / 100.0);
    Effect::NoiseConstants c;
    c.step[0] = 7.0f / 256.0f;
    c.step[1] = 17.0f / 256.0f;
    c.step[2] = 31.0f / 256.0f;
    c.type = s.kind;
    c.offset[0] = float(s.speedX * kSeconds * 30 + 256.0 * shift[0] - width * s.cycleX / 2);
    c.offset[1] = float(s.speedY * kSeconds * 30 + 256.0 * shift[1] - height * s.cycleY / 2);
    c.cycle[0] = float(s.cycleX);
    c.cycle[1] = float(s.cycleY);
    c.accelerate = float(s.change * kSeconds * 3);
    c.level = float(s.strength / 100.0);
    c.limit = limit;
    c.limitRatio = 1.0f / (1.0f - limit);
    Resource::ResourceService& service = Resource::ResourceService::Get();
    const auto table =
        service.lookupTable(s.kind == Effect::NoiseFilter::kTableType
                                ? Resource::ResourceService::kPermutationTable
                                : Resource::ResourceService::kSmoothNoiseTable);
    auto shaders = TestSupport::shadersOf<Effect::NoiseFilter>();
    return TestSupport::runPixelShader(shaders->pixelShader(0), width, height, {table.get()}, c,
                                       service.samplerStates().get(TestSupport::kLinearWrap.entry));
  }
};

CpuImage multiplied(const CpuImage& source, const CpuImage& alpha, bool colourOnly) {
  CpuImage out = source;
  for (std::size_t i = 0; i < out.pixels.size(); ++i)
    for (int c = 0; c < (colourOnly ? 3 : 4); ++c) out.pixels[i][c] *= alpha.pixels[i][3];
  return out;
}

TEST_F(NoiseFilterTest, ThePictureIsMultipliedByTheNoiseOfItsTime) {
  const struct {
    const char* what;
    Settings settings;
  } cases[] = {
      {"the defaults", {}},
      {"moving, changing, finer",
       {.speedX = 12.5, .speedY = -7, .change = 2.2, .cycleX = 0.3, .cycleY = 0.45}},
      {"strength 150 fades the noise out", {.strength = 150, .change = 1, .kind = 1}},
      {"a threshold, colour only", {.strength = 60, .threshold = 30, .composite = 1, .kind = 2}},
      {"the table type", {.change = 0.7, .cycleX = 2.5, .seed = 57, .kind = 3}},
      {"bands across", {.speedX = 3, .threshold = 10, .seed = 2, .kind = 4}},
      {"rings, colour only", {.strength = 80, .cycleY = 3, .seed = 100, .composite = 1, .kind = 5}},
  };
  const CpuImage source = TestSupport::randomPicture(13, 9, 5);
  for (const auto& c : cases) {
    const CpuImage expected = multiplied(source, noiseAlpha(13, 9, c.settings),
                                         c.settings.composite == 1);
    EXPECT_TRUE(TestSupport::imagesNear(run(source, c.settings), expected)) << c.what;
  }
}

TEST_F(NoiseFilterTest, StrengthAndThresholdAtTheirEnds) {
  const CpuImage source = TestSupport::randomPicture(6, 4, 9);
  Effect::NoiseFilter none;
  none.strength.setValue(0, 0);
  EXPECT_TRUE(returnsItsInput(none, source)) << "strength 0";

  const struct {
    const char* what;
    Settings settings;
  } everything[] = {{"strength 200", {.strength = 200}},
                    {"threshold 100", {.strength = 50, .threshold = 100}},
                    {"strength 200, colour only", {.strength = 200, .composite = 1}},
                    {"threshold 100, colour only", {.threshold = 100, .composite = 1}}};
  for (const auto& c : everything) {
    const CpuImage result = run(source, c.settings);
    ASSERT_EQ(result.width, 6) << c.what;
    for (int y = 0; y < 4; ++y)
      for (int x = 0; x < 6; ++x) {
        const float alpha = c.settings.composite == 1 ? source.get(x, y)[3] : 0.0f;
        EXPECT_TRUE(TestSupport::nearHalf(result.get(x, y), {0, 0, 0, alpha}))
            << c.what << " at " << x << ", " << y;
      }
  }
}

TEST_F(NoiseFilterTest, TheSameSettingsGiveTheSameNoiseAndTheSeedMovesIt) {
  CpuImage white(10, 8);
  for (Rgba& p : white.pixels) p = {1, 1, 1, 1};
  const CpuImage first = run(white, {.change = 1.5, .seed = 3});
  EXPECT_TRUE(TestSupport::imagesNear(run(white, {.change = 1.5, .seed = 3}), first, 0.0f));
  EXPECT_FALSE(TestSupport::imagesNear(run(white, {.change = 1.5, .seed = 4}), first));
}

// The seed's two fractions: the random move's for cell 0, then the same scrambling applied
// once more to the value that gave the first.
TEST(NoiseSeed, FractionsFollowTheRandomMovesSequence) {
  const struct {
    int64_t seed;
    float first, second;
  } cases[] = {{0, 0.14401069283485413f, 0.56764674186706543f},
               {1, 0.36670997738838196f, 0.81009554862976074f},
               {57, 0.79706835746765137f, 0.46315458416938782f},
               {100, 0.73929435014724731f, 0.2028447687625885f}};
  for (const auto& c : cases) {
    float fractions[2];
    Effect::RandomMove::randomFractions(0, c.seed, fractions);
    EXPECT_EQ(fractions[0], c.first) << c.seed;
    EXPECT_EQ(fractions[1], c.second) << c.seed;
    EXPECT_EQ(Effect::RandomMove::randomFraction(0, c.seed), c.first) << c.seed;
  }
}

}  // namespace
