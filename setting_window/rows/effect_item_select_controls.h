#pragma once
// The rows that pick one entry of a choice list: the label with a value button that opens
// the shared popup list, and the single button that shows the current choice. A choice is
// one undo step of the block's effect.
#include <cstdint>

#include "effect/effect_item_select.h"
#include "setting_window/rows/effect_item_base_control.h"
#include "ui/controls/text_button_control.h"
#include "ui/controls/text_control.h"

namespace Component {

class EffectItemSelectControl : public EffectItemControl<Effect::EffectItemSelect>,
                                public EffectItemSelectBase {
 public:
  EffectItemSelectControl(Window::WindowControlContainer& parent, ItemRowBlock& block,
                          Effect::EffectItem& item);

  void selectIndex(int32_t value) override;
  void updateValue() override;
  // Opens the shared list of the choices at the value button, the current one marked.
  void showList();

  Control::TextControl label;
  Control::TextButtonWheelControl valueButton;
};

class EffectItemSelectButtonControl : public EffectItemControl<Effect::EffectItemSelectButton> {
 public:
  EffectItemSelectButtonControl(Window::WindowControlContainer& parent, ItemRowBlock& block,
                                Effect::EffectItem& item);

  // A value not in the list chooses the first entry.
  void selectValue(int32_t value);
  void updateValue() override;

  Control::TextButtonControl button;
};

}  // namespace Component
