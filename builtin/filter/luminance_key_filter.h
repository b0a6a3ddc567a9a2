#pragma once
// "ルミナンスキー": makes pixels transparent by their luminance.
#include <memory>

#include "effect/effect_base.h"
#include "effect/effect_item_number.h"
#include "effect/effect_item_select.h"

namespace Effect {

class LuminanceKeyFilter : public EffectBase {
 public:
  static constexpr const char* kName = "ルミナンスキー";

  LuminanceKeyFilter();
  std::shared_ptr<EffectBase> create() const override;

  EffectItemNumber baseLuminance;
  EffectItemNumber luminanceRange;
  EffectItemSelect mode;
};

}  // namespace Effect
