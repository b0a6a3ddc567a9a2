#pragma once
// "ラスター": shifts each row or column along a travelling sine wave.
#include <cstdint>
#include <memory>

#include "builtin/filter/filter_shader_set.h"
#include "builtin/filter/shader_filter.h"
#include "effect/effect_item_check.h"
#include "effect/effect_item_number.h"

namespace Effect {

// What the shaders of "ラスター" read ("constant0").
struct RasterConstants {
  int32_t type = 0;             // not read by the shaders
  float length = 0.0f;          // amplitude in pixels; the output is 2 x length larger
  float cycle = 0.0f;           // the wave's phase, in lines
  float PI2divideRange = 0.0f;  // 2 pi / the wavelength in lines
  float divideRange = 0.0f;     // 1 / the wavelength in lines
  float unused[3] = {0.0f, 0.0f, 0.0f};
};
static_assert(sizeof(RasterConstants) == 32);

// The shaders of "ラスター", loaded on first use.
class RasterShaders : public FilterShaderSet {
 public:
  RasterShaders();
};

class RasterFilter : public ShaderFilter<RasterFilter, RasterShaders> {
 public:
  // The shaders: rows or columns along a sine wave, or along an uneven wave that reads the
  // random table as second input.
  enum Shader : std::size_t { kRowShader, kColumnShader, kRandomRowShader, kRandomColumnShader };

  static constexpr const char* kName = "ラスター";

  RasterFilter();
  std::shared_ptr<EffectBase> create() const override;
  // The rows (or columns) shifted along the wave at the object's time into a picture wider
  // (or taller) by twice the amplitude.
  OwnedImage filterVideo(EffectContext& context, OwnedImage image) override;

  EffectItemNumber amplitude;
  EffectItemNumber wavelength;
  EffectItemNumber cycle;
  EffectItemCheck vertical;
  EffectItemCheck randomAmplitude;
};

}  // namespace Effect
