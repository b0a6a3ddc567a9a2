#pragma once
// "モザイク": averages square blocks of the picture.
#include <cstdint>
#include <memory>

#include "builtin/filter/filter_shader_set.h"
#include "builtin/filter/shader_filter.h"
#include "effect/effect_item_number.h"

namespace Effect {

// What "モザイク"'s shader reads ("constant0"), in the shared 16-byte buffer.
struct MosaicConstants {
  float offset[2] = {0.0f, 0.0f};  // added to the position, in pixels
  float length = 1.0f;             // the tile size in pixels
  float unused = 0.0f;
};
static_assert(sizeof(MosaicConstants) == 16);

// The shaders of "モザイク", loaded on first use.
class MosaicShaders : public FilterShaderSet {
 public:
  MosaicShaders();
};

class MosaicFilter : public ShaderFilter<MosaicFilter, MosaicShaders> {
 public:
  static constexpr const char* kName = "モザイク";

  MosaicFilter();
  std::shared_ptr<EffectBase> create() const override;
  // Square blocks of the size, one of whose borders passes through the picture's centre,
  // each filled with its mean; a new image of the same size. Blocks of 1 pixel hand the
  // picture back.
  OwnedImage filterVideo(EffectContext& context, OwnedImage image) override;

  EffectItemNumber size;
};

}  // namespace Effect
