#include "builtin/output/movie_output.h"

#include "builtin/output/audio_mix.h"

namespace Effect {

MovieOutput::MovieOutput()
    : BasicOutput(kName, MediaType::VideoAudio, TargetType::VideoAudio),
      volume(items, "音量", 100.0, 0.0, 1000.0, 0.01) {}

std::shared_ptr<EffectBase> MovieOutput::create() const { return std::make_shared<MovieOutput>(); }

void MovieOutput::outputAudio(EffectContext& context, Media::AudioBuffer& target,
                              OwnedAudio& audio) {
  if (!audio) return;
  const float v = static_cast<float>(volume.getValue(context)) * 0.01f;
  mixScaled(context, target, *audio, v, v);
}

}  // namespace Effect
