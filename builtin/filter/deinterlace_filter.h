#pragma once
// "インターレース解除": rebuilds every second row from its neighbours, or blends each row with
// them.
#include <memory>

#include "effect/effect_base.h"
#include "effect/effect_item_select.h"

namespace Effect {

class DeinterlaceFilter : public EffectBase {
 public:
  static constexpr const char* kName = "インターレース解除";

  DeinterlaceFilter();
  std::shared_ptr<EffectBase> create() const override;

  EffectItemSelect method;
};

}  // namespace Effect
