#include "effect/effect_item_integer.h"

#include <algorithm>

#include "effect/text_conversion.h"

namespace Effect {

EffectItemInteger::EffectItemInteger(EffectItemList& items, std::string_view itemName, int initial,
                                     int low, int high, uint8_t code, const char* zero)
    : EffectItem(items, code, itemName),
      value(initial),
      defaultValue(initial),
      minimum(low),
      maximum(high),
      zeroText(zero) {}

void EffectItemInteger::copyFrom(const EffectItem& other) {
  const auto& source = sameKind<EffectItemInteger>(other);
  value = source.value;
  defaultValue = source.defaultValue;
  minimum = source.minimum;
  maximum = source.maximum;
}

bool EffectItemInteger::equals(const EffectItem& other) const {
  return value == sameKind<EffectItemInteger>(other).value;
}

std::unique_ptr<EffectItem> EffectItemInteger::clone() const {
  return std::make_unique<EffectItemInteger>(*this);
}

std::string EffectItemInteger::toString() const { return std::to_string(value); }

void EffectItemInteger::fromString(std::string_view text) {
  const int read = readInteger(text);
  value = minimum <= maximum ? std::clamp(read, minimum, maximum) : read;
}

ControlKind EffectItemInteger::getControlKind() const {
  switch (typeCode) {
    case ItemType::HiddenInteger:
      return ControlKind::None;
    case ItemType::LayerRange:
      return ControlKind::LayerRange;
    default:
      return ControlKind::Integer;
  }
}

EffectItemScene::EffectItemScene(EffectItemList& items, std::string_view itemName, int initial,
                                 int low, int high)
    : EffectItemInteger(items, itemName, initial, low, high, ItemType::Scene) {}

std::unique_ptr<EffectItem> EffectItemScene::clone() const {
  return std::make_unique<EffectItemInteger>(static_cast<const EffectItemInteger&>(*this));
}

ControlKind EffectItemScene::getControlKind() const { return ControlKind::Scene; }

bool EffectItemScene::forgetScene(int32_t sceneId) {
  if (value != sceneId || value == 0) return false;
  value = 0;
  return true;
}

EffectItemLayerRange::EffectItemLayerRange(EffectItemList& items, std::string_view itemName,
                                           int initial, int low, int high, const char* zero)
    : EffectItemInteger(items, itemName, initial, low, high, ItemType::LayerRange, zero) {}

std::unique_ptr<EffectItem> EffectItemLayerRange::clone() const {
  return std::make_unique<EffectItemInteger>(static_cast<const EffectItemInteger&>(*this));
}

}  // namespace Effect
