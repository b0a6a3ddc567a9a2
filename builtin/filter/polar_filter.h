#pragma once
// "極座標変換": wraps the picture around a disc.
#include <cstdint>
#include <memory>

#include "builtin/filter/filter_shader_set.h"
#include "builtin/filter/shader_filter.h"
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

// The shaders of "極座標変換", loaded on first use.
class PolarShaders : public FilterShaderSet {
 public:
  PolarShaders();
};

class PolarFilter : public ShaderFilter<PolarFilter, PolarShaders> {
 public:
  static constexpr const char* kName = "極座標変換";

  PolarFilter();
  std::shared_ptr<EffectBase> create() const override;
  // The picture wrapped around a disc into a new square image (its rows become distances
  // from the centre, its columns angles); the object's centre offset is cleared so that
  // the disc's middle is the object's.
  OwnedImage filterVideo(EffectContext& context, OwnedImage image) override;

  // The disc's side and the shader's constants for a w x h picture.
  struct Layout {
    int side = 0;
    PolarConstants constants{};
  };
  static Layout layout(int width, int height, double centerWidth, double zoom, double rotation,
                       double swirl);

  EffectItemNumber centerWidth;
  EffectItemNumber zoom;
  EffectItemNumber rotation;
  EffectItemNumber swirl;
};

}  // namespace Effect
