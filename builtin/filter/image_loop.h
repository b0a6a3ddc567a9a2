#pragma once
// "画像ループ": repeats the picture in a grid, scrolled with wrap-around.
#include <memory>

#include "effect/effect_base.h"
#include "effect/effect_item_check.h"
#include "effect/effect_item_number.h"

namespace Effect {

class ImageLoop : public EffectBase {
 public:
  static constexpr const char* kName = "画像ループ";

  ImageLoop();
  std::shared_ptr<EffectBase> create() const override;
  // Without individual objects, the picture repeated columns x rows times in one image. With
  // them, each repetition runs through the rest of the chain and is drawn as an object of
  // its own, and nothing is handed on.
  OwnedImage filterVideo(EffectContext& context, OwnedImage image) override;

  EffectItemNumber columns;
  EffectItemNumber rows;
  EffectItemNumber offsetX;
  EffectItemNumber offsetY;
  EffectItemCheck separateObjects;
};

}  // namespace Effect
