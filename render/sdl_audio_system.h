#pragma once
// The preview's sound system over SDL's audio subsystem: the subsystem is the engine, an
// opened playback device the voice. The device pulls its samples through a callback on
// SDL's audio thread, which reads the queued buffers in place under the device's lock; the
// queue, flush and count below take the same lock, so once a buffer has left the queue the
// audio thread can no longer be inside it.
//
// On a machine without a sound device the device does not open and the voice is refused;
// tests run SDL's "dummy" driver (SDL_AUDIODRIVER=dummy), which consumes the samples in real
// time without a device.
#include <memory>

#include "render/audio_voice.h"

namespace Media {

class SdlAudioSystem : public AudioSystem {
 public:
  SdlAudioSystem() = default;
  // Closes the subsystem when this object opened it; its voices are gone by then.
  ~SdlAudioSystem() override;
  SdlAudioSystem(const SdlAudioSystem&) = delete;
  SdlAudioSystem& operator=(const SdlAudioSystem&) = delete;

  // Failure: "SDL_InitSubSystem() failed." in "Media::XAudio2Service::initialize".
  void openEngine() override;
  // Failure: "SDL_OpenAudioDevice() failed." in "Media::XAudio2Service::createPlayer".
  std::unique_ptr<AudioVoice> openVoice(uint32_t samplingRate) override;

 private:
  bool open_ = false;
};

}  // namespace Media
