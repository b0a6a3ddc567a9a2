#pragma once
// "斜めクリッピング": cuts away a half-plane, or keeps or removes a band, along a line through a
// centre. Its routine also serves the edge wipes.
#include <cstddef>
#include <cstdint>
#include <memory>

#include "builtin/filter/filter_shader_set.h"
#include "builtin/filter/shader_filter.h"
#include "effect/effect_item_number.h"
#include "effect/move_xy_anchor_effect.h"

namespace Effect {

// The shaders of "斜めクリッピング" and their constant buffer (LineClipFilter::Constants).
class LineClipShaders : public FilterShaderSet {
 public:
  LineClipShaders();
};

class LineClipFilter : public ShaderFilter<LineClipFilter, LineClipShaders, MoveXYAnchorEffect> {
 public:
  static constexpr const char* kName = "斜めクリッピング";

  LineClipFilter();
  std::shared_ptr<EffectBase> create() const override;
  // The picture clipped along the line, in place.
  OwnedImage filterVideo(EffectContext& context, OwnedImage image) override;

  // Multiplies the picture's coverage by the line's mask. The line passes through the point
  // (centerX, centerY) from the picture's middle; its normal points up at `angle` 0 and turns
  // clockwise with it. Width 0 keeps the side the normal points to, with a soft edge
  // softness + 1 pixels wide centred on the line; a positive width keeps the band of that
  // width around the line, a negative one cuts that band away.
  void clip(Media::ResourceBuffer& image, float angle, int width, float centerX, float centerY,
            int softness);

  // The shaders, in creation order: the soft half-plane, and the band of a width.
  enum Shader : std::size_t { kEdgeShader, kBandShader };
  // Their "constant0", in pixels from the picture's top left.
  struct Constants {
    float offset[2] = {0.0f, 0.0f};     // minus the point the line passes through
    float direction[2] = {0.0f, 0.0f};  // unit normal of the line
    float length = 0.0f;                // width of the soft edge
    float range = 0.0f;                 // half the band's width; negative cuts the band away
    float unused[2] = {0.0f, 0.0f};
  };
  static_assert(sizeof(Constants) == 32);

  EffectItemNumber centerX;
  EffectItemNumber centerY;
  EffectItemNumber angle;
  EffectItemNumber blur;
  EffectItemNumber width;
};

}  // namespace Effect
