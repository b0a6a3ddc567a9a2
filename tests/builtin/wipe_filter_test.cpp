// "ワイプ" and the wipes it draws with: the clock and edge wipes clip through the registered
// fan and line clipping filters, a soft shape through the blur, and the filter masks the
// object over its first and last seconds with the progress, reversal and choice it is set to.
#include "builtin/filter/wipe_filter.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>

#include "builtin/filter/angle_clip_filter.h"
#include "builtin/filter/bokashi_filter.h"
#include "builtin/filter/builtin_transition_filters.h"
#include "builtin/filter/line_clip_filter.h"
#include "edit/object.h"
#include "gpu/shader_run_support.h"
#include "render/render_test_support.h"

namespace {

using TestSupport::CpuImage;
using TestSupport::Rgba;

// Entries of the transition list.
constexpr int kCircle = 0;
constexpr int kClock = 2;
constexpr int kHorizontal = 3;
constexpr int kVertical = 4;

class WipeFilterTest : public ::testing::Test {
 protected:
  void SetUp() override {
    world_.emplace();
    Resource::setTransitionFilters(&filters_);
  }
  void TearDown() override {
    Resource::setTransitionFilters(nullptr);
    world_.reset();
  }
  // The kinds whose routines the wipes borrow.
  static void registerClipAndBlur() {
    Effect::EffectService& registry = *Effect::EffectService::instance();
    ASSERT_TRUE(registry.registerEffect<Effect::AngleClipFilter>());
    ASSERT_TRUE(registry.registerEffect<Effect::LineClipFilter>());
    ASSERT_TRUE(registry.registerEffect<Effect::BokashiFilter>());
  }
  static CpuImage mask(int index, int width, int height, float progress, int blur) {
    auto image = Resource::ResourceService::Get().transitionList().createImage(
        index, width, height, progress, blur, true);
    EXPECT_TRUE(image);
    return image ? TestSupport::download(*image) : CpuImage();
  }

  Effect::BuiltinTransitionFilters filters_;
  std::optional<TestSupport::RenderWorld> world_;
};

TEST_F(WipeFilterTest, ClockAndEdgeWipesClipThroughTheRegisteredFilters) {
  registerClipAndBlur();
  // Half way round the clock: the hidden half turn starts at the top and runs clockwise.
  const CpuImage clock = mask(kClock, 16, 8, 0.5f, 0);
  EXPECT_NEAR(clock.get(1, 4)[3], 1.0f, 1e-3f);
  EXPECT_NEAR(clock.get(14, 4)[3], 0.0f, 1e-3f);
  // A quarter of the horizontal wipe shows the left quarter, of the vertical one the top.
  const CpuImage across = mask(kHorizontal, 16, 8, 0.25f, 0);
  EXPECT_NEAR(across.get(1, 4)[3], 1.0f, 1e-3f);
  EXPECT_NEAR(across.get(6, 4)[3], 0.0f, 1e-3f);
  const CpuImage down = mask(kVertical, 16, 8, 0.25f, 0);
  EXPECT_NEAR(down.get(8, 0)[3], 1.0f, 1e-3f);
  EXPECT_NEAR(down.get(8, 4)[3], 0.0f, 1e-3f);
  // A soft shape goes through the blur: its edge takes values between.
  const CpuImage circle = mask(kCircle, 32, 32, 0.5f, 4);
  ASSERT_EQ(circle.width, 32);
  EXPECT_NEAR(circle.get(16, 16)[3], 1.0f, 1e-3f);
  EXPECT_NEAR(circle.get(0, 0)[3], 0.0f, 1e-3f);
  bool between = false;
  for (const Rgba& p : circle.pixels) between |= p[3] > 0.1f && p[3] < 0.9f;
  EXPECT_TRUE(between);
}

TEST_F(WipeFilterTest, WithoutTheClippingKindTheClockWipeReportsIt) {
  try {
    mask(kClock, 16, 8, 0.5f, 0);
    ADD_FAILURE() << "no exception";
  } catch (const std::exception& failure) {
    EXPECT_NE(std::string(failure.what()).find("default effect not found"), std::string::npos)
        << failure.what();
  }
}

struct Wipe {
  double in = 1.0, out = 0.5;
  bool invertIn = false, invertOut = false;
  int kind = kClock;
  int length = 90;  // the object's last frame, at 30 frames a second
};

// What the filter leaves of an opaque picture at a frame of an object from frame 0.
class WipeTimingTest : public WipeFilterTest {
 protected:
  void SetUp() override {
    WipeFilterTest::SetUp();
    registerClipAndBlur();
  }
  CpuImage run(const Wipe& w, int frame) {
    Effect::WipeFilter filter;
    filter.wipeIn.setValue(w.in, 0);
    filter.wipeOut.setValue(w.out, 0);
    filter.blur.setValue(0, 0);
    filter.kind.value = w.kind;
    filter.invertIn.value = w.invertIn;
    filter.invertOut.value = w.invertOut;
    auto object = std::make_shared<Edit::Object>(1, 0, w.length);
    Effect::EffectContext context;
    context.scene = &world_->scene();
    context.frame = frame;
    context.time = frame;
    context.setObject(object, object->frames());
    Effect::OwnedImage image = filter.filterVideo(context, TestSupport::upload(source_));
    EXPECT_TRUE(image);
    return image ? TestSupport::download(*image) : CpuImage();
  }

