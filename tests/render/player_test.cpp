// The preview player on a fake clock and a fake voice: the buffer, the wait before the first
// frame, pacing to the end, stop and the cursor, late frames, a voice that runs dry,
// listeners and sinks that stop the player, the timer on the UI loop, and no sound device.
#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <numeric>

#include "render/player_test_support.h"
#include "system/ui_bridge.h"

namespace {

using TestSupport::FakeAudioSystem;
using TestSupport::FakeSound;
using TestSupport::PlayerWorld;

std::vector<int> range(int first, int last) {
  std::vector<int> frames(static_cast<std::size_t>(last - first + 1));
  std::iota(frames.begin(), frames.end(), first);
  return frames;
}

class PlayerTest : public ::testing::Test {
 protected:
  void SetUp() override {
    world_.emplace(std::make_unique<FakeAudioSystem>(sound_));
    world_->world().placeSolid(0, 0, 29);  // one second at 30 fps: frames 0 .. 29
  }
  void TearDown() override { world_.reset(); }

  PlayerWorld& w() { return *world_; }
  Render::MoviePlayer& player() { return world_->player(); }

  std::shared_ptr<FakeSound> sound_ = std::make_shared<FakeSound>();
  std::optional<PlayerWorld> world_;
};

TEST_F(PlayerTest, TheBufferTimeGivesTheFramesAheadAndTheWaitBeforeTheFirstFrame) {
  struct Case {
    int32_t bufferTime;
    int32_t frames;
    double wait;  // seconds from play until the first frame is due
  };
  for (const Case& c : {Case{500, 15, 0.5}, Case{0, 2, 0.0}, Case{-300, 2, 0.0}, Case{100, 3, 0.1}}) {
    SCOPED_TRACE(c.bufferTime);
    player().setBufferTime(c.bufferTime);
    player().play();
    EXPECT_EQ(player().bufferFrames(), c.frames);
    EXPECT_NEAR(player().startTime() - player().clockTime(), c.wait, 1e-6);
    player().stop(true);
  }
}

TEST_F(PlayerTest, PlayShowsEveryFrameOnTimeAndEndsOnTheLastFrame) {
  w().scene().cursorFrame = 10;
  player().play();
  EXPECT_TRUE(w().scene().playing);
  EXPECT_EQ(w().playStates, std::vector<bool>{true});
  EXPECT_EQ(sound_->rate, 48000u);

  ASSERT_GT(w().runToEnd(500), 0);
  EXPECT_EQ(w().shownFrames(), range(10, 29));
  for (const PlayerWorld::Shown& shown : w().shown) {
    // Never early, and never a tick late while the renders keep up.
    EXPECT_GE(shown.clock, player().timeOfFrame(shown.frame)) << shown.frame;
    EXPECT_LT(shown.clock, player().timeOfFrame(shown.frame) + 0.013) << shown.frame;
  }
  // The end comes the first tick after the last frame's time and the margin.
  const double ended = player().clockTime();
  EXPECT_GT(ended, player().endTime() + Render::MoviePlayer::kEndMargin);
  EXPECT_LE(ended, player().endTime() + Render::MoviePlayer::kEndMargin + 0.013);
  EXPECT_FALSE(w().scene().playing);
  EXPECT_EQ(w().playStates, (std::vector<bool>{true, false}));
  EXPECT_EQ(w().scene().cursorFrame, 29);
  EXPECT_EQ(w().cursors, std::vector<int>{29});

  // The sound started at the start time and went out frame by frame.
  EXPECT_GT(sound_->submitted, 15);
  EXPECT_FALSE(sound_->started);
  EXPECT_TRUE(sound_->queued.empty());
  EXPECT_EQ(w().output().bufferCount(), 0u);
}

TEST_F(PlayerTest, PlayOnTheLastFrameShowsItAndEndsJustAfterItsTime) {
  w().scene().cursorFrame = 29;
  player().play();
  ASSERT_GT(w().runToEnd(50), 0);
  EXPECT_EQ(w().shownFrames(), std::vector<int>{29});
  EXPECT_NEAR(player().clockTime(), player().timeOfFrame(29) + 0.05, 0.013);
  EXPECT_EQ(w().scene().cursorFrame, 29);
}

TEST_F(PlayerTest, StopKeepsTheFrameShownOrReturnsToWhereTheCursorWas) {
  for (const bool restore : {false, true}) {
    SCOPED_TRACE(restore);
    w().scene().cursorFrame = 5;
    w().shown.clear();
    w().cursors.clear();
    player().play();
    while (w().shown.size() < 4) w().tick();
    player().stop(restore);
    EXPECT_FALSE(w().scene().playing);
    EXPECT_EQ(w().scene().cursorFrame, restore ? 5 : 8);
    EXPECT_EQ(w().cursors, std::vector<int>{restore ? 5 : 8});
    // Nothing is left waiting or queued; a tick after the stop does nothing.
    EXPECT_EQ(w().world().video().requestThread().waitingTaskCount(), 0u);
    EXPECT_EQ(w().output().bufferCount(), 0u);
    EXPECT_FALSE(w().output().playing());
    w().tick();
    EXPECT_EQ(w().shown.size(), 4u);
  }
  // A second stop finds nothing playing.
  player().stop(false);
  EXPECT_EQ(w().playStates, (std::vector<bool>{true, false, true, false}));
}

TEST_F(PlayerTest, AnEditOrASceneEventStopsPlaybackOnTheFrameShown) {
  struct Case {
    const char* what;
    std::function<void(Event::EventService&)> fire;
  };
  const Case cases[] = {
      {"edit data", [](Event::EventService& e) { e.editDataChanged().fire(nullptr); }},
      {"scene", [](Event::EventService& e) { e.sceneChanged().fire(0); }},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    w().scene().cursorFrame = 0;
    w().shown.clear();
    player().play();
    while (w().shown.size() < 3) w().tick();
    c.fire(*Event::EventService::instance());
    EXPECT_FALSE(player().isPlaying());
    EXPECT_EQ(w().scene().cursorFrame, 2);
  }
}

TEST_F(PlayerTest, LateFramesAreShownFourATickAndTheRequestsJumpToTheClock) {
  player().play();
  while (w().shown.empty()) w().tick();
  // The renders have filled the buffer (frames 0 .. 14); the UI thread then stalls for 0.8 s.
  w().settle();
  ASSERT_EQ(player().nextVideoFrame(), 15);
  w().advance(0.8);
  w().tick();
  // The frames already rendered are not dropped: four of them come at once.
  EXPECT_EQ(w().shownFrames(), range(0, 4));
  // With frames 1 .. 14 still queued one request fitted: the frame of the clock, not 15.
  const int32_t clockFrame = player().frameOfTime(player().clockTime());
  EXPECT_EQ(clockFrame, 24);
  EXPECT_EQ(player().nextVideoFrame(), clockFrame + 1);

  ASSERT_GT(w().runToEnd(500), 0);
  std::vector<int> expected = range(0, 14);
  for (int frame : range(24, 29)) expected.push_back(frame);
  EXPECT_EQ(w().shownFrames(), expected);
}

TEST_F(PlayerTest, AVoiceThatRunsDryRestartsWithTheSoundOfTheNewStartTime) {
  player().play();
  while (!sound_->started) w().tick();
  w().tick();
  ASSERT_FALSE(sound_->queued.empty());
  const int flushes = sound_->flushes;

  sound_->play(sound_->queued.size());  // the voice has played everything it had
  w().settle();
  w().advance(0.012);
  const double underrun = player().clockTime();
  player().onTimer();
  EXPECT_FALSE(sound_->started);
  EXPECT_EQ(sound_->flushes, flushes + 1);
  // Restarted 0.2 s after the clock of the tick (which may have waited up to 16 ms for a
  // frame first).
  EXPECT_GE(player().startTime(), underrun + 0.2);
  EXPECT_LE(player().startTime(), underrun + 0.2 + Render::MoviePlayer::kPresentAhead);
  // The sound is asked for again from the frame of the new start time.
  EXPECT_EQ(player().nextAudioFrame(),
            player().frameOfTime(player().startTime()) + player().bufferFrames());

  // It resumes at the new start time, and the pictures go on.
  while (!sound_->started && player().isPlaying()) w().tick();
  ASSERT_TRUE(sound_->started);
  EXPECT_GE(player().clockTime(), player().startTime());
  EXPECT_LE(player().clockTime(), player().startTime() + 0.012 + Render::MoviePlayer::kPresentAhead);
  EXPECT_FALSE(sound_->queued.empty());
  ASSERT_GT(w().runToEnd(500), 0);
  EXPECT_EQ(w().shownFrames().back(), 29);
}

// A listener or a sink that stops the player while a frame is shown must not deadlock on
// the player's locks, and the rest of the tick does nothing.
TEST_F(PlayerTest, AListenerOrSinkMayStopOrRestartThePlayer) {
  struct StoppingSink : Render::FrameSink {
    std::function<void(int)> onShow;
    void showFrame(int frame, const Media::ReadbackImage& image) override {
      std::lock_guard lock(image.mutex());
      EXPECT_EQ(image.image().width, 32u);
      onShow(frame);
    }
  } sink;
  bool stopInListener = false;
  Event::EventService::instance()->frameNotice().add([&](int, int frame) {
    if (stopInListener && frame == 3) player().stop(false);
  });

  stopInListener = true;
  sink.onShow = [](int) {};
  player().setFrameSink(&sink);
  player().play();
  for (int i = 0; i < 200 && player().isPlaying(); ++i) w().tick();
  EXPECT_FALSE(player().isPlaying());
  EXPECT_EQ(w().shownFrames(), range(0, 3));
  EXPECT_EQ(w().scene().cursorFrame, 3);

  // The sink stops and plays again from frame 10: the new playback starts cleanly.
  stopInListener = false;
  w().shown.clear();
  sink.onShow = [this](int frame) {
    if (frame == 2) {
      player().stop(false);
      w().scene().cursorFrame = 10;
      player().play();
    }
  };
  w().scene().cursorFrame = 0;
  player().play();
  ASSERT_GT(w().runToEnd(500), 0);
  EXPECT_EQ(w().shownFrames(), (std::vector<int>{0, 1, 10, 11, 12, 13, 14, 15, 16, 17, 18, 19,
                                                 20, 21, 22, 23, 24, 25, 26, 27, 28, 29}));
  player().setFrameSink(nullptr);
}

// The timer is the UI loop's: registered at play, its callback is the tick, unregistered at
// the stop.
TEST_F(PlayerTest, TheTimerIsWatchedByTheUiLoopWhilePlaying) {
  struct Bridge : System::UiBridge {
    System::DesktopMetrics desktopMetrics() override { return {}; }
    void showErrorBox(const std::string&, const std::string&) override {}
    void registerWaitHandle(int descriptor, std::function<void()> callback) override {
      watched = descriptor;
      this->callback = std::move(callback);
    }
    void unregisterWaitHandle(int descriptor) override {
      if (descriptor == watched) watched = -1;
    }
    int watched = -1;
    std::function<void()> callback;
  } bridge;
  System::setUiBridge(&bridge);
  struct Uninstall {
    ~Uninstall() { System::setUiBridge(nullptr); }
  } uninstall;
  player().setBufferTime(0);
  player().play();
  EXPECT_EQ(bridge.watched, player().timerDescriptor());
  ASSERT_TRUE(bridge.callback);
  for (int i = 0; i < 20 && w().shown.empty(); ++i) {
    w().settle();
    w().advance(0.012);
    bridge.callback();
  }
  EXPECT_FALSE(w().shown.empty());
  player().stop(false);
  EXPECT_EQ(bridge.watched, -1);
}

TEST(PlayerWithoutSoundTest, WithoutASoundDevicePlaybackRunsSilentToTheEnd) {
  auto sound = std::make_shared<FakeSound>();
  sound->failVoice = true;
  PlayerWorld w(std::make_unique<FakeAudioSystem>(sound));
  w.world().placeSolid(0, 0, 9);
  w.player().play();
  ASSERT_GT(w.runToEnd(300), 0);
  EXPECT_EQ(w.shownFrames(), range(0, 9));
  EXPECT_FALSE(w.output().hasSourceVoice());
  EXPECT_EQ(sound->submitted, 0);
}

}  // namespace
