#include "render/audio_timing.h"

#include <cmath>

#include "edit/scene.h"
#include "effect/effect_context.h"

namespace Render {

int64_t frameFirstSample(int32_t audioRate, int32_t rate, int32_t scale, int64_t frame) {
  if (rate <= 0 || scale <= 0 || audioRate <= 0) return 0;
  return std::llround(static_cast<double>(audioRate) * static_cast<double>(frame) *
                      static_cast<double>(scale) / static_cast<double>(rate));
}

FrameAudioRange frameAudioRange(const Edit::Scene& scene, int64_t frame, int64_t objectStart) {
  FrameAudioRange range;
  range.audioRate = scene.audioRate;
  range.sceneSample = frameFirstSample(scene.audioRate, scene.rate, scene.scale, frame);
  range.sampleCount = static_cast<int32_t>(
      frameFirstSample(scene.audioRate, scene.rate, scene.scale, frame + 1) - range.sceneSample);
  range.objectSample =
      range.sceneSample - frameFirstSample(scene.audioRate, scene.rate, scene.scale, objectStart);
  return range;
}

FrameAudioRange getFrameAudioRange(const Effect::EffectContext& context) {
  if (!context.scene) return {};
  return frameAudioRange(*context.scene, context.frame, context.objectFrames.start);
}

}  // namespace Render
