// The scene change's drawing, straight on the device: its three shaders against the same
// arithmetic done here on the CPU, pixel by pixel, and every built-in transition at both
// ends of its progress, where it must show the picture before (t = 0) and the current
// picture (t = 1) exactly.
#include <gtest/gtest.h>

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "builtin/control/scene_change.h"
#include "builtin/filter/blur_filter.h"
#include "builtin/filter/bokashi_filter.h"
#include "edit/object.h"
#include "effect/effect_service.h"
#include "gpu/resource/lookup_tables.h"
#include "gpu/shader_run_support.h"
#include "render/render_test_support.h"

namespace {

using Effect::SceneChangeParams;
using Effect::SceneChangeResource;
using TestSupport::halfPixel;
using TestSupport::nearHalf;
using TestSupport::Rgba;

constexpr int kWidth = 40;
constexpr int kHeight = 24;
constexpr Rgba kUntouched{0.0f, 0.0f, 1.0f, 1.0f};  // what the frame held before a draw

// Two pictures that differ at every pixel, in steps that half floats hold exactly.
Rgba beforeAt(int x, int y) {
  return {static_cast<float>(x) / 64.0f, static_cast<float>(y) / 64.0f, 0.25f, 1.0f};
}
Rgba currentAt(int x, int y) {
  return {0.75f, static_cast<float>(kWidth - x) / 64.0f, static_cast<float>(y) / 32.0f, 1.0f};
}

template <class Pattern>
std::unique_ptr<Media::ResourceBuffer> picture(Pattern pattern) {
  auto image = Media::ImageBuffer::makeShared(10, kWidth, kHeight);
  for (int y = 0; y < kHeight; ++y)
    for (int x = 0; x < kWidth; ++x)
      TestSupport::setHalfPixel(*image, static_cast<uint32_t>(x), static_cast<uint32_t>(y),
                                pattern(x, y));
  return Media::ResourceBuffer::createFromImageBuffer(image.get());
}

class SceneChangeDrawTest : public TestSupport::FrameTest {
 protected:
  SceneChangeDrawTest() : FrameTest(kWidth, kHeight) {}

  void fillFrame(const Rgba& colour) { frame_->clear(colour.data()); }
  void fillFrameWithCurrent() {
    auto current = picture(currentAt);
    Resource::ResourceService::Get()
        .pixelShaders()
        .entry(Resource::PixelShaderList::kCopy)
        .copyToRender(*frame_, *current);
  }
  // Reads the frame back and compares every pixel with `expected(x, y)`; stops at the first
  // mismatch.
  template <class Expected>
  ::testing::AssertionResult frameIs(Expected expected) {
    return TestSupport::matchesEverywhere(
        TestSupport::pictureOf(*frame_->readBack()),
        [&](int x, int y) -> std::optional<Rgba> { return expected(x, y); });
  }

  SceneChangeResource resource_;
};

// Slice: bx = x * divide / w, by = y * divide / h; rows move by offsetX (even bands right),
// columns by offsetY; a source outside the picture leaves the frame's pixel.
TEST_F(SceneChangeDrawTest, SliceMatchesItsArithmetic) {
  const struct {
    int offsetX, offsetY, divide;
  } cases[] = {{7, 0, 5}, {0, 5, 4}, {3, 2, 3}, {kWidth, 0, 12}, {0, 0, 1}};
  const auto before = picture(beforeAt);
  for (const auto& c : cases) {
    SCOPED_TRACE(std::to_string(c.offsetX) + " " + std::to_string(c.offsetY) + " " +
                 std::to_string(c.divide));
    fillFrame(kUntouched);
    resource_.drawSlice(*frame_, *before, {c.offsetX, c.offsetY, c.divide, 0});
    EXPECT_TRUE(frameIs([&](int x, int y) {
      const int bx = x * c.divide / kWidth;
      const int by = y * c.divide / kHeight;
      const int sx = x + c.offsetX * (2 * (by & 1) - 1);
      const int sy = y + c.offsetY * (2 * (bx & 1) - 1);
      if (sx < 0 || sy < 0 || sx >= kWidth || sy >= kHeight) return kUntouched;
      return beforeAt(sx, sy);
    }));
  }
}

TEST_F(SceneChangeDrawTest, OffsetCopyShowsThePictureMovedBack) {
  const struct {
    int x, y;
  } cases[] = {{5, -3}, {-9, 4}, {0, 0}, {kWidth, 0}, {0, -kHeight}};
  const auto before = picture(beforeAt);
  for (const auto& c : cases) {
    SCOPED_TRACE(std::to_string(c.x) + " " + std::to_string(c.y));
    fillFrame(kUntouched);
    resource_.drawOffset(*frame_, *before, {{c.x, c.y}, {0, 0}});
    EXPECT_TRUE(frameIs([&](int x, int y) {
      const int sx = x + c.x;
      const int sy = y + c.y;
      if (sx < 0 || sy < 0 || sx >= kWidth || sy >= kHeight) return kUntouched;
      return beforeAt(sx, sy);
    }));
  }
}

// Each line keeps the picture while its value in the permutation table is at least the
// ratio; rows of bands with divideY, columns with divideX.
TEST_F(SceneChangeDrawTest, RandomLinesVanishByTheirTableValue) {
  const std::vector<float> table = Resource::permutationTableValues();
  const struct {
    float ratio;
    int divideX, divideY;
  } cases[] = {{0.5f, 0, 12}, {0.3f, 20, 0}, {0.0f, 0, 7}, {1.0f, 0, 24}, {0.7f, 3, 5}};
  const auto before = picture(beforeAt);
  auto random = Resource::ResourceService::Get().lookupTable(
      Resource::ResourceService::kPermutationTable);
  for (const auto& c : cases) {
    SCOPED_TRACE(std::to_string(c.ratio) + " " + std::to_string(c.divideX) + " " +
                 std::to_string(c.divideY));
    fillFrame(kUntouched);
    resource_.drawRandomLine(*frame_, *before, *random, {c.ratio, c.divideX, c.divideY, 0});
    int kept = 0;
    EXPECT_TRUE(frameIs([&](int x, int y) {
      const int cell = x * c.divideX / kWidth + y * c.divideY / kHeight;
      if (table[static_cast<std::size_t>(cell)] < c.ratio) return kUntouched;
      ++kept;
      return beforeAt(x, y);
    }));
    // Nothing lies below 0: a ratio of 0 keeps every line.
    if (c.ratio == 0.0f) {
      EXPECT_EQ(kept, kWidth * kHeight);
    }
  }
}

// The object's step, run on a frame of the test: the object holds the effect, as the
// turning transitions draw it as the object's picture.
class SceneChangeStepTest : public SceneChangeDrawTest {
 protected:
  void SetUp() override {
    SceneChangeDrawTest::SetUp();
    // The blurs borrow the routines of the registered filters.
    Effect::EffectService& registry = *Effect::EffectService::instance();
    radial_ = registry.registerEffect<Effect::BlurFilter>();
    bokashi_ = registry.registerEffect<Effect::BokashiFilter>();
  }

