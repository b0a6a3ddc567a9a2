#include "render/xaudio2_service.h"

#include <algorithm>
#include <cstdint>
#include <exception>
#include <utility>

#include "render/sdl_audio_system.h"
#include "system/log.h"

namespace Media {

XAudio2Service::XAudio2Service() : XAudio2Service(std::make_unique<SdlAudioSystem>()) {}

XAudio2Service::XAudio2Service(std::unique_ptr<AudioSystem> system) : system_(std::move(system)) {}

XAudio2Service::~XAudio2Service() {
  try {
    destroyPlayer();
  } catch (...) {
    // Shut-down goes on whatever the voice reports.
  }
  freeBuffers();
}

void XAudio2Service::initialize() {
  if (engineOpen_) return;
  system_->openEngine();
  engineOpen_ = true;
}

void XAudio2Service::createPlayer(uint32_t samplingRate) {
  try {
    initialize();
    if (voice_ && samplingRate_ == samplingRate) return;
    // The device's rate is fixed when it opens: another rate takes a new voice. The player
    // has stopped and cleared the old one; this makes sure of it.
    destroyPlayer();
    voice_ = system_->openVoice(samplingRate);
    samplingRate_ = samplingRate;
  } catch (const std::exception&) {
    // The failed call has been logged as an error where it was raised.
    System::Log::warn("Media::XAudio2Service::createPlayer", "audio player initialize failed.");
    destroyPlayer();
  }
}

void XAudio2Service::play() {
  if (!voice_ || playing_) return;
  playing_ = true;
  System::Log::info("Media::XAudio2Service::play", "start audio player");
  voice_->start();
}

void XAudio2Service::stop() {
  if (!voice_ || !playing_) return;
  playing_ = false;
  System::Log::info("Media::XAudio2Service::stop", "stop audio player");
  voice_->stop();
}

void XAudio2Service::releasePlayedBuffers() {
  const uint32_t stillQueued = voiceQueuedBuffers();
  while (buffers_.size() > stillQueued) {
    queuedBytes_ -= static_cast<uint32_t>(buffers_.front().size());
    buffers_.pop_front();
  }
}

void XAudio2Service::submitBuffer(System::AlignedBuffer buffer) {
  // The voice and this queue must hold the same buffers in the same order, or the count
  // would free a buffer still being read: one the voice would not queue (no whole frame)
  // is not kept either. A stray tail byte is not handed to the voice.
  const uint64_t frames = buffer.size() / 8;
  if (!voice_ || frames == 0 || buffer.size() > UINT32_MAX - queuedBytes_) return;
  releasePlayedBuffers();
  buffers_.push_back(std::move(buffer));
  queuedBytes_ += static_cast<uint32_t>(buffers_.back().size());
  voice_->submit(reinterpret_cast<const float*>(buffers_.back().data()),
                 static_cast<uint32_t>(frames));
}

void XAudio2Service::clearBuffer() {
  // After the flush the voice reads none of the buffers, so they can go at once.
  if (voice_) voice_->flush();
  freeBuffers();
}

void XAudio2Service::freeBuffers() {
  buffers_.clear();
  queuedBytes_ = 0;
}

void XAudio2Service::setVolume(int32_t volume) {
  if (!voice_) return;
  voice_->setVolume(static_cast<float>(std::clamp(volume, 0, 100)) / 100.0f);
}

void XAudio2Service::destroyPlayer() {
  stop();
  clearBuffer();
  voice_.reset();
  samplingRate_ = 0;
}

}  // namespace Media
