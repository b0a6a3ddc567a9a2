#pragma once
// The rows of on/off items: a check box with the item's name (a press anywhere on the row
// toggles it, and the other selected objects follow), and a check button that takes a share
// of its line and changes only its own object.
#include "effect/effect_item_check.h"
#include "setting_window/rows/effect_item_base_control.h"
#include "ui/controls/check_button_control.h"
#include "ui/controls/text_control.h"

namespace Component {

class EffectItemCheckControl : public EffectItemControl<Effect::EffectItemCheck> {
 public:
  EffectItemCheckControl(Window::WindowControlContainer& parent, ItemRowBlock& block,
                         Effect::EffectItem& item);

  void setCheck(bool checked);
  void updateValue() override;

  Control::CheckButtonControl checkBox;
  Control::TextControl name;
};

class EffectItemCheckButtonControl : public EffectItemControl<Effect::EffectItemCheckButton> {
 public:
  EffectItemCheckButtonControl(Window::WindowControlContainer& parent, ItemRowBlock& block,
                               Effect::EffectItem& item);

  void applyCheck(bool checked);
  void updateValue() override;

  Control::CheckTextButtonControl button;
};

}  // namespace Component
