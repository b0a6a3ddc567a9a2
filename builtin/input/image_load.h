#pragma once
// "画像ファイル": a still image, or one image of a numbered sequence per frame.
#include <memory>

#include "effect/effect_base.h"
#include "effect/effect_item_check.h"
#include "effect/effect_item_file.h"
#include "effect/effect_item_number.h"

namespace Effect {

class ImageLoad : public EffectBase {
 public:
  static constexpr const char* kName = "画像ファイル";

  ImageLoad();
  std::shared_ptr<EffectBase> create() const override;

  EffectItemFile file;
  EffectItemNumber number;
  EffectItemCheck sequence;
};

}  // namespace Effect
