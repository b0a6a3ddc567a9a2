#pragma once
// Adds an object's sound into the frame's mix with the object's left and right gains.
//
// The audio buffers belong to the audio layer, above the effect framework; the mix works on
// views of their channel planes. A mono buffer has one plane, which serves as both its left
// and its right channel.
#include <utility>

#include "effect/outer_types.h"

namespace Effect {

class EffectContext;

// Channel planes of planar 32-bit float audio owned elsewhere. `right` is null for mono.
struct AudioPlanes {
  float* left = nullptr;
  float* right = nullptr;
  int sampleCount = 0;
};
struct ConstAudioPlanes {
  const float* left = nullptr;
  const float* right = nullptr;
  int sampleCount = 0;
};

// The gains a group audio control computed for the objects it governs in the current
// pass. The group audio control implements it; without one a group changes no gain.
class GroupAudioGainSource {
 public:
  virtual ~GroupAudioGainSource() = default;
  // {left, right} of the control for the context's pass.
  virtual std::pair<float, float> gains(const Edit::Object& control,
                                        const EffectContext& context) const = 0;
};

// Installs the source (nullptr removes it). While no render worker runs.
void setGroupAudioGainSource(const GroupAudioGainSource* source);
const GroupAudioGainSource* groupAudioGainSource();

class OutputAudioEffect {
 public:
  // out += gains x in over the samples both hold: left += gain left x left, right += gain
  // right x right; a mono output takes gain left x left + gain right x right. The gains are
  // the context's, times those of a governing group audio control. Writes nothing past
  // either count; a negative count or a missing plane mixes nothing. Render audio worker;
  // writes only `out`.
  static void mixAudio(const EffectContext& context, AudioPlanes out, ConstAudioPlanes in);
};

}  // namespace Effect
