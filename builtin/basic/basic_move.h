#pragma once
// "座標": moves the object by X, Y and Z; its position is a handle in the preview.
#include <memory>

#include "effect/effect_context.h"
#include "effect/effect_item_number.h"
#include "effect/move_xy_anchor_effect.h"

namespace Effect {

class BasicMove : public MoveXYZAnchorEffect {
 public:
  static constexpr const char* kName = "座標";

  BasicMove();
  std::shared_ptr<EffectBase> create() const override;
  OwnedImage filterVideo(EffectContext& context, OwnedImage image) override;

  // The handles of the position come with the effect's processing; until then it
  // shows none.
  void setAnchor(EffectContext& context, const EffectEntry& entry, int width, int height) override;
  XMath::Vector getAnchorPosition(EffectContext& context, double frame) override;

  EffectItemNumber x;
  EffectItemNumber y;
  EffectItemNumber z;
};

}  // namespace Effect
