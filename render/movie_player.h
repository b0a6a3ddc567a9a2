#pragma once
// The preview player: plays the current scene from its cursor frame to its last frame,
// pictures and sound.
//
// It asks the video and audio render workers (request key 2) for the frames ahead of the
// play position, keeps what they finish in a frame queue and an audio queue, shows each
// frame when its time has come on the player's own clock, and feeds the audio to the sound
// output, whose voice starts when the first frame is due. All timing runs on the UI thread
// from a 12 ms timer whose descriptor the UI loop watches; the completions run on the render
// threads and only append to a queue.
//
// Playback ends at the scene's last frame, once the frames still on their way have been
// shown, or when anything stops it: every edit, the edit-data and scene events, the player
// bar, the menus.
//
// Locks: the frame queue mutex guards the frame queue and the next video frame; the audio
// queue mutex guards the audio queue and the next audio frame. The two are never held
// together, and no listener, sink or sound call runs with either held, so a listener may
// call play or stop.
#include <atomic>
#include <cstdint>
#include <deque>
#include <memory>
#include <mutex>

#include "gpu/readback_image.h"
#include "render/frame_sink.h"
#include "render/player_clock.h"
#include "system/config.h"
#include "system/sync_timer.h"
#include "system/text.h"

namespace Edit {
class EditService;
class Scene;
}  // namespace Edit
namespace Event {
class EventService;
}
namespace Media {
class AudioBuffer;
class RenderBuffer;
class XAudio2Service;
}  // namespace Media
namespace System {
class UiBridge;
}

namespace Render {

class RenderAudioWorker;
class RenderVideoWorker;

class MoviePlayer {
 public:
  // The request key of the player's frames and audio in both render workers.
  static constexpr int kRequestKey = 2;
  static constexpr uint32_t kTimerIntervalMs = 12;
  // A frame due within this much of the clock is waited for; a later one waits a tick.
  static constexpr double kPresentAhead = 0.016;
  static constexpr int kMaxFramesPerTick = 4;
  // Playback ends this long after the last frame's time.
  static constexpr double kEndMargin = 0.05;
  // After an underrun the sound resumes this long after the clock time.
  static constexpr double kUnderrunRestart = 0.2;
  // The most the sound output holds ahead: 2 seconds of stereo float at 48000 Hz.
  static constexpr std::size_t kMaxQueuedBuffers = 64;
  static constexpr uint32_t kMaxQueuedBytes = 768000;

  struct FrameEntry {
    int32_t frame = 0;
    std::unique_ptr<Media::ReadbackImage> image;
  };
  struct AudioEntry {
    int32_t frame = 0;
    System::AlignedBuffer samples;  // interleaved stereo float, the frame's samples
  };

  // Takes the edit and event services and the sound output that exist (none: no sound),
  // the render workers it requests from, loads "Player" and listens to the edit-data and
  // scene lists. Failure: "timerfd_create" in "Sync::Timer::Timer".
  MoviePlayer(RenderVideoWorker& video, RenderAudioWorker& audio);
  // stop (false); saves "Player".
  ~MoviePlayer();
  MoviePlayer(const MoviePlayer&) = delete;
  MoviePlayer& operator=(const MoviePlayer&) = delete;

  // Starts playback of the current scene from its cursor frame; nothing while it plays.
  void play();
  // Ends playback; nothing while the scene does not play. With `restoreCursor` the cursor
  // goes back to the scene's cursor frame, otherwise it stays on the last frame shown.
  void stop(bool restoreCursor);
  // One tick of the timer (UI thread): shows the frames due, feeds the sound, ends playback
  // at the end of the scene.
  void onTimer();

  // The volume button: clamped to 0 .. 100, heard at once.
  void setVolume(int32_t volume);
  int32_t volume() const { return volume_; }
  // The cache size dialog: milliseconds, taken at the next play.
  void setBufferTime(int32_t milliseconds) { bufferTime_ = milliseconds; }
  int32_t bufferTime() const { return bufferTime_; }

  // Replaces the clock; only while stopped (a test's clock).
  void setClock(std::unique_ptr<PlayerClock> clock);
  // Installs where frames are shown; null shows them nowhere.
  void setFrameSink(FrameSink* sink);

  bool isPlaying() const;
  // The player's clock in seconds.
  double clockTime();
  double startTime() const { return startTime_; }
  double endTime() const { return endTime_; }
  int32_t bufferFrames() const { return bufferFrames_; }
  // The next frames to request pictures and sound for.
  int32_t nextVideoFrame();
  int32_t nextAudioFrame();
  // The frame shown last, kept until the next one is shown; null before the first. UI
  // thread.
  const FrameEntry* presentedFrame() const { return presented_.get(); }
  // The timer's descriptor, readable at each tick while playing.
  int timerDescriptor() const { return timer_.descriptor(); }

  // Time of a frame and frame of a time at the rate of the scene being played.
  double timeOfFrame(int64_t frame) const;
  int32_t frameOfTime(double seconds) const;

 private:
  void presentFrames();
  void requestFrames();
  void requestAudio();
  void submitAudio();
  bool lastFramesShown();
  void onFrameRendered(int frame, Media::RenderBuffer& buffer);
  void onAudioRendered(int frame, Media::AudioBuffer& buffer);
  void setClockTime(double seconds);
  void registerTimer();
  void unregisterTimer();

  Edit::EditService* editService_;
  Event::EventService* eventService_;
  Media::XAudio2Service* audioOutput_;
  RenderVideoWorker& video_;
  RenderAudioWorker& audio_;

  System::Config::Section config_{"Player"};
  int32_t volume_ = 100;
  System::Config::Int volumeParameter_{config_, "Volume", &volume_, 100};
  int32_t bufferTime_ = 500;
  System::Config::Int bufferTimeParameter_{config_, "BufferTime", &bufferTime_, 500};
  std::unique_ptr<System::Config::Binding> binding_;

  std::mutex frameMutex_;
  std::mutex audioMutex_;
  int32_t nextVideoFrame_ = 0;
  int32_t nextAudioFrame_ = 0;
  int32_t playStartFrame_ = 0;
  int32_t lastFrame_ = 0;
  double startTime_ = 0.0;
  double endTime_ = 0.0;
  int32_t bufferFrames_ = 2;
  // The rate of the scene being played, taken at play.
  int32_t rate_ = 30;
  int32_t scale_ = 1;

  std::unique_ptr<PlayerClock> clock_;
  int64_t clockOrigin_ = 0;
  int64_t clockFrequency_ = 1;
  Sync::Timer timer_;
  System::UiBridge* timerWatchedBy_ = nullptr;

  std::deque<FrameEntry> frameQueue_;
  std::deque<AudioEntry> audioQueue_;
  std::unique_ptr<FrameEntry> presented_;
  HeadlessFrameSink headless_;
  FrameSink* sink_ = &headless_;

  // The scene being played, from play to stop.
  std::shared_ptr<Edit::Scene> scene_;
  // The completions append only while this is set: it is set before the first request and
  // cleared before stop waits for the workers.
  std::atomic<bool> accepting_{false};
  // Video requests made and neither finished nor withdrawn.
  std::shared_ptr<std::atomic<int32_t>> pendingFrames_ = std::make_shared<std::atomic<int32_t>>(0);
  // Counts plays and stops, so a tick notices that a listener stopped or restarted playback.
  uint64_t generation_ = 0;
  // Cleared by the destructor: a listener left in an event list does nothing afterwards.
  std::shared_ptr<MoviePlayer*> self_ = std::make_shared<MoviePlayer*>(this);
};

}  // namespace Render
