#pragma once
// "シーンチェンジ": turns the picture of the layers before it from the frame before its object into
// the current frame, by one of the built-in passages or a wipe.
#include <memory>

#include "effect/effect_base.h"
#include "effect/effect_item_check.h"
#include "effect/effect_item_number.h"
#include "effect/effect_item_select.h"

namespace Effect {

class SceneChange : public EffectBase {
 public:
  static constexpr const char* kName = "シーンチェンジ";

  SceneChange();
  std::shared_ptr<EffectBase> create() const override;

  // The choices of "種類": the built-in passages (0 to 12), then every wipe of the shared
  // drawing resources at 13 + its value; without those resources (a headless run) the
  // passages alone. Any thread.
  static std::shared_ptr<EffectItemSelect::SharedList> getSceneChangeList();
  // The number of built-in passages: the value of the first wipe.
  static constexpr int kBuiltinCount = 13;

  EffectItemSelect kind;
  EffectItemNumber angle;
  EffectItemNumber divisions;
  EffectItemNumber blur;
  EffectItemCheck vertical;
  EffectItemCheck reverse;
  EffectItemCheck keepAspect;
};

}  // namespace Effect
