#pragma once
// "エッジ抽出": draws the edges of the picture in one colour.
#include <memory>

#include "effect/effect_base.h"
#include "effect/effect_item_check.h"
#include "effect/effect_item_color.h"
#include "effect/effect_item_number.h"

namespace Effect {

class EdgeFilter : public EffectBase {
 public:
  static constexpr const char* kName = "エッジ抽出";

  EdgeFilter();
  std::shared_ptr<EffectBase> create() const override;

  EffectItemNumber strength;
  EffectItemNumber threshold;
  EffectItemColor color;
  EffectItemCheck luminanceEdges;
  EffectItemCheck alphaEdges;
};

}  // namespace Effect
