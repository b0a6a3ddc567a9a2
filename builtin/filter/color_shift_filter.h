#pragma once
// "色ずれ": displaces two of the colour channels in opposite directions.
#include <cstdint>
#include <memory>

#include "builtin/filter/filter_shader_set.h"
#include "builtin/filter/shader_filter.h"
#include "effect/effect_item_number.h"
#include "effect/effect_item_select.h"

namespace Effect {

// What "色ずれ"'s shader reads ("constant0").
struct ColorShiftConstants {
  float inverseSize[2] = {0.0f, 0.0f};  // 1 / the picture's size
  float offset[2] = {0.0f, 0.0f};       // added to the position, in pixels
  float offsetR[2] = {0.0f, 0.0f};      // each channel's shift, in texture units
  float offsetG[2] = {0.0f, 0.0f};
  float offsetB[2] = {0.0f, 0.0f};
  float alpha = 0.0f;                   // strength, 0 to 1
  int32_t mode = 0;                     // 0: colours weighted by the mean alpha
};
static_assert(sizeof(ColorShiftConstants) == 48);

// The shaders of "色ずれ", loaded on first use.
class ColorShiftShaders : public FilterShaderSet {
 public:
  ColorShiftShaders();
};

class ColorShiftFilter : public ShaderFilter<ColorShiftFilter, ColorShiftShaders> {
 public:
  static constexpr const char* kName = "色ずれ";

  ColorShiftFilter();
  std::shared_ptr<EffectBase> create() const override;
  // The picture with two of its colour channels moved apart by the shift in the direction of
  // the angle, in a new image grown on each side by the shift's whole pixels.
  OwnedImage filterVideo(EffectContext& context, OwnedImage image) override;

  EffectItemNumber shift;
  EffectItemNumber angle;
  EffectItemNumber strength;
  EffectItemSelect kind;
};

}  // namespace Effect
