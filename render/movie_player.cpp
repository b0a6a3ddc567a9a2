#include "render/movie_player.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <utility>

#include "edit/edit_service.h"
#include "edit/scene.h"
#include "media/audio/audio_buffer.h"
#include "render/render_audio_worker.h"
#include "render/render_video_worker.h"
#include "render/xaudio2_service.h"
#include "system/event_service.h"
#include "system/setting_service.h"
#include "system/ui_bridge.h"

namespace Render {
namespace {

// Counts a video request as pending while any copy of its completion exists: a request that
// is withdrawn unrun is destroyed, one that ran or failed is destroyed after its call.
struct PendingToken {
  explicit PendingToken(std::shared_ptr<std::atomic<int32_t>> counter)
      : counter(std::move(counter)) {
    ++*this->counter;
  }
  ~PendingToken() { --*counter; }
  PendingToken(const PendingToken&) = delete;
  PendingToken& operator=(const PendingToken&) = delete;
  std::shared_ptr<std::atomic<int32_t>> counter;
};

}  // namespace

MoviePlayer::MoviePlayer(RenderVideoWorker& video, RenderAudioWorker& audio)
    : editService_(Edit::EditService::instance()),
      eventService_(Event::EventService::instance()),
      audioOutput_(Media::XAudio2Service::instance()),
      video_(video),
      audio_(audio),
      clock_(std::make_unique<MonotonicClock>()) {
  binding_ = std::make_unique<System::Config::Binding>(config_, Setting::ParameterIni::instance());
  binding_->load();
  clockFrequency_ = clock_->frequency();
  if (eventService_) {
    std::weak_ptr<MoviePlayer*> self = self_;
    auto stopPlayback = [self] {
      if (const auto player = self.lock()) (*player)->stop(false);
    };
    eventService_->editDataChanged().add([stopPlayback](const Event::ObjectReference&) {
      stopPlayback();
    });
    eventService_->sceneChanged().add([stopPlayback](int) { stopPlayback(); });
  }
}

MoviePlayer::~MoviePlayer() {
  try {
    stop(false);
  } catch (...) {
    // Shut-down goes on whatever the sound output reports.
  }
  unregisterTimer();
  self_.reset();
  binding_.reset();  // writes "Player" back
}

bool MoviePlayer::isPlaying() const { return scene_ && scene_->playing; }

int32_t MoviePlayer::nextVideoFrame() {
  std::lock_guard lock(frameMutex_);
  return nextVideoFrame_;
}

int32_t MoviePlayer::nextAudioFrame() {
  std::lock_guard lock(audioMutex_);
  return nextAudioFrame_;
}

double MoviePlayer::timeOfFrame(int64_t frame) const {
  return static_cast<double>(scale_) * static_cast<double>(frame) / static_cast<double>(rate_);
}

int32_t MoviePlayer::frameOfTime(double seconds) const {
  const double frame = std::round(static_cast<double>(rate_) * seconds / static_cast<double>(scale_));
  // Far outside any scene; kept a number so the comparisons around it stay defined.
  constexpr double kLimit = std::numeric_limits<int32_t>::max();
  if (!(frame == frame)) return 0;
  return static_cast<int32_t>(std::clamp(frame, -kLimit, kLimit));
}

double MoviePlayer::clockTime() {
  return static_cast<double>(clock_->counter() - clockOrigin_) /
         static_cast<double>(clockFrequency_);
}

void MoviePlayer::setClockTime(double seconds) {
  clockOrigin_ = clock_->counter() - static_cast<int64_t>(static_cast<double>(clockFrequency_) * seconds);
}

void MoviePlayer::setClock(std::unique_ptr<PlayerClock> clock) {
  if (isPlaying() || !clock) return;
  clock_ = std::move(clock);
  clockFrequency_ = std::max<int64_t>(clock_->frequency(), 1);
}

void MoviePlayer::setFrameSink(FrameSink* sink) { sink_ = sink ? sink : &headless_; }

void MoviePlayer::setVolume(int32_t volume) {
  volume_ = std::clamp(volume, 0, 100);
  if (audioOutput_) audioOutput_->setVolume(volume_);
}

void MoviePlayer::registerTimer() {
  System::UiBridge* bridge = System::uiBridge();
  if (!bridge) return;
  bridge->registerWaitHandle(timer_.descriptor(), [this] {
    timer_.takeExpirations();
    onTimer();
  });
  timerWatchedBy_ = bridge;
}

void MoviePlayer::unregisterTimer() {
  // Only the bridge that still is installed can be told; one that was removed took its
  // watches with it.
  if (timerWatchedBy_ && timerWatchedBy_ == System::uiBridge())
    timerWatchedBy_->unregisterWaitHandle(timer_.descriptor());
  timerWatchedBy_ = nullptr;
}

void MoviePlayer::play() {
  if (!editService_) return;
  const std::shared_ptr<Edit::Scene> scene = editService_->currentScene();
  if (!scene || scene->playing || isPlaying()) return;
  // A scene's rates are positive once loaded; one that is not cannot be timed.
  if (scene->rate <= 0 || scene->scale <= 0) return;

  rate_ = scene->rate;
  scale_ = scene->scale;
  playStartFrame_ = scene->cursorFrame;
  lastFrame_ = scene->lastFrame();
  {
    std::lock_guard lock(frameMutex_);
    nextVideoFrame_ = playStartFrame_;
  }
  {
    std::lock_guard lock(audioMutex_);
    nextAudioFrame_ = playStartFrame_;
  }
  startTime_ = timeOfFrame(playStartFrame_);
  endTime_ = timeOfFrame(lastFrame_);

  const double bufferSeconds = static_cast<double>(std::max(bufferTime_, 0)) / 1000.0;
  bufferFrames_ = std::max(frameOfTime(bufferSeconds), 2);

  if (audioOutput_) {
    audioOutput_->createPlayer(static_cast<uint32_t>(std::max(scene->audioRate, 0)));
    audioOutput_->setVolume(volume_);
  }

  // The first frame falls due after the buffer time, or sooner once the buffer is full.
  setClockTime(startTime_ - bufferSeconds);
  timer_.setInterval(kTimerIntervalMs);
  registerTimer();

  scene_ = scene;
  scene->displayFrame = playStartFrame_;
  scene->playStartFrame = playStartFrame_;
  scene->playing = true;
  accepting_.store(true);
  ++generation_;
  if (eventService_) eventService_->playbackChanged().fire(true);
}

void MoviePlayer::stop(bool restoreCursor) {
  if (!isPlaying()) return;
  const std::shared_ptr<Edit::Scene> scene = scene_;
  scene->playing = false;
  accepting_.store(false);
  ++generation_;

  unregisterTimer();
  timer_.clear();
  if (audioOutput_) audioOutput_->stop();

  // Requests still waiting go unrun; the running ones finish and find nothing accepted.
  video_.requestThread().cancelTask(kRequestKey);
  video_.requestThread().waitAllTasks();
  audio_.requestThread().cancelTask(kRequestKey);
  audio_.requestThread().waitAllTasks();

  std::deque<FrameEntry> frames;
  {
    std::lock_guard lock(frameMutex_);
    frames.swap(frameQueue_);
  }
  std::deque<AudioEntry> sounds;
  {
    std::lock_guard lock(audioMutex_);
    sounds.swap(audioQueue_);
  }
  if (audioOutput_) audioOutput_->clearBuffer();
  scene_.reset();

  if (eventService_) eventService_->playbackChanged().fire(false);

  const int32_t cursor = restoreCursor ? scene->cursorFrame : scene->displayFrame;
  scene->cursorFrame = std::clamp(cursor, 0, scene->lastFrame());
  if (eventService_) eventService_->cursorFrameChanged().fire(scene->cursorFrame);
}

void MoviePlayer::onTimer() {
  if (!isPlaying()) return;
  const uint64_t generation = generation_;
  presentFrames();
  if (generation != generation_) return;
  submitAudio();
  if (generation != generation_ || !isPlaying()) return;
  if (clockTime() > endTime_ + kEndMargin && lastFramesShown()) {
    scene_->displayFrame = lastFrame_;
    stop(false);
  }
}

bool MoviePlayer::lastFramesShown() {
  std::lock_guard lock(frameMutex_);
  return frameQueue_.empty() && nextVideoFrame_ > lastFrame_ && pendingFrames_->load() == 0;
}

void MoviePlayer::presentFrames() {
  if (!isPlaying()) return;
  requestFrames();
  const uint64_t generation = generation_;
  for (int shown = 0; shown < kMaxFramesPerTick; ++shown) {
    int32_t frame = 0;
    {
      std::lock_guard lock(frameMutex_);
      if (frameQueue_.empty()) return;
      frame = frameQueue_.front().frame;
    }
    // Only this thread takes entries, so the front stays while the lock is left for the wait.
    const double due = timeOfFrame(frame);
    if (due > clockTime()) {
      if (due > clockTime() + kPresentAhead) return;
      while (clockTime() < due) clock_->pause();
    }
    {
      std::lock_guard lock(frameMutex_);
      presented_ = std::make_unique<FrameEntry>(std::move(frameQueue_.front()));
      frameQueue_.pop_front();
    }
    scene_->displayFrame = frame;
    sink_->showFrame(frame, *presented_->image);
    if (generation != generation_) return;
    if (eventService_) eventService_->frameNotice().fire(2, frame);
    // A listener may have stopped or restarted playback.
    if (generation != generation_) return;
  }
}

void MoviePlayer::requestFrames() {
  if (!isPlaying()) return;
  std::lock_guard lock(frameMutex_);
  const double now = clockTime();
  // Behind time: skip to the frame of now and withdraw the requests that would come late.
  if (timeOfFrame(nextVideoFrame_) < now) {
    nextVideoFrame_ = frameOfTime(now);
    video_.requestThread().cancelTask(kRequestKey);
  }
  const int64_t waiting = static_cast<int64_t>(video_.requestThread().waitingTaskCount());
  const int64_t room = bufferFrames_ - static_cast<int64_t>(frameQueue_.size()) - waiting;
  if (nextVideoFrame_ <= lastFrame_ && room > 0) {
    for (int64_t i = 0; i < room && nextVideoFrame_ <= lastFrame_; ++i) {
      auto token = std::make_shared<PendingToken>(pendingFrames_);
      video_.requestRenderingFrame(
          kRequestKey, nextVideoFrame_,
          [this, token](int frame, Media::RenderBuffer& buffer, Anchor::AnchorList*) {
            onFrameRendered(frame, buffer);
          },
          [token](int, std::exception_ptr) {});
      ++nextVideoFrame_;
    }
    return;
  }
  // Everything is requested or the buffer is full: no reason to wait any longer for the
  // first frame.
  if (startTime_ > now && video_.requestThread().waitingTaskCount() == 0 &&
      audio_.requestThread().waitingTaskCount() == 0)
    setClockTime(startTime_);
}

void MoviePlayer::onFrameRendered(int frame, Media::RenderBuffer& buffer) {
  if (!accepting_.load()) return;
  // The read-back draws on the GPU; the lock is not held meanwhile.
  auto image = std::make_unique<Media::ReadbackImage>();
  image->setImage(buffer);
  std::lock_guard lock(frameMutex_);
  if (accepting_.load()) frameQueue_.push_back({frame, std::move(image)});
}

void MoviePlayer::requestAudio() {
  if (!isPlaying()) return;
  if (audioOutput_ && audioOutput_->playing() &&
      (!audioOutput_->hasSourceVoice() || audioOutput_->voiceQueuedBuffers() == 0)) {
    // The voice ran dry: start the sound again a little later with the audio of that moment.
    audioOutput_->stop();
    audioOutput_->clearBuffer();
    audio_.requestThread().cancelTask(kRequestKey);
    audio_.requestThread().waitAllTasks();
    std::deque<AudioEntry> dropped;
    {
      std::lock_guard lock(audioMutex_);
      dropped.swap(audioQueue_);
      startTime_ = clockTime() + kUnderrunRestart;
      nextAudioFrame_ = frameOfTime(startTime_);
    }
  }
  std::lock_guard lock(audioMutex_);
  if (nextAudioFrame_ > lastFrame_) return;
  const int64_t waiting = static_cast<int64_t>(audio_.requestThread().waitingTaskCount());
  const int64_t room = bufferFrames_ - static_cast<int64_t>(audioQueue_.size()) - waiting;
  for (int64_t i = 0; i < room && nextAudioFrame_ <= lastFrame_; ++i) {
    audio_.requestRenderingAudio(kRequestKey, nextAudioFrame_,
                                 [this](int frame, Media::AudioBuffer& buffer) {
                                   onAudioRendered(frame, buffer);
                                 });
    ++nextAudioFrame_;
  }
}

void MoviePlayer::onAudioRendered(int frame, Media::AudioBuffer& buffer) {
  if (!accepting_.load()) return;
  // Interleaved stereo float; a mono buffer gives its one plane to both channels.
  Media::RawAudioBuffer raw;
  raw.formatTag = 3;
  raw.bitsPerSample = 32;
  raw.channels = 2;
  buffer.convertTo(raw);
  std::lock_guard lock(audioMutex_);
  if (accepting_.load()) audioQueue_.push_back({frame, std::move(raw.data)});
}

void MoviePlayer::submitAudio() {
  if (!isPlaying()) return;
  requestAudio();
  if (!audioOutput_ || !audioOutput_->hasSourceVoice()) return;
  if (!audioOutput_->playing() && clockTime() >= startTime_) audioOutput_->play();
  // Handed over as soon as rendered, up to the output's limits; the voice starts only at
  // the start time, so the first audio sounds when the first frame is shown.
  for (;;) {
    audioOutput_->releasePlayedBuffers();
    if (audioOutput_->bufferCount() >= kMaxQueuedBuffers ||
        audioOutput_->queuedBytes() >= kMaxQueuedBytes)
      return;
    AudioEntry entry;
    {
      std::lock_guard lock(audioMutex_);
      if (audioQueue_.empty()) return;
      entry = std::move(audioQueue_.front());
      audioQueue_.pop_front();
    }
    audioOutput_->submitBuffer(std::move(entry.samples));
  }
}

}  // namespace Render
