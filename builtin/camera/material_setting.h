#pragma once
// "材質設定(カメラ制御)": the shininess of an object drawn under a camera control.
#include <memory>

#include "effect/effect_base.h"
#include "effect/effect_item_number.h"

namespace Effect {

class MaterialSetting : public EffectBase {
 public:
  static constexpr const char* kName = "材質設定(カメラ制御)";

  MaterialSetting();
  std::shared_ptr<EffectBase> create() const override;

  EffectItemNumber glossiness;
};

}  // namespace Effect
