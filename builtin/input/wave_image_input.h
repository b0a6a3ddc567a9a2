#pragma once
// "音声波形表示": draws sound as a picture, a waveform or a spectrum on a grid of cells: the
// sound of an audio file, or of the current scene when no file is set. "波形のプリセット",
// "スペクトラム表示" and "ミラー表示" share one row of the setting window.
#include <memory>

#include "effect/effect_base.h"
#include "effect/effect_item_button.h"
#include "effect/effect_item_check.h"
#include "effect/effect_item_color.h"
#include "effect/effect_item_file.h"
#include "effect/effect_item_integer.h"
#include "effect/effect_item_number.h"
#include "effect/media_input_effect_base.h"

namespace Effect {

class WaveImageInput : public EffectBase, public InputMovieEffect {
 public:
  static constexpr const char* kName = "音声波形表示";

  WaveImageInput();
  std::shared_ptr<EffectBase> create() const override;

  EffectItemNumber width;
  EffectItemNumber height;
  EffectItemNumber position;
  EffectItemNumber speed;
  EffectItemNumber volume;
  EffectItemFile file;
  EffectItemColor color;
  EffectItemButton preset;
  EffectItemCheckButton spectrum;
  EffectItemCheckButton mirror;
  EffectItemInteger columns;
  EffectItemInteger rows;
  EffectItemInteger columnSpace;
  EffectItemInteger rowSpace;
};

}  // namespace Effect
