#pragma once
// "極座標変換": wraps the picture around a disc.
#include <memory>

#include "effect/effect_base.h"
#include "effect/effect_item_number.h"

namespace Effect {

class PolarFilter : public EffectBase {
 public:
  static constexpr const char* kName = "極座標変換";

  PolarFilter();
  std::shared_ptr<EffectBase> create() const override;

  EffectItemNumber centerWidth;
  EffectItemNumber zoom;
  EffectItemNumber rotation;
  EffectItemNumber swirl;
};

}  // namespace Effect
