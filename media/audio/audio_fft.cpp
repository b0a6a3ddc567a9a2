#include "media/audio/audio_fft.h"

#include <array>
#include <cmath>

namespace Media {
namespace {

constexpr int32_t kStages = 11;  // 2^11 = 2048
static_assert(1 << kStages == AudioFft::kSize);

// The twiddle factors cos and sin of k x 2 pi / 2048 for k = 0 .. 1023, and the
// bit-reversed index of every position: made once, shared read-only by every thread.
struct FftTables {
  std::array<float, AudioFft::kBins> cosine{};
  std::array<float, AudioFft::kBins> sine{};
  std::array<uint16_t, AudioFft::kSize> reversed{};

  FftTables() {
    constexpr float kStep = 0.0030679617f;  // 2 pi / 2048
    for (int32_t k = 0; k < AudioFft::kBins; ++k) {
      cosine[k] = std::cos(static_cast<float>(k) * kStep);
      sine[k] = std::sin(static_cast<float>(k) * kStep);
    }
    for (int32_t i = 0; i < AudioFft::kSize; ++i) {
      uint32_t r = 0;
      for (int32_t bit = 0; bit < kStages; ++bit)
        if (i & (1 << bit)) r |= 1u << (kStages - 1 - bit);
      reversed[i] = static_cast<uint16_t>(r);
    }
  }
};

const FftTables& tables() {
  static const FftTables instance;
  return instance;
}

}  // namespace

void AudioFft::transform(const float* samples, float* re, float* im) {
  const FftTables& t = tables();
  for (int32_t i = 0; i < kSize; ++i) {
    re[t.reversed[i]] = samples[i];
    im[i] = 0.0f;
  }
  // Butterflies: stage with half-span h combines pairs h apart; the twiddle for position
  // k inside a span of 2h is the table entry k x (1024 / h).
  for (int32_t half = 1; half < kSize; half *= 2) {
    const int32_t stride = kBins / half;
    for (int32_t start = 0; start < kSize; start += 2 * half) {
      for (int32_t k = 0; k < half; ++k) {
        const float wr = t.cosine[k * stride];
        const float wi = -t.sine[k * stride];
        const int32_t a = start + k;
        const int32_t b = a + half;
        const float tr = wr * re[b] - wi * im[b];
        const float ti = wr * im[b] + wi * re[b];
        re[b] = re[a] - tr;
        im[b] = im[a] - ti;
        re[a] += tr;
        im[a] += ti;
      }
    }
  }
}

}  // namespace Media
