#include "effect/effect_context.h"

#include <utility>

namespace Effect {

EffectContext::~EffectContext() {
  preInputData.reset();
  vertexList.reset();
  audio.groupAudioControl.reset();
  outputView.groupControl.reset();
  outputView.cameraControl.reset();
  objectChain.reset();
  object.reset();
}

void EffectContext::setObject(std::shared_ptr<Edit::Object> newObject, const ObjectFrames& frames) {
  if (newObject) {
    sectionPosition = SectionPosition::calculate(frames, frame, time);
    objectFrames = frames;
  } else {
    sectionPosition = SectionPosition{};
    objectFrames = ObjectFrames{};
  }
  object = std::move(newObject);
}

void EffectContext::changeObject(const std::shared_ptr<Edit::Object>& newObject,
                                 const ObjectFrames& frames) {
  if (object == newObject) return;
  setObject(newObject, frames);
}

}  // namespace Effect
