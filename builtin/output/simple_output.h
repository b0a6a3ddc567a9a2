#pragma once
// "基本出力": draws the picture flat, with a transparency and a blend mode only.
#include <memory>

#include "effect/effect_base.h"
#include "effect/effect_item_number.h"
#include "effect/effect_item_select.h"

namespace Effect {

class SimpleOutput : public EffectBase {
 public:
  static constexpr const char* kName = "基本出力";

  SimpleOutput();
  std::shared_ptr<EffectBase> create() const override;

  EffectItemNumber transparency;
  EffectItemSelect blendMode;
};

}  // namespace Effect
