#include "effect/output_audio_effect.h"

#include <algorithm>
#include <atomic>

#include "effect/effect_context.h"

namespace Effect {

namespace {

std::atomic<const GroupAudioGainSource*> installedSource{nullptr};

// out[i] += gain x in[i]; whole groups of 8 first so that the compiler keeps the loop in
// vector registers, then the rest one by one (the planes need not be padded).
void addScaled(float* out, const float* in, float gain, int count) {
  int i = 0;
  for (; i + 8 <= count; i += 8)
    for (int k = 0; k < 8; ++k) out[i + k] += gain * in[i + k];
  for (; i < count; ++i) out[i] += gain * in[i];
}

void addTwoScaled(float* out, const float* left, float gainLeft, const float* right,
                  float gainRight, int count) {
  int i = 0;
  for (; i + 8 <= count; i += 8)
    for (int k = 0; k < 8; ++k) out[i + k] += gainLeft * left[i + k] + gainRight * right[i + k];
  for (; i < count; ++i) out[i] += gainLeft * left[i] + gainRight * right[i];
}

}  // namespace

void setGroupAudioGainSource(const GroupAudioGainSource* source) { installedSource.store(source); }

const GroupAudioGainSource* groupAudioGainSource() { return installedSource.load(); }

void OutputAudioEffect::mixAudio(const EffectContext& context, AudioPlanes out,
                                 ConstAudioPlanes in) {
  float gainLeft = context.audio.gainLeft;
  float gainRight = context.audio.gainRight;
  if (context.audio.groupAudioControl)
    if (const GroupAudioGainSource* source = groupAudioGainSource()) {
      const auto [left, right] = source->gains(*context.audio.groupAudioControl, context);
      gainLeft *= left;
      gainRight *= right;
    }
  const int count = std::min(out.sampleCount, in.sampleCount);
  if (count <= 0 || !out.left || !in.left) return;
  const float* inRight = in.right ? in.right : in.left;
  if (out.right) {
    addScaled(out.left, in.left, gainLeft, count);
    addScaled(out.right, inRight, gainRight, count);
  } else {
    addTwoScaled(out.left, in.left, gainLeft, inRight, gainRight, count);
  }
}

}  // namespace Effect
