#pragma once
// "ライト": adds a coloured light made from a blur of the picture's own shape.
#include <memory>

#include "builtin/filter/filter_shader_set.h"
#include "builtin/filter/shader_filter.h"
#include "effect/effect_item_check.h"
#include "effect/effect_item_color.h"
#include "effect/effect_item_number.h"

namespace Effect {

// The five box windows (horizontal trailing, vertical trailing, horizontal centred,
// vertical centred, vertical centred over the transparency) and their 32-byte constants.
class LightShaders : public FilterShaderSet {
 public:
  LightShaders();
};

class LightFilter : public ShaderFilter<LightFilter, LightShaders> {
 public:
  static constexpr const char* kName = "ライト";

  LightFilter();
  std::shared_ptr<EffectBase> create() const override;
  // A front light added inside the shape, in proportion to its alpha, and a back light, a
  // glow behind the picture that grows it by the spread on every side.
  OwnedImage filterVideo(EffectContext& context, OwnedImage image) override;

  EffectItemNumber strength;
  EffectItemNumber spread;
  EffectItemNumber ratio;
  EffectItemCheck backlight;
  EffectItemColor color;
};

}  // namespace Effect
