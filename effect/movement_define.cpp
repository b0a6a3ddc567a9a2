#include "effect/movement_define.h"

#include <utility>

#include "effect/effect_translate.h"
#include "effect/movement_base.h"

namespace Effect {

MovementDefine::MovementDefine(std::shared_ptr<MovementBase> prototype, int32_t order)
    : MenuDefineBase("Movement", prototype->name, order, "", true),
      prototype_(std::move(prototype)) {}

std::string_view MovementDefine::getName() const { return prototype_->name; }

std::string MovementDefine::getDisplayName() const { return translateEffectText(getName()); }

}  // namespace Effect
