#include "builtin/output/particle_output.h"

#include "builtin/choice_lists.h"
#include "builtin/input/figure_load.h"
#include "builtin/item_links.h"
#include "effect/effect_service.h"

namespace Effect {

ParticleOutput::ParticleOutput()
    : MoveEffect(kName, EffectType::Output, MediaType::Video, TargetType::Video),
      x(items, "X", 0.0, -100000.0, 100000.0, 0.01),
      y(items, "Y", 0.0, -100000.0, 100000.0, 0.01),
      z(items, "Z", 0.0, -100000.0, 100000.0, 0.01),
      frequency(items, "出力頻度", 20.0, 0.0, 500.0, 0.1),
      speed(items, "出力速度", 400.0, 0.0, 20000.0, 0.1),
      acceleration(items, "加速度", 0.0, -20000.0, 20000.0, 0.1),
      direction(items, "出力方向", 0.0, -3600.0, 3600.0, 0.01),
      spread(items, "拡散角度", 30.0, 0.0, 360.0, 0.01),
      transparency(items, "透過率", 0.0, 0.0, 100.0, 0.01),
      transparencySpeed(items, "透過速度", 0.0, -200.0, 200.0, 0.01),
      zoom(items, "拡大率", 100.0, 0.0, 10000.0, 0.001),
      zoomSpeed(items, "拡大速度", 0.0, -1000.0, 1000.0, 0.001),
      rotation(items, "回転角", 0.0, -3600.0, 3600.0, 0.01),
      rotationSpeed(items, "回転速度", 0.0, -10.0, 10.0, 0.01),
      gravity(items, "重力", 0.0, -2000.0, 2000.0, 0.01),
      lifetime(items, "生存時間", 0.0, 0.0, 600.0, 0.1),
      randomPlace(items, "移動範囲の座標からランダムに出力", false),
      directionAlongPath(items, "出力方向の基準を移動方向にする", false),
      rotationAlongPath(items, "回転角の基準を移動方向にする", false),
      randomRotation3D(items, "3Dランダム回転", false),
      blendMode(items, "合成モード", 0, BlendModeList()) {
  linkItems(positionItems, {&x, &y, &z});
}

std::shared_ptr<EffectBase> ParticleOutput::create() const {
  return std::make_shared<ParticleOutput>();
}

const EffectDefine* ParticleOutput::getDefaultInputEffect() const {
  const EffectService* registry = EffectService::instance();
  return registry ? registry->findEffect(FigureLoad::kName) : nullptr;
}

}  // namespace Effect
