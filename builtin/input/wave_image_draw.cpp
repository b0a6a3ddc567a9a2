#include "builtin/input/wave_image_draw.h"

#include <algorithm>
#include <span>
#include <vector>

#include "gpu/resource_buffer.h"
#include "media/audio/audio_buffer.h"

namespace Effect {
namespace {

constexpr float kWaveformScale = 0.25f;  // a full-scale sample a quarter of the height off
constexpr float kSpectrumScale = 1.0f / 8192.0f;

// The parts shared by both kinds: colour, picture size and the cells' gaps.
WaveConstants commonConstants(const WaveSettings& settings) {
  WaveConstants constants;
  constants.color[0] = static_cast<float>((settings.rgb >> 16) & 0xFF) / 255.0f;
  constants.color[1] = static_cast<float>((settings.rgb >> 8) & 0xFF) / 255.0f;
  constants.color[2] = static_cast<float>(settings.rgb & 0xFF) / 255.0f;
  constants.color[3] = 1.0f;
  constants.size[0] = settings.width;
  constants.size[1] = settings.height;
  constants.pad[0] = static_cast<float>(100 - settings.columnSpace) * 0.005f;
  constants.pad[1] = static_cast<float>(100 - settings.rowSpace) * 0.005f;
  return constants;
}

// A cell count: `fallback` when unset or above it.
int32_t cellsOrFallback(int32_t cells, int32_t fallback) {
  return cells <= 0 || cells > fallback ? fallback : cells;
}

}  // namespace

WaveConstants waveformConstants(const WaveSettings& settings, int32_t samples) {
  WaveConstants constants = commonConstants(settings);
  // Unset columns follow the pixels even past the samples (those columns read silence);
  // set ones never outnumber the samples.
  constants.res[0] = settings.columns <= 0 ? settings.width : std::min(settings.columns, samples);
  constants.res[1] = cellsOrFallback(settings.rows, settings.height);
  constants.vol = static_cast<float>(settings.volume * 0.01) * kWaveformScale;
  return constants;
}

int32_t spectrumBands(const WaveSettings& settings) {
  return cellsOrFallback(settings.columns, settings.width);
}

WaveConstants spectrumConstants(const WaveSettings& settings, int32_t bands) {
  WaveConstants constants = commonConstants(settings);
  constants.res[0] = bands;
  constants.res[1] = cellsOrFallback(settings.rows, settings.height);
  constants.vol = static_cast<float>(settings.volume * 0.01) * kSpectrumScale;
  return constants;
}

OwnedImage drawSound(WaveImageResource& resource, const WaveSettings& settings,
                     const Media::AudioBuffer& sound) {
  if (sound.sampleCount() <= 0 || settings.width <= 0 || settings.height <= 0) return {};
  if (settings.spectrum) {
    std::vector<float> bands = sound.getSpectrum(spectrumBands(settings));
    const auto count = std::min<std::size_t>(bands.size(), kMaxWaveValues);
    if (count == 0) return {};
    const auto shader = settings.mirror ? WaveImageResource::MirroredSpectrum
                                        : WaveImageResource::Spectrum;
    return adoptBuffer(resource.draw(shader, std::span(bands).first(count),
                                     spectrumConstants(settings, static_cast<int32_t>(count))));
  }
  Media::RawAudioBuffer mono;
  mono.formatTag = 3;
  mono.bitsPerSample = 32;
  mono.channels = 1;
  sound.convertTo(mono);
  const int32_t count = std::min(mono.sampleCount, kMaxWaveValues);
  const std::span samples(reinterpret_cast<const float*>(mono.data.data()),
                          static_cast<std::size_t>(count));
  return adoptBuffer(
      resource.draw(WaveImageResource::Waveform, samples, waveformConstants(settings, count)));
}

}  // namespace Effect
