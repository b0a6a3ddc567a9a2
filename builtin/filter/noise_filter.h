#pragma once
// "ノイズ": multiplies the picture by animated fractal noise.
#include <cstdint>
#include <memory>

#include "builtin/filter/filter_shader_set.h"
#include "builtin/filter/shader_filter.h"
#include "effect/effect_item_integer.h"
#include "effect/effect_item_number.h"
#include "effect/effect_item_select.h"

namespace Effect {

// What "ノイズ"'s shader reads ("constant0"); its input is the noise table.
struct NoiseConstants {
  float step[3] = {0.0f, 0.0f, 0.0f};  // added to position and time at each octave
  int32_t type = 0;                    // the noise type, 0 to 5
  float offset[2] = {0.0f, 0.0f};      // the noise's position, in lattice units
  float cycle[2] = {1.0f, 1.0f};       // lattice units per pixel
  float accelerate = 0.0f;             // time, in lattice units
  float level = 1.0f;                  // strength: 0 to 1 fades in, 1 to 2 fades out
  float limit = 0.0f;                  // threshold
  float limitRatio = 1.0f;             // 1 / what remains above the threshold
};
static_assert(sizeof(NoiseConstants) == 48);

// The shaders of "ノイズ", loaded on first use.
class NoiseShaders : public FilterShaderSet {
 public:
  NoiseShaders();
};

class NoiseFilter : public ShaderFilter<NoiseFilter, NoiseShaders> {
 public:
  static constexpr const char* kName = "ノイズ";

  NoiseFilter();
  // The composition choices: the noise scales colour and alpha, or the colour alone.
  enum Composite : int { kMultiplyAlpha = 0, kMultiplyBrightness = 1 };
  // The noise type that reads the permutation table instead of summing octaves.
  static constexpr int kTableType = 3;

  std::shared_ptr<EffectBase> create() const override;
  // The picture multiplied in place by the noise of the object's time: full strength and
  // no threshold multiply by the noise itself, strength 200 or threshold 100 by nothing.
  OwnedImage filterVideo(EffectContext& context, OwnedImage image) override;

  EffectItemNumber strength;
  EffectItemNumber speedX;
  EffectItemNumber speedY;
  EffectItemNumber changeSpeed;
  EffectItemNumber cycleX;
  EffectItemNumber cycleY;
  EffectItemNumber threshold;
  EffectItemInteger seed;
  EffectItemSelect composite;
  EffectItemSelect kind;
};

}  // namespace Effect
