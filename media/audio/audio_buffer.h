#pragma once
// The program's audio: planar 32-bit float, one or two channel planes of equal length,
// aligned and padded for 256-bit vector loops. Samples are nominally -1.0 .. 1.0; 1.0 is
// 32768 in 16-bit PCM.
//
// A stereo buffer keeps channel 0 (the first sample of each interleaved frame, left) in its
// second plane and channel 1 in its first plane; a mono buffer has only the first plane.
// getChannelData hides the mapping.
#include <cstdint>
#include <vector>

#include "system/text.h"

namespace Media {

// Interleaved audio as a reader or writer sees it.
struct RawAudioBlockBuffer {
  System::AlignedBuffer data;
  int32_t formatTag = 0;  // 1 integer PCM, 3 float
  int32_t samplingRate = 0;
  int32_t bitsPerSample = 0;
  int32_t channels = 0;

  // One second of this format in bytes: channels x bits / 8 x sampling rate.
  uint64_t secondBytes() const;
  // Sizes the data to one second and zero-fills it.
  void allocateSecond();
  // Sets every used byte to 0.
  void zeroFill();
};

// Interleaved audio of a given length, the form the export writes.
struct RawAudioBuffer {
  System::AlignedBuffer data;
  int32_t formatTag = 0;
  int32_t bitsPerSample = 0;
  int32_t channels = 0;
  int32_t sampleCount = 0;

  int32_t blockAlign() const { return channels * (bitsPerSample / 8); }
};

class AudioBuffer {
 public:
  AudioBuffer() = default;
  AudioBuffer(int32_t count, int32_t channels) { resize(count, channels); }

  // Channel 1, or any channel of a mono buffer: the first plane; channel 0 of a stereo
  // buffer: the second plane.
  float* getChannelData(int32_t channel);
  const float* getChannelData(int32_t channel) const;

  // Sets the length and the channel count (1 or 2); contents are not cleared.
  void resize(int32_t count, int32_t channels);
  void clear();
  // Zeroes the samples from `start` to the end; nothing when start >= the sample count.
  void clearFrom(int32_t start);

  // Writes the buffer into `raw`, whose format tag, bits and channels the caller has set:
  // (2, PCM, 16), (2, float, 32) or (1, float, 32); anything else throws "audio format not
  // supported.".
  void convertTo(RawAudioBuffer& raw) const;

  // A smoothed, perceptually warped magnitude spectrum over the whole buffer, min(bands,
  // 1024) values.
  std::vector<float> getSpectrum(int32_t bands) const;
  // The plain magnitude spectrum of the buffer's last 2048-sample block: 1024 values.
  std::vector<float> getFourier() const;

  int32_t channels() const { return channels_; }
  int32_t sampleCount() const { return sampleCount_; }

 private:
  System::AlignedBuffer first_;
  System::AlignedBuffer second_;
  int32_t channels_ = 0;
  int32_t sampleCount_ = 0;
};

// A one-second block a reader delivers, converted from its raw form. Accepts float 32-bit
// mono or stereo and PCM 16-bit stereo; anything else throws "invalid convert audio format.".
class AudioBlockBuffer : public AudioBuffer {
 public:
  explicit AudioBlockBuffer(const RawAudioBlockBuffer& raw);
};

}  // namespace Media
