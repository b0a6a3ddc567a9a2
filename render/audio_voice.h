#pragma once
// What the preview's sound output needs of the platform's sound system: an engine opened
// once, and one voice that plays interleaved stereo 32-bit float buffers at a given rate.
//
// A voice reads the buffers it was handed on its own thread, in the order they came. It
// keeps no copy: a buffer must stay valid while the voice still counts it as queued. The
// voice tells which buffers it has finished only by the count of those still queued, so its
// owner frees its oldest buffers until that count matches.
#include <cstdint>
#include <memory>

namespace Media {

class AudioVoice {
 public:
  virtual ~AudioVoice() = default;  // After it the voice reads no buffer any more.

  // Starts or resumes reading the queued buffers; a stopped voice keeps its position.
  virtual void start() = 0;
  virtual void stop() = 0;
  // Queues `frameCount` stereo frames (2 x frameCount floats) behind the others.
  virtual void submit(const float* frames, uint32_t frameCount) = 0;
  // The buffers not yet read to their end, the one being read included.
  virtual uint32_t queuedBufferCount() = 0;
  // Forgets every queued buffer; when it returns the voice reads none of them again.
  virtual void flush() = 0;
  // Gain 0.0 .. 1.0, applied to the samples it reads from now on.
  virtual void setVolume(float volume) = 0;
};

class AudioSystem {
 public:
  virtual ~AudioSystem() = default;
  // Opens the sound subsystem; a system already open is kept. Throws when it cannot; the
  // next call tries again.
  virtual void openEngine() = 0;
  // A stopped voice on the default output for `samplingRate`; throws when there is no
  // output device or it refuses the format.
  virtual std::unique_ptr<AudioVoice> openVoice(uint32_t samplingRate) = 0;
};

}  // namespace Media
