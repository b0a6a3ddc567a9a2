#pragma once
// "グロー": spreads the bright parts of the picture as a soft halo or as star streaks.
#include <memory>

#include "builtin/filter/filter_shader_set.h"
#include "builtin/filter/shader_filter.h"
#include "builtin/filter/streak_constants.h"
#include "effect/effect_item_check.h"
#include "effect/effect_item_color.h"
#include "effect/effect_item_number.h"
#include "effect/effect_item_select.h"

namespace Effect {

// The glow's streak shader and its 32-byte constants (StreakConstants).
class GlowShaders : public FilterShaderSet {
 public:
  GlowShaders();
};

class GlowFilter : public ShaderFilter<GlowFilter, GlowShaders> {
 public:
  static constexpr const char* kName = "グロー";

  GlowFilter();
  std::shared_ptr<EffectBase> create() const override;

  EffectItemNumber strength;
  EffectItemNumber spread;
  EffectItemNumber angle;
  EffectItemNumber threshold;
  EffectItemNumber ratio;
  EffectItemNumber blur;
  EffectItemSelect shape;
  EffectItemColor lightColor;
  EffectItemCheck lightOnly;
  EffectItemCheck fixedSize;
};

}  // namespace Effect
