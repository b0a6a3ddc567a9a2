#pragma once
// "モザイク": averages square blocks of the picture.
#include <memory>

#include "effect/effect_base.h"
#include "effect/effect_item_number.h"

namespace Effect {

class MosaicFilter : public EffectBase {
 public:
  static constexpr const char* kName = "モザイク";

  MosaicFilter();
  std::shared_ptr<EffectBase> create() const override;

  EffectItemNumber size;
};

}  // namespace Effect