  const CpuImage source_ = TestSupport::pictureOf(16, 8, [](int x, int y) {
    return Rgba{0.25f + 0.05f * static_cast<float>(x % 4), 0.5f, 0.125f * static_cast<float>(y), 1};
  });
};

TEST_F(WipeTimingTest, MasksOnlyWhileTheObjectAppearsOrDisappears) {
  enum Shown { kNone, kLeft, kRight, kWhole };
  const struct {
    const char* what;
    Wipe wipe;
    int frame;
    Shown shown;
  } cases[] = {
      {"first frame: nothing yet", {}, 0, kNone},
      {"half way in", {}, 15, kLeft},
      {"half way in, reversed", {.invertIn = true}, 15, kRight},
      {"the fade-out's reversal does not touch the fade-in", {.invertOut = true}, 15, kLeft},
      {"between the fades", {.invertIn = true, .invertOut = true}, 45, kWhole},
      {"the fade-out's first frame", {}, 75, kWhole},
      {"four tenths out", {}, 81, kLeft},
      {"four tenths out, reversed", {.invertOut = true}, 81, kRight},
      {"the fade-in's reversal does not touch the fade-out", {.invertIn = true}, 81, kLeft},
      {"last frame: gone", {}, 90, kNone},
      {"no fades", {.in = 0, .out = 0}, 0, kWhole},
      {"a choice past the list's end", {.kind = 99}, 15, kWhole},
      // One second long with a second each way: at 0.4 s the fade-out has begun (0.6 s
      // left) and its reversal applies to the fade-in's progress 0.4.
      {"short object, fade-out reversed", {.in = 1, .out = 1, .invertOut = true, .length = 30},
       12, kRight},
      {"short object, fade-in reversed", {.in = 1, .out = 1, .invertIn = true, .length = 30},
       12, kLeft},
  };
  for (const auto& c : cases) {
    const CpuImage wiped = run(c.wipe, c.frame);
    if (c.shown == kWhole) {
      EXPECT_TRUE(TestSupport::imagesNear(wiped, source_)) << c.what;
      continue;
    }
    const bool left = c.shown == kLeft, right = c.shown == kRight;
    EXPECT_TRUE(TestSupport::nearHalf(wiped.get(1, 4), left ? source_.get(1, 4) : Rgba{}))
        << c.what;
    EXPECT_TRUE(TestSupport::nearHalf(wiped.get(14, 4), right ? source_.get(14, 4) : Rgba{}))
        << c.what;
  }
}

}  // namespace
