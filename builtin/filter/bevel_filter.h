#pragma once
// "凸エッジ": lights and shades the picture along its edges as if it were raised.
#include <cstdint>
#include <memory>

#include "builtin/filter/filter_shader_set.h"
#include "effect/effect_base.h"
#include "effect/effect_item_number.h"

namespace Effect {

// What "凸エッジ"'s shader reads ("constant0").
struct BevelConstants {
  float step[2] = {0.0f, 0.0f};  // one step towards the light, in pixels
  float depth = 0.0f;            // brightness per unit of alpha difference
  int32_t sampleNum = 0;         // steps taken either way
};
static_assert(sizeof(BevelConstants) == 16);

class BevelFilter : public EffectBase, public FilterShaderHolder {
 public:
  static constexpr const char* kName = "凸エッジ";

  BevelFilter();
  std::shared_ptr<EffectBase> create() const override;
  void createResource() override;
  void shareResource(const EffectBase& prototype) override;

  EffectItemNumber width;
  EffectItemNumber height;
  EffectItemNumber angle;
};

}  // namespace Effect
