#include "setting_window/rows/item_row_factory.h"

#include "effect/effect_item_number.h"
#include "effect/effect_item_check.h"
#include "setting_window/rows/effect_item_check_controls.h"
#include "setting_window/rows/effect_item_number_control.h"
#include "setting_window/rows/effect_item_select_controls.h"

namespace Component {

std::shared_ptr<EffectItemBaseControl> createItemRow(Window::WindowControlContainer& parent,
                                                     ItemRowBlock& block,
                                                     Effect::EffectItem& item) {
  switch (item.getControlKind()) {
    case Effect::ControlKind::Number:
      if (!static_cast<Effect::EffectItemNumber&>(item).visible) return {};
      return std::make_shared<EffectItemNumberControl>(parent, block, item);
    case Effect::ControlKind::Select:
      return std::make_shared<EffectItemSelectControl>(parent, block, item);
    case Effect::ControlKind::SelectButton:
      return std::make_shared<EffectItemSelectButtonControl>(parent, block, item);
    case Effect::ControlKind::Check:
      if (!static_cast<Effect::EffectItemCheck&>(item).shown) return {};
      return std::make_shared<EffectItemCheckControl>(parent, block, item);
    case Effect::ControlKind::CheckButton:
      return std::make_shared<EffectItemCheckButtonControl>(parent, block, item);
    default:
      return {};
  }
}

}  // namespace Component
