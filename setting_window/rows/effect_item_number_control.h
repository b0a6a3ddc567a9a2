#pragma once
// The row of a numeric track: the value at the start of the section the window shows and,
// in two-value display, the value at its end, each on a slider. A drag is one undo step;
// every value on the way is written under an edit scope into this track and into the same
// track of the other selected objects, and the effect is told of each change.
#include <cstdint>

#include "effect/effect_item_number.h"
#include "setting_window/rows/effect_item_base_control.h"
#include "ui/controls/slider_input_control.h"
#include "ui/controls/text_button_control.h"

namespace Component {

class EffectItemNumberControl : public EffectItemControl<Effect::EffectItemNumber> {
 public:
  static constexpr const char* kTimeControlTip = "時間制御を編集";
  static constexpr const char* kSettingsTip = "設定値を変更";

  EffectItemNumberControl(Window::WindowControlContainer& parent, ItemRowBlock& block,
                          Effect::EffectItem& item);

  void procMove() override;
  void updateSection() override;
  void updateValue() override;

  // Whether the row shows the section's start and end values.
  bool showsTwoValues() const;
  // The value index of the start slider for the window's section.
  int32_t getDisplayIndex() const;
  // Writes a display value at a value index into the track and the linked tracks.
  void setValue(int32_t index, double value);

  int32_t valueCount;
  int32_t displayIndex;
  Control::TextIconButtonControl label;
  LayoutControl valueArea;
  Control::SliderInputControl startSlider;
  Control::SliderInputControl endSlider;

 private:
  void setUpSlider(Control::SliderInputControl& slider, bool endValue);
};

}  // namespace Component
