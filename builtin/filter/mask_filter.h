#pragma once
// "マスク": multiplies the picture's coverage by the brightness of a figure, image or scene.
#include <cstddef>
#include <cstdint>
#include <memory>

#include "builtin/filter/filter_shader_set.h"
#include "builtin/filter/shader_filter.h"
#include "effect/effect_item_check.h"
#include "effect/effect_item_mask_select.h"
#include "effect/effect_item_number.h"
#include "effect/move_xy_anchor_effect.h"

namespace Effect {

// The shaders of "マスク" and their constant buffer (MaskFilter::Constants).
class MaskShaders : public FilterShaderSet {
 public:
  MaskShaders();
};

class MaskFilter : public ShaderFilter<MaskFilter, MaskShaders, MoveXYAnchorEffect> {
 public:
  static constexpr const char* kName = "マスク";

  MaskFilter();
  std::shared_ptr<EffectBase> create() const override;
  // The picture's coverage multiplied by the mask's brightness (or by its darkness when
  // inverted), the mask placed at X, Y, turned, sized and stretched by the items; the same
  // picture comes back.
  OwnedImage filterVideo(EffectContext& context, OwnedImage image) override;

  // The shader: the mask picture's luma as coverage ("texture0" through "sampler0").
  enum Shader : std::size_t { kMaskShader };
  // Its "constant0".
  struct Constants {
    float offset[2] = {0.0f, 0.0f};           // minus the mask's centre, in pixels
    float inverseMaskSize[2] = {0.0f, 0.0f};  // 1 / the mask's size in pixels
    float angleS = 0.0f;                      // sine and cosine of the mask's turn
    float angleC = 1.0f;
    float unused[2] = {0.0f, 0.0f};
  };
  static_assert(sizeof(Constants) == 32);

  EffectItemNumber x;
  EffectItemNumber y;
  EffectItemNumber rotation;
  EffectItemNumber size;
  EffectItemNumber aspect;
  EffectItemNumber blur;
  EffectItemMaskSelect mask;
  EffectItemCheck fitSceneLength;
  EffectItemCheck invert;
  EffectItemCheck fitOriginalSize;
};

}  // namespace Effect
