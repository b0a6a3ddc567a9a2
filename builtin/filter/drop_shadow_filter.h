#pragma once
// "ドロップシャドウ": adds a blurred, offset silhouette behind the picture.
#include <memory>

#include "effect/effect_base.h"
#include "effect/effect_item_check.h"
#include "effect/effect_item_color.h"
#include "effect/effect_item_number.h"

namespace Effect {

class DropShadowFilter : public EffectBase {
 public:
  static constexpr const char* kName = "ドロップシャドウ";

  DropShadowFilter();
  std::shared_ptr<EffectBase> create() const override;
  // The picture over its silhouette in the shadow colour, blurred by the spread and moved
  // by X and Y: in one larger picture that keeps the object in place, or, with
  // "影を別オブジェクトで描画", drawn through the object's output before the unchanged
  // picture goes on.
  OwnedImage filterVideo(EffectContext& context, OwnedImage image) override;

  EffectItemNumber x;
  EffectItemNumber y;
  EffectItemNumber density;
  EffectItemNumber spread;
  EffectItemColor color;
  EffectItemCheck separateObject;
};

}  // namespace Effect
