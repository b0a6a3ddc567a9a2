#include <benchmark/benchmark.h>

#include <cmath>

#include "media/audio/audio_buffer.h"

namespace {

// One second of stereo at 48 kHz, the block a reader delivers.
Media::AudioBuffer secondOfStereo() {
  Media::AudioBuffer buffer(48000, 2);
  for (int32_t i = 0; i < buffer.sampleCount(); ++i) {
    buffer.getChannelData(0)[i] = 0.5f * std::sin(0.05f * static_cast<float>(i));
    buffer.getChannelData(1)[i] = 0.25f * std::sin(0.11f * static_cast<float>(i));
  }
  return buffer;
}

// The export's conversion of one second to 16-bit PCM.
void BM_ConvertToPcm16(benchmark::State& state) {
  const Media::AudioBuffer buffer = secondOfStereo();
  Media::RawAudioBuffer raw;
  raw.channels = 2;
  raw.formatTag = 1;
  raw.bitsPerSample = 16;
  for (auto _ : state) {
    buffer.convertTo(raw);
    benchmark::ClobberMemory();
  }
  state.SetItemsProcessed(state.iterations() * buffer.sampleCount());
}

// The waveform display's spectrum of one second, at a few band counts.
void BM_GetSpectrum(benchmark::State& state) {
  const Media::AudioBuffer buffer = secondOfStereo();
  for (auto _ : state)
    benchmark::DoNotOptimize(buffer.getSpectrum(static_cast<int32_t>(state.range(0))));
  state.SetItemsProcessed(state.iterations() * buffer.sampleCount());
}

void BM_GetFourier(benchmark::State& state) {
  const Media::AudioBuffer buffer = secondOfStereo();
  for (auto _ : state) benchmark::DoNotOptimize(buffer.getFourier());
  state.SetItemsProcessed(state.iterations() * buffer.sampleCount());
}

}  // namespace

BENCHMARK(BM_ConvertToPcm16);
BENCHMARK(BM_GetSpectrum)->Arg(16)->Arg(512)->Arg(1024);
BENCHMARK(BM_GetFourier);
