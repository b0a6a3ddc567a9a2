#pragma once
// What the player's tests drive it with: a sound system whose voice the test drains by
// hand, a clock the test moves, and a world with a small scene, the sound output and the
// render service, whose events the fixture records.
#include <gtest/gtest.h>

#include <cstdint>
#include <deque>
#include <memory>
#include <optional>
#include <utility>
#include <vector>

#include "render/audio_voice.h"
#include "render/movie_player.h"
#include "render/player_clock.h"
#include "render/render_test_support.h"
#include "render/xaudio2_service.h"
#include "system/event_service.h"
#include "system/exception.h"

namespace TestSupport {

// What the fake sound system did, shared with the test.
struct FakeSound {
  bool failEngine = false;
  bool failVoice = false;
  int enginesOpened = 0;
  int voicesOpened = 0;
  bool voiceOpen = false;
  uint32_t rate = 0;
  bool started = false;
  float volume = -1.0f;
  int flushes = 0;
  std::deque<uint32_t> queued;  // frame counts of the buffers the voice still reads
  int submitted = 0;

  // The voice finishes its oldest `count` buffers.
  void play(std::size_t count) {
    while (count-- > 0 && !queued.empty()) queued.pop_front();
  }
};

class FakeVoice : public Media::AudioVoice {
 public:
  explicit FakeVoice(std::shared_ptr<FakeSound> sound) : sound_(std::move(sound)) {}
  ~FakeVoice() override {
    sound_->voiceOpen = false;
    sound_->started = false;
    sound_->queued.clear();
  }
  void start() override { sound_->started = true; }
  void stop() override { sound_->started = false; }
  void submit(const float*, uint32_t frameCount) override {
    sound_->queued.push_back(frameCount);
    ++sound_->submitted;
  }
  uint32_t queuedBufferCount() override { return static_cast<uint32_t>(sound_->queued.size()); }
  void flush() override {
    sound_->queued.clear();
    ++sound_->flushes;
  }
  void setVolume(float volume) override { sound_->volume = volume; }

 private:
  std::shared_ptr<FakeSound> sound_;
};

class FakeAudioSystem : public Media::AudioSystem {
 public:
  explicit FakeAudioSystem(std::shared_ptr<FakeSound> sound) : sound_(std::move(sound)) {}
  void openEngine() override {
    if (sound_->failEngine)
      throw System::makeException("Media::XAudio2Service::initialize", "no engine.");
    ++sound_->enginesOpened;
  }
  std::unique_ptr<Media::AudioVoice> openVoice(uint32_t rate) override {
    if (sound_->failVoice)
      throw System::makeException("Media::XAudio2Service::createPlayer", "no device.");
    ++sound_->voicesOpened;
    sound_->voiceOpen = true;
    sound_->rate = rate;
    return std::make_unique<FakeVoice>(sound_);
  }

 private:
  std::shared_ptr<FakeSound> sound_;
};

// Nanoseconds the test sets; the player's short wait for a frame moves it by 0.1 ms a read.
class FakeClock : public Render::PlayerClock {
 public:
  explicit FakeClock(std::shared_ptr<int64_t> now) : now_(std::move(now)) {}
  int64_t counter() override { return *now_; }
  int64_t frequency() const override { return 1000000000; }
  void pause() override { *now_ += 100000; }

 private:
  std::shared_ptr<int64_t> now_;
};

// The render world with the sound output made first (the player takes it when the render
// service makes the player), a 30 fps scene of 32 x 18 pixels and the player on a fake clock.
// Records the frames shown (list 6), the play states (list 11) and the cursor frames (list 0).
class PlayerWorld {
 public:
  struct Shown {
    int frame;
    double clock;
  };

  explicit PlayerWorld(std::unique_ptr<Media::AudioSystem> system)
      : audioHolder_(std::move(system)) {
    world_.emplace();
    scene().width = 32;
    scene().height = 18;
    player().setClock(std::make_unique<FakeClock>(now_));
    auto& events = *Event::EventService::instance();
    events.frameNotice().add([this](int kind, int frame) {
      if (kind == 2) shown.push_back({frame, player().clockTime()});
    });
    events.playbackChanged().add([this](bool playing) { playStates.push_back(playing); });
    events.cursorFrameChanged().add([this](int frame) { cursors.push_back(frame); });
  }
  ~PlayerWorld() { world_.reset(); }

  RenderWorld& world() { return *world_; }
  Edit::Scene& scene() { return world_->scene(); }
  Render::MoviePlayer& player() { return Render::RenderService::Get().player(); }
  Media::XAudio2Service& output() { return *Media::XAudio2Service::instance(); }

  // Seconds.
  void advance(double seconds) { *now_ += static_cast<int64_t>(seconds * 1e9); }
  // Lets every request made so far finish.
  void settle() {
    world_->video().requestThread().waitAllTasks();
    Render::RenderService::Get().audio().requestThread().waitAllTasks();
  }
  // One timer tick after the requests have landed: the renders keep up with the clock.
  void tick() {
    settle();
    advance(Render::MoviePlayer::kTimerIntervalMs / 1000.0);
    player().onTimer();
  }
  // Ticks until playback ends; the number of ticks, or -1 when it never ended.
  int runToEnd(int maxTicks) {
    for (int i = 1; i <= maxTicks; ++i) {
      tick();
      if (!player().isPlaying()) return i;
    }
    return -1;
  }
  std::vector<int> shownFrames() const {
    std::vector<int> frames;
    for (const Shown& entry : shown) frames.push_back(entry.frame);
    return frames;
  }

  std::vector<Shown> shown;
  std::vector<bool> playStates;
  std::vector<int> cursors;

 private:
  System::ServiceHolder<Media::XAudio2Service> audioHolder_;
  std::optional<RenderWorld> world_;
  std::shared_ptr<int64_t> now_ = std::make_shared<int64_t>(1000000000);
};

}  // namespace TestSupport
