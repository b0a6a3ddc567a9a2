#pragma once
// The pictures of "音声波形表示": a frame's sound drawn as a waveform or as a spectrum on a
// grid of cells, and the shader constants each is drawn with.
#include <cstdint>

#include "builtin/input/wave_image_resource.h"
#include "effect/owned_buffer.h"

namespace Media {
class AudioBuffer;
}

namespace Effect {

// The effect's settings at one frame.
struct WaveSettings {
  int32_t width = 0;   // the picture, in pixels
  int32_t height = 0;
  uint32_t rgb = 0xFFFFFF;
  int32_t columns = 0;  // cells across; 0 or less: one per pixel
  int32_t rows = 0;     // cells down; 0 or less: one per pixel
  int32_t columnSpace = 0;  // gap between cells, percent of a cell
  int32_t rowSpace = 0;
  double volume = 100.0;  // percent
  bool spectrum = false;
  bool mirror = false;
};

// The waveform reads at most this many samples, the spectrum at most this many bands.
inline constexpr int32_t kMaxWaveValues = 8000;

// The waveform's constants for a texture of `samples` samples: one column per pixel unless
// the columns are set, never more columns than samples; silence on the middle row, a
// full-scale sample at three quarters of the height at volume 100.
WaveConstants waveformConstants(const WaveSettings& settings, int32_t samples);
// The bands the spectrum asks for: the columns, or the width when they are unset or wider.
int32_t spectrumBands(const WaveSettings& settings);
// The spectrum's constants for a texture of `bands` values.
WaveConstants spectrumConstants(const WaveSettings& settings, int32_t bands);

// The picture of the sound (the spectrum or the waveform, as the settings say); nothing
// when the sound holds no samples or the picture has no pixels.
OwnedImage drawSound(WaveImageResource& resource, const WaveSettings& settings,
                     const Media::AudioBuffer& sound);

}  // namespace Effect
