#pragma once
// Choice lists that the built-in declarations take from the shared drawing resources.
#include <memory>

#include "effect/effect_item_select.h"

namespace Effect {

// The wipe names of the transition list ("ワイプ(円)" ... then the transition pictures), by
// index. Without the shared drawing resources (a headless run) an empty list of its own.
std::shared_ptr<EffectItemSelect::SharedList> transitionChoices();

}  // namespace Effect