  void run(int kind, float progress, bool inverse) {
    auto effect = std::make_shared<Effect::SceneChange>();
    effect->createResource();
    auto object = std::make_shared<Edit::Object>(1, 0, 9);
    object->effects.push_back(effect);
    Effect::EffectContext context;
    context.object = object;
    context.outputView.target = frame_.get();

    SceneChangeParams params;
    params.effect = effect.get();
    params.resource = &resource_;
    params.context = &context;
    params.before = picture(beforeAt);
    params.frame = frame_.get();
    params.progress = progress;
    params.divide = 5;
    params.inverse = inverse;
    params.vertical = kind % 2 == 0;  // both directions over the table
    const auto& define = Effect::sceneChangeTable().at(static_cast<std::size_t>(kind));
    define.func(params, define);
  }

  std::shared_ptr<Effect::BlurFilter> radial_;
  std::shared_ptr<Effect::BokashiFilter> bokashi_;
};

// Every transition but the random lines, whose ends depend on the table (a line valued 0
// or 1), in both directions.
TEST_F(SceneChangeStepTest, ShowsThePictureBeforeAtTheStartAndTheCurrentOneAtTheEnd) {
  for (const int kind : {0, 1, 2, 3, 5, 6, 7, 8, 9, 10, 11, 12})
    for (const float progress : {0.0f, 1.0f})
      for (const bool inverse : {false, true}) {
        SCOPED_TRACE(std::to_string(kind) + " at " + std::to_string(progress) +
                     (inverse ? " reversed" : ""));
        fillFrameWithCurrent();
        run(kind, progress, inverse);
        if (progress == 0.0f) {
          EXPECT_TRUE(frameIs(beforeAt));
        } else {
          EXPECT_TRUE(frameIs(currentAt));
        }
      }
}

// The blurs grow towards the middle of the object and fade out after it: the picture before
// is blurred up to t = 0.5, the current one from there, by the filters' own routines.
TEST_F(SceneChangeStepTest, BlursTakeThePictureOfTheirHalfAtTheirStrength) {
  const struct {
    int kind;
    float progress;
    float strength;  // the radial blur's range, the blur's radius
  } cases[] = {{11, 0.25f, 40.0f}, {11, 0.75f, 40.0f}, {11, 0.5f, 80.0f},
               {12, 0.25f, 200.0f}, {12, 0.75f, 200.0f}, {12, 0.5f, 400.0f}};
  for (const auto& c : cases) {
    SCOPED_TRACE(std::to_string(c.kind) + " at " + std::to_string(c.progress));
    fillFrameWithCurrent();
    run(c.kind, c.progress, false);
    const auto drawn = frame_->readBack();

    auto source = c.progress < 0.5f ? picture(beforeAt) : picture(currentAt);
    Effect::OwnedImage expected;
    if (c.kind == 11) {
      float cx = 0.0f;
      float cy = 0.0f;
      expected = Effect::BlurFilter::radialBlur(*radial_, *source, cx, cy, c.strength, 0.0f,
                                                0.0f, true);
    } else {
      expected = bokashi_->blur(Effect::adoptBuffer(std::move(source)),
                                static_cast<int>(c.strength), 0.0f,
                                Effect::BokashiFilter::kKeepEdge);
    }
    ASSERT_TRUE(expected);
    ASSERT_EQ(expected->width(), static_cast<uint32_t>(kWidth));
    const auto reference = expected->readBack();
    for (const auto& [x, y] : {std::pair{0, 0}, {7, 5}, {20, 12}, {39, 23}, {31, 2}})
      EXPECT_TRUE(nearHalf(halfPixel(*drawn, x, y), halfPixel(*reference, x, y))) << x << ", " << y;
    // Blurred, not left as it was.
    EXPECT_FALSE(nearHalf(halfPixel(*drawn, 0, 0), c.progress < 0.5f ? beforeAt(0, 0)
                                                                       : currentAt(0, 0)));
  }
}

}  // namespace
