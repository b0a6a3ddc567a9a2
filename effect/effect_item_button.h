#pragma once
// A push button in a setting row. It holds no value; the effect installs what a press does.
#include <functional>

#include "effect/effect_item.h"

namespace Effect {

class EffectItemButton : public EffectItem {
 public:
  using Callback = std::function<void(Component::EffectItemBaseControl& row)>;

  EffectItemButton(EffectItemList& items, std::string_view name, float start = 0.0f,
                   float end = 1.0f);
  EffectItemButton(const EffectItemButton&) = default;

  // Copies nothing and always compares equal.
  void copyFrom(const EffectItem& other) override;
  bool equals(const EffectItem& other) const override;
  std::unique_ptr<EffectItem> clone() const override;
  // "" and nothing.
  std::string toString() const override;
  void fromString(std::string_view text) override;
  ControlKind getControlKind() const override;

  Callback callback;  // empty until the effect installs one
  float start;        // fractions of the row's width
  float end;
};

}  // namespace Effect
