// AudioBuffer::convertTo: the float planes back to interleaved PCM or float for the export.
#include <algorithm>

#include "media/audio/audio_buffer.h"
#include "system/exception.h"

namespace Media {
namespace {

// x x 32768 rounded to the nearest integer (ties to even) and saturated to the 16-bit range;
// a NaN becomes silence rather than an undefined cast. Saturating first keeps the value
// small enough for the rounding trick: adding and taking away 1.5 x 2^23 leaves a float with
// no fraction bits, rounded in the default mode (to nearest, ties to even). Unlike a call to
// nearbyint, the loop around it vectorises.
int16_t toPcm16(float x) {
  constexpr float kRound = 12582912.0f;  // 1.5 x 2^23
  float v = x * 32768.0f;
  v = v == v ? v : 0.0f;
  v = std::min(std::max(v, -32768.0f), 32767.0f);
  v = (v + kRound) - kRound;
  return static_cast<int16_t>(v);
}

}  // namespace

void AudioBuffer::convertTo(RawAudioBuffer& raw) const {
  const bool stereoPcm16 = raw.channels == 2 && raw.formatTag == 1 && raw.bitsPerSample == 16;
  const bool stereoFloat = raw.channels == 2 && raw.formatTag == 3 && raw.bitsPerSample == 32;
  const bool monoFloat = raw.channels == 1 && raw.formatTag == 3 && raw.bitsPerSample == 32;
  // The format is checked before anything is sized: an unknown block align must not size
  // the output.
  if (!stereoPcm16 && !stereoFloat && !monoFloat)
    throw System::makeFormattedException(
        "Media::AudioBuffer::convertTo", "audio format not supported.",
        "format = %d, bit = %d, ch = %d", raw.formatTag, raw.bitsPerSample, raw.channels);

  const int32_t count = sampleCount_;
  raw.sampleCount = count;
  raw.data.allocMemory(static_cast<uint64_t>(count) * static_cast<uint64_t>(raw.blockAlign()));
  if (count == 0) return;

  // A mono source reads its one plane for both channels.
  const float* channel0 = getChannelData(0);
  const float* channel1 = getChannelData(1);
  // The data is 32-byte aligned, so it can be written as samples directly.
  uint8_t* out = raw.data.data();
  if (stereoPcm16) {
    auto* pcm = reinterpret_cast<int16_t*>(out);
    for (int32_t i = 0; i < count; ++i) {
      pcm[2 * i] = toPcm16(channel0[i]);
      pcm[2 * i + 1] = toPcm16(channel1[i]);
    }
  } else if (stereoFloat) {
    auto* frames = reinterpret_cast<float*>(out);
    for (int32_t i = 0; i < count; ++i) {
      frames[2 * i] = channel0[i];
      frames[2 * i + 1] = channel1[i];
    }
  } else {
    // The mixdown is the mean of the two channels, not their sum: two full-scale channels
    // stay within -1.0 .. 1.0 instead of clipping at twice full scale, and a mono source
    // (whose two channels are the same plane) gives its own samples back.
    auto* mono = reinterpret_cast<float*>(out);
    for (int32_t i = 0; i < count; ++i) mono[i] = (channel0[i] + channel1[i]) * 0.5f;
  }
}

}  // namespace Media
