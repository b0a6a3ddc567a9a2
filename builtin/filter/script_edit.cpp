#include "builtin/filter/script_edit.h"

namespace Effect {

ScriptEdit::ScriptEdit()
    : ScriptEffect(kName, EffectType::Filter, MediaType::Video, ""),
      script(items, "スクリプト", "") {
  label = "アニメーション効果";
}

std::shared_ptr<EffectBase> ScriptEdit::create() const { return std::make_shared<ScriptEdit>(); }

}  // namespace Effect
