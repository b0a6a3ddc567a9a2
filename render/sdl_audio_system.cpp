#include "render/sdl_audio_system.h"

#include <SDL.h>

#include <algorithm>
#include <atomic>
#include <cstring>
#include <deque>

#include "system/exception.h"

namespace Media {
namespace {

constexpr int kBytesPerFrame = 2 * sizeof(float);

// About 20 ms per pull: short enough for a quick start and stop, long enough that the audio
// thread is not woken all the time. SDL wants a power of two.
Uint16 deviceFrames(uint32_t samplingRate) {
  uint32_t frames = 256;
  while (frames < 4096 && frames * 50 < samplingRate) frames *= 2;
  return static_cast<Uint16>(frames);
}

class SdlAudioVoice : public AudioVoice {
 public:
  explicit SdlAudioVoice(uint32_t samplingRate) {
    SDL_AudioSpec wanted{};
    wanted.freq = static_cast<int>(samplingRate);
    wanted.format = AUDIO_F32SYS;
    wanted.channels = 2;
    wanted.samples = deviceFrames(samplingRate);
    wanted.callback = &SdlAudioVoice::pull;
    wanted.userdata = this;
    SDL_AudioSpec obtained{};
    // No changes allowed: SDL converts to whatever the hardware plays, so the callback
    // always writes stereo float at the scene's rate.
    device_ = SDL_OpenAudioDevice(nullptr, 0, &wanted, &obtained, 0);
    if (device_ == 0)
      throw System::makeException("Media::XAudio2Service::createPlayer",
                                  "SDL_OpenAudioDevice() failed.", SDL_GetError());
  }
  // Closing waits for the audio thread, which then reads nothing any more.
  ~SdlAudioVoice() override { SDL_CloseAudioDevice(device_); }
  SdlAudioVoice(const SdlAudioVoice&) = delete;
  SdlAudioVoice& operator=(const SdlAudioVoice&) = delete;

  void start() override { SDL_PauseAudioDevice(device_, 0); }
  void stop() override { SDL_PauseAudioDevice(device_, 1); }

  void submit(const float* frames, uint32_t frameCount) override {
    if (frameCount == 0) return;
    Locked lock(device_);
    queue_.push_back({frames, frameCount, 0});
  }

  uint32_t queuedBufferCount() override {
    Locked lock(device_);
    return static_cast<uint32_t>(queue_.size());
  }

  void flush() override {
    Locked lock(device_);
    queue_.clear();
  }

  void setVolume(float volume) override { volume_.store(volume); }

 private:
  struct Queued {
    const float* frames;
    uint32_t frameCount;
    uint32_t position;  // frames already read
  };

  struct Locked {
    explicit Locked(SDL_AudioDeviceID device) : device(device) { SDL_LockAudioDevice(device); }
    ~Locked() { SDL_UnlockAudioDevice(device); }
    SDL_AudioDeviceID device;
  };

  // On SDL's audio thread, with the device locked: copies queued frames into the stream at
  // the volume, drops each buffer read to its end, and fills what is left with silence.
  static void SDLCALL pull(void* userdata, Uint8* stream, int length) {
    auto* self = static_cast<SdlAudioVoice*>(userdata);
    auto* out = reinterpret_cast<float*>(stream);
    uint32_t wanted = static_cast<uint32_t>(std::max(length, 0)) / kBytesPerFrame;
    const float volume = self->volume_.load();
    while (wanted > 0 && !self->queue_.empty()) {
      Queued& front = self->queue_.front();
      const uint32_t take = std::min(wanted, front.frameCount - front.position);
      const float* in = front.frames + static_cast<std::size_t>(front.position) * 2;
      for (uint32_t i = 0; i < take * 2; ++i) out[i] = in[i] * volume;
      out += static_cast<std::size_t>(take) * 2;
      wanted -= take;
      front.position += take;
      if (front.position == front.frameCount) self->queue_.pop_front();
    }
    std::memset(out, 0, static_cast<std::size_t>(wanted) * kBytesPerFrame);
  }

  SDL_AudioDeviceID device_ = 0;
  std::deque<Queued> queue_;  // guarded by the device's lock
  std::atomic<float> volume_{1.0f};
};

}  // namespace

SdlAudioSystem::~SdlAudioSystem() {
  if (!open_) return;
  SDL_QuitSubSystem(SDL_INIT_AUDIO);
  // With no other part of SDL in use, its own state (hints, the driver list) goes too.
  if (SDL_WasInit(SDL_INIT_EVERYTHING) == 0) SDL_Quit();
}

void SdlAudioSystem::openEngine() {
  if (open_) return;
  if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0)
    throw System::makeException("Media::XAudio2Service::initialize", "SDL_InitSubSystem() failed.",
                                SDL_GetError());
  open_ = true;
}

std::unique_ptr<AudioVoice> SdlAudioSystem::openVoice(uint32_t samplingRate) {
  return std::make_unique<SdlAudioVoice>(samplingRate);
}

}  // namespace Media
