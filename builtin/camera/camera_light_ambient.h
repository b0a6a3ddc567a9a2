#pragma once
// "環境光(カメラ制御)": an ambient light for the objects under a camera control.
#include <memory>

#include "effect/effect_base.h"
#include "effect/effect_item_color.h"
#include "effect/effect_item_number.h"

namespace Effect {

class CameraLightAmbient : public EffectBase {
 public:
  static constexpr const char* kName = "環境光(カメラ制御)";

  CameraLightAmbient();
  std::shared_ptr<EffectBase> create() const override;
  // Appends the light's record to the light list of the context's frame.
  void preInputVideo(EffectContext& context) override;

  EffectItemNumber brightness;
  EffectItemColor color;
};

}  // namespace Effect
