#include "edit/effect_service_access.h"

#include <string_view>

#include "edit/effect_manager.h"
#include "edit/object.h"
#include "effect/effect_service.h"
#include "system/exception.h"

namespace Edit {

namespace {

using Effect::EffectBase;
using Effect::EffectDefine;

Effect::EffectService& requireRegistry() {
  Effect::EffectService* registry = Effect::EffectService::instance();
  if (!registry)
    throw System::makeException("Effect::EffectService::findEffect", "not found effect.");
  return *registry;
}

// Whether an effect of media type `media` may stand in a chain whose first effect has target
// type `target`.
bool fitsTargetType(uint8_t target, uint8_t media) {
  if (media == target || media == 0) return true;
  if ((target == Effect::TargetType::Video || target == Effect::TargetType::Audio) &&
      media == Effect::MediaType::VideoAudio)
    return true;
  return target == Effect::TargetType::VideoAudio && media != Effect::MediaType::Camera;
}

bool isGoverningControl(std::string_view name) {
  return name == "グループ制御" || name == "カメラ制御" || name == "グループ制御(音声)";
}

// The chain being built; the object takes it only when everything succeeded.
struct Chain {
  EffectManager::EffectList effects;
  bool controlFlag = false;
  // The effects this change made, to be sized and (the first) given the user's defaults.
  EffectManager::EffectList added;

  std::shared_ptr<EffectBase> add(const EffectDefine& define) {
    auto effect = define.createEffect();
    added.push_back(effect);
    return effect;
  }
};

void setInputEffect(const Effect::EffectService& registry, Chain& chain,
                    const EffectDefine& define) {
  constexpr const char* place = "Edit::EffectManager::setInputEffect";
  if (chain.effects.empty()) {
    chain.effects.push_back(chain.add(define));
    chain.effects.push_back(chain.add(*registry.getOutputEffect(define)));
    return;
  }
  const EffectBase& first = *chain.effects.front();
  if (first.effectType != Effect::EffectType::Input)
    throw System::makeException(place, "different effect type.");
  if (define.isDefineOf(first)) return;
  for (std::size_t i = 1; i < chain.effects.size(); ++i)
    if (!fitsTargetType(first.targetType, chain.effects[i]->mediaType))
      throw System::makeException(place, "different filter effect type.");
  chain.effects.front() = chain.add(define);
}

void setOutputEffect(Chain& chain, const EffectDefine& define) {
  constexpr const char* place = "Edit::EffectManager::setOutputEffect";
  if (chain.effects.empty()) {
    const EffectDefine* input = define.getMediaType() == Effect::MediaType::Video
                                    ? define.getPrototype()->getDefaultInputEffect()
                                    : nullptr;
    if (!input) throw System::makeException(place, "not exist input effect.");
    chain.effects.push_back(chain.add(*input));
  }
  const EffectBase& first = *chain.effects.front();
  if (first.effectType != Effect::EffectType::Input ||
      !fitsTargetType(first.targetType, define.getMediaType()))
    throw System::makeException(place, "different effect type.");
  if (chain.effects.size() == 1) {
    chain.effects.push_back(chain.add(define));
    return;
  }
  if (define.isDefineOf(*chain.effects[1])) return;
  chain.effects[1] = chain.add(define);
}

void setFilterEffect(Chain& chain, const EffectDefine& define) {
  if (!chain.effects.empty() &&
      !fitsTargetType(chain.effects.front()->targetType, define.getMediaType()))
    throw System::makeException("Edit::EffectManager::setFilterEffect", "different effect type.");
  chain.effects.push_back(chain.add(define));
}

void setControlEffect(Chain& chain, const EffectDefine& define) {
  if (!chain.effects.empty()) {
    const EffectBase& first = *chain.effects.front();
    if (first.effectType != Effect::EffectType::Control ||
        first.targetType != Effect::TargetType::SceneChange)
      throw System::makeException("Edit::EffectManager::setControlEffect",
                                  "can not change control effect.");
    chain.effects.clear();
  }
  chain.controlFlag = isGoverningControl(define.getName());
  chain.effects.push_back(chain.add(define));
}

}  // namespace

void EffectServiceAccess::setEffectByName(Object& object, std::string_view name) {
  const Effect::EffectService& registry = requireRegistry();
  EffectDefine& define = *registry.findEffect(name);
  Chain chain{object.effects, object.controlFlag, {}};
  switch (define.getEffectType()) {
    case Effect::EffectType::Input:
      setInputEffect(registry, chain, define);
      break;
    case Effect::EffectType::Output:
      setOutputEffect(chain, define);
      break;
    case Effect::EffectType::Filter:
      setFilterEffect(chain, define);
      break;
    case Effect::EffectType::Control:
      setControlEffect(chain, define);
      break;
    default:
      throw System::makeException("Edit::EffectManager::setEffectByDefine", "invalid effect type.");
  }
  for (const auto& effect : chain.added) {
    if (define.isDefineOf(*effect)) effect->setItemData(define.loadDefaultFile());
    EffectManager::setSectionNum(*effect, object.sectionCount());
  }
  object.effects = std::move(chain.effects);
  object.controlFlag = chain.controlFlag;
}

std::shared_ptr<Effect::EffectBase> EffectServiceAccess::createEffect(std::string_view name) {
  return requireRegistry().findEffect(name)->createEffect();
}

}  // namespace Edit
