#pragma once
// "方向ブラー": smears each pixel both ways along one angle.
#include <memory>

#include "builtin/filter/filter_shader_set.h"
#include "builtin/filter/shader_filter.h"
#include "builtin/filter/streak_constants.h"
#include "effect/effect_item_check.h"
#include "effect/effect_item_number.h"

namespace Effect {

// The directional blur's shader and its 32-byte constants (StreakConstants).
class DirectionBlurShaders : public FilterShaderSet {
 public:
  DirectionBlurShaders();
};

class BlurDirectionFilter : public ShaderFilter<BlurDirectionFilter, DirectionBlurShaders> {
 public:
  static constexpr const char* kName = "方向ブラー";

  // The output size and the shader's constants of a directional blur of a w x h image.
  struct StreakLayout {
    int width = 0;
    int height = 0;
    StreakConstants constants{};
  };
  // `range` in pixels each way, `angle` in degrees (0 smears vertically), `stepRatio` the
  // scale of the backward steps. Unless `fixedSize` the image grows to hold the smear,
  // each side at most 16384.
  static StreakLayout streakLayout(int width, int height, float range, float angle,
                                   float stepRatio, bool fixedSize);

  BlurDirectionFilter();
  std::shared_ptr<EffectBase> create() const override;
  OwnedImage filterVideo(EffectContext& context, OwnedImage image) override;

  // The input (not consumed) smeared both ways along the angle. A range of 0 or less gives
  // a copy of the input.
  OwnedImage directionBlur(Media::ResourceBuffer& input, float range, float angle,
                           float stepRatio, bool fixedSize);

  EffectItemNumber range;
  EffectItemNumber angle;
  EffectItemCheck fixedSize;
};

}  // namespace Effect
