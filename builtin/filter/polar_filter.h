#pragma once
// "極座標変換": wraps the picture around a disc.
#include <cstdint>
#include <memory>

#include "builtin/filter/filter_shader_set.h"
#include "effect/effect_base.h"
#include "effect/effect_item_number.h"

namespace Effect {

// What "極座標変換"'s shader reads ("constant0").
struct PolarConstants {
  float rsize = 0.0f;   // the radius; the centre is at (rsize, rsize)
  float offset = 0.0f;  // rows above the centre that are cut away
  float pix = 0.0f;     // the angle (radians) of the first column
  float pia = 0.0f;     // the swirl: radians per pixel of distance from the rim
  float pio = 0.0f;     // added to each pixel's arc, in columns
  float kx = 0.0f;      // columns per radian
  float ky = 0.0f;      // rows per pixel of distance
  float unused = 0.0f;
};
static_assert(sizeof(PolarConstants) == 32);

class PolarFilter : public EffectBase, public FilterShaderHolder {
 public:
  static constexpr const char* kName = "極座標変換";

  PolarFilter();
  std::shared_ptr<EffectBase> create() const override;
  void createResource() override;
  void shareResource(const EffectBase& prototype) override;

  EffectItemNumber centerWidth;
  EffectItemNumber zoom;
  EffectItemNumber rotation;
  EffectItemNumber swirl;
};

}  // namespace Effect
