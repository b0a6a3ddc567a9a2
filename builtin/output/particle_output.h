#pragma once
// "パーティクル出力": draws the object's picture as a stream of particles emitted from its
// position.
#include <memory>

#include "effect/effect_item_check.h"
#include "effect/effect_item_number.h"
#include "effect/effect_item_select.h"
#include "effect/move_effect.h"

namespace Effect {

class ParticleOutput : public MoveEffect {
 public:
  static constexpr const char* kName = "パーティクル出力";

  ParticleOutput();
  std::shared_ptr<EffectBase> create() const override;
  // "図形": an object made with this output alone gets a figure as its picture.
  const EffectDefine* getDefaultInputEffect() const override;

  EffectItemNumber x;
  EffectItemNumber y;
  EffectItemNumber z;
  EffectItemNumber frequency;
  EffectItemNumber speed;
  EffectItemNumber acceleration;
  EffectItemNumber direction;
  EffectItemNumber spread;
  EffectItemNumber transparency;
  EffectItemNumber transparencySpeed;
  EffectItemNumber zoom;
  EffectItemNumber zoomSpeed;
  EffectItemNumber rotation;
  EffectItemNumber rotationSpeed;
  EffectItemNumber gravity;
  EffectItemNumber lifetime;
  EffectItemCheck randomPlace;
  EffectItemCheck directionAlongPath;
  EffectItemCheck rotationAlongPath;
  EffectItemCheck randomRotation3D;
  EffectItemSelect blendMode;
};

}  // namespace Effect
