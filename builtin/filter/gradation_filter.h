#pragma once
// "グラデーション": a two-colour gradient laid over the picture with a blend mode; its centre is a
// handle.
#include <cstddef>
#include <cstdint>
#include <memory>

#include "builtin/filter/filter_shader_set.h"
#include "builtin/filter/shader_filter.h"
#include "effect/effect_item_color.h"
#include "effect/effect_item_number.h"
#include "effect/effect_item_select.h"
#include "effect/move_xy_anchor_effect.h"

namespace Effect {

// The shaders of "グラデーション" and their constant buffer (GradationFilter::Constants).
class GradationShaders : public FilterShaderSet {
 public:
  GradationShaders();
};

class GradationFilter : public ShaderFilter<GradationFilter, GradationShaders, MoveXYAnchorEffect> {
 public:
  static constexpr const char* kName = "グラデーション";

  GradationFilter();
  std::shared_ptr<EffectBase> create() const override;
  // The gradient on the picture's coverage, composited over the picture at the strength with
  // the blend mode; the same picture comes back.
  OwnedImage filterVideo(EffectContext& context, OwnedImage image) override;

  // The shader: the gradient on the picture's ("texture0") coverage.
  enum Shader : std::size_t { kGradationShader };
  // Its "constant0"; colours premultiplied, lengths in pixels from the top left.
  struct Constants {
    float col0[4] = {0.0f, 0.0f, 0.0f, 0.0f};  // at the centre
    float col1[4] = {0.0f, 0.0f, 0.0f, 0.0f};  // at the far side
    float offset[2] = {0.0f, 0.0f};            // minus the centre
    float direction[2] = {0.0f, 0.0f};         // unit vector across the gradient
    float range = 0.0f;                        // the gradient's width
    int32_t type = 0;                          // a value of GradationShapeList
    float unused[2] = {0.0f, 0.0f};
  };
  static_assert(sizeof(Constants) == 64);

  EffectItemNumber strength;
  EffectItemNumber centerX;
  EffectItemNumber centerY;
  EffectItemNumber angle;
  EffectItemNumber width;
  EffectItemSelect blendMode;
  EffectItemSelect shape;
  EffectItemColor startColor;
  EffectItemColor endColor;
};

}  // namespace Effect
