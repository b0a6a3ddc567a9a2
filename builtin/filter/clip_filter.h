#pragma once
// "クリッピング": cuts rows and columns off the four sides of the picture.
#include <memory>

#include "effect/effect_base.h"
#include "effect/effect_item_check.h"
#include "effect/effect_item_number.h"

namespace Effect {

class ClipFilter : public EffectBase {
 public:
  static constexpr const char* kName = "クリッピング";

  ClipFilter();
  std::shared_ptr<EffectBase> create() const override;

  EffectItemNumber top;
  EffectItemNumber bottom;
  EffectItemNumber left;
  EffectItemNumber right;
  EffectItemCheck moveCenter;
};

}  // namespace Effect
