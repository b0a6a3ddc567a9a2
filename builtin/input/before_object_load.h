#pragma once
// "直前オブジェクト": the image of the object processed just before this one.
#include <memory>

#include "effect/effect_base.h"
#include "effect/effect_context.h"

namespace Effect {

class BeforeObjectLoad : public EffectBase {
 public:
  static constexpr const char* kName = "直前オブジェクト";

  BeforeObjectLoad();
  std::shared_ptr<EffectBase> create() const override;
  OwnedImage inputVideo(EffectContext& context) override;
};

}  // namespace Effect
