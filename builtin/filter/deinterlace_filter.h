#pragma once
// "インターレース解除": rebuilds every second row from its neighbours, or blends each row with
// them.
#include <cstdint>
#include <memory>

#include "builtin/filter/filter_shader_set.h"
#include "builtin/filter/shader_filter.h"
#include "effect/effect_item_select.h"

namespace Effect {

// What "インターレース解除"'s shader reads ("constant0"), in the shared 16-byte buffer.
struct DeinterlaceConstants {
  int32_t type = 0;  // 0 rebuilds odd rows, 1 even rows, 2 blends every row
  int32_t unused[3] = {0, 0, 0};
};
static_assert(sizeof(DeinterlaceConstants) == 16);

// The shaders of "インターレース解除", loaded on first use.
class DeinterlaceShaders : public FilterShaderSet {
 public:
  DeinterlaceShaders();
};

class DeinterlaceFilter : public ShaderFilter<DeinterlaceFilter, DeinterlaceShaders> {
 public:
  static constexpr const char* kName = "インターレース解除";

  DeinterlaceFilter();
  std::shared_ptr<EffectBase> create() const override;
  // A new picture of the same size with the rows the method names rebuilt or blended.
  OwnedImage filterVideo(EffectContext& context, OwnedImage image) override;

  EffectItemSelect method;
};

}  // namespace Effect
