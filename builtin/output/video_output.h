#pragma once
// "標準描画": draws the object's picture into the frame with its position, rotation, zoom,
// transparency and blend mode.
#include <memory>

#include "effect/output_effect_base.h"

namespace Effect {

class VideoOutput : public BasicOutput {
 public:
  static constexpr const char* kName = "標準描画";

  VideoOutput();
  std::shared_ptr<EffectBase> create() const override;
};

}  // namespace Effect
