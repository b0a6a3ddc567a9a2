#include "edit/effect_manager.h"

#include <algorithm>
#include <exception>
#include <string_view>
#include <utility>

#include "edit/object.h"
#include "effect/effect_base.h"
#include "effect/effect_define.h"
#include "effect/effect_item_number.h"
#include "effect/effect_service.h"
#include "system/exception.h"

namespace Edit {

namespace {

using Effect::EffectBase;
using Effect::EffectDefine;
using EffectPointer = std::shared_ptr<EffectBase>;

// The registry effects are found in; without one every lookup fails as the registry does
// for an unknown name.
Effect::EffectService& registry() {
  Effect::EffectService* service = Effect::EffectService::instance();
  if (!service)
    throw System::makeException("Effect::EffectService::findEffect", "not found effect.");
  return *service;
}

bool isGoverningControl(std::string_view name) {
  return name == "グループ制御" || name == "カメラ制御" || name == "グループ制御(音声)";
}

bool isFilter(const EffectPointer& effect) {
  return effect && effect->effectType == Effect::EffectType::Filter;
}

// Calls `action` for every number item of the effect, in item order.
template <class Action>
void forEachNumberItem(const EffectBase& effect, Action action) {
  for (Effect::EffectItem* item : effect.items) {
    if (item->typeCode != Effect::ItemType::Number) continue;
    if (auto* number = dynamic_cast<Effect::EffectItemNumber*>(item)) action(*number);
  }
}

}  // namespace

bool EffectManager::fitsTargetType(uint8_t target, uint8_t media) {
  if (media == target || media == 0) return true;
  if ((target == Effect::TargetType::Video || target == Effect::TargetType::Audio) &&
      media == Effect::MediaType::VideoAudio)
    return true;
  return target == Effect::TargetType::VideoAudio && media != Effect::MediaType::Camera;
}

EffectPointer* EffectManager::setEffectByDefine(const EffectDefine& define) {
  switch (define.getEffectType()) {
    case Effect::EffectType::Input:
      return setInputEffect(define);
    case Effect::EffectType::Output:
      return setOutputEffect(define);
    case Effect::EffectType::Filter:
      return setFilterEffect(define);
    case Effect::EffectType::Control:
      return setControlEffect(define);
    default:
      throw System::makeException("Edit::EffectManager::setEffectByDefine", "invalid effect type.");
  }
}

EffectPointer* EffectManager::setInputEffect(const EffectDefine& define) {
  constexpr const char* place = "Edit::EffectManager::setInputEffect";
  if (effects.empty()) {
    // Both instances are made before the chain changes, so a failure leaves it empty.
    EffectPointer input = define.createEffect();
    EffectPointer output = registry().getOutputEffect(define)->createEffect();
    effects.push_back(std::move(input));
    effects.push_back(std::move(output));
    return &effects.front();
  }
  const EffectBase& first = *effects.front();
  if (first.effectType != Effect::EffectType::Input)
    throw System::makeException(place, "different effect type.");
  if (define.isDefineOf(first)) return &effects.front();
  for (std::size_t i = 1; i < effects.size(); ++i)
    if (!fitsTargetType(first.targetType, effects[i]->mediaType))
      throw System::makeException(place, "different filter effect type.");
  effects.front() = define.createEffect();
  return &effects.front();
}

EffectPointer* EffectManager::setOutputEffect(const EffectDefine& define) {
  constexpr const char* place = "Edit::EffectManager::setOutputEffect";
  if (effects.empty()) {
    const EffectDefine* input = define.getMediaType() == Effect::MediaType::Video
                                    ? define.getPrototype()->getDefaultInputEffect()
                                    : nullptr;
    if (!input) throw System::makeException(place, "not exist input effect.");
    // The output's fit to the default input is checked before the input goes in, so a
    // refused output leaves the chain empty rather than holding a lone input.
    if (input->getEffectType() != Effect::EffectType::Input ||
        !fitsTargetType(input->getTargetType(), define.getMediaType()))
      throw System::makeException(place, "different effect type.");
    EffectPointer first = input->createEffect();
    EffectPointer output = define.createEffect();
    effects.push_back(std::move(first));
    effects.push_back(std::move(output));
    return &effects[1];
  }
  const EffectBase& first = *effects.front();
  if (first.effectType != Effect::EffectType::Input ||
      !fitsTargetType(first.targetType, define.getMediaType()))
    throw System::makeException(place, "different effect type.");
  if (effects.size() == 1) {
    effects.push_back(define.createEffect());
    return &effects.back();
  }
  if (!define.isDefineOf(*effects[1])) effects[1] = define.createEffect();
  return &effects[1];
}

EffectPointer* EffectManager::setFilterEffect(const EffectDefine& define) {
  if (!effects.empty() && !fitsTargetType(effects.front()->targetType, define.getMediaType()))
    throw System::makeException("Edit::EffectManager::setFilterEffect", "different effect type.");
  effects.push_back(define.createEffect());
  return &effects.back();
}

EffectPointer* EffectManager::setControlEffect(const EffectDefine& define) {
  if (!effects.empty()) {
    const EffectBase& first = *effects.front();
    if (first.effectType != Effect::EffectType::Control ||
        first.targetType != Effect::TargetType::SceneChange)
      throw System::makeException("Edit::EffectManager::setControlEffect",
                                  "can not change control effect.");
  }
  EffectPointer control = define.createEffect();
  effects.clear();
  controlFlag = isGoverningControl(define.getName());
  effects.push_back(std::move(control));
  return &effects.back();
}

template <class Fill>
EffectPointer* EffectManager::putEffect(std::string_view name, int sectionCount,
                                        const EffectBase* after, bool fillKept, Fill fill) {
  const EffectDefine& define = *registry().findEffect(name);
  EffectList before = effects;
  const bool beforeFlag = controlFlag;
  try {
    EffectPointer* entry = setEffectByDefine(define);
    // Every effect this change made (an input brings its output) is sized to the points;
    // only a new instance of the asked kind takes values, an instance that stayed keeps its.
    for (EffectPointer& effect : effects) {
      if (std::find(before.begin(), before.end(), effect) != before.end()) continue;
      if (effect == *entry) fill(*effect);
      setSectionNum(*effect, sectionCount);
    }
    if (fillKept && std::find(before.begin(), before.end(), *entry) != before.end()) {
      fill(**entry);
      setSectionNum(**entry, sectionCount);
    }
    return placeAfter(entry, after);
  } catch (...) {
    effects = std::move(before);
    controlFlag = beforeFlag;
    throw;
  }
}

EffectPointer* EffectManager::setEffectByName(std::string_view name, const EffectBase* after) {
  return putEffect(name, chainSectionCount(), after, false, [&](EffectBase& effect) {
    EffectDefine& define = *registry().findEffect(name);
    effect.setItemData(define.loadDefaultFile());
  });
}

EffectPointer* EffectManager::loadEffectByName(std::string_view name,
                                               const System::IniFile::SectionRef& section,
                                               const Object& object, const EffectBase* after) {
  return putEffect(name, object.sectionCount(), after, true,
                   [&](EffectBase& effect) { effect.loadIniSectionParameter(section); });
}

EffectPointer* EffectManager::placeAfter(EffectPointer* entry, const EffectBase* after) {
  if (!after || effects.empty() || entry != &effects.back() || !isFilter(*entry)) return entry;
  std::size_t at = effects.size() - 1;
  while (at > 0) {
    const EffectPointer& previous = effects[at - 1];
    if (previous.get() == after || !isFilter(previous)) break;
    std::swap(effects[at - 1], effects[at]);
    --at;
  }
  return &effects[at];
}

void EffectManager::fitEffectsToInput() {
  if (effects.empty()) return;
  const uint8_t target = effects.front()->targetType;
  effects.erase(std::remove_if(effects.begin() + 1, effects.end(),
                               [&](const EffectPointer& effect) {
                                 return !fitsTargetType(target, effect->mediaType);
                               }),
                effects.end());
  const EffectBase& first = *effects.front();
  if (first.effectType != Effect::EffectType::Input) return;
  if (effects.size() >= 2 && effects[1]->effectType == Effect::EffectType::Output) return;
  Effect::EffectService& service = registry();
  const EffectDefine& input = *service.findEffect(first.name ? first.name : "");
  EffectPointer output = service.getOutputEffect(input)->createEffect();
  setSectionNum(*output, chainSectionCount());
  effects.insert(effects.begin() + 1, std::move(output));
}

void EffectManager::copyEffects(EffectManager& target) const {
  EffectList copies;
  copies.reserve(effects.size());
  for (const auto& effect : effects) {
    if (!effect) continue;
    auto copy = registry().findEffect(effect->name ? effect->name : "")->createEffect();
    copy->setItemData(*effect);
    copy->disable = effect->disable;
    copy->hide = effect->hide;
    copy->lock = effect->lock;
    copies.push_back(std::move(copy));
  }
  target.effects = std::move(copies);
  target.controlFlag = controlFlag;
}

void EffectManager::copyPointValues(SectionValueMap& out, const Object& owner, int pointIndex,
                                    const EffectManager* other) const {
  const int boundaryCount = static_cast<int>(owner.boundaries.size());
  for (std::size_t e = 0; e < effects.size(); ++e) {
    if (!effects[e]) continue;
    const EffectBase& effect = *effects[e];
    for (std::size_t i = 0; i < effect.items.size(); ++i) {
      const Effect::EffectItem* item = effect.items[i];
      if (item->typeCode != Effect::ItemType::Number) continue;
      const auto* number = dynamic_cast<const Effect::EffectItemNumber*>(item);
      if (!number || number->values.empty()) continue;
      const int count = static_cast<int>(number->values.size());
      int index = 0;
      if (count >= 2 && pointIndex > 0) {
        if (pointIndex >= boundaryCount + 1)
          index = count - 1;
        else if (count == boundaryCount + 2)
          index = pointIndex;
      }
      index = std::clamp(index, 0, count - 1);
      const double value = number->getDisplayValue(index);

      const Effect::EffectItemNumber* key = number;
      if (other) {
        key = nullptr;
        if (e < other->effects.size() && other->effects[e] && i < other->effects[e]->items.size()) {
          const Effect::EffectItem* target = other->effects[e]->items[i];
          if (target->typeCode == Effect::ItemType::Number)
            key = dynamic_cast<const Effect::EffectItemNumber*>(target);
        }
        if (!key) continue;
      }
      out[key] = {value, -1};
    }
  }
}

int EffectManager::getObjectType() const {
  constexpr const char* place = "Edit::EffectManager::getObjectType";
  if (effects.empty() || !effects.front())
    throw System::makeException(place, "not exist effect.");
  const EffectBase& first = *effects.front();
  switch (first.effectType) {
    case Effect::EffectType::Input: {
      if (effects.size() < 2 || !effects[1]) return VideoAudioObject;
      const uint8_t media = effects[1]->mediaType;
      if (media == Effect::MediaType::Video) return VideoObject;
      if (media == Effect::MediaType::Audio) return AudioObject;
      return VideoAudioObject;
    }
    case Effect::EffectType::Filter:
      if (first.mediaType == Effect::MediaType::Video) return VideoFilterObject;
      if (first.mediaType == Effect::MediaType::Audio) return AudioFilterObject;
      return OtherFilterObject;
    case Effect::EffectType::Control:
      return ControlObject;
    default:
      throw System::makeException(place, "illegal top effect.");
  }
}

}  // namespace Edit
