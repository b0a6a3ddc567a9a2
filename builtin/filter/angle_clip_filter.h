#pragma once
// "扇クリッピング": cuts away a fan around a centre. Its routine also serves the clock wipe.
#include <cstddef>
#include <cstdint>
#include <memory>

#include "builtin/filter/filter_shader_set.h"
#include "builtin/filter/shader_filter.h"
#include "effect/effect_item_check.h"
#include "effect/effect_item_number.h"
#include "effect/move_xy_anchor_effect.h"

namespace Effect {

// The shaders of "扇クリッピング" and their constant buffer (AngleClipFilter::Constants).
class AngleClipShaders : public FilterShaderSet {
 public:
  AngleClipShaders();
};

class AngleClipFilter : public ShaderFilter<AngleClipFilter, AngleClipShaders, MoveXYAnchorEffect> {
 public:
  static constexpr const char* kName = "扇クリッピング";

  AngleClipFilter();
  std::shared_ptr<EffectBase> create() const override;
  // The picture with the fan cut away, in place.
  OwnedImage filterVideo(EffectContext& context, OwnedImage image) override;

  // Multiplies the picture's coverage by the fan's mask: transparent inside the fan that
  // starts at `baseAngle` + 180 degrees (clockwise on screen from the right, so 0 starts at
  // the left of the centre) and spans `fanAngle` degrees clockwise, around the point
  // (centerX, centerY) from the picture's middle; the border fades over about softness + 1
  // pixels. With `centring` the fan lies symmetric about the base direction. A fan of 0
  // changes nothing; one of 360 degrees or more clears the picture.
  void clip(Media::ResourceBuffer& image, float baseAngle, float fanAngle, float centerX,
            float centerY, int softness, bool centring);

  // The shaders, in creation order: the coverage that cuts the fan away, and the one that
  // keeps it.
  enum Shader : std::size_t { kOutsideShader, kInsideShader };
  // Their "constant0", in pixels from the picture's top left.
  struct Constants {
    float offset[2] = {0.0f, 0.0f};      // minus the fan's tip
    float directionS[2] = {0.0f, 0.0f};  // normal of the start side
    float directionE[2] = {0.0f, 0.0f};  // normal of the end side
    float directionL[2] = {0.0f, 0.0f};  // along the fan's middle, for the soft tip
    float range = 0.0f;                  // half the sides' soft width
    float limit = 0.0f;                  // the tip's soft width
    float unused[2] = {0.0f, 0.0f};
  };
  static_assert(sizeof(Constants) == 48);

  EffectItemNumber centerX;
  EffectItemNumber centerY;
  EffectItemNumber baseAngle;
  EffectItemNumber rangeAngle;
  EffectItemNumber blur;
  EffectItemCheck centerOnBase;
};

}  // namespace Effect
