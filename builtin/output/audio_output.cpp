#include "builtin/output/audio_output.h"

namespace Effect {

AudioOutput::AudioOutput()
    : EffectBase(kName, EffectType::Output, MediaType::Audio, TargetType::Audio),
      volume(items, "音量", 100.0, 0.0, 1000.0, 0.01),
      balance(items, "左右", 0.0, -100.0, 100.0, 0.01) {}

std::shared_ptr<EffectBase> AudioOutput::create() const { return std::make_shared<AudioOutput>(); }

}  // namespace Effect
