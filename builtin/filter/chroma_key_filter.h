#pragma once
// "クロマキー": makes the pixels of a chosen hue and saturation transparent.
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

// The shaders of "クロマキー" and their constant buffer (ChromaKeyFilter::Constants).
class ChromaKeyShaders : public FilterShaderSet {
 public:
  ChromaKeyShaders();
};

class ChromaKeyFilter : public ShaderFilter<ChromaKeyFilter, ChromaKeyShaders> {
 public:
  static constexpr const char* kName = "クロマキー";

  ChromaKeyFilter();
  std::shared_ptr<EffectBase> create() const override;

  // The shaders, in creation order: the key map of the picture ("texture0"), then the
  // picture keyed by it ("texture0" and the map as "diffmap"), plainly or with boundary
  // correction.
  enum Shader : std::size_t { kMapShader, kApplyShader, kBorderShader };
  // Their "constant0"; colours as straight (U, V).
  struct Constants {
    float keyH = 0.0f;  // the key's hue, atan2(U, V) / pi
    float keyS = 0.0f;  // the key's saturation, |(U, V)|
    float lenH = 0.0f;  // the hue's and the saturation's half-widths
    float lenS = 0.0f;
    float keyU = 0.0f;
    float keyV = 0.0f;
    int32_t range = 0;        // boundary correction's window radius
    float divie = 0.0f;       // 1 / (2 range + 1)^2
    float correct = 0.0f;     // colour correction's strength (0: none)
    float transparent = 0.0f; // the least share of coverage a keyed pixel keeps
    float unused[2] = {0.0f, 0.0f};
  };
  static_assert(sizeof(Constants) == 48);

  EffectItemNumber hueRange;
  EffectItemNumber saturationRange;
  EffectItemNumber borderCorrection;
  EffectItemColor keyColor;
  EffectItemCheck colorCorrection;
  EffectItemCheck transparencyCorrection;
};

}  // namespace Effect
