#pragma once
// Which samples of a scene's sound belong to which video frame. With the audio rate r and the
// frame rate rate / scale, frame f starts at round(r x f x scale / rate) (halves away from
// zero), so consecutive frames cover the samples without gaps or overlaps. Positions are 64
// bits: a scene of many hours at 48 kHz does not wrap.
#include <cstdint>

namespace Effect {
class EffectContext;
}
namespace Edit {
class Scene;
}

namespace Render {

struct FrameAudioRange {
  int64_t objectSample = 0;  // the frame's first sample counted from the object's start
  int32_t audioRate = 0;
  int64_t sceneSample = 0;  // the frame's first sample
  int32_t sampleCount = 0;
};

// The first sample of a frame; 0 for a rate or scale that is not positive.
int64_t frameFirstSample(int32_t audioRate, int32_t rate, int32_t scale, int64_t frame);
// The samples of the frame of a scene, for an object starting at `objectStart`.
FrameAudioRange frameAudioRange(const Edit::Scene& scene, int64_t frame, int64_t objectStart);
// The same for the context's frame and object.
FrameAudioRange getFrameAudioRange(const Effect::EffectContext& context);

}  // namespace Render
