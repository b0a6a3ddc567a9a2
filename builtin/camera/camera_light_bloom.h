#pragma once
// "ライトブルーム(カメラ制御)": a glow around the over-bright pixels of a camera control's frame.
#include <memory>

#include "effect/effect_base.h"
#include "effect/effect_item_number.h"

namespace Effect {

class CameraLightBloom : public EffectBase {
 public:
  static constexpr const char* kName = "ライトブルーム(カメラ制御)";

  CameraLightBloom();
  std::shared_ptr<EffectBase> create() const override;

  EffectItemNumber strength;
  EffectItemNumber spread;
};

}  // namespace Effect
