#include "builtin/audio/audio_fade_filter.h"

#include <algorithm>

#include "edit/scene.h"
#include "effect/effect_context.h"
#include "media/audio/audio_buffer.h"

namespace Effect {

AudioFadeFilter::AudioFadeFilter()
    : EffectBase(kName, EffectType::Filter, MediaType::Audio, TargetType::Audio),
      fadeIn(items, "イン", 0.5, 0.0, 10.0, 0.01),
      fadeOut(items, "アウト", 0.5, 0.0, 10.0, 0.01) {
  label = "音声効果";
}

std::shared_ptr<EffectBase> AudioFadeFilter::create() const {
  return std::make_shared<AudioFadeFilter>();
}


OwnedAudio AudioFadeFilter::filterAudio(EffectContext& context, OwnedAudio audio) {
  if (!audio || !context.scene || context.scene->rate <= 0 || context.scene->scale <= 0)
    return audio;
  const double in = static_cast<float>(fadeIn.getValue(context));
  const double out = static_cast<float>(fadeOut.getValue(context));
  const double d = static_cast<double>(context.scene->scale) / context.scene->rate;
  const double t = (context.time - context.objectFrames.start) * d;
  const double r = (context.objectFrames.end - context.objectFrames.start) * d - t;
  double g0 = 1.0;
  double g1 = 1.0;
  if (in > 0.0 && in > t) {
    g0 = std::clamp(t / in, 0.0, 1.0);
    g1 = std::clamp((t + d) / in, 0.0, 1.0);
  }
  if (out > 0.0 && out > r) {
    g0 = std::min(g0, std::clamp(r / out, 0.0, 1.0));
    g1 = std::min(g1, std::clamp((r - d) / out, 0.0, 1.0));
  }
  const int count = audio->sampleCount();
  if (count <= 0 || (g0 == 1.0 && g1 == 1.0)) return audio;
  const float start = static_cast<float>(g0);
  const float step = static_cast<float>((g1 - g0) / count);
  for (int channel = 0; channel < audio->channels(); ++channel) {
    float* samples = audio->getChannelData(channel == 0 ? 0 : 1);
    for (int k = 0; k < count; ++k) samples[k] *= start + static_cast<float>(k) * step;
  }
  return audio;
}

}  // namespace Effect
