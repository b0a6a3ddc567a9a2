#pragma once
// "図形": a built-in figure or an SVG file, drawn at a size in one colour.
#include <cstdint>
#include <memory>

#include "effect/effect_base.h"
#include "effect/effect_context.h"
#include "effect/effect_item_check.h"
#include "effect/effect_item_color.h"
#include "effect/effect_item_combo_file.h"
#include "effect/effect_item_number.h"

namespace Effect {

class FigureLoad : public EffectBase {
 public:
  static constexpr const char* kName = "図形";
  // The item code the figure choice of this input carries.
  static constexpr uint8_t kFigureItemType = 13;

  FigureLoad();
  std::shared_ptr<EffectBase> create() const override;
  OwnedImage inputVideo(EffectContext& context) override;

  EffectItemFigureSelect figure;
  EffectItemNumber size;
  EffectItemNumber aspect;
  EffectItemNumber lineWidth;
  EffectItemColor color;
  EffectItemCheck roundCorners;
};

}  // namespace Effect
