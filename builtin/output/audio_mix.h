#pragma once
// Mixes an object's sound into the frame's sound with the context's gains times the output's
// own left and right factors (and the governing group audio controls' gains).
namespace Media {
class AudioBuffer;
}

namespace Effect {

class EffectContext;

void mixScaled(const EffectContext& context, Media::AudioBuffer& target,
               const Media::AudioBuffer& sound, float leftFactor, float rightFactor);

}  // namespace Effect
