#pragma once
// The transform behind the spectrum analyses: a 2048-point complex radix-2 FFT of real
// samples. Only the magnitudes of bins 0 .. 1023 are used, so the sign of the exponent does
// not matter; the input is not windowed.
#include <cstdint>

namespace Media {

class AudioFft {
 public:
  static constexpr int32_t kSize = 2048;
  static constexpr int32_t kBins = kSize / 2;

  // Transforms `samples` (kSize real values) into re and im (kSize values each).
  static void transform(const float* samples, float* re, float* im);
};

}  // namespace Media
