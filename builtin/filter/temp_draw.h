#pragma once
// "オフスクリーン描画": renders the object as drawn into a frame-sized image, so that later filters
// work on it.
#include <memory>

#include "effect/effect_base.h"

namespace Effect {

class TempDraw : public EffectBase {
 public:
  static constexpr const char* kName = "オフスクリーン描画";

  TempDraw();
  std::shared_ptr<EffectBase> create() const override;
};

}  // namespace Effect
