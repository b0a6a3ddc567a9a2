#pragma once
// "カラーキー": makes the pixels close to a chosen colour transparent.
#include <cstddef>
#include <cstdint>
#include <memory>

#include "builtin/filter/filter_shader_set.h"
#include "builtin/filter/shader_filter.h"
#include "effect/effect_base.h"
#include "effect/effect_item_color.h"
#include "effect/effect_item_number.h"

namespace Effect {

// The shaders of "カラーキー" and their constant buffer (ColorKeyFilter::Constants).
class ColorKeyShaders : public FilterShaderSet {
 public:
  ColorKeyShaders();
};

class ColorKeyFilter : public ShaderFilter<ColorKeyFilter, ColorKeyShaders> {
 public:
  static constexpr const char* kName = "カラーキー";

  ColorKeyFilter();
  std::shared_ptr<EffectBase> create() const override;
  // The picture with the pixels whose luma and colour differences all lie near the key
  // colour's made transparent, in place; without a key colour it is left as it is.
  OwnedImage filterVideo(EffectContext& context, OwnedImage image) override;

  // The shaders, in creation order: the mask of the picture ("texture0"), and the mask
  // ("diffmap") with boundary correction.
  enum Shader : std::size_t { kMaskShader, kBorderShader };
  // Their "constant0"; colours as straight (Y, U, V).
  struct Constants {
    float key[3] = {0.0f, 0.0f, 0.0f};
    int32_t range = 0;                  // boundary correction's window radius
    float len[3] = {0.0f, 0.0f, 0.0f};  // half-widths round the key
    float divie = 0.0f;                 // 1 / (2 range + 1)^2
  };
  static_assert(sizeof(Constants) == 32);

  EffectItemNumber luminanceRange;
  EffectItemNumber chromaRange;
  EffectItemNumber borderCorrection;
  EffectItemColor keyColor;
};

}  // namespace Effect
