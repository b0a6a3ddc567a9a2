#pragma once
// "フレームバッファ": a copy of the frame drawn so far.
#include <memory>

#include "effect/effect_base.h"
#include "effect/effect_context.h"
#include "effect/effect_item_check.h"

namespace Effect {

class FrameLoad : public EffectBase {
 public:
  static constexpr const char* kName = "フレームバッファ";

  FrameLoad();
  std::shared_ptr<EffectBase> create() const override;
  OwnedImage inputVideo(EffectContext& context) override;

  EffectItemCheck keepAlpha;
  EffectItemCheck clear;
};

}  // namespace Effect
