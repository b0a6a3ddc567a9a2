#pragma once
// A one-line text item. Script effects declare theirs with the codes 5, 100 and 101.
#include "effect/effect_item.h"

namespace Effect {

class EffectItemString : public EffectItem {
 public:
  EffectItemString(EffectItemList& items, std::string_view name, std::string_view value,
                   uint8_t typeCode = ItemType::String);
  EffectItemString(const EffectItemString&) = default;

  void copyFrom(const EffectItem& other) override;
  bool equals(const EffectItem& other) const override;
  std::unique_ptr<EffectItem> clone() const override;
  std::string toString() const override;
  void fromString(std::string_view text) override;
  ControlKind getControlKind() const override;

  std::string value;
};

}  // namespace Effect
