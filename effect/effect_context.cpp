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

void EffectContext::setObject(std::shared_ptr<Edit::Object> newObject) {
  // The position is computed first so that a failing computation leaves the context whole.
  const SectionPosition position =
      newObject ? SectionPosition::calculate(*newObject, frame, time) : SectionPosition{};
  object = std::move(newObject);
  sectionPosition = position;
}

void EffectContext::changeObject(const std::shared_ptr<Edit::Object>& newObject) {
  if (object == newObject) return;
  setObject(newObject);
}

}  // namespace Effect
