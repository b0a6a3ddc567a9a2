#pragma once
// "縁取り": draws a coloured outline around the opaque part of the picture.
#include <memory>

#include "effect/effect_base.h"
#include "effect/effect_item_color.h"
#include "effect/effect_item_number.h"

namespace Effect {

class BorderFilter : public EffectBase {
 public:
  static constexpr const char* kName = "縁取り";

  BorderFilter();
  std::shared_ptr<EffectBase> create() const override;

  EffectItemNumber size;
  EffectItemNumber blur;
  EffectItemColor color;
};

}  // namespace Effect
