#pragma once
// "領域拡張": enlarges the picture by a border on each side, transparent or repeating the edge.
#include <memory>

#include "effect/effect_context.h"
#include "effect/effect_base.h"
#include "effect/effect_item_check.h"
#include "effect/effect_item_number.h"

namespace Effect {

class BasicExpand : public EffectBase {
 public:
  static constexpr const char* kName = "領域拡張";

  BasicExpand();
  std::shared_ptr<EffectBase> create() const override;
  OwnedImage filterVideo(EffectContext& context, OwnedImage image) override;

  EffectItemNumber top;
  EffectItemNumber bottom;
  EffectItemNumber left;
  EffectItemNumber right;
  EffectItemCheck fill;
};

}  // namespace Effect
