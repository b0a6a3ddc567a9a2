#pragma once
// "凸エッジ": lights and shades the picture along its edges as if it were raised.
#include <cstdint>
#include <memory>

#include "builtin/filter/filter_shader_set.h"
#include "builtin/filter/shader_filter.h"
#include "effect/effect_item_number.h"

namespace Effect {

// What "凸エッジ"'s shader reads ("constant0").
struct BevelConstants {
  float step[2] = {0.0f, 0.0f};  // one step towards the light, in pixels
  float depth = 0.0f;            // brightness per unit of alpha difference
  int32_t sampleNum = 0;         // steps taken either way
};
static_assert(sizeof(BevelConstants) == 16);

// The shaders of "凸エッジ", loaded on first use.
class BevelShaders : public FilterShaderSet {
 public:
  BevelShaders();
};

class BevelFilter : public ShaderFilter<BevelFilter, BevelShaders> {
 public:
  static constexpr const char* kName = "凸エッジ";

  BevelFilter();
  std::shared_ptr<EffectBase> create() const override;
  // The picture lit from the angle: each visible pixel brightened by the alpha that lies
  // ahead of it towards the light and darkened by the alpha behind it, up to the width.
  OwnedImage filterVideo(EffectContext& context, OwnedImage image) override;

  EffectItemNumber width;
  EffectItemNumber height;
  EffectItemNumber angle;
};

}  // namespace Effect
