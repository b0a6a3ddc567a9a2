// A whole playback without a window: a five-second scene played through SDL's dummy sound
// driver on a fake clock that moves 12 ms a tick while the renders keep up. Every frame is
// rendered once and shown once, in order, and playback ends on time.
#include <gtest/gtest.h>

#include <algorithm>
#include <mutex>
#include <numeric>

#include "render/player_test_support.h"
#include "render/sdl_audio_system.h"
#include "system/log_capture.h"

namespace {

// A solid input that notes each frame it is rendered for.
class CountingInput : public TestSupport::SolidInput {
 public:
  Effect::OwnedImage inputVideo(Effect::EffectContext& context) override {
    {
      std::lock_guard lock(mutex_);
      frames_.push_back(context.frame);
    }
    return SolidInput::inputVideo(context);
  }
  std::vector<int> frames() {
    std::lock_guard lock(mutex_);
    return frames_;
  }

 private:
  std::mutex mutex_;
  std::vector<int> frames_;
};

TEST(PlayerHeadlessTest, AFiveSecondScenePlaysThroughTheDummyDriverFromStartToEnd) {
  TestSupport::LogCapture log;
  TestSupport::PlayerWorld w(std::make_unique<Media::SdlAudioSystem>());
  auto input = std::make_shared<CountingInput>();
  w.world().placeSolid(0, 0, 149, input);  // 5 s at 30 fps
  ASSERT_EQ(w.scene().lastFrame(), 149);

  w.player().play();
  ASSERT_TRUE(w.output().hasSourceVoice()) << "the dummy driver gives a voice";
  double clockBeforeLastTick = 0.0;
  int ticks = 0;
  while (w.player().isPlaying() && ticks < 2000) {
    clockBeforeLastTick = w.player().clockTime();
    w.tick();
    ++ticks;
  }
  ASSERT_FALSE(w.player().isPlaying()) << "ended";
  const double ended = w.player().clockTime();

  // Any restart of the sound after the voice ran dry moves the clock; none is expected
  // while the renders are this much faster than real time.
  const auto infos = log.texts("INFO");
  const auto stops = std::count(infos.begin(), infos.end(), "stop audio player");
  EXPECT_EQ(stops, 1) << "the voice ran dry during playback";

  std::vector<int> all(150);
  std::iota(all.begin(), all.end(), 0);
  std::vector<int> rendered = input->frames();
  std::sort(rendered.begin(), rendered.end());
  EXPECT_EQ(rendered, all) << "every frame rendered once";
  EXPECT_EQ(w.shownFrames(), all) << "every frame shown once, in order";

  // The last frame is shown at its time, within a frame period; playback ends in the first
  // tick after the last frame's time and the margin.
  const double lastTime = w.player().timeOfFrame(149);
  ASSERT_FALSE(w.shown.empty());
  EXPECT_GE(w.shown.back().clock, lastTime);
  EXPECT_LT(w.shown.back().clock, lastTime + 1.0 / 30.0);
  const double due = w.player().endTime() + Render::MoviePlayer::kEndMargin;
  EXPECT_GT(ended, due);
  EXPECT_LE(clockBeforeLastTick, due);
  EXPECT_LT(ended - due, 1.0 / 30.0);
  EXPECT_EQ(w.scene().cursorFrame, 149);

  // The sound went through the voice and nothing of it is left.
  EXPECT_NE(std::find(infos.begin(), infos.end(), "start audio player"), infos.end());
  EXPECT_FALSE(w.output().playing());
  EXPECT_EQ(w.output().bufferCount(), 0u);
  EXPECT_EQ(w.output().voiceQueuedBuffers(), 0u);
}

}  // namespace
