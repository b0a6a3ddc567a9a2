// AudioBuffer::getSpectrum and getFourier: the analyses behind the waveform display and the
// scripting host's audio queries, both over fixed 2048-sample blocks of the buffer.
#include <algorithm>
#include <array>
#include <cmath>
#include <vector>

#include "media/audio/audio_buffer.h"
#include "media/audio/audio_fft.h"

namespace Media {
namespace {

constexpr int32_t kWarpedBands = 512;
constexpr int32_t kMaxBands = 1024;
constexpr float kMaxLevel = 32767.0f;

// One block of work space, allocated once per analysis.
struct FftWork {
  std::vector<float> samples = std::vector<float>(AudioFft::kSize);
  std::vector<float> re = std::vector<float>(AudioFft::kSize);
  std::vector<float> im = std::vector<float>(AudioFft::kSize);

  // Transforms the 2048 samples from `start` on; past the end the block wraps around to the
  // start of the data, so a short last block repeats the beginning.
  void transformBlock(const float* data, int64_t count, int64_t start) {
    for (int64_t i = 0; i < AudioFft::kSize; ++i) samples[i] = data[(start + i) % count];
    AudioFft::transform(samples.data(), re.data(), im.data());
  }
  float power(int32_t k) const { return re[k] * re[k] + im[k] * im[k]; }
};

// The bin edges of the 512 warped bands: E(j) = 256 (j / 512)^9 + 2 x 384^(j / 512), from
// 2 to 1024. Narrow bands at the bottom, hundreds of bins wide at the top, close to how the
// ear spreads pitch. Single precision; rounding may move the last edges a hair past 1024, so
// they are clamped to the bins that exist.
std::array<float, kWarpedBands + 1> warpEdges() {
  std::array<float, kWarpedBands + 1> edges{};
  const float factor = powf(384.0f, 1.0f / kWarpedBands);
  float exponential = 1.0f;
  for (int32_t j = 0; j <= kWarpedBands; ++j) {
    const float t = static_cast<float>(j) / kWarpedBands;
    const float t2 = t * t;
    const float t4 = t2 * t2;
    const float t9 = t4 * t4 * t;
    edges[j] = std::min(256.0f * t9 + 2.0f * exponential, static_cast<float>(AudioFft::kBins));
    exponential *= factor;
  }
  edges[kWarpedBands] = static_cast<float>(AudioFft::kBins);
  return edges;
}

// The integral of the power over [from, to), bin k covering [k, k + 1).
float integratePower(const std::array<float, AudioFft::kBins>& power, float from, float to) {
  constexpr int32_t kLast = AudioFft::kBins - 1;
  const float width = to - from;
  const auto first = std::min(static_cast<int32_t>(from), kLast);
  if (width < 1.0f) {
    // Narrower than one bin: the power interpolated at the start, times the width.
    const float next = power[std::min(first + 1, kLast)];
    return (power[first] + (from - first) * (next - power[first])) * width;
  }
  const auto last = static_cast<int32_t>(to);
  float sum = power[first] * (static_cast<float>(first + 1) - from);
  for (int32_t k = first + 1; k < last && k <= kLast; ++k) sum += power[k];
  if (last <= kLast) sum += power[last] * (to - static_cast<float>(last));
  return sum;
}

// Accumulates one channel's block into the per-band maximum levels.
void accumulateBlock(const FftWork& work, const std::array<float, kWarpedBands + 1>& edges,
                     std::array<float, kWarpedBands>& levels) {
  std::array<float, AudioFft::kBins> power{};
  for (int32_t k = 0; k < AudioFft::kBins; ++k) power[k] = work.power(k);
  // Single-bin dips between two louder neighbours are filled up to the lower neighbour,
  // judged on the values before this step, so the warped bands see a smooth envelope.
  std::array<float, AudioFft::kBins> filled = power;
  for (int32_t k = 1; k <= 510; ++k)
    filled[k] = std::max(power[k], std::min(power[k - 1], power[k + 1]));
  for (int32_t j = 0; j < kWarpedBands; ++j) {
    const float value = integratePower(filled, edges[j], edges[j + 1]);
    const float level = std::clamp(std::sqrt(value) * 48.0f - 64.0f, 0.0f, kMaxLevel);
    levels[j] = std::max(levels[j], level);
  }
}

// Weighted mean of values[j + e] for the offsets with their weights, leaving out indices
// outside the range (their weights are not counted).
float weightedMean(const std::vector<float>& values, int32_t j, int32_t reach, auto weightOf) {
  float sum = 0.0f;
  float weights = 0.0f;
  const auto size = static_cast<int32_t>(values.size());
  for (int32_t e = -reach; e <= reach; ++e) {
    const int32_t index = j + e;
    if (index < 0 || index >= size) continue;
    const float weight = weightOf(e);
    sum += weight * values[index];
    weights += weight;
  }
  return weights > 0.0f ? sum / weights : 0.0f;
}

// The 512 smoothed levels mapped onto `bands` bands: the loudest of the levels that fall in
// a band when there are fewer bands, linear interpolation when there are more.
std::vector<float> mapToBands(const std::vector<float>& smoothed, int32_t bands) {
  std::vector<float> mapped(bands, 0.0f);
  if (bands <= kWarpedBands) {
    for (int32_t v = 0; v < kWarpedBands; ++v) {
      // The top levels land on band `bands` or beyond when there are few bands; they are
      // dropped.
      const int32_t band = (v * bands + kWarpedBands / 2) / kWarpedBands;
      if (band < bands) mapped[band] = std::max(mapped[band], smoothed[v]);
    }
    return mapped;
  }
  for (int32_t j = 0; j < bands; ++j) {
    const float x = static_cast<float>(j) * kWarpedBands / static_cast<float>(bands);
    const auto i = std::min(static_cast<int32_t>(x), kWarpedBands - 1);
    const float w = static_cast<float>(i + 1) - x;
    // The level past the top band counts as 0.
    const float above = i + 1 < kWarpedBands ? smoothed[i + 1] : 0.0f;
    mapped[j] = w * smoothed[i] + (1.0f - w) * above;
  }
  return mapped;
}

// Smooths the band values more the more bands there are, so neighbouring bars in the display
// do not flicker against each other.
std::vector<float> finalSmoothing(const std::vector<float>& mapped) {
  const auto bands = static_cast<int32_t>(mapped.size());
  if (bands < 16) return mapped;
  std::vector<float> result(bands);
  if (bands < 128) {
    const auto side = static_cast<float>(2 * bands);
    for (int32_t j = 0; j < bands; ++j)
      result[j] = weightedMean(mapped, j, 1, [&](int32_t e) { return e == 0 ? 512.0f : side; });
    return result;
  }
  const int32_t reach = bands / 128;
  for (int32_t j = 0; j < bands; ++j)
    result[j] = weightedMean(
        mapped, j, reach, [&](int32_t e) { return static_cast<float>(reach + 1 - std::abs(e)); });
  return result;
}

}  // namespace

std::vector<float> AudioBuffer::getSpectrum(int32_t bands) const {
  // A negative band count gives no bands.
  const int32_t b = std::clamp(bands, 0, kMaxBands);
  const int64_t n = sampleCount_;

  std::array<float, kWarpedBands> levels{};
  if (n > 0) {
    const auto edges = warpEdges();
    FftWork work;
    for (int64_t start = 0; start < n; start += AudioFft::kSize) {
      // Channel 0 then channel 1; a mono buffer analyses its one plane twice.
      for (int32_t channel = 0; channel < 2; ++channel) {
        work.transformBlock(getChannelData(channel), n, start);
        accumulateBlock(work, edges, levels);
      }
    }
  }

  const std::vector<float> accumulated(levels.begin(), levels.end());
  std::vector<float> smoothed(kWarpedBands);
  for (int32_t j = 0; j < kWarpedBands; ++j)
    smoothed[j] = weightedMean(accumulated, j, 1, [](int32_t e) { return e == 0 ? 2.0f : 1.0f; });
  return finalSmoothing(mapToBands(smoothed, b));
}

std::vector<float> AudioBuffer::getFourier() const {
  std::vector<float> magnitudes(AudioFft::kBins, 0.0f);
  const int64_t n = sampleCount_;
  if (n == 0) return magnitudes;

  RawAudioBuffer mono;
  mono.channels = 1;
  mono.formatTag = 3;
  mono.bitsPerSample = 32;
  convertTo(mono);
  const auto* samples = reinterpret_cast<const float*>(mono.data.data());

  // Every block overwrites the previous one's values: the result is the last block's.
  FftWork work;
  for (int64_t start = 0; start < n; start += AudioFft::kSize) {
    work.transformBlock(samples, n, start);
    for (int32_t k = 0; k < AudioFft::kBins; ++k)
      magnitudes[k] = std::clamp(std::sqrt(work.power(k)) * 48.0f, 0.0f, kMaxLevel);
  }
  return magnitudes;
}

}  // namespace Media
