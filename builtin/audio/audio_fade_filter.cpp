#include "builtin/audio/audio_fade_filter.h"

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

}  // namespace Effect
