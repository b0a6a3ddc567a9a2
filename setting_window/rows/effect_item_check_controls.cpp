#include "setting_window/rows/effect_item_check_controls.h"

#include "edit/undo_service.h"
#include "system/setting_service.h"

namespace Component {

EffectItemCheckControl::EffectItemCheckControl(Window::WindowControlContainer& parent,
                                               ItemRowBlock& rowBlock,
                                               Effect::EffectItem& checkItem)
    : EffectItemControl(parent, rowBlock, Setting::Style::settingItemHeightPlus2, checkItem),
      checkBox(layout, 0, 0, Setting::Style::settingItemHeightPlus2, 0),
      name(layout, Setting::Style::settingItemHeightPlus2 + marginWidth, 0, 0, 0,
           translatedName(*item), Control::TextControl::kLeft) {
  // The name takes no input, so a press on it reaches the row and toggles the box.
  if (name.mouseService) name.mouseService->removeMouse(&name);
  checkBox.setCheckCallback(
      [this](Control::ButtonControl&) { setCheck(checkBox.checked); });
  clickAction = [this] { checkBox.procLButtonDown(0, 0); };
  updateValue();
}

void EffectItemCheckControl::setCheck(bool checked) {
  runEdit(true, [&](Edit::UpdateSection& scope) {
    item->value = checked;
    notifyItemChange(*block->effect, scope, *item);
    if (!editsLinkedObjects()) return;
    for (const auto& effect : getLinkedEffects()) {
      auto* linked = linkedItem<Effect::EffectItemCheck>(*effect);
      if (!linked) continue;
      if (undoService) undoService->pushEffectUpdate(effect);
      linked->value = checked;
    }
  });
}

void EffectItemCheckControl::updateValue() { checkBox.checked = item->value; }

EffectItemCheckButtonControl::EffectItemCheckButtonControl(
    Window::WindowControlContainer& parent, ItemRowBlock& rowBlock, Effect::EffectItem& checkItem)
    : EffectItemControl(parent, rowBlock, Setting::Style::settingItemHeightPlus2, checkItem),
      button(layout, 0, 0, 0, 0) {
  leftFraction = item->start;
  rightFraction = item->end;
  if (leftFraction > 0.0f) layout.layoutX = 0;
  button.text = translatedName(*item);
  button.setCheckCallback([this](Control::ButtonControl&) { applyCheck(button.checked); });
  clickAction = [this] { button.procLButtonDown(0, 0); };
  updateValue();
}

void EffectItemCheckButtonControl::applyCheck(bool checked) {
  runEdit(true, [&](Edit::UpdateSection&) { item->value = checked; });
}

void EffectItemCheckButtonControl::updateValue() { button.checked = item->value; }

}  // namespace Component
