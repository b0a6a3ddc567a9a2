#pragma once
// "並行光源(カメラ制御)": a parallel light for the objects under a camera control.
#include <memory>

#include "effect/effect_base.h"
#include "effect/effect_item_color.h"
#include "effect/effect_item_number.h"

namespace Effect {

class CameraLight : public EffectBase {
 public:
  static constexpr const char* kName = "並行光源(カメラ制御)";

  CameraLight();
  std::shared_ptr<EffectBase> create() const override;
  // Appends the light's record to the light list of the context's frame.
  void preInputVideo(EffectContext& context) override;

  EffectItemNumber latitude;
  EffectItemNumber longitude;
  EffectItemNumber tilt;
  EffectItemNumber brightness;
  EffectItemColor color;
};

}  // namespace Effect
