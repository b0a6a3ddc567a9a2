#pragma once
// Makes the row of an item: the row kind the item's control kind names, or none when the
// item shows no row (a hidden track or check, an integer kept out of sight).
#include <memory>

#include "effect/effect_item.h"
#include "setting_window/rows/effect_item_base_control.h"

namespace Component {

std::shared_ptr<EffectItemBaseControl> createItemRow(Window::WindowControlContainer& parent,
                                                     ItemRowBlock& block,
                                                     Effect::EffectItem& item);

}  // namespace Component
