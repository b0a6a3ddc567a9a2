#include "media/audio/audio_buffer.h"

#include <cstring>

#include "system/exception.h"

namespace Media {

uint64_t RawAudioBlockBuffer::secondBytes() const {
  if (channels <= 0 || bitsPerSample <= 0 || samplingRate <= 0) return 0;
  return static_cast<uint64_t>(channels) * static_cast<uint64_t>(bitsPerSample / 8) *
         static_cast<uint64_t>(samplingRate);
}

void RawAudioBlockBuffer::allocateSecond() {
  data.allocMemory(secondBytes());
  zeroFill();
}

void RawAudioBlockBuffer::zeroFill() {
  if (data.size() > 0) std::memset(data.data(), 0, data.size());
}

float* AudioBuffer::getChannelData(int32_t channel) {
  auto* plane = (channels_ == 2 && channel == 0) ? &second_ : &first_;
  return reinterpret_cast<float*>(plane->data());
}

const float* AudioBuffer::getChannelData(int32_t channel) const {
  const auto* plane = (channels_ == 2 && channel == 0) ? &second_ : &first_;
  return reinterpret_cast<const float*>(plane->data());
}

void AudioBuffer::resize(int32_t count, int32_t channels) {
  if (count < 0) count = 0;
  sampleCount_ = count;
  channels_ = channels;
  const uint64_t bytes = static_cast<uint64_t>(count) * sizeof(float);
  first_.allocMemory(bytes);
  if (channels == 2)
    second_.allocMemory(bytes);
  else
    second_.freeMemory();
}

void AudioBuffer::clear() { clearFrom(0); }

void AudioBuffer::clearFrom(int32_t start) {
  if (start < 0) start = 0;
  if (start >= sampleCount_) return;
  const std::size_t bytes = static_cast<std::size_t>(sampleCount_ - start) * sizeof(float);
  std::memset(getChannelData(1) + start, 0, bytes);
  if (channels_ == 2) std::memset(getChannelData(0) + start, 0, bytes);
}

AudioBlockBuffer::AudioBlockBuffer(const RawAudioBlockBuffer& raw) {
  const uint64_t bytes = raw.data.size();
  const uint8_t* source = raw.data.data();
  if (raw.formatTag == 3 && raw.bitsPerSample == 32 && raw.channels == 2) {
    const auto count = static_cast<int32_t>(bytes / 8);
    resize(count, 2);
    float* left = getChannelData(0);
    float* right = getChannelData(1);
    for (int32_t i = 0; i < count; ++i) {
      std::memcpy(&left[i], source + static_cast<std::size_t>(i) * 8, 4);
      std::memcpy(&right[i], source + static_cast<std::size_t>(i) * 8 + 4, 4);
    }
  } else if (raw.formatTag == 3 && raw.bitsPerSample == 32 && raw.channels == 1) {
    const auto count = static_cast<int32_t>(bytes / 4);
    resize(count, 1);
    if (count > 0) std::memcpy(getChannelData(0), source, static_cast<std::size_t>(count) * 4);
  } else if (raw.formatTag == 1 && raw.bitsPerSample == 16 && raw.channels == 2) {
    const auto count = static_cast<int32_t>(bytes / 4);
    resize(count, 2);
    float* left = getChannelData(0);
    float* right = getChannelData(1);
    constexpr float kScale = 1.0f / 32768.0f;
    for (int32_t i = 0; i < count; ++i) {
      int16_t pair[2];
      std::memcpy(pair, source + static_cast<std::size_t>(i) * 4, 4);
      left[i] = pair[0] * kScale;
      right[i] = pair[1] * kScale;
    }
  } else {
    throw System::makeFormattedException("Media::AudioBlockBuffer::AudioBlockBuffer",
                                         "invalid convert audio format.",
                                         "format=%d bit=%d channel=%d", raw.formatTag,
                                         raw.bitsPerSample, raw.channels);
  }
}

}  // namespace Media
