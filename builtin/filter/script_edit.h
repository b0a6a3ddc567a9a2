#pragma once
// "スクリプト制御": runs the script written in its own text item on the picture.
// A script effect without a script file or header: its script is the text of "スクリプト".
#include <memory>

#include "effect/effect_item_text.h"
#include "effect/script_effect.h"

namespace Effect {

class ScriptEdit : public ScriptEffect {
 public:
  static constexpr const char* kName = "スクリプト制御";

  ScriptEdit();
  std::shared_ptr<EffectBase> create() const override;

  EffectItemText script;
};

}  // namespace Effect
