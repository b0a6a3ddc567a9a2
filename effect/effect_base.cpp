#include "effect/effect_base.h"

#include "effect/effect_translate.h"
#include "system/exception.h"

namespace Effect {

EffectBase::EffectBase(const char* effectName, uint8_t effect, uint8_t media, uint8_t target,
                       const char* category)
    : name(effectName), effectType(effect), mediaType(media), targetType(target),
      label(category ? category : "") {}

EffectBase::~EffectBase() = default;

OwnedImage EffectBase::inputVideo(EffectContext&) {
  throw System::makeNotImplementedException("Effect::EffectBase::inputVideo");
}

void EffectBase::preInputVideo(EffectContext&) {}

void EffectBase::outputVideo(EffectContext&, Media::RenderBuffer&, OwnedImage&) {
  throw System::makeNotImplementedException("Effect::EffectBase::outputVideo");
}

void EffectBase::updateAnchor(EffectContext&, int, int) {}

OutputView EffectBase::getOutputView(EffectContext&) {
  throw System::makeNotImplementedException("Effect::EffectBase::getOutputView");
}

OwnedImage EffectBase::filterVideo(EffectContext&, OwnedImage image) {
  image.reset();
  throw System::makeNotImplementedException("Effect::EffectBase::filterVideo");
}

void EffectBase::controlVideo(EffectContext&) {}

OwnedAudio EffectBase::inputAudio(EffectContext&) {
  throw System::makeNotImplementedException("Effect::EffectBase::inputAudio");
}

void EffectBase::preInputAudio(EffectContext&) {}

void EffectBase::outputAudio(EffectContext&, Media::AudioBuffer&, OwnedAudio&) {
  throw System::makeNotImplementedException("Effect::EffectBase::outputAudio");
}

OwnedAudio EffectBase::filterAudio(EffectContext&, OwnedAudio audio) {
  audio.reset();
  throw System::makeNotImplementedException("Effect::EffectBase::filterAudio");
}

void EffectBase::controlAudio(EffectContext&) {}

const EffectDefine* EffectBase::getDefaultInputEffect() const { return nullptr; }

std::string EffectBase::getDisplayName() const { return translateEffectText(name ? name : ""); }

bool EffectBase::canSeparateAudio(int) const { return false; }

EffectItemLayerRange* EffectBase::getLayerRange() {
  throw System::makeNotImplementedException("Effect::EffectBase::getLayerRange");
}

bool EffectBase::anchorEvent(Anchor::AnchorEvent&) {
  throw System::makeNotImplementedException("Effect::EffectBase::anchorEvent");
}

bool EffectBase::editEvent(EffectEventParam&) { return false; }

bool EffectBase::isSupportedFile(const std::string&) const { return false; }

void EffectBase::updateItemState() {}

void EffectBase::initSetting(Component::EffectSetting&) {}

void EffectBase::createResource() {}

void EffectBase::shareResource(const EffectBase&) {}

}  // namespace Effect
