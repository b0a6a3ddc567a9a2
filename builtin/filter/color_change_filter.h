#pragma once
// "特定色域変換": recolours the pixels of one hue and saturation range into another colour.
#include <cstddef>
#include <cstdint>
#include <memory>

#include "builtin/filter/filter_shader_set.h"
#include "builtin/filter/shader_filter.h"
#include "effect/effect_base.h"
#include "effect/effect_item_check.h"
#include "effect/effect_item_color.h"
#include "effect/effect_item_number.h"

namespace Effect {

// The shaders of "特定色域変換" and their constant buffer (ColorChangeFilter::Constants).
class ColorChangeShaders : public FilterShaderSet {
 public:
  ColorChangeShaders();
};

class ColorChangeFilter : public ShaderFilter<ColorChangeFilter, ColorChangeShaders> {
 public:
  static constexpr const char* kName = "特定色域変換";

  ColorChangeFilter();
  std::shared_ptr<EffectBase> create() const override;
  // The picture with the pixels that "クロマキー" would key out by the source colour turned
  // towards the target colour; without either colour the picture comes back as it is.
  // Throws "default effect not found" when "クロマキー", whose key map it borrows, is not
  // registered.
  OwnedImage filterVideo(EffectContext& context, OwnedImage image) override;

  // The shaders, in creation order, each the picture ("texture0") through the key map of
  // ChromaKeyFilter's map shader ("diffmap"): plainly and with boundary correction.
  enum Shader : std::size_t { kChangeShader, kBorderShader };
  // Their "constant0"; colours as straight (Y, U, V).
  struct Constants {
    float afterY = 0.0f;
    float afterU = 0.0f;
    float afterV = 0.0f;
    float beforeY = 0.0f;
    float beforeU = 0.0f;
    float beforeV = 0.0f;
    int32_t range = 0;     // boundary correction's window radius
    float divie = 0.0f;    // 1 / (2 range + 1)^2
    float correct = 0.0f;  // colour correction's strength (0: none)
    float unused[3] = {0.0f, 0.0f, 0.0f};
  };
  static_assert(sizeof(Constants) == 48);

  EffectItemNumber hueRange;
  EffectItemNumber saturationRange;
  EffectItemNumber borderCorrection;
  EffectItemColor beforeColor;
  EffectItemColor afterColor;
  EffectItemCheck colorCorrection;
};

}  // namespace Effect
