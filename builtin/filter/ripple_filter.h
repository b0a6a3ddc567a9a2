#pragma once
// "波紋": displaces pixels radially in travelling rings around a centre.
#include <cstdint>
#include <memory>

#include "builtin/filter/filter_shader_set.h"
#include "builtin/filter/shader_filter.h"
#include "effect/effect_item_integer.h"
#include "effect/effect_item_number.h"
#include "effect/move_xy_anchor_effect.h"

namespace Effect {

// What "波紋"'s shader reads ("constant0").
struct RippleConstants {
  float center[2] = {0.0f, 0.0f};    // the rings' centre, in pixels
  float multiply[2] = {0.0f, 0.0f};  // rings per pixel, and a ring's height
  float offset = 0.0f;               // how far the rings have travelled, in pixels
  int32_t rippleNum = 0;             // rings drawn (0: all)
  int32_t interval = 0;              // only every interval-th ring moves pixels (0: all)
  int32_t amplifier = 0;             // rings over which the height grows (> 0) or fades (< 0)
};
static_assert(sizeof(RippleConstants) == 32);

// The shaders of "波紋", loaded on first use.
class RippleShaders : public FilterShaderSet {
 public:
  RippleShaders();
};

class RippleFilter : public ShaderFilter<RippleFilter, RippleShaders, MoveXYAnchorEffect> {
 public:
  static constexpr const char* kName = "波紋";

  RippleFilter();
  std::shared_ptr<EffectBase> create() const override;
  // The rings as they have travelled by the context's time since the object's first frame;
  // a new image of the same size.
  OwnedImage filterVideo(EffectContext& context, OwnedImage image) override;

  EffectItemNumber centerX;
  EffectItemNumber centerY;
  EffectItemNumber width;
  EffectItemNumber height;
  EffectItemNumber speed;
  EffectItemInteger count;
  EffectItemInteger interval;
  EffectItemInteger amplification;

 private:
  // The shader's constants for a picture of that size at `seconds` into the object.
  RippleConstants constantsAt(const EffectContext& context, int pictureWidth, int pictureHeight,
                              double seconds) const;
};

}  // namespace Effect
