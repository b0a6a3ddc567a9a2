#pragma once
// "色調補正": brightness, contrast, hue, luminance and saturation in one pass.
#include <cstddef>
#include <cstdint>
#include <memory>

#include "builtin/filter/filter_shader_set.h"
#include "builtin/filter/shader_filter.h"
#include "effect/effect_base.h"
#include "effect/effect_item_check.h"
#include "effect/effect_item_number.h"

namespace Effect {

// The shaders of "色調補正" and their constant buffer (ColorFilter::Constants).
class ColorShaders : public FilterShaderSet {
 public:
  ColorShaders();
};

class ColorFilter : public ShaderFilter<ColorFilter, ColorShaders> {
 public:
  static constexpr const char* kName = "色調補正";

  ColorFilter();
  std::shared_ptr<EffectBase> create() const override;
  // The picture with its colours corrected, in a new image of its size.
  OwnedImage filterVideo(EffectContext& context, OwnedImage image) override;

  // The shader.
  enum Shader : std::size_t { kCorrectShader };
  // Its "constant0", as factors (1: unchanged) and radians.
  struct Constants {
    float brightness = 0.0f;  // added to each channel
    float contrast = 1.0f;
    float hue = 0.0f;
    float luminance = 1.0f;
    float chroma = 1.0f;
    int32_t processSaturate = 0;  // clamp to [0, 1]
    int32_t processYUV = 0;       // apply hue, luminance and chroma
    float unused = 0.0f;
  };
  static_assert(sizeof(Constants) == 32);

  EffectItemNumber brightness;
  EffectItemNumber contrast;
  EffectItemNumber hue;
  EffectItemNumber luminance;
  EffectItemNumber saturation;
  EffectItemCheck saturate;

 private:
  // The shader's constants for the items' values at the context's time.
  Constants constantsAt(const EffectContext& context) const;
};

}  // namespace Effect
