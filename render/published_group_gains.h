#pragma once
// The gains of the group audio control that governs an object, as its last control step
// published them: the audio outputs multiply them into the object's own gains. The
// program installs it while the render service lives.
#include "effect/output_audio_effect.h"

namespace Render {

class PublishedGroupGains : public Effect::GroupAudioGainSource {
 public:
  // {1, 1} when the object's first effect is no group audio control.
  std::pair<float, float> gains(const Edit::Object& control,
                                const Effect::EffectContext& context) const override;
};

}  // namespace Render
