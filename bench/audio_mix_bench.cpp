#include <benchmark/benchmark.h>

#include <vector>

#include "effect/effect_context.h"
#include "effect/output_audio_effect.h"

namespace {

// One audio pass of an object mixed into the frame's block, stereo into stereo and mono
// into stereo, at the block sizes the audio worker renders.
void mixBlock(benchmark::State& state, bool stereoInput) {
  const int samples = static_cast<int>(state.range(0));
  std::vector<float> outLeft(samples, 0.0f), outRight(samples, 0.0f);
  std::vector<float> inLeft(samples, 0.25f), inRight(samples, 0.5f);
  Effect::EffectContext context;
  context.audio.gainLeft = 0.8f;
  context.audio.gainRight = 0.6f;
  const Effect::AudioPlanes out{outLeft.data(), outRight.data(), samples};
  const Effect::ConstAudioPlanes in{inLeft.data(), stereoInput ? inRight.data() : nullptr,
                                    samples};
  for (auto _ : state) {
    Effect::OutputAudioEffect::mixAudio(context, out, in);
    benchmark::ClobberMemory();
  }
  state.SetItemsProcessed(state.iterations() * samples);
}

void BM_MixAudioStereo(benchmark::State& state) { mixBlock(state, true); }
void BM_MixAudioMonoIntoStereo(benchmark::State& state) { mixBlock(state, false); }

BENCHMARK(BM_MixAudioStereo)->Arg(1000)->Arg(48000);
BENCHMARK(BM_MixAudioMonoIntoStereo)->Arg(1000)->Arg(48000);

}  // namespace
