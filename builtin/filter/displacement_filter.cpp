#include "builtin/filter/displacement_filter.h"

#include "builtin/choice_lists.h"
#include "builtin/item_links.h"

namespace Effect {

// The shaders in the order of the Shader numbers.
DisplacementShaders::DisplacementShaders()
    : FilterShaderSet({"displacement_move_ps", "displacement_turn_ps"},
                      {}, sizeof(DisplacementConstants)) {}

DisplacementFilter::DisplacementFilter()
    : ShaderFilter(kName, EffectType::Filter, MediaType::Video, TargetType::Video),
      x(items, "X", 0.0, -5000.0, 5000.0, 0.1),
      y(items, "Y", 0.0, -5000.0, 5000.0, 0.1),
      rotation(items, "回転", 0.0, -3600.0, 3600.0, 0.01),
      size(items, "サイズ", 200.0, 0.0, 4000.0, 1.0),
      aspect(items, "縦横比", 0.0, -100.0, 100.0, 0.001),
      blur(items, "ぼかし", 5.0, 0.0, 1000.0, 1.0),
      moveX(items, "変形X", 0.0, -5000.0, 5000.0, 0.01),
      moveY(items, "変形Y", 0.0, -5000.0, 5000.0, 0.01),
      scale(items, "拡大変形", 0.0, -5000.0, 5000.0, 0.01),
      scaleAspect(items, "拡大縦横", 0.0, -100.0, 100.0, 0.001),
      turn(items, "回転変形", 0.0, -5000.0, 5000.0, 0.01),
      method(items, "変形方法", 0, DisplacementModeList()),
      map(items, "マップの種類", 1, &fitSceneLength),
      fitSceneLength(items, "シーンの長さを合わせる", false),
      fitOriginalSize(items, "元のサイズに合わせる", false) {
  linkItems(positionItems, {&x, &y});
  method.notify = true;
  label = "変形";
}

std::shared_ptr<EffectBase> DisplacementFilter::create() const {
  return std::make_shared<DisplacementFilter>();
}

}  // namespace Effect
