#include "builtin/camera/material_setting.h"

namespace Effect {

MaterialSetting::MaterialSetting()
    : EffectBase(kName, EffectType::Filter, MediaType::Video, TargetType::Video),
      glossiness(items, "光沢度", 70.0, 0.0, 100.0, 1.0) {
  label = "カメラ制御";
}

std::shared_ptr<EffectBase> MaterialSetting::create() const {
  return std::make_shared<MaterialSetting>();
}

}  // namespace Effect
