#pragma once
// "カメラ制御オプション": how an object under a camera control faces the camera and whether its
// back is drawn.
#include <memory>

#include "effect/effect_base.h"
#include "effect/effect_item_check.h"
#include "effect/effect_item_select.h"

namespace Effect {

class CameraOption : public EffectBase {
 public:
  static constexpr const char* kName = "カメラ制御オプション";

  CameraOption();
  std::shared_ptr<EffectBase> create() const override;

  EffectItemSelect facing;
  EffectItemCheck hideBackFace;
};

}  // namespace Effect
