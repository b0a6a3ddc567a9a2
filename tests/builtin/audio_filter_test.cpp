// The audio filters: the volume's gains, the fade's ramp over a frame's block, the mono mix.
#include <gtest/gtest.h>

#include "builtin/audio/audio_fade_filter.h"
#include "builtin/audio/audio_mono_filter.h"
#include "builtin/audio/audio_volume.h"
#include "edit/scene.h"
#include "effect/effect_context.h"
#include "media/audio/audio_buffer.h"

namespace {

// A stereo block of `count` samples: left 1, right 0.5.
Effect::OwnedAudio block(int count, int channels = 2) {
  auto buffer = std::make_unique<Media::AudioBuffer>(count, channels);
  for (int k = 0; k < count; ++k) {
    buffer->getChannelData(0)[k] = 1.0f;
    if (channels == 2) buffer->getChannelData(1)[k] = 0.5f;
  }
  return Effect::adoptBuffer(std::move(buffer));
}

TEST(AudioFilterTest, VolumeAndBalanceScaleTheGainsOnly) {
  struct Case {
    double volume, balance;
    float left, right;
  };
  const Case cases[] = {{200, 50, 1.0f, 2.0f}, {50, -100, 0.5f, 0.0f}, {0, 0, 0.0f, 0.0f}};
  for (const auto& c : cases) {
    Effect::AudioVolume volume;
    volume.volume.setValue(c.volume, 0);
    volume.balance.setValue(c.balance, 0);
    Effect::EffectContext context;
    auto sound = volume.filterAudio(context, block(8));
    EXPECT_FLOAT_EQ(context.audio.gainLeft, c.left);
    EXPECT_FLOAT_EQ(context.audio.gainRight, c.right);
    EXPECT_EQ(sound->getChannelData(0)[3], 1.0f) << "the samples are untouched";
  }
}

class FadeTest : public ::testing::Test {
 protected:
  // The gains of the first and last sample of a 1600-sample block at `frame` of an object
  // from frame 0 to `end`, at 30 frames per second.
  std::pair<float, float> gainsAt(double in, double out, int frame, int end) {
    Effect::AudioFadeFilter fade;
    fade.fadeIn.setValue(in, 0);
    fade.fadeOut.setValue(out, 0);
    Effect::EffectContext context;
    context.scene = &scene_;
    context.frame = frame;
    context.time = frame;
    context.objectFrames.start = 0;
    context.objectFrames.end = end;
    auto sound = fade.filterAudio(context, block(1600));
    return {sound->getChannelData(0)[0], sound->getChannelData(0)[1599]};
  }
  Edit::Scene scene_{1, 1};  // 30/1 frames per second
};

TEST_F(FadeTest, TheFadeRampsAcrossTheBlock) {
  auto [first, last] = gainsAt(1.0, 0.0, 0, 299);
  EXPECT_FLOAT_EQ(first, 0.0f);
  EXPECT_NEAR(last, 1.0f / 30.0f * 1599.0f / 1600.0f, 1e-6f);
  // Past the fade-in and before the fade-out nothing changes.
  auto [middleFirst, middleLast] = gainsAt(1.0, 1.0, 100, 299);
  EXPECT_EQ(middleFirst, 1.0f);
  EXPECT_EQ(middleLast, 1.0f);
  // 0 switches a fade off.
  EXPECT_EQ(gainsAt(0.0, 0.0, 0, 299).first, 1.0f);
}

TEST_F(FadeTest, AShortObjectTakesTheSmallerGainOfBothFades) {
  // 20 frames (0.667 s) with 1 s in and 1 s out: at frame 15 the fade-out is lower.
  auto [first, last] = gainsAt(1.0, 1.0, 15, 20);
  const float fadeIn = 15.0f / 30.0f;
  const float fadeOut = (20.0f - 15.0f) / 30.0f;
  EXPECT_NEAR(first, std::min(fadeIn, fadeOut), 1e-6f);
  EXPECT_LT(last, first);
}

TEST(AudioFilterTest, MonoMixesWithTheRatio) {
  struct Case {
    double ratio;
    float expected;  // of left 1 and right 0.5
  };
  const Case cases[] = {{0, 1.5f}, {100, 1.0f}, {-100, 0.5f}, {50, 1.25f}};
  for (const auto& c : cases) {
    Effect::AudioMonoFilter mono;
    mono.ratio.setValue(c.ratio, 0);
    Effect::EffectContext context;
    auto sound = mono.filterAudio(context, block(8));
    EXPECT_FLOAT_EQ(sound->getChannelData(0)[5], c.expected) << c.ratio;
    EXPECT_FLOAT_EQ(sound->getChannelData(1)[5], c.expected) << c.ratio;
  }
  Effect::AudioMonoFilter mono;
  Effect::EffectContext context;
  auto single = mono.filterAudio(context, block(8, 1));
  EXPECT_FLOAT_EQ(single->getChannelData(0)[2], 2.0f) << "one channel serves as both";
}

}  // namespace
