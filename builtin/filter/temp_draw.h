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
  // The object drawn with its transform so far into a transparent image of the frame's
  // size, once per chain: the context's transform is reset, and the output then lays the
  // image straight over the frame.
  OwnedImage filterVideo(EffectContext& context, OwnedImage image) override;
};

}  // namespace Effect
