#pragma once
// The preview's sound output: one voice that plays interleaved stereo 32-bit float buffers
// at the rate of the scene being played. The preview player hands it the rendered audio
// frame by frame, starts and stops it, and watches how much is still queued; the volume
// button sets its volume.
//
// The sound system is opened on the first createPlayer, so the program starts and edits
// without one; without a sound device the failure is logged and every call that needs the
// voice does nothing: playback runs silent.
//
// The service owns every submitted buffer until the voice has finished with it: a buffer is
// freed only when the voice no longer counts it as queued, or after a flush, which returns
// only when the voice can no longer read it. Every call comes from the UI thread.
#include <cstdint>
#include <deque>
#include <memory>

#include "render/audio_voice.h"
#include "system/service_holder.h"
#include "system/text.h"

namespace Media {

class XAudio2Service : public System::Service<XAudio2Service> {
 public:
  // Over SDL's audio subsystem.
  XAudio2Service();
  // Over another sound system (tests).
  explicit XAudio2Service(std::unique_ptr<AudioSystem> system);
  // stop, clearBuffer, the voice closed, the sound system released.
  ~XAudio2Service();
  XAudio2Service(const XAudio2Service&) = delete;
  XAudio2Service& operator=(const XAudio2Service&) = delete;

  // Makes sure the sound system is open and a voice for `samplingRate` exists. A voice of
  // another rate is replaced (the player stops and clears it before). Never throws: a
  // failure logs "audio player initialize failed." and leaves the service without a voice;
  // the next call tries again.
  void createPlayer(uint32_t samplingRate);
  // Starts the voice when there is one and it is not playing.
  void play();
  // Stops the voice when it plays.
  void stop();
  // Takes the buffer (interleaved stereo float, 8 bytes a frame), queues it and hands it to
  // the voice. Without a voice, or without a whole frame, the buffer is dropped.
  void submitBuffer(System::AlignedBuffer buffer);
  // Frees the oldest buffers until the queue holds as many as the voice still counts.
  void releasePlayedBuffers();
  // Takes every buffer from the voice and frees them all.
  void clearBuffer();
  // An integer percentage, clamped to 0 .. 100; nothing without a voice.
  void setVolume(int32_t volume);
  // stop, clearBuffer and the voice closed.
  void destroyPlayer();

  bool playing() const { return playing_; }
  bool hasSourceVoice() const { return voice_ != nullptr; }
  // The buffers the voice still has queued; 0 without a voice.
  uint32_t voiceQueuedBuffers() const { return voice_ ? voice_->queuedBufferCount() : 0; }
  std::size_t bufferCount() const { return buffers_.size(); }
  uint32_t queuedBytes() const { return queuedBytes_; }
  uint32_t samplingRate() const { return samplingRate_; }

 private:
  void initialize();
  void freeBuffers();

  std::deque<System::AlignedBuffer> buffers_;
  uint32_t queuedBytes_ = 0;
  bool playing_ = false;
  // Declared before the voice: the voice closes first.
  std::unique_ptr<AudioSystem> system_;
  bool engineOpen_ = false;
  std::unique_ptr<AudioVoice> voice_;
  uint32_t samplingRate_ = 0;
};

}  // namespace Media
